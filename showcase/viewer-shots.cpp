// Takes the README's pictures of the viewer: the main window on the bundled
// sample in a few states, each saved as a PNG file.
//
//   viewer-shots FOLDER           at the screen's own density
//   viewer-shots FOLDER dense     at two device pixels per layout pixel
//   viewer-shots FOLDER statistics  only the statistics page, light and dark
//   viewer-shots FOLDER finding     the filter and a table of what it keeps
//   viewer-shots FOLDER site SITE   the index, statistics and first movie of a
//                                   site that elkcat site --covers wrote to SITE
//
// It needs a display (run it under xvfb-run; for "dense" one of at least
// 2200 x 1440) and the built program folder beside it (Sample.qzt,
// Schemes.ini, Deutsch.lng).

#include "browse/Grouping.h"
#include "tests/support/WindowParts.h"
#include "config/TViewerSettings.h"
#include "dialogs/TFormProgress.h"
#include "dialogs/TFormSettings.h"
#include "viewer/Glyphs.h"
#include "tests/support/RunEvents.h"
#include "tests/support/WindowUse.h"
#include "viewer/TFormMain.h"
#include "viewer/TPageExports.h"
#include "viewer/TStripFiller.h"
#include "viewer/TMovieSchemeHandler.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TWebView.h"
#include "layout/TCoverStripModel.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QIcon>
#include <QPixmap>
#include <QEventLoop>
#include <QPalette>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool Filling(TFormMain& form) { return form.findChild<TStripFiller*>(QStringLiteral("StripFiller"))->Filling(); }

constexpr int kWidth = 1100;
constexpr int kHeight = 720;

constexpr int kLongestWaitMs = 20000;

void Settle(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// A program folder of its own, so the real one's settings stay untouched.
std::string ProgramCopy(const fs::path& bin, const std::string& extraSettings) {
  fs::path folder = fs::temp_directory_path() / ("elk-shots-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* name : {"Sample.qzt", "Schemes.ini", "Deutsch.lng"}) fs::copy_file(bin / name, folder / name);
  fs::copy(bin / "covers", folder / "covers", fs::copy_options::recursive);
  std::ofstream(folder / "Config.ini") << "[Config]\r\nCatalogFile=" << (folder / "Sample.qzt").string()
                                       << "\r\nAutoOpen=1\r\nMaximized=0\r\nLeft=0\r\nTop=0\r\nWidth=" << kWidth
                                       << "\r\nHeight=" << kHeight << "\r\n" << extraSettings;
  return folder.string();
}

// Shows the window on a catalog with these settings, lets `prepare` bring
// it into the state to show, and saves the screen.
void Shoot(const fs::path& bin, const QString& file, const std::string& settings,
           const std::function<void(TFormMain&)>& prepare = nullptr) {
  std::string folder = ProgramCopy(bin, settings);
  {
    TFormProgress progress;
    TFormMain form(TProgramPaths::ForFolder(folder), &progress);
    int loads = 0;
    QObject::connect(Parts(form).PageView, &QWebEngineView::loadFinished, [&] { ++loads; });
    form.ShowWindow();
    RunEventsUntil([&] { return !Filling(form) && loads > 0; }, kLongestWaitMs);
    if (prepare) {
      const int before = loads;
      prepare(form);
      RunEventsUntil([&] { return loads > before; }, kLongestWaitMs);
    }
    Parts(form).CoverStrip->SetActive(false);
    Settle(400);
    QPixmap shot = form.screen()->grabWindow(0, 0, 0, kWidth, kHeight);
    shot.save(file);
    std::printf("%s\n", file.toLocal8Bit().constData());
  }
  fs::remove_all(folder);
}

// A dark desktop palette, as a dark desktop theme gives it.
QPalette DarkDesktop() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(0x2B, 0x2B, 0x2B));
  dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
  dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
  dark.setColor(QPalette::Text, QColor(0xE6, 0xE6, 0xE6));
  dark.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
  dark.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
  dark.setColor(QPalette::Highlight, QColor(0x3D, 0x7E, 0xDB));
  dark.setColor(QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF));
  dark.setColor(QPalette::Link, QColor(0x8A, 0xB4, 0xF8));
  dark.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
  dark.setColor(QPalette::Mid, QColor(0x44, 0x44, 0x44));
  dark.setColor(QPalette::Dark, QColor(0x22, 0x22, 0x22));
  dark.setColor(QPalette::Shadow, QColor(0x00, 0x00, 0x00));
  return dark;
}

