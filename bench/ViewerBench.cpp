// The viewer as its users meet it: the whole program is started from
// outside on a catalog and timed through its timing hook, while the memory
// of its whole process tree (the web engine's processes included) is
// sampled; then, in this process, side bar clicks are timed to their page.
// Each start is timed twice on a thumbnail cache of its own: first empty
// (the strip's pictures are made from the covers), then again as the
// first start left it (the strip comes from the cache).
//
//   bench_viewer [--dir DIR] [--runs N] [--catalog PATH] [--viewer PATH]
//
// Without --catalog it measures the bundled sample and a 5,000-movie
// catalog with 600 x 900 JPEG covers (made in DIR on the first run). It
// needs a display: run it under xvfb-run.

#include "BenchUtil.h"

#include "dialogs/TFormProgress.h"
#include "tests/support/RunEvents.h"
#include "viewer/TFormMain.h"
#include "viewer/TStripFiller.h"
#include "viewer/TMovieSchemeHandler.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TWebView.h"
#include "widgets/TNiceSideBar.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <map>
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
  long StripFilledMs = -1;
  long WindowShownMs = -1;
  double PeakRssMb = 0;
  double PeakPssMb = 0;
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every process below `root`, and `root` itself.
std::vector<int> ProcessTree(int root) {
  std::map<int, int> parent;
  if (DIR* proc = ::opendir("/proc")) {
    while (dirent* entry = ::readdir(proc)) {
      int pid = std::atoi(entry->d_name);
      if (pid <= 0) continue;
      std::string stat = ReadText("/proc/" + std::to_string(pid) + "/stat");
      std::size_t close = stat.rfind(')');
      if (close == std::string::npos) continue;
      std::istringstream fields(stat.substr(close + 2));
      std::string state;
      int ppid = 0;
      fields >> state >> ppid;
      parent[pid] = ppid;
    }
    ::closedir(proc);
  }
  std::vector<int> tree{root};
  for (std::size_t i = 0; i < tree.size(); ++i) {
    for (const auto& [pid, ppid] : parent) {
      if (ppid == tree[i]) tree.push_back(pid);
    }
  }
  return tree;
}

// Resident and proportional memory of a process, in kB.
std::pair<long, long> Memory(int pid) {
  long rss = 0, pss = 0;
  std::istringstream lines(ReadText("/proc/" + std::to_string(pid) + "/smaps_rollup"));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("Rss:", 0) == 0) rss = std::stol(line.substr(4));
    if (line.rfind("Pss:", 0) == 0) pss = std::stol(line.substr(4));
  }
  return {rss, pss};
}

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

// A program folder of its own for one catalog: the viewer, its schemes and
// a "Config.ini" that opens the catalog in a 1280 x 800 window.
std::string MakeProgramFolder(const std::string& viewer, const std::string& catalog) {
  std::string folder = (fs::temp_directory_path() / ("elk-bench-" + std::to_string(::getpid()))).string();
  fs::create_directories(folder);
  fs::copy_file(viewer, folder + "/elk-viewer", fs::copy_options::overwrite_existing);
  fs::path schemes = fs::path(viewer).parent_path() / "Schemes.ini";
  if (fs::exists(schemes)) fs::copy_file(schemes, folder + "/Schemes.ini", fs::copy_options::overwrite_existing);
  std::ofstream(folder + "/Config.ini") << "[Config]\r\nCatalogFile=" << catalog
                                        << "\r\nAutoOpen=1\r\nMaximized=0\r\nLeft=0\r\nTop=0\r\nWidth=1280\r\n"
                                           "Height=800\r\n";
  return folder;
}

