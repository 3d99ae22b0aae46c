#include "tests/support/TTestFolder.h"

#include "config/SettingsLocation.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs `body` in a child process as the user nobody, so that folder
// permissions count even when the tests run as the superuser.
template <typename Body>
int AsNobody(Body body) {
  pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0) {
      passwd* nobody = ::getpwnam("nobody");
      if (nobody == nullptr || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(90);
    }
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (m_old) {
      ::setenv(m_name, m_old->c_str(), 1);
    } else {
      ::unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

}  // namespace

TEST(SettingsLocation, WritableProgramFolderKeepsTheSettings) {
  TTestFolder program;
  TSettingsLocation location = FindSettingsLocation(program.Path());
  EXPECT_EQ(location.ReadFolder, program.Path());
  EXPECT_EQ(location.SaveFolder, program.Path());
}

TEST(SettingsLocation, UserFolderFollowsXdgConfigHome) {
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(UserSettingsFolder(), "/somewhere/config/elk-viewer");
  }
  {
    // A relative value is ignored, as the desktop's rules say.
    ScopedEnv config("XDG_CONFIG_HOME", "relative");
    ScopedEnv home("HOME", "/home/ann");
    EXPECT_EQ(UserSettingsFolder(), "/home/ann/.config/elk-viewer");
  }
}

TEST(SettingsLocation, SystemInstallReadsItsDefaultsAndSavesForTheUser) {
  TTestFolder program, user;
  program.Write("Config.ini", "[Config]\r\nCatalogFile=/usr/lib/elk-viewer/Sample.qzt\r\nAutoOpen=1\r\n");
  ::chmod(program.Path().c_str(), 0755);
  ::chmod(user.Path().c_str(), 0777);
  ScopedEnv config("XDG_CONFIG_HOME", user.Path());
  int status = AsNobody([&] {
    TSettingsLocation location = FindSettingsLocation(program.Path());
    if (location.ReadFolder != program.Path() || location.SaveFolder != user.Path() + "/elk-viewer") return 1;
    TViewerSettings settings;
    LoadSettings(settings, location.ReadFolder, 1024, 768);
    if (settings.CatalogFile != "/usr/lib/elk-viewer/Sample.qzt" || !settings.AutoOpen) return 2;
    settings.Width = 1000;
    try {
      SaveSettingsTo(settings, location);
    } catch (const TViewerError&) {
      return 3;
    }
    // From now on the user's own file is read.
    TSettingsLocation again = FindSettingsLocation(program.Path());
    return again.ReadFolder == again.SaveFolder ? 0 : 4;
  });
  EXPECT_EQ(status, 0);
  EXPECT_NE(user.Read("elk-viewer/Config.ini").find("Width=1000"), std::string::npos);
  EXPECT_EQ(program.Read("Config.ini"), "[Config]\r\nCatalogFile=/usr/lib/elk-viewer/Sample.qzt\r\nAutoOpen=1\r\n");
}

TEST(SettingsLocation, UnmakeableUserFolderIsReportedWithThePath) {
  TTestFolder program;
  TSettingsLocation location{program.Path(), "/proc/elk-viewer-cannot-be-here"};
  try {
    SaveSettingsTo(TViewerSettings(), location);
    FAIL() << "no error";
  } catch (const TViewerError& error) {
    EXPECT_STREQ(error.what(), "Unable to write to /proc/elk-viewer-cannot-be-here/Config.ini");
  }
}
