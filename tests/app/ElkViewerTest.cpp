// The viewer program itself, started as users start it.

#include "tests/support/TTestFolder.h"
#include "tools/SampleCatalog.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sstream>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) { return ReadFileBytes(path.string()); }

class ViewerProgram : public ::testing::Test {
 protected:
  // A copy of the program in a folder of its own, with settings that open
  // its catalog "Mine.qzt" (written with `options`) at start, named as the
  // build names its sample: without a folder.
  fs::path ProgramCopy(const TSampleOptions& options) {
    fs::path copy = m_folder / "program";
    fs::create_directories(copy);
    fs::copy_file(ELK_VIEWER_PATH, copy / "elk-viewer");
    WriteSampleCatalog((copy / "Mine.qzt").string(), options);
    std::ofstream(copy / "Config.ini") << "[Config]\r\nCatalogFile=Mine.qzt\r\nAutoOpen=1\r\nMaximized=0\r\n";
    return copy;
  }

  // Starts the program with these arguments (offscreen, unless `platform`
  // says otherwise); returns its process id.
  pid_t Start(const fs::path& program, const std::vector<std::string>& arguments,
              const std::string& platform = "offscreen") {
    pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("ELK_TIMING", (m_folder / "timing.log").c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
      std::freopen((m_folder / "stderr.txt").c_str(), "w", stderr);
      std::freopen((m_folder / "stdout.txt").c_str(), "w", stdout);
      std::vector<char*> argv{const_cast<char*>("elk-viewer")};
      for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    return pid;
  }

  // Waits until `done` holds, at most 60 seconds, woken by each change of
  // `folder` rather than by a clock.
  static bool WaitFor(const fs::path& folder, const std::function<bool()>& done) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    if (watch < 0) return false;
    ::inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool found = false;
    while (!(found = done())) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd event{watch, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&event, 1, static_cast<int>(left.count())) <= 0) break;
      char buffer[4096];
      [[maybe_unused]] ssize_t read = ::read(watch, buffer, sizeof buffer);
    }
    ::close(watch);
    return found;
  }

  // Waits until the log holds `text`.
  bool LogHolds(const std::string& text) {
    return WaitFor(m_folder, [&] { return ReadText(m_folder / "timing.log").find(text) != std::string::npos; });
  }

  // The process's exit status, waiting at most 60 seconds for it to end
  // (woken by its end, not by a clock); -1 when it did not end then.
  static int ExitStatus(pid_t pid) {
    const int handle = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (handle >= 0) {
      pollfd event{handle, POLLIN, 0};
      ::poll(&event, 1, 60000);
      ::close(handle);
    }
    int status = -1;
    if (::waitpid(pid, &status, WNOHANG) == pid) return status;
    // Still running: it is ended here so no test leaves it behind.
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
  }

  TTestFolder m_temp;
  const fs::path m_folder{m_temp.Path()};
};

// Mounts are made in a namespace of this process's own, seen only by it
// and the programs it starts, so nothing is left mounted whatever happens.
bool MountsOfOurOwn() {
  static const bool own = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  return own;
}

}  // namespace

