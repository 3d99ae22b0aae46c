#include "tests/support/WindowUse.h"
#include "tests/support/WindowParts.h"

#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "tests/support/RunEvents.h"
#include "viewer/TFormMain.h"
#include "viewer/TMovieSchemeHandler.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TWebView.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWebEngineHistory>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

TBrowsingUser::TBrowsingUser(TFormMain& form, unsigned seed) : m_form(form), m_random(seed) {
  m_loads = QObject::connect(Parts(form).PageView, &QWebEngineView::loadFinished, [this] { ++m_loaded; });
}

TBrowsingUser::~TBrowsingUser() { QObject::disconnect(m_loads); }

void TBrowsingUser::ClickSomewhere() {
  ++m_changes;
  const int kind = static_cast<int>(m_random() % 10);
  TSideBar& bar = *Parts(m_form).SideBar;
  TCoverStrip& strip = *Parts(m_form).CoverStrip;
  if (kind >= 8 && Parts(m_form).PageView->history()->canGoBack()) {
    m_form.Run(TWindowCommand::Back);
  } else if (kind == 7 && m_form.Catalog().Count() > 0) {
    // Some movie's title, as users search for what they know.
    const int movie = static_cast<int>(m_random() % static_cast<unsigned>(m_form.Catalog().Count()));
    const std::string title = GetMovieTitle(m_form.Catalog().Items(movie), 0);
    // A search for nothing but a wildcard would list the whole catalog.
    Parts(m_form).SearchBox->setText(QString::fromLatin1(("*" + (title.empty() ? "Garden" : title) + "*").c_str()));
    m_form.Run(TWindowCommand::Search);
  } else if (kind >= 5 && strip.Items().Count() > 0) {
    ClickStrip(m_form, static_cast<int>(m_random() % static_cast<unsigned>(strip.Items().Count())));
  } else if (bar.Items().Count() > 0) {
    const int section = static_cast<int>(m_random() % static_cast<unsigned>(bar.Items().Count()));
    const int items = bar.Items()[section].Items().Count();
    if (items > 0) ChooseInSideBar(m_form, section, static_cast<int>(m_random() % static_cast<unsigned>(items)));
  }
}

bool TBrowsingUser::ChangePage(int milliseconds) {
  const int before = m_loaded;
  ClickSomewhere();
  return RunEventsUntil([&] { return m_loaded > before; }, milliseconds);
}

TWindowHoldings HoldingsOf(TFormMain& form) {
  TWindowHoldings holdings;
  holdings.Objects = static_cast<int>(form.findChildren<QObject*>().size());
  holdings.Timers = static_cast<int>(form.findChildren<QTimer*>().size());
  holdings.History = Parts(form).PageView->history()->count();
  TCoverStrip& strip = *Parts(form).CoverStrip;
  for (int i = 0; i < strip.Items().Count(); ++i) holdings.StripPictures += strip.Items()[i].HasPicture() ? 1 : 0;
  return holdings;
}

std::string Describe(const TWindowHoldings& holdings) {
  char text[160];
  std::snprintf(text, sizeof text, "%d objects, %d timers, %d pages of history, %d strip pictures", holdings.Objects,
                holdings.Timers, holdings.History, holdings.StripPictures);
  return text;
}

void SaveOver(const std::string& path, const std::string& bytes, bool inPlace) {
  const std::string target = inPlace ? path : path + ".new";
  {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + target);
  }
  if (!inPlace) std::filesystem::rename(target, path);
}

void PrepareWindowProcess() {
  RegisterMovieUrlScheme();
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
  QuietEngineDiagnostics();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
