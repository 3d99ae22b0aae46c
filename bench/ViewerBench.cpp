// The viewer as its users meet it: the whole program is started from
// outside on a catalog and timed through its timing hook, while the memory
// of its whole process tree (the web engine's processes included) is
// sampled; then, in this process, side bar clicks are timed to their page.
// Each start is timed twice on a thumbnail cache of its own: first empty
// (the strip's pictures are made from the covers), then again as the
// first start left it (the strip comes from the cache). Beside it, a bare
// web view showing one page of its own scheme gives the floor the first
// page cannot go below, and a close sent while the strip fills is timed to
// the program's end.
//
//   bench_viewer [--dir DIR] [--runs N] [--catalog PATH] [--viewer PATH]
//
// Without --catalog it measures the bundled sample and catalogs of 5,000
// and 20,000 movies with 600 x 900 JPEG covers and one of 100,000 movies
// without pictures (made in DIR on the first run). It needs a display: run
// it under xvfb-run.

#include "BarePage.h"
#include "tests/support/WindowParts.h"
#include "BenchUtil.h"

#include "dialogs/TFormProgress.h"
#include "tests/support/RunEvents.h"
#include "tests/support/WindowUse.h"
#include "viewer/TFormMain.h"
#include "viewer/TStripFiller.h"
#include "config/TimingLog.h"
#include "viewer/TMovieSchemeHandler.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TWebView.h"
#include "widgets/TSideBar.h"

#include <QApplication>
#include <QBuffer>
#include <QEventLoop>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TStartResult {
  long FirstPageMs = -1;
  long StripStartedMs = -1;
  long StripVisibleMs = -1;
  long StripFilledMs = -1;
  long WindowShownMs = -1;
  double PeakRssMb = 0;
  double PeakPssMb = 0;
  // From the close request to the end of the process (-1: not asked).
  double CloseMs = -1;
};

enum class TWatch { Times, Memory, CloseWhileFilling };

long FirstNumberOf(const std::string& log, const std::string& event, bool moviePage) {
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(event + " ", 0) != 0) continue;
    if (moviePage && line.find("movie://localhost/movie[") == std::string::npos) continue;
    return std::stol(line.substr(event.size() + 1));
  }
  return -1;
}

// One start of a program (the viewer, or this one as the bare web view).
// With TWatch::Memory the memory of its process tree is sampled every 20
// ms; that takes CPU from it, so the timing runs do without it. With
// TWatch::CloseWhileFilling it is asked to close as soon as its strip has
// started.
TStartResult StartFromOutside(const std::vector<std::string>& command, const std::string& timing,
                              const std::string& cacheFolder, TWatch watch) {
  fs::remove(timing);
  std::fflush(stdout);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("ELK_TIMING", timing.c_str(), 1);
    ::setenv("XDG_CACHE_HOME", cacheFolder.c_str(), 1);
    std::freopen("/dev/null", "w", stderr);
    std::freopen("/dev/null", "w", stdout);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  TStartResult result;
  auto start = std::chrono::steady_clock::now();
  bool done = false;
  double doneAt = 0;
  const char* finish = watch == TWatch::CloseWhileFilling ? "strip-started" : "strip-filled";
  while (SecondsSince(start) < 120) {
    if (watch == TWatch::Memory) {
      auto [rss, pss] = TreeMemory(pid);
      result.PeakRssMb = std::max(result.PeakRssMb, rss / 1024.0);
      result.PeakPssMb = std::max(result.PeakPssMb, pss / 1024.0);
    }
    const std::string log = ReadText(timing);
    if (!done && (log.find(finish) != std::string::npos || (command.size() > 1 && log.find("page ") != std::string::npos))) {
      done = true;
      doneAt = SecondsSince(start);
    }
    // Memory is watched a little longer: the page and the strip settle.
    if (done && (watch == TWatch::CloseWhileFilling || SecondsSince(start) > doneAt + (watch == TWatch::Memory ? 1.5 : 0.3))) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(watch == TWatch::CloseWhileFilling ? 2 : 20));
  }
  const auto asked = std::chrono::steady_clock::now();
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
  if (watch == TWatch::CloseWhileFilling) result.CloseMs = SecondsSince(asked) * 1000;
  std::string log = ReadText(timing);
  result.FirstPageMs = FirstNumberOf(log, "page", command.size() == 1);
  result.StripStartedMs = FirstNumberOf(log, "strip-started", false);
  result.StripVisibleMs = FirstNumberOf(log, "strip-visible", false);
  result.StripFilledMs = FirstNumberOf(log, "strip-filled", false);
  result.WindowShownMs = FirstNumberOf(log, "window-shown", false);
  return result;
}

