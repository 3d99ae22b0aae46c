#include "tests/support/TTestFolder.h"

#include "config/TViewerError.h"
#include "config/TViewerSettings.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TViewerSettings LoadFrom(const TTestFolder& folder) {
  TViewerSettings settings;
  LoadSettings(settings, folder.Path(), 1280, 1024);
  return settings;
}

// Runs `body` in a child process (for privileges and resource limits the
// test process must keep) and returns its exit status.
template <typename Body>
int InChild(Body body) {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

}  // namespace

TEST(TViewerSettings, MissingFileGivesEveryDefault) {
  TTestFolder folder;
  TViewerSettings s = LoadFrom(folder);
  EXPECT_EQ(s.Width, 800);
  EXPECT_EQ(s.Height, 600);
  EXPECT_EQ(s.Left, 240);
  EXPECT_EQ(s.Top, 212);
  EXPECT_TRUE(s.Maximized);
  EXPECT_EQ(s.ColorScheme, "Default");
  EXPECT_EQ(s.Language, "English");
  EXPECT_EQ(s.LastGroup, 0);
  EXPECT_EQ(s.LastOrder, 11);
  EXPECT_EQ(s.MaxImageWidth, 400);
  EXPECT_EQ(s.DateFormat, "mm/dd/yyyy");
  EXPECT_EQ(s.Template, DefaultMovieTemplate());
  EXPECT_EQ(s.ListTemplate, DefaultListTemplate());
  EXPECT_EQ(s.Template.size(), 17u);
  EXPECT_EQ(s.ListTemplate.size(), 18u);
  EXPECT_EQ(s.ListTemplate[5].front(), '\t');
  EXPECT_EQ(s.UserVars.Count(), 0u);

  TViewerSettings narrow;
  LoadSettings(narrow, folder.Path(), 641, 480);
  EXPECT_EQ(narrow.Left, -79);  // truncated toward zero
  EXPECT_EQ(narrow.Top, -60);
}

