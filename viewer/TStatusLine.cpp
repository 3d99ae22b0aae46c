#include "viewer/TStatusLine.h"

#include "config/TViewerError.h"
#include "config/Translation.h"
#include "dialogs/DialogLook.h"
#include "widgets/TIntervalTimer.h"
#include "viewer/TFormMainUi.h"
#include "viewer/WindowPanels.h"
#include "widgets/QtBridge.h"

#include <QLabel>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

namespace {

QString CountText(int count) {
  if (count == 0) return TranslatedText("No Movie");
  if (count == 1) return TranslatedText("1 Movie");
  return QString::number(count) + QLatin1Char(' ') + TranslatedText("Movies");
}

}  // namespace

TStatusLine::TStatusLine(TFormMainUi& ui, QObject* parent) : QObject(parent), m_ui(ui) {
  setObjectName(QStringLiteral("StatusLine"));
  SetNoteTimer(std::make_unique<TQtIntervalTimer>());
  SetPageTimer(std::make_unique<TQtIntervalTimer>());
}

TStatusLine::~TStatusLine() = default;

void TStatusLine::SetNoteTimer(std::unique_ptr<TIntervalTimer> timer) {
  m_noteTimer = std::move(timer);
  m_noteTimer->OnTimer = [this] {
    m_noteTimer->Stop();
    m_note.clear();
    Render();
  };
}

void TStatusLine::SetPageTimer(std::unique_ptr<TIntervalTimer> timer) {
  m_pageTimer = std::move(timer);
  m_pageTimer->OnTimer = [this] {
    m_pageTimer->Stop();
    m_makingPage = true;
    Render();
  };
}

void TStatusLine::FollowPage(QWebEnginePage& page) {
  QObject::connect(&page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& loading) {
    if (loading.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
      PageStarted(loading.url());
    } else {
      PageEnded(loading.url());
    }
  });
}

void TStatusLine::PageStarted(const QUrl& url) {
  m_loading = url.adjusted(QUrl::RemoveFragment);
  if (!m_makingPage) m_pageTimer->Start(kPageWaitMilliseconds);
}

void TStatusLine::PageEnded(const QUrl& url) {
  const QUrl ended = url.adjusted(QUrl::RemoveFragment);
  if (!m_foundPage.isEmpty() && ended == m_foundPage) {
    m_foundPage.clear();
    m_found = m_foundThere;
  }
  // A page given up for another says nothing about the other.
  if (ended == m_loading) {
    m_pageTimer->Stop();
    m_makingPage = false;
  }
  Render();
}

void TStatusLine::ExpectFound(const QUrl& url, int found) {
  m_foundPage = url.adjusted(QUrl::RemoveFragment);
  m_foundThere = found;
}

void TStatusLine::ShowCatalog(int count, const std::string& path, bool complete) {
  m_count = count;
  m_path = path;
  m_complete = complete;
  m_found.reset();
  m_problem.clear();
  m_total = 0;
  Render();
}

void TStatusLine::ShowCount() {
  if (!m_found) return;
  m_found.reset();
  Render();
}

void TStatusLine::ShowFiltered(std::optional<int> kept) {
  m_filtered = kept;
  Render();
}

void TStatusLine::ShowProblem(const std::string& english) {
  m_problem = english;
  Render();
}

void TStatusLine::ShowWork(int made, int total) {
  m_made = made;
  m_total = made < total ? total : 0;
  Render();
}

void TStatusLine::ShowNote(const QString& note) {
  m_note = note;
  m_noteTimer->Start(kNoteMilliseconds);
  Render();
}

void TStatusLine::Render() {
  QString count;
  if (m_found) {
    std::string found = FormatMessage(Translate("%s of %s Movies found"), std::to_string(*m_found));
    count = ToQString(FormatMessage(found, std::to_string(m_count)));
  } else if (m_filtered) {
    std::string filtered = FormatMessage(Translate("%s of %s Movies"), std::to_string(*m_filtered));
    count = ToQString(FormatMessage(filtered, std::to_string(m_count)));
  } else {
    count = CountText(m_count);
  }
  // A file cut short (or damaged at its end) still shows what it holds.
  if (!m_complete) count += QLatin1Char(' ') + TranslatedText("(the file ends early)");
  m_ui.StatusCount->setText(count);

  QString where = m_path.empty() ? TranslatedText("Open a catalog file first ...") : ToQString(m_path);
  if (!m_problem.empty()) where += QStringLiteral("   ") + TranslatedText(m_problem);
  if (m_total > 0) {
    std::string work = FormatMessage(Translate("(covers: %s of %s)"), std::to_string(m_made));
    where += QStringLiteral("   ") + ToQString(FormatMessage(work, std::to_string(m_total)));
  }
  if (m_makingPage) {
    m_ui.StatusText->setText(TranslatedEllipsisText("Making the page..."));
  } else {
    m_ui.StatusText->setText(m_note.isEmpty() ? where : m_note);
  }
  WindowPanels::PlaceStatusLabels(m_ui);
}
