#include "viewer/TPageProcessGuard.h"

#include "dialogs/DialogLook.h"
#include "render/MovieAddress.h"
#include "viewer/TStallWatch.h"
#include "config/TimingLog.h"
#include "viewer/TViewerApplication.h"

#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

TPageProcessGuard::TPageProcessGuard(QWebEngineView& view, QObject* parent) : QObject(parent), m_view(view) {
  setObjectName(QStringLiteral("PageProcessGuard"));
  QObject::connect(m_view.page(), &QWebEnginePage::renderProcessTerminated, this,
                   [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                     if (status == QWebEnginePage::NormalTerminationStatus) return;
                     // Loading from inside the engine's own notice is not
                     // safe; the next turn of the event loop is soon enough.
                     QTimer::singleShot(0, this, [this] { RunGuarded([this] { Ended(); }); });
                   });
}

void TPageProcessGuard::Ended() {
  ++m_ends;
  const QUrl failed = m_view.url();
  TimingLog::Write("page-process-ended", failed.toString(QUrl::FullyEncoded).toStdString());
  if (failed.isEmpty()) return;
  if (m_restarts.Ended(TStallWatch::SteadyMilliseconds()) == TPageProcessRestarts::TAnswer::ShowAgain) {
    m_view.reload();
    if (OnNote) OnNote(TranslatedText("The page's process ended; the page is shown again."));
    return;
  }
  // When even the viewer's own page cannot be shown, nothing is tried by
  // itself any more.
  const std::string name = failed.toString(QUrl::FullyEncoded).toStdString();
  if (name.rfind(std::string(kMovieUrlPrefix) + std::string(kProcessEndedPageName), 0) == 0) return;
  m_view.setUrl(QUrl(QString::fromStdString(ProcessEndedPageAddress(name))));
}