// One start of the viewer. With `watchMemory` the memory of its process
// tree is sampled every 20 ms; that takes CPU from the viewer, so the
// timing runs do without it.
TStartResult StartFromOutside(const std::string& folder, const std::string& cacheFolder, bool watchMemory) {
  const std::string timing = folder + "/timing.log";
  fs::remove(timing);
  std::fflush(stdout);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("ELK_TIMING", timing.c_str(), 1);
    ::setenv("XDG_CACHE_HOME", cacheFolder.c_str(), 1);
    std::freopen("/dev/null", "w", stderr);
    std::freopen("/dev/null", "w", stdout);
    ::execl((folder + "/elk-viewer").c_str(), "elk-viewer", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  TStartResult result;
  auto start = std::chrono::steady_clock::now();
  bool filled = false;
  double filledAt = 0;
  while (SecondsSince(start) < 60) {
    if (watchMemory) {
      long rss = 0, pss = 0;
      for (int process : ProcessTree(pid)) {
        auto [r, p] = Memory(process);
        rss += r;
        pss += p;
      }
      result.PeakRssMb = std::max(result.PeakRssMb, rss / 1024.0);
      result.PeakPssMb = std::max(result.PeakPssMb, pss / 1024.0);
    }
    if (!filled && ReadText(timing).find("strip-filled") != std::string::npos) {
      filled = true;
      filledAt = SecondsSince(start);
    }
    // Memory is watched a little longer: the page and the strip settle.
    if (filled && SecondsSince(start) > filledAt + 1.5) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
  std::string log = ReadText(timing);
  result.FirstPageMs = FirstNumberOf(log, "page", true);
  result.StripStartedMs = FirstNumberOf(log, "strip-started", false);
  result.StripFilledMs = FirstNumberOf(log, "strip-filled", false);
  result.WindowShownMs = FirstNumberOf(log, "window-shown", false);
  return result;
}

// Side bar clicks to their page, in this process: the median and the
// slowest of `clicks` clicks on different movies.
std::pair<double, double> TimeClicks(const std::string& folder, int clicks) {
  TFormProgress progress;
  TFormMain form(TProgramPaths::ForFolder(folder), &progress);
  form.ShowWindow();
  QSignalSpy loads(form.Ui().WebBrowser1, &QWebEngineView::loadFinished);
  RunEventsUntil([&] { return !form.findChild<TStripFiller*>()->Filling() && loads.count() > 0; }, 60000);
  std::vector<double> times;
  const TSideBarModel& model = form.Ui().NiceSideBar1->Model();
  for (int i = 1; i <= clicks; ++i) {
    const TSideBarRow* target = nullptr;
    for (const TSideBarRow& row : model.Rows()) {
      if (row.IsSubItem && row.SubIndex == i % 25 + 1) target = &row;
    }
    if (target == nullptr) break;
    QPoint at((target->Rect.Left + target->Rect.Right) / 2, (target->Rect.Top + target->Rect.Bottom) / 2 - model.ScrollOffset());
    const qsizetype before = loads.count();
    auto start = std::chrono::steady_clock::now();
    QTest::mouseClick(form.Ui().NiceSideBar1, Qt::LeftButton, Qt::NoModifier, at);
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

}  // namespace

int main(int argc, char** argv) {
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
    catalogs.emplace_back("5,000 movies with 600 x 900 covers",
                          fs::absolute(EnsureSampleCatalog(DataFolder(argc, argv), "viewer-5000", 5000,
                                                           TSamplePictures::Embedded))
                              .string());
  }

  // The program under test runs as it does for users; this process only
  // watches it.
  std::vector<std::string> folders;
  for (const auto& [name, catalog] : catalogs) {
    WarmFileCache(catalog);
    std::string folder = MakeProgramFolder(viewer, catalog);
    folders.push_back(folder);
    std::printf("%s (%.0f MB):\n", name.c_str(), fs::file_size(catalog) / 1e6);
    const std::string cache = folder + "/cache";
    for (int run = 0; run < runs; ++run) {
      fs::remove_all(cache);
      for (const char* open : {"first open ", "second open"}) {
        TStartResult r = StartFromOutside(folder, cache, false);
        std::printf("  %s: window shown %ld ms, first page %ld ms, strip filled %ld ms (%ld ms after it started)\n",
                    open, r.WindowShownMs, r.FirstPageMs, r.StripFilledMs, r.StripFilledMs - r.StripStartedMs);
        std::fflush(stdout);
      }
    }
    fs::remove_all(cache);
    TStartResult r = StartFromOutside(folder, cache, true);
    std::printf("  peak memory of the process tree: %.0f MB resident (shared pages counted in every process), "
                "%.0f MB proportional\n",
                r.PeakRssMb, r.PeakPssMb);
    fs::remove_all(folder);
  }

  // The clicks' own thumbnail cache, so the user's is never touched.
  const std::string clickCache = (fs::temp_directory_path() / ("elk-bench-cache-" + std::to_string(::getpid()))).string();
  ::setenv("XDG_CACHE_HOME", clickCache.c_str(), 1);
  RegisterMovieUrlScheme();
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
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
