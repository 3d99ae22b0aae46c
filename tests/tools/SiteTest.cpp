// The static web site, through elkcat as scripts run it.

#include "config/TextEncoding.h"
#include "tests/support/TTestFolder.h"
#include "tools/SampleCatalog.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) { return ReadFileBytes(path.string()); }

class Site : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(m_folder / "program");
    TSampleOptions options;
    options.Movies = 24;
    options.Seed = 9;
    options.Pictures = TSamplePictures::Mixed;
    options.CoverWidth = 60;
    options.CoverHeight = 90;
    WriteSampleCatalog(Path("Sample.qzt"), options);
  }

  std::string Path(const std::string& name) const { return (m_folder / name).string(); }

  // Runs elkcat; standard output is returned, status set.
  std::string Run(const std::string& arguments, int& status) {
    FILE* pipe = ::popen((std::string(ELKCAT_PATH) + " " + arguments + " 2>/dev/null").c_str(), "r");
    std::string out;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    int raw = ::pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
  }

  std::map<std::string, std::string> Files(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = ReadBytes(entry.path());
    }
    return files;
  }

  TTestFolder m_temp;
  const fs::path m_folder{m_temp.Path()};
};

}  // namespace

TEST_F(Site, EveryLinkLeadsToAFileOfTheSiteAndTheOutputIsDeterministic) {
  int status = -1;
  std::string said = Run("site " + Path("Sample.qzt") + " " + Path("one") + " --dir " + Path("program"), status);
  ASSERT_EQ(status, 0);
  EXPECT_NE(said.find("wrote 24 movie pages"), std::string::npos) << said;
  Run("site " + Path("Sample.qzt") + " " + Path("two") + " --dir " + Path("program"), status);
  const auto one = Files(m_folder / "one"), two = Files(m_folder / "two");
  EXPECT_EQ(one, two);
  EXPECT_TRUE(one.count("index.html") && one.count("movie-1.html") && one.count("movie-24.html"));
  EXPECT_TRUE(one.count("pictures/rating00.gif") && one.count("pictures/rating10.gif"));
  // Titles, the statistics linked from the index, and the way back.
  EXPECT_NE(one.at("index.html").find("<title>My Private Movie Collection</title>"), std::string::npos);
  EXPECT_NE(one.at("index.html").find("<a href=\"statistics.html\">Statistics</a>"), std::string::npos);
  EXPECT_NE(one.at("statistics.html").find("<svg "), std::string::npos);
  EXPECT_NE(one.at("statistics.html").find("<a href=\"index.html\">"), std::string::npos);
  EXPECT_EQ(one.at("statistics.html").find("<a href=\"movie["), std::string::npos);
  // The sample's titles depend on the compiler: the first is taken from dump.
  const auto movie = nlohmann::json::parse(Run("dump " + Path("Sample.qzt"), status))["movies"][0];
  const std::string first = movie["OriginalTitle"].get<std::string>().empty() ? movie["TranslatedTitle"] : movie["OriginalTitle"];
  if (!first.empty()) {
    EXPECT_NE(one.at("movie-1.html").find("<title>" + first + "</title>"), std::string::npos);
  }
  // With covers: each movie of the index shown by its picture, the same
  // bytes every time.
  Run("site " + Path("Sample.qzt") + " " + Path("grid") + " --covers --dir " + Path("program"), status);
  ASSERT_EQ(status, 0);
  Run("site " + Path("Sample.qzt") + " " + Path("grid2") + " --covers --dir " + Path("program"), status);
  const auto covered = Files(m_folder / "grid");
  EXPECT_EQ(covered, Files(m_folder / "grid2"));
  const std::string& index = covered.at("index.html");
  std::size_t covers = 0;
  for (std::size_t at = index.find("<img src=\"pictures/image-cover-"); at != std::string::npos;
       at = index.find("<img src=\"pictures/image-cover-", at + 1)) {
    ++covers;
  }
  EXPECT_EQ(covers, 24u);
  for (const auto& [name, bytes] : covered) {
    const std::regex src("src=\"([^\"]*)\"");
    for (std::sregex_iterator it(bytes.begin(), bytes.end(), src), end; it != end; ++it) {
      EXPECT_TRUE(covered.count((*it)[1])) << name << ": " << (*it)[1];
    }
  }

  const std::regex link("(?:src|href)=\"([^\"]*)\"");
  int links = 0;
  for (const auto& [name, bytes] : one) {
    if (name.size() < 5 || name.substr(name.size() - 5) != ".html") continue;
    EXPECT_NE(bytes.find("<meta charset=\"utf-8\">"), std::string::npos) << name;
    EXPECT_EQ(bytes.find("movie://"), std::string::npos) << name;
    for (std::sregex_iterator it(bytes.begin(), bytes.end(), link), end; it != end; ++it) {
      const std::string target = (*it)[1];
      ++links;
      EXPECT_FALSE(target.empty() || target[0] == '/' || target.find("..") != std::string::npos) << name << ": " << target;
      EXPECT_TRUE(one.count(target)) << name << " links to " << target;
    }
  }
  EXPECT_GE(links, 24 * 3);
}