TEST_F(ViewerProgram, CopyOfTheProgramFolderRunsOnItsOwnFilesAndOpensTheCatalogItIsGiven) {
  // A copy of the program in a folder of its own, with its own settings.
  TSampleOptions options;
  options.Pictures = TSamplePictures::Embedded;
  options.CoverWidth = 40;
  options.CoverHeight = 60;
  options.Movies = 7;
  const fs::path copy = ProgramCopy(options);
  options.Movies = 5;
  WriteSampleCatalog((m_folder / "Other.qzt").string(), options);
  // The catalog given (as a file manager gives it) opens instead of the
  // configured one; Qt's own options still work.
  pid_t pid = Start(copy / "elk-viewer", {"-platform", "offscreen", (m_folder / "Other.qzt").string()});
  EXPECT_TRUE(LogHolds("strip-filled"));
  EXPECT_TRUE(LogHolds("\npage "));
  // Ended by the system (a logout): it closes as usual and keeps the settings.
  ::kill(pid, SIGTERM);
  const int status = ExitStatus(pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  const std::string config = ReadText(copy / "Config.ini");
  EXPECT_NE(config.find("LastOrder=11"), std::string::npos);
  // As Open would: it is the catalog now, and the first of the recent ones.
  EXPECT_NE(config.find("CatalogFile=" + (m_folder / "Other.qzt").string()), std::string::npos) << config;
  EXPECT_NE(config.find("[Recent]\r\nFile1=" + (m_folder / "Other.qzt").string()), std::string::npos) << config;
  std::string log = ReadText(m_folder / "timing.log");
  EXPECT_NE(log.find("window-shown "), std::string::npos);
  EXPECT_NE(log.find("strip-filled "), std::string::npos);
  EXPECT_NE(log.find(" 5\n"), std::string::npos) << log;
  EXPECT_EQ(log.find(" 7\n"), std::string::npos) << log;
  EXPECT_NE(log.find("navigate "), std::string::npos);
  // Quiet: only the viewer's own word, none of the web engine's start-up.
  const std::string said = ReadText(m_folder / "stderr.txt");
  if (::geteuid() == 0) {
    EXPECT_NE(said.find("sandbox is turned off"), std::string::npos);
  }
  for (const char* chatter : {"qt.webenginecontext", "Init Parameters", "Sandboxing disabled", "XDG_RUNTIME_DIR"}) {
    EXPECT_EQ(said.find(chatter), std::string::npos) << said;
  }
}

TEST_F(ViewerProgram, EndsWhenAskedWhileItsFirstErrorIsShownAndOpensItsOwnSampleAfter) {
  TSampleOptions options;
  options.Movies = 7;
  options.Pictures = TSamplePictures::None;
  const fs::path copy = ProgramCopy(options);
  std::ofstream(m_folder / "notacatalog.qzt") << "not a catalog";
  // The error box at start runs a loop of its own; the window behind it is
  // shown from there, so its line in the log says the box is up.
  pid_t pid = Start(copy / "elk-viewer", {(m_folder / "notacatalog.qzt").string()});
  ASSERT_TRUE(LogHolds("window-shown"));
  ::kill(pid, SIGTERM);
  const int status = ExitStatus(pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  const std::string config = ReadText(copy / "Config.ini");
  EXPECT_NE(config.find("CatalogFile=Mine.qzt\r\n"), std::string::npos) << config;
  EXPECT_NE(config.find("LastOrder="), std::string::npos) << config;

  // Started from elsewhere, the catalog named without a folder is the one
  // beside the program.
  fs::remove(m_folder / "timing.log");
  pid = Start(copy / "elk-viewer", {});
  EXPECT_TRUE(LogHolds("\npage "));
  ::kill(pid, SIGTERM);
  ExitStatus(pid);
  EXPECT_NE(ReadText(m_folder / "timing.log").find("strip-started "), std::string::npos);
  EXPECT_NE(ReadText(m_folder / "timing.log").find(" 7\n"), std::string::npos) << ReadText(m_folder / "timing.log");
}

TEST_F(ViewerProgram, RunsOnAWaylandDesktop) {
  const std::string weston = "/usr/bin/weston";
  if (!fs::exists(weston) || !fs::exists("/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so")) {
    GTEST_SKIP() << "weston or Qt's Wayland plugin is not installed";
  }
  TSampleOptions options;
  options.Movies = 3;
  const fs::path copy = ProgramCopy(options);
  // A compositor of the test's own, without a screen.
  const fs::path runtime = m_folder / "runtime";
  fs::create_directories(runtime);
  fs::permissions(runtime, fs::perms::owner_all);
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  ::setenv("WAYLAND_DISPLAY", "elk-test", 1);
  ::unsetenv("DISPLAY");
  pid_t compositor = ::fork();
  if (compositor == 0) {
    std::freopen((m_folder / "weston.txt").c_str(), "w", stderr);
    std::freopen((m_folder / "weston.txt").c_str(), "a", stdout);
    ::execl(weston.c_str(), "weston", "--backend=headless-backend.so", "--socket=elk-test", "--idle-time=0",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_TRUE(WaitFor(runtime, [&] { return fs::exists(runtime / "elk-test"); })) << ReadText(m_folder / "weston.txt");
  pid_t pid = Start(copy / "elk-viewer", {}, "wayland");
  const bool shown = LogHolds("\npage ");
  // Whether either ended by itself before being asked to.
  int early = 0;
  const bool viewerEnded = ::waitpid(pid, &early, WNOHANG) == pid;
  const bool compositorEnded = ::waitpid(compositor, nullptr, WNOHANG) == compositor;
  if (!viewerEnded) ::kill(pid, SIGTERM);
  const int status = viewerEnded ? early : ExitStatus(pid);
  if (!compositorEnded) ::kill(compositor, SIGTERM);
  if (!compositorEnded) ExitStatus(compositor);
  const std::string said = "viewer:\n" + ReadText(m_folder / "stderr.txt") + "compositor:\n" + ReadText(m_folder / "weston.txt");
  EXPECT_TRUE(shown) << said;
  EXPECT_FALSE(viewerEnded) << said;
  EXPECT_FALSE(compositorEnded) << said;
  // Ended when asked, its settings saved.
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << "\n" << said;
  EXPECT_NE(ReadText(copy / "Config.ini").find("LastOrder="), std::string::npos) << said;
  // Natively: Qt did not fall back to another platform.
  EXPECT_EQ(ReadText(m_folder / "stderr.txt").find("Could not load the Qt platform plugin"), std::string::npos);
}

TEST_F(ViewerProgram, AnswersHelpAndVersionAndRefusesWrongArguments) {
  struct TCase {
    std::vector<std::string> Arguments;
    int Status;
    const char* Out;
    const char* Err;
  };
  const TCase cases[] = {
      {{"--help"}, 0, "Usage: elk-viewer [CATALOG]", ""},
      {{"--version"}, 0, "elk-viewer ", ""},
      {{"-platform", "offscreen", "--bogus"}, 2, "", "elk-viewer: unknown option --bogus\nUsage:"},
      {{"-platform", "offscreen", "a.qzt", "b.qzt"}, 2, "", "only one catalog"},
  };
  for (const TCase& c : cases) {
    const int status = ExitStatus(Start(ELK_VIEWER_PATH, c.Arguments));
    ASSERT_TRUE(WIFEXITED(status)) << c.Arguments.back();
    EXPECT_EQ(WEXITSTATUS(status), c.Status) << c.Arguments.back();
    EXPECT_NE(ReadText(m_folder / "stdout.txt").find(c.Out), std::string::npos) << c.Arguments.back();
    EXPECT_NE(ReadText(m_folder / "stderr.txt").find(c.Err), std::string::npos)
        << c.Arguments.back() << ": " << ReadText(m_folder / "stderr.txt");
  }
}

TEST_F(ViewerProgram, AThumbnailCacheOnAFullOrReadOnlyDiskCostsOnlySpeed) {
  if (!MountsOfOurOwn()) GTEST_SKIP() << "this machine gives no mount namespaces";
  TSampleOptions options;
  options.Pictures = TSamplePictures::Embedded;
  options.Movies = 12;
  const fs::path copy = ProgramCopy(options);
  const fs::path cache = m_folder / "cache";
  fs::create_directories(cache);
  ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
  // Room for the folder and a few pictures but not the whole file; then a
  // folder that cannot be written at all.
  for (const bool readOnly : {false, true}) {
    const char* mount = readOnly ? "read-only" : "full";
    ASSERT_EQ(::mount("tmpfs", cache.c_str(), "tmpfs", 0, "size=24k"), 0);
    if (readOnly) {
      ASSERT_EQ(::mount(nullptr, cache.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    }
    fs::remove(m_folder / "timing.log");
    pid_t pid = Start(copy / "elk-viewer", {});
    EXPECT_TRUE(LogHolds("strip-filled ")) << mount;
    ::kill(pid, SIGTERM);
    const int status = ExitStatus(pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << mount << " " << status;
    // Every picture in the strip, nothing said, and no file left behind.
    const std::string log = ReadText(m_folder / "timing.log");
    EXPECT_NE(log.find("strip-filled "), std::string::npos);
    EXPECT_NE(log.find(" 12\n", log.find("strip-filled ")), std::string::npos) << mount << "\n" << log;
    EXPECT_EQ(ReadText(m_folder / "stderr.txt").find("rror"), std::string::npos) << ReadText(m_folder / "stderr.txt");
    for (const auto& entry : fs::recursive_directory_iterator(cache)) {
      EXPECT_TRUE(entry.is_directory()) << mount << ": " << entry.path();
    }
    ASSERT_EQ(::umount(cache.c_str()), 0);
  }
  ::unsetenv("XDG_CACHE_HOME");
}