TEST(TViewerSettings, ReadsOddValuesByTheIniRules) {
  TTestFolder folder;
  folder.Write("Config.ini",
               "[Config]\r\nLastGroup=257\r\nLastOrder=-1\r\nAutoOpen=yes\r\nShowSearch=2\r\n"
               "MaxImageWidth=0x190\r\nMaxImageHeight=$C8\r\nWidth=wide\r\n");
  TViewerSettings s = LoadFrom(folder);
  EXPECT_EQ(s.LastGroup, 1);
  EXPECT_EQ(s.LastOrder, 255);
  EXPECT_FALSE(s.AutoOpen);
  EXPECT_TRUE(s.ShowSearch);
  EXPECT_EQ(s.MaxImageWidth, 400);
  EXPECT_EQ(s.MaxImageHeight, 200);
  EXPECT_EQ(s.Width, 800);

  SaveSettings(s, folder.Path());
  std::string text = folder.Read("Config.ini");
  EXPECT_NE(text.find("ShowSearch=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("AutoOpen=0\r\n"), std::string::npos);
}

TEST(TViewerSettings, TemplatesKeepGapsAndFallBackWhenBlank) {
  TTestFolder folder;
  folder.Write("Config.ini",
               "[Template]\r\nCount=3\r\nLine1=first\r\nLine3=third\r\n"
               "[ListTemplate]\r\nCount=2\r\nLine1=   \r\nLine2=\"\t\"\r\n");
  TViewerSettings s = LoadFrom(folder);
  EXPECT_EQ(s.Template, (std::vector<std::string>{"first", "", "third"}));
  EXPECT_EQ(s.ListTemplate, DefaultListTemplate());
}

TEST(TViewerSettings, TrimsTheTemplateTextAsAWhole) {
  TTestFolder folder;
  folder.Write("Config.ini", "[Template]\r\nCount=4\r\nLine1=\r\nLine2=\"  <p>\"\r\nLine3=\"  x  \"\r\nLine4=\r\n");
  EXPECT_EQ(LoadFrom(folder).Template, (std::vector<std::string>{"<p>", "  x"}));
}

TEST(TViewerSettings, HugeStoredCountsCostNothing) {
  TTestFolder folder;
  folder.Write("Config.ini",
               "[Template]\r\nCount=2147483647\r\nLine2=b\r\n[UserVars]\r\nCount=2000000000\r\nName7=a\r\nValue7=b\r\n");
  TViewerSettings s = LoadFrom(folder);
  EXPECT_EQ(s.Template, (std::vector<std::string>{"b"}));
  ASSERT_EQ(s.UserVars.Count(), 1u);
  EXPECT_EQ(s.UserVars.Entries()[0].Name, "a");
}

TEST(TViewerSettings, TemplateLinesAreCutAt2047Characters) {
  TTestFolder folder;
  std::string line(3000, 'x');
  folder.Write("Config.ini", "[Template]\r\nCount=1\r\nLine1=" + line + "\r\n");
  EXPECT_EQ(LoadFrom(folder).Template, (std::vector<std::string>{line.substr(0, 2047)}));
}

TEST(TViewerSettings, UserVariablesDropEmptyValuesAndMergeNamesByCase) {
  TTestFolder folder;
  folder.Write("Config.ini",
               "[UserVars]\r\nCount=5\r\nName1=Minutes\r\nValue1=min.\r\nName2=Empty\r\nValue2=\r\n"
               "Name3=a&equal;b\r\nValue3=c&equal;d\r\nName4=MINUTES\r\nValue4=mins\r\nName5=\r\nValue5=x\r\n");
  TViewerSettings s = LoadFrom(folder);
  ASSERT_EQ(s.UserVars.Count(), 2u);
  EXPECT_EQ(s.UserVars.Entries()[0].Name, "Minutes");
  EXPECT_EQ(s.UserVars.Entries()[0].Value, "mins");
  EXPECT_EQ(s.UserVars.Entries()[1].Name, "a&equal;b");
  EXPECT_EQ(s.UserVars.Entries()[1].Value, "c&equal;d");
}

TEST(TViewerSettings, SavesAndLoadsEverySettingUnchanged) {
  TTestFolder folder;
  folder.Write("Config.ini", "; kept\r\n[Other]\r\nMine=1\r\n");
  TViewerSettings s;
  s.CatalogFile = "/home/ann/Movies \xE9t\xE9.qzt";
  s.AutoOpen = true;
  s.TitleType = 1;
  s.ColorScheme = "Dark";
  s.Password = "p=ss \xE4\xFF\x01";
  s.Protected = true;
  s.Left = -5;
  s.LastGroup = 17;
  s.LastOrderDesc = true;
  s.Template = {"<b>", "  $TITLE</b>", "", "end"};
  s.ListTemplate = {"<p>", "\t$TITLE"};
  s.UserVars.Set("x&equal;y", "z");
  SaveSettings(s, folder.Path());

  TViewerSettings back = LoadFrom(folder);
  EXPECT_EQ(back.CatalogFile, s.CatalogFile);
  EXPECT_TRUE(back.AutoOpen);
  EXPECT_EQ(back.TitleType, 1);
  EXPECT_EQ(back.ColorScheme, "Dark");
  EXPECT_EQ(back.Password, s.Password);
  EXPECT_TRUE(back.Protected);
  EXPECT_EQ(back.Left, -5);
  EXPECT_EQ(back.LastGroup, 17);
  EXPECT_TRUE(back.LastOrderDesc);
  EXPECT_EQ(back.Template, s.Template);
  EXPECT_EQ(back.ListTemplate, s.ListTemplate);
  ASSERT_EQ(back.UserVars.Count(), 1u);
  EXPECT_EQ(back.UserVars.Entries()[0].Value, "z");

  std::string text = folder.Read("Config.ini");
  EXPECT_EQ(text.find("p=ss"), std::string::npos) << "the password is stored scrambled";
  EXPECT_EQ(text.rfind("; kept\r\n[Other]\r\nMine=1\r\n", 0), 0u);
}

TEST(TViewerSettings, EmptyUserVariablesAndTemplatesLeaveNoSection) {
  TTestFolder folder;
  folder.Write("Config.ini", "[UserVars]\r\nCount=1\r\nName1=a\r\nValue1=b\r\n");
  TViewerSettings s;
  s.Template.clear();
  SaveSettings(s, folder.Path());
  std::string text = folder.Read("Config.ini");
  EXPECT_EQ(text.find("[UserVars]"), std::string::npos);
  EXPECT_EQ(text.find("[Template]"), std::string::npos);
}

TEST(TViewerSettings, RefusedWriteReportsThePathAndLeavesTheFile) {
  TTestFolder folder;
  folder.Write("Config.ini", "[Config]\r\nWidth=640\r\n");
  ::chmod(folder.Path().c_str(), 0555);
  int status = InChild([&] {
    // The superuser may write anywhere, so the check runs as nobody.
    if (::geteuid() == 0) {
      passwd* nobody = ::getpwnam("nobody");
      if (nobody == nullptr || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) return 3;
    }
    TViewerSettings s;
    try {
      SaveSettings(s, folder.Path());
    } catch (const TViewerError& error) {
      return std::string(error.what()) == "Unable to write to " + folder.File("Config.ini") ? 0 : 1;
    }
    return 2;
  });
  ::chmod(folder.Path().c_str(), 0700);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(folder.Read("Config.ini"), "[Config]\r\nWidth=640\r\n");
}

TEST(TViewerSettings, FullDiskDuringSaveLeavesTheOldFileWhole) {
  TTestFolder folder;
  const std::string old = "[Config]\r\nWidth=640\r\n";
  folder.Write("Config.ini", old);
  int status = InChild([&] {
    // A file size limit makes the write fail part way, as a full disk would.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{64, 64};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    TViewerSettings s;
    s.Template = std::vector<std::string>(200, "a long template line that cannot fit");
    try {
      SaveSettings(s, folder.Path());
    } catch (const TViewerError&) {
      return 0;
    }
    return 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(folder.Read("Config.ini"), old);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST(TViewerSettings, KeepsALinkedConfigFileALink) {
  TTestFolder folder;
  folder.Write("real.ini", "[Config]\r\n");
  std::filesystem::create_symlink(folder.File("real.ini"), folder.File("Config.ini"));
  TViewerSettings s;
  s.Width = 1000;
  SaveSettings(s, folder.Path());
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("Config.ini")));
  EXPECT_NE(folder.Read("real.ini").find("Width=1000"), std::string::npos);
}

TEST(TViewerSettings, SavesNothingOnAReadOnlyFileSystem) {
  // Any read-only mount of this machine will do; there may be none.
  std::ifstream mounts("/proc/mounts");
  std::string device, point, type, options;
  std::string readOnly;
  while (mounts >> device >> point >> type >> options) {
    std::string rest;
    std::getline(mounts, rest);
    if ((options == "ro" || options.rfind("ro,", 0) == 0) && point.find('\\') == std::string::npos &&
        std::filesystem::is_directory(point)) {
      readOnly = point;
      break;
    }
  }
  if (readOnly.empty()) GTEST_SKIP() << "no read-only mount here";
  EXPECT_TRUE(IsReadOnlyMedium(readOnly));
  EXPECT_NO_THROW(SaveSettings(TViewerSettings{}, readOnly));
  EXPECT_FALSE(std::filesystem::exists(readOnly + "/Config.ini"));
  TTestFolder writable;
  EXPECT_FALSE(IsReadOnlyMedium(writable.Path()));
}

TEST(TViewerSettings, SavingSettingsThatDidNotChangeKeepsTheFile) {
  TTestFolder folder;
  TViewerSettings s;
  LoadSettings(s, folder.Path(), 1024, 768);
  s.UserVars.Set("a&equal;b", "c");
  SaveSettings(s, folder.Path());
  // The user's own spacing and line breaks, with the same values.
  std::string text = folder.Read("Config.ini");
  std::string::size_type at = text.find("Width=800");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 9, "Width = 800 ");
  text.insert(0, "; written by hand\n");
  folder.Write("Config.ini", text);
  TViewerSettings loaded;
  LoadSettings(loaded, folder.Path(), 1024, 768);
  SaveSettings(loaded, folder.Path());
  EXPECT_EQ(folder.Read("Config.ini"), text);
}