TEST_F(Site, MoviePagesAreTheViewersPagesInUtf8) {
  int status = -1;
  Run("site " + Path("Sample.qzt") + " " + Path("site") + " --dir " + Path("program"), status);
  ASSERT_EQ(status, 0);
  for (int n : {1, 7, 24}) {
    std::string page = Run("page " + Path("Sample.qzt") + " movie[" + std::to_string(n) + "].html --dir " + Path("program"),
                           status);
    ASSERT_EQ(status, 0);
    std::string site = ReadBytes(m_folder / "site" / ("movie-" + std::to_string(n) + ".html"));
    // Back to the viewer's form: its encoding, no meta tag, title or link
    // back, pictures beside the page.
    const std::size_t meta = site.find("\r\n<meta charset=\"utf-8\">");
    ASSERT_NE(meta, std::string::npos);
    site.erase(meta, site.find("</title>", meta) + 8 - meta);
    const std::size_t back = site.find("\r\n<p class=\"elk-back\"");
    ASSERT_NE(back, std::string::npos);
    site.erase(back, site.find("</p>\r\n", back) + 6 - back);
    site = Utf8ToCp1252(site);
    for (std::size_t at; (at = site.find("\"pictures/")) != std::string::npos;) site.erase(at + 1, 9);
    EXPECT_EQ(site, page) << n;
  }
  // Accented texts are UTF-8 in the site.
  bool accent = false;
  for (const auto& [name, bytes] : Files(m_folder / "site")) {
    accent = accent || bytes.find("\xC3\xA9") != std::string::npos || bytes.find("\xC3\xB6") != std::string::npos;
  }
  EXPECT_TRUE(accent);
}

TEST_F(Site, PeopleModeWritesAPagePerNameAndLinksThem) {
  std::ofstream(m_folder / "program" / "Config.ini") << "[ListTemplate]\r\nCount=1\r\nLine1=<a href=\"$LINK\">$TITLE</a>\r\n";
  int status = -1;
  std::string said = Run("site " + Path("Sample.qzt") + " " + Path("people") + " --dir " + Path("program") + " --group 17",
                         status);
  ASSERT_EQ(status, 0);
  const auto files = Files(m_folder / "people");
  int names = 0;
  for (const auto& [name, bytes] : files) names += name.rfind("name-", 0) == 0;
  EXPECT_GT(names, 24);
  const std::string& index = files.at("index.html");
  EXPECT_NE(index.find("href=\"name-1-1.html\""), std::string::npos);
  EXPECT_NE(index.find("Letter A"), std::string::npos);
  // A name's list links each of its movies to the movie's own page.
  bool listLinks = false;
  for (const auto& [name, bytes] : files) {
    if (name.rfind("name-", 0) == 0 && bytes.find("href=\"movie-") != std::string::npos) listLinks = true;
  }
  EXPECT_TRUE(listLinks);
}

TEST_F(Site, CopiesFilesPagesNameButNeverTheSettings) {
  std::ofstream(m_folder / "program" / "Config.ini")
      << "[Config]\r\nPath=secret\r\n[Template]\r\nCount=2\r\nLine1=<link href=\"style.css\"><a href=\"Config.ini\">x</a>\r\n"
         "Line2=<img src=\"../outside.png\"> $TITLE\r\n";
  std::ofstream(m_folder / "program" / "style.css") << "p { color: red }";
  std::ofstream(m_folder / "outside.png") << "outside";
  int status = -1;
  Run("site " + Path("Sample.qzt") + " " + Path("site") + " --dir " + Path("program"), status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(m_folder / "site" / "style.css"), "p { color: red }");
  EXPECT_FALSE(fs::exists(m_folder / "site" / "Config.ini"));
  for (const auto& [name, bytes] : Files(m_folder / "site")) {
    EXPECT_EQ(bytes.find("secret"), std::string::npos) << name;
    EXPECT_NE(bytes, "outside") << name;
  }
}

TEST_F(Site, PathsCountsLinkedFilesAsJson) {
  // Linked pictures by absolute path of another machine, mapped here.
  std::ofstream(m_folder / "program" / "Config.ini") << "[Config]\r\nVideoPathField=Comments\r\n";
  int status = -1;
  std::string out = Run("paths " + Path("Sample.qzt") + " --dir " + Path("program"), status);
  ASSERT_EQ(status, 0);
  auto json = nlohmann::json::parse(out);
  EXPECT_GT(json["linkedPictures"].get<int>(), 0);
  EXPECT_EQ(json["picturesFound"], json["picturesFoundWithRules"]);
  EXPECT_EQ(json["rules"], 0);
  EXPECT_EQ(json["videoField"], "Comments");
  EXPECT_EQ(Run("paths", status), "");
  EXPECT_EQ(status, 2);
}