// Gives the strip the keyboard with its cursor on the third picture.
void FocusStrip(TFormMain& form) {
  Parts(form).CoverStrip->setFocus(Qt::TabFocusReason);
  for (int i = 0; i < 3; ++i) Parts(form).CoverStrip->Model().KeyDown(TCoverStripKey::Right);
  Parts(form).CoverStrip->Model().KeyDown(TCoverStripKey::Enter);
}

// Opens the first section that holds a name with several movies and
// selects that name.
void SelectNameWithSeveralMovies(TFormMain& form) {
  TSideBarModel& bar = Parts(form).SideBar->Model();
  for (int section = 0; section < bar.Items().Count(); ++section) {
    for (int item = 0; item < bar.Items()[section].Items().Count(); ++item) {
      if (SideBarItemHandles(bar, section, item).find(',') == std::string::npos) continue;
      bar.Items()[section].SetExpanded(true);
      Parts(form).SideBar->SetItemIndex(section);
      Parts(form).SideBar->SetSubItemIndex(item);
      ChooseInSideBar(form, section, item);
      return;
    }
  }
}

// Every tab of the settings window, as the window shows it over the sample.
void ShootSettings(const fs::path& bin, const QDir& folder) {
  std::string program = ProgramCopy(bin, "ExternalPlayer=/usr/bin/vlc\r\nVideoPathField=Source\r\n");
  std::ofstream(fs::path(program) / "Config.ini", std::ios::app)
      << "[UserVars]\r\nCount=3\r\nName1=$OWNER\r\nValue1=Ann\r\nName2=DVD\r\nValue2=Digital Versatile Disc\r\n"
         "Name3=a&equal;b\r\nValue3=c\r\n";
  {
    TFormProgress progress;
    TFormMain form(TProgramPaths::ForFolder(program), &progress);
    form.ShowWindow();
    RunEventsUntil([&] { return !Filling(form); }, kLongestWaitMs);
    TFormSettings settings(&form, form);
    settings.show();
    const char* names[] = {"general", "security", "template", "list-template", "user-vars", "paths", "about"};
    for (int tab = 0; tab < settings.Tabs->count() && tab < static_cast<int>(std::size(names)); ++tab) {
      settings.Tabs->setCurrentIndex(tab);
      Settle(200);
      QString file = folder.filePath(QStringLiteral("settings-%1.png").arg(QLatin1String(names[tab])));
      settings.grab().save(file);
      std::printf("%s\n", file.toLocal8Bit().constData());
    }
  }
  fs::remove_all(program);
}

}  // namespace

// The written site's start, statistics and first movie page, as a browser
// shows them.
void ShootSite(const QDir& site, const QDir& folder) {
  for (const char* page : {"index", "statistics", "movie-1"}) {
    QWebEngineView view;
    view.resize(kWidth, kHeight);
    view.show();
    bool loaded = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, [&] { loaded = true; });
    view.load(QUrl::fromLocalFile(site.absoluteFilePath(QLatin1String(page) + QStringLiteral(".html"))));
    RunEventsUntil([&] { return loaded; }, kLongestWaitMs);
    Settle(800);
    const std::string name = page == std::string("index") ? "index-covers" : page == std::string("movie-1") ? "movie-page" : page;
    const QString file = folder.filePath(QString::fromStdString(name + ".png"));
    view.grab().save(file);
    std::printf("%s\n", file.toLocal8Bit().constData());
  }
}

