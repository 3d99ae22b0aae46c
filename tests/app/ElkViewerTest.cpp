// The viewer program itself, started as users start it.

#include "tools/SampleCatalog.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class ViewerProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() / ("elk-viewer-test-" + std::to_string(::getpid()));
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
  }
  void TearDown() override { fs::remove_all(m_folder); }

  // Starts the program with these arguments; returns its process id.
  pid_t Start(const fs::path& program, const std::vector<std::string>& arguments) {
    pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("ELK_TIMING", (m_folder / "timing.log").c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      std::freopen((m_folder / "stderr.txt").c_str(), "w", stderr);
      std::vector<char*> argv{const_cast<char*>("elk-viewer")};
      for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    return pid;
  }

  // Waits (polling the log) until it holds `text`, at most 60 seconds.
  bool LogHolds(const std::string& text) {
    for (int i = 0; i < 3000; ++i) {
      if (ReadText(m_folder / "timing.log").find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  fs::path m_folder;
};

}  // namespace

TEST_F(ViewerProgram, CopyOfTheProgramFolderRunsOnItsOwnFilesAndIgnoresArguments) {
  // A copy of the program in a folder of its own, with its own settings.
  fs::path copy = m_folder / "program";
  fs::create_directories(copy);
  fs::copy_file(ELK_VIEWER_PATH, copy / "elk-viewer");
  TSampleOptions options;
  options.Movies = 7;
  options.Pictures = TSamplePictures::Embedded;
  options.CoverWidth = 40;
  options.CoverHeight = 60;
  WriteSampleCatalog((copy / "Mine.qzt").string(), options);
  std::ofstream(copy / "Config.ini") << "[Config]\r\nCatalogFile=" << (copy / "Mine.qzt").string()
                                     << "\r\nAutoOpen=1\r\nMaximized=0\r\n";
  // Neither a catalog given on the command line nor an unknown option
  // changes what opens; Qt's own options still work.
  pid_t pid = Start(copy / "elk-viewer", {"-platform", "offscreen", "/nonexistent/Other.qzt", "--bogus"});
  EXPECT_TRUE(LogHolds("strip-filled"));
  EXPECT_TRUE(LogHolds("\npage "));
  // Ended by the system (a logout): it closes as usual and keeps the settings.
  ::kill(pid, SIGTERM);
  int status = -1;
  for (int i = 0; i < 3000 && ::waitpid(pid, &status, WNOHANG) == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_NE(ReadText(copy / "Config.ini").find("LastOrder=11"), std::string::npos);
  std::string log = ReadText(m_folder / "timing.log");
  EXPECT_NE(log.find("window-shown "), std::string::npos);
  EXPECT_NE(log.find("strip-filled "), std::string::npos);
  EXPECT_NE(log.find(" 7\n"), std::string::npos) << log;
  EXPECT_NE(log.find("navigate "), std::string::npos);
  if (::geteuid() == 0) {
    EXPECT_NE(ReadText(m_folder / "stderr.txt").find("sandbox is turned off"), std::string::npos);
  }
}
