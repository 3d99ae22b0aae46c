#include "viewer/TWebView.h"

#include "config/TextEncoding.h"
#include "viewer/TMovieSchemeHandler.h"
#include "widgets/QtBridge.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QFrame>
#include <QMenu>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace {

const QString kHostStyleScript = QStringLiteral("elk-window-style");
// How long after the user's click a link may still leave the view.
constexpr qint64 kUserGestureMilliseconds = 1000;

// Adds a style element to every document; the text is handed over as a
// JSON string, so nothing in it can end the script.
QString StyleScriptSource(const QString& css) {
  QString quoted = css;
  quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
  quoted.replace(QLatin1String("\""), QLatin1String("\\\""));
  quoted.replace(QLatin1String("\n"), QLatin1String("\\n"));
  quoted.replace(QLatin1String("\r"), QLatin1String("\\r"));
  quoted.replace(QLatin1String("<"), QLatin1String("\\u003c"));
  quoted.replace(QChar(0x2028), QLatin1String("\\u2028"));
  quoted.replace(QChar(0x2029), QLatin1String("\\u2029"));
  return QStringLiteral(
             "(function(){var s=document.createElement('style');s.textContent=\"%1\";"
             "(document.head||document.documentElement).appendChild(s);})();")
      .arg(quoted);
}

}  // namespace

QString PageFontFamily() { return MapFontName("Verdana"); }

TWebPage::TWebPage(QWebEngineProfile* profile, TWebView* view) : QWebEnginePage(profile, view), m_view(view) {}

bool TWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  if (url.scheme() == QLatin1String(kMovieScheme)) return true;
  // The empty page a view starts with.
  if (url == QUrl(QStringLiteral("about:blank"))) return true;
  // Only a link the user clicked leaves for the desktop; scripts and
  // redirects of a page never send the user anywhere.
  if (type == NavigationTypeLinkClicked && isMainFrame && m_view->TakeUserGesture() && OnOutsideLink) {
    OnOutsideLink(url);
  }
  return false;
}

QWebEnginePage* TWebPage::createWindow(WebWindowType) {
  // Pages never open windows of their own.
  return nullptr;
}

TWebView::TWebView(QFrame* border, QWidget* parent) : QWebEngineView(parent), m_border(border) {
  // Pages and pictures come from this process's memory: a cache of them
  // in the engine would only hold a second copy.
  QWebEngineProfile::defaultProfile()->setHttpCacheType(QWebEngineProfile::NoCache);
  m_page = new TWebPage(QWebEngineProfile::defaultProfile(), this);
  setPage(m_page);
  QWebEngineSettings* settings = m_page->settings();
  settings->setFontFamily(QWebEngineSettings::StandardFont, PageFontFamily());
  settings->setFontFamily(QWebEngineSettings::SansSerifFont, PageFontFamily());
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
  SetOptions(TPageViewOptions());
  // On paper every page is dark text on white, whatever the scheme's
  // colours; the page itself is not touched.
  QWebEngineScript print;
  print.setName(QStringLiteral("elk-print-style"));
  print.setInjectionPoint(QWebEngineScript::DocumentReady);
  print.setWorldId(QWebEngineScript::ApplicationWorld);
  print.setRunsOnSubFrames(true);
  print.setSourceCode(StyleScriptSource(QStringLiteral(
      "@media print{*{color:#000 !important;background-color:transparent !important;"
      "background-image:none !important;border-color:#999 !important}"
      "html,body{background:#fff !important}a{text-decoration:underline !important}}")));
  m_page->scripts().insert(print);
}

bool TWebView::event(QEvent* event) {
  // The engine paints and takes input through a child widget of its own;
  // its clicks and keys are watched to tell the user's links from a page's.
  if (event->type() == QEvent::ChildAdded) {
    if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) child->installEventFilter(this);
  }
  return QWebEngineView::event(event);
}

bool TWebView::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonRelease:
      m_userInput.start();
      break;
    case QEvent::KeyPress: {
      int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) m_userInput.start();
      break;
    }
    default:
      break;
  }
  return QWebEngineView::eventFilter(watched, event);
}

bool TWebView::TakeUserGesture() {
  bool recent = m_userInput.isValid() && m_userInput.elapsed() <= kUserGestureMilliseconds;
  m_userInput.invalidate();
  return recent;
}

void TWebView::FollowPageLink(const QString& id) {
  // Ids are the renderer's own (plain letters and dashes).
  m_page->runJavaScript(
      QStringLiteral("(function(){var a=document.getElementById('%1');if(a&&a.href)a.click();})();").arg(id),
      QWebEngineScript::ApplicationWorld);
}

void TWebView::SetOptions(TPageViewOptions options) {
  m_options = std::move(options);
  m_page->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, m_options.ScrollBars);
  if (m_border != nullptr) {
    m_border->setFrameStyle(m_options.Border ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
  }
  ApplyStyleSheet();
}

void TWebView::ApplyStyleSheet() {
  const QString css = QString::fromStdString(PageViewStyleSheet(m_options));
  if (css == m_appliedCss) return;
  m_appliedCss = css;
  QWebEngineScriptCollection& scripts = m_page->scripts();
  for (const QWebEngineScript& old : scripts.find(kHostStyleScript)) scripts.remove(old);
  if (css.trimmed().isEmpty()) return;
  QWebEngineScript script;
  script.setName(kHostStyleScript);
  script.setInjectionPoint(QWebEngineScript::DocumentReady);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(true);
  script.setSourceCode(StyleScriptSource(css));
  scripts.insert(script);
}

void TWebView::contextMenuEvent(QContextMenuEvent* event) {
  if (m_options.OwnContextMenu) {
    if (PopupMenu != nullptr) PopupMenu->popup(event->globalPos());
    return;
  }
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose, true);
  menu->popup(event->globalPos());
}