int main(int argc, char** argv) {
  const bool dense = argc == 3 && std::string(argv[2]) == "dense";
  const bool statistics = argc == 3 && std::string(argv[2]) == "statistics";
  const bool site = argc == 4 && std::string(argv[2]) == "site";
  const bool finding = argc == 3 && std::string(argv[2]) == "finding";
  if (argc != 2 && !dense && !statistics && !site && !finding) {
    std::fprintf(stderr, "usage: viewer-shots FOLDER [dense|statistics|finding|site SITE]\n");
    return 2;
  }
  const fs::path bin = fs::canonical("/proc/self/exe").parent_path().parent_path() / "bin";
  PrepareWindowProcess();
  if (dense) qputenv("QT_SCALE_FACTOR", "2");
  TViewerApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ProgramIcon(64))));
  QDir().mkpath(QString::fromLocal8Bit(argv[1]));
  auto path = [&](const char* name) { return QDir(QString::fromLocal8Bit(argv[1])).filePath(QLatin1String(name)); };
  auto openMovie = [](TFormMain& form) {
    Parts(form).SideBar->Items()[1].SetExpanded(true);
    Parts(form).SideBar->SetItemIndex(1);
    Parts(form).SideBar->SetSubItemIndex(1);
    ChooseInSideBar(form, 1, 1);
  };

  if (dense) {
    Shoot(bin, path("start@2x.png"), "");
    QApplication::setPalette(DarkDesktop());
    Shoot(bin, path("system-dark@2x.png"), "ColorScheme=System\r\nLastGroup=6\r\n", openMovie);
    return 0;
  }
  if (site) {
    ShootSite(QDir(QString::fromLocal8Bit(argv[3])), QDir(QString::fromLocal8Bit(argv[1])));
    return 0;
  }
  // The filter typed, then a random movie of those kept or their table.
  auto filterThen = [](int key) {
    return [key](TFormMain& form) {
      Parts(form).FilterBox->setText(QStringLiteral("wild"));
      RunEventsUntil([&] { return Parts(form).StatusCount->text().contains(QStringLiteral(" of ")); }, kLongestWaitMs);
      form.KeyDown(key, Qt::ControlModifier);
    };
  };
  if (finding) {
    Shoot(bin, path("filter.png"), "LastGroup=1\r\n", filterThen(Qt::Key_R));
    Shoot(bin, path("table.png"), "LastGroup=1\r\n", filterThen(Qt::Key_T));
    return 0;
  }
  auto showStatistics = [](TFormMain& form) { form.Exports().ShowStatistics(); };
  if (statistics) {
    Shoot(bin, path("statistics.png"), "", showStatistics);
    Shoot(bin, path("statistics-dark.png"), "ColorScheme=Midnight\r\n", showStatistics);
    return 0;
  }
  Shoot(bin, path("start.png"), "");
  Shoot(bin, path("movie-page.png"), "LastGroup=1\r\n", [](TFormMain& form) {
    Parts(form).SideBar->Items()[2].SetExpanded(true);
    Parts(form).SideBar->SetItemIndex(2);
    Parts(form).SideBar->SetSubItemIndex(1);
    ChooseInSideBar(form, 2, 1);
  });
  Shoot(bin, path("people-list.png"), "LastGroup=17\r\n", SelectNameWithSeveralMovies);
  Shoot(bin, path("dark-scheme.png"), "ColorScheme=Midnight\r\nLastGroup=6\r\n", openMovie);
  Shoot(bin, path("german.png"), "Language=Deutsch\r\nColorScheme=Sand\r\nLastGroup=5\r\n");
  Shoot(bin, path("keyboard.png"), "", FocusStrip);
  ShootSettings(bin, QDir(QString::fromLocal8Bit(argv[1])));
  QApplication::setPalette(DarkDesktop());
  Shoot(bin, path("system-dark.png"), "ColorScheme=System\r\nLastGroup=6\r\n", openMovie);
  return 0;
}
