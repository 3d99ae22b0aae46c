#pragma once

#include "browse/PageViewOptions.h"

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

// The page view of the main window: the pages of the "movie" scheme in
// the view's own fonts, with the options the window gives it (scroll bars,
// border, text selection, a style sheet of its own, its context menu).
class TWebView : public QWebEngineView {
 public:
  TWebView(QFrame* border, QWidget* parent);

  TWebPage& Page() { return *m_page; }

  const TPageViewOptions& Options() const { return m_options; }
  // Shown from the next page on (scroll bars and style sheet) and at once
  // (the border).
  void SetOptions(TPageViewOptions options);

  // The menu shown instead of the view's own context menu when the
  // options say so (not owned).
  QMenu* PopupMenu = nullptr;

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
  void ApplyStyleSheet();

  QFrame* m_border;
  TWebPage* m_page;
  TPageViewOptions m_options;
  QString m_appliedCss;
  QElapsedTimer m_userInput;
};

// The installed sans-serif face that stands in for the pages' "Verdana".
QString PageFontFamily();