// The bare web view: written with the timing hook when shown, in a window
// as large as the viewer's.
int RunBarePage(int argc, char** argv) {
  QWebEngineUrlScheme scheme("bare");
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  QWebEngineUrlScheme::registerScheme(scheme);
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QWebEngineView view;
  TBarePage handler;
  view.page()->profile()->installUrlSchemeHandler("bare", &handler);
  QObject::connect(&view, &QWebEngineView::loadFinished, [] { TimingLog::Write("page", "bare"); });
  view.resize(1280, 800);
  view.show();
  view.load(QUrl(QStringLiteral("bare://localhost/page.html")));
  return app.exec();
}

// Side bar clicks to their page, in this process: the median and the
// slowest of `clicks` clicks on different movies.
std::pair<double, double> TimeClicks(const std::string& folder, int clicks) {
  TFormProgress progress;
  TFormMain form(TProgramPaths::ForFolder(folder), &progress);
  form.ShowWindow();
  QSignalSpy loads(Parts(form).PageView, &QWebEngineView::loadFinished);
  RunEventsUntil([&] { return !form.findChild<TStripFiller*>(QStringLiteral("StripFiller"))->Filling() && loads.count() > 0; }, 60000);
  std::vector<double> times;
  const TSideBarModel& model = Parts(form).SideBar->Model();
  for (int i = 1; i <= clicks; ++i) {
    const TSideBarRow* target = nullptr;
    for (const TSideBarRow& row : model.Rows()) {
      if (row.IsSubItem && row.SubIndex == i % 25 + 1) target = &row;
    }
    if (target == nullptr) break;
    QPoint at((target->Rect.Left + target->Rect.Right) / 2, (target->Rect.Top + target->Rect.Bottom) / 2 - model.ScrollOffset());
    const qsizetype before = loads.count();
    auto start = std::chrono::steady_clock::now();
    QTest::mouseClick(Parts(form).SideBar, Qt::LeftButton, Qt::NoModifier, at);
    RunEventsUntil([&] { return loads.count() > before; }, 10000);
    times.push_back(SecondsSince(start) * 1000);
  }
  std::sort(times.begin(), times.end());
  if (times.empty()) return {0, 0};
  return {times[times.size() / 2], times.back()};
}

std::string Argument(int argc, char** argv, const std::string& name, const std::string& fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (argv[i] == name) return argv[i + 1];
  }
  return fallback;
}

