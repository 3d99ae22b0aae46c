#pragma once

#include "browse/UNulContainer.h"

#include <QElapsedTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>

class QFrame;
class QMenu;

// What the view does with an address outside the "movie" scheme.
using TOutsideLinkEvent = std::function<void(const QUrl& url)>;

class TWebView;

// The page of the view: "movie" addresses stay inside; a link to any other
// address that the user clicked goes to the desktop's handler, and every
// other attempt to leave (scripts, redirects, new windows) is refused.
class TWebPage : public QWebEnginePage {
 public:
  TWebPage(QWebEngineProfile* profile, TWebView* view);
  TOutsideLinkEvent OnOutsideLink;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  QWebEnginePage* createWindow(WebWindowType type) override;

 private:
  TWebView* m_view;
};

// The browser control of the main window. It asks its client site (the
// browser host) for the host information at every page and applies it:
// scroll bars, the 3D border (drawn by the frame around it), text
// selection, the host style sheet and the choice of context menu.
class TWebView : public QWebEngineView, public TBrowserControl {
 public:
  TWebView(QFrame* border, QWidget* parent);

  TWebPage& Page() { return *m_page; }

  // TBrowserControl
  bool SupportsClientSite() const override { return true; }
  void SetClientSite(TNulWBContainer* site) override;
  bool HasPopupMenu() const override { return PopupMenu != nullptr; }
  void PopupMenuAt(int screenX, int screenY) override;

  // The view's own popup menu, if it has one (not owned).
  QMenu* PopupMenu = nullptr;

  // Asks the host again; runs by itself before every page.
  void ApplyHostInfo();
  // The host information last applied.
  const TDocHostUIInfo& HostInfo() const { return m_hostInfo; }
  TNulWBContainer* ClientSite() const { return m_site; }

  // True once after a click or key of the user in the page, for a short
  // while: a link the user followed, not one a script followed for itself.
  bool TakeUserGesture();

  // Follows the page's link with this id, if it has one (the parts of a
  // long list). The page's own scripts cannot see the call.
  void FollowPageLink(const QString& id);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QFrame* m_border;
  TWebPage* m_page;
  TNulWBContainer* m_site = nullptr;
  TDocHostUIInfo m_hostInfo;
  QString m_appliedCss;
  QElapsedTimer m_userInput;
};

// The installed sans-serif face that stands in for the pages' "Verdana".
QString PageFontFamily();