std::string Range(const std::vector<long>& values, const char* unit) {
  std::vector<long> known;
  for (long value : values) {
    if (value >= 0) known.push_back(value);
  }
  if (known.empty()) return "-";
  auto [low, high] = std::minmax_element(known.begin(), known.end());
  char text[64];
  if (*low == *high) {
    std::snprintf(text, sizeof text, "%ld %s", *low, unit);
  } else {
    std::snprintf(text, sizeof text, "%ld-%ld %s", *low, *high, unit);
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--bare-page") return RunBarePage(argc, argv);
  const std::string self = fs::canonical("/proc/self/exe").string();
  const std::string viewer =
      Argument(argc, argv, "--viewer", (fs::path(self).parent_path().parent_path() / "bin" / "elk-viewer").string());
  const int runs = std::stoi(Argument(argc, argv, "--runs", "3"));
  std::vector<std::pair<std::string, std::string>> catalogs;
  std::string given = Argument(argc, argv, "--catalog", "");
  if (!given.empty()) {
    catalogs.emplace_back(given, given);
  } else {
    catalogs.emplace_back("bundled sample (48 movies)", (fs::path(viewer).parent_path() / "Sample.qzt").string());
    for (int movies : {5000, 20000}) {
      const std::string name = "viewer-" + std::to_string(movies);
      catalogs.emplace_back(std::to_string(movies) + " movies with 600 x 900 covers",
                            fs::absolute(EnsureSampleCatalog(DataFolder(argc, argv), name, movies,
                                                             TSamplePictures::Embedded))
                                .string());
    }
    catalogs.emplace_back("100000 movies without pictures",
                          fs::absolute(EnsureSampleCatalog(DataFolder(argc, argv), "plain-100000", 100000,
                                                           TSamplePictures::None))
                              .string());
  }

  // The floor: a bare web view of this machine showing its first page.
  {
    const std::string timing = (fs::temp_directory_path() / ("elk-bench-bare-" + std::to_string(::getpid()))).string();
    std::vector<long> pages;
    for (int run = 0; run < std::max(runs, 3); ++run) {
      pages.push_back(StartFromOutside({self, "--bare-page"}, timing, "/nonexistent", TWatch::Times).FirstPageMs);
    }
    fs::remove(timing);
    std::printf("bare web view, first page of its own scheme: %s\n", Range(pages, "ms").c_str());
  }

  // The program under test runs as it does for users; this process only
  // watches it.
  for (const auto& [name, catalog] : catalogs) {
    WarmFileCache(catalog);
    const std::string folder = MakeProgramFolder(viewer, catalog);
    const std::string timing = folder + "/timing.log";
    std::printf("%s (%.0f MB):\n", name.c_str(), fs::file_size(catalog) / 1e6);
    const std::string cache = folder + "/cache";
    std::vector<long> pages, visible, filled, again;
    for (int run = 0; run < runs; ++run) {
      fs::remove_all(cache);
      for (const char* open : {"first open ", "second open"}) {
        TStartResult r = StartFromOutside({folder + "/elk-viewer"}, timing, cache, TWatch::Times);
        std::printf("  %s: window shown %ld ms, first page %ld ms, strip in view %ld ms, strip complete %ld ms "
                    "(%ld ms after it started)\n",
                    open, r.WindowShownMs, r.FirstPageMs, r.StripVisibleMs, r.StripFilledMs,
                    r.StripFilledMs - r.StripStartedMs);
        std::fflush(stdout);
        (open[0] == 'f' ? filled : again).push_back(r.StripFilledMs);
        if (open[0] == 'f') {
          pages.push_back(r.FirstPageMs);
          visible.push_back(r.StripVisibleMs);
        }
      }
    }
    fs::remove_all(cache);
    TStartResult memory = StartFromOutside({folder + "/elk-viewer"}, timing, cache, TWatch::Memory);
    fs::remove_all(cache);
    TStartResult close = StartFromOutside({folder + "/elk-viewer"}, timing, cache, TWatch::CloseWhileFilling);
    std::printf("  first page %s, strip in view %s, strip complete %s, opened again %s\n", Range(pages, "ms").c_str(),
                Range(visible, "ms").c_str(), Range(filled, "ms").c_str(), Range(again, "ms").c_str());
    std::printf("  peak memory of the process tree: %.0f MB resident (shared pages counted in every process), "
                "%.0f MB proportional\n",
                memory.PeakRssMb, memory.PeakPssMb);
    std::printf("  closed while the strip fills: the program ended %.0f ms after the request%s\n", close.CloseMs,
                close.StripFilledMs >= 0 ? " (the strip was already complete)" : "");
    fs::remove_all(cache);
    fs::remove_all(folder);
  }
  // The clicks' own thumbnail cache, so the user's is never touched.
  const std::string clickCache = (fs::temp_directory_path() / ("elk-bench-cache-" + std::to_string(::getpid()))).string();
  ::setenv("XDG_CACHE_HOME", clickCache.c_str(), 1);
  PrepareWindowProcess();
  TViewerApplication app(argc, argv);
  for (const auto& [name, catalog] : catalogs) {
    std::string folder = MakeProgramFolder(viewer, catalog);
    auto [median, slowest] = TimeClicks(folder, 40);
    std::printf("%s: side bar click to its page shown: %.1f ms median, %.1f ms slowest of 40\n", name.c_str(), median,
                slowest);
    fs::remove_all(folder);
  }
  fs::remove_all(clickCache);
  return 0;
}
