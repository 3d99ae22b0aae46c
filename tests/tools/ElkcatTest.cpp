#include "catalog/TMovieList.h"
#include "tests/support/TTestFolder.h"
#include "tools/TCatalogWriter.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

class Elkcat : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() / ("elkcat-test-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
  }
  void TearDown() override { fs::remove_all(m_folder); }

  TRun Run(const std::string& arguments) {
    std::string errFile = (m_folder / "stderr.txt").string();
    std::string command = std::string(ELKCAT_PATH) + " " + arguments + " 2>" + errFile;
    TRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 65536> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.Out.append(buffer.data(), n);
    int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    std::stringstream text;
    text << err.rdbuf();
    run.Err = text.str();
    return run;
  }

  std::string Path(const std::string& name) const { return (m_folder / name).string(); }

  fs::path m_folder;
};

std::string ReadBytes(const std::string& path) { return ReadFileBytes(path); }

// FNV-1a, 64 bits: a fingerprint that is the same on every machine.
std::uint64_t Fingerprint(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

}  // namespace

TEST_F(Elkcat, ExplainsItselfAndRejectsWrongArgumentsWithStatus2) {
  TRun help = Run("--help");
  EXPECT_EQ(help.Status, 0);
  for (const char* name : {"dump", "sample", "settings"}) EXPECT_NE(help.Out.find(name), std::string::npos);
  TRun version = Run("--version");
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Out.rfind("elkcat ", 0), 0u);
  EXPECT_EQ(Run("dump --help").Status, 0);

  for (const char* wrong : {"", "nonsense", "dump", "dump a b", "dump --bogus x", "sample x --movies 3",
                            "sample x --version 34 --movies 3", "sample x --version 35 --movies many",
                            "settings --dir"}) {
    TRun run = Run(wrong);
    EXPECT_EQ(run.Status, 2) << wrong;
    EXPECT_NE(run.Err.find("usage"), std::string::npos) << wrong;
    EXPECT_EQ(run.Out, "") << wrong;
  }
}

TEST_F(Elkcat, WritesTheSameSampleForTheSameSeedInEveryVersion) {
  for (const char* version : {"35", "33", "31"}) {
    std::string a = Path(std::string("a") + version + ".qzt");
    std::string b = Path(std::string("b") + version + ".qzt");
    ASSERT_EQ(Run(std::string("sample ") + a + " --version " + version + " --movies 30 --seed 5 --pictures embedded")
                  .Status,
              0);
    ASSERT_EQ(Run(std::string("sample ") + b + " --version " + version + " --movies 30 --seed 5 --pictures embedded")
                  .Status,
              0);
    EXPECT_EQ(ReadBytes(a), ReadBytes(b));
    TMovieList list;
    list.LoadFromFile(a);
    EXPECT_EQ(list.Count(), 30);
    EXPECT_EQ(ReadBytes(a).substr(0, 65), CatalogSignature(static_cast<TFormatVersion>(std::stoi(version))));
  }
  // The same bytes whoever compiled elkcat: they were these with gcc and clang alike.
  EXPECT_EQ(Fingerprint(ReadBytes(Path("a35.qzt"))), 0x75a011bc15f1f1d6ull);
}

TEST_F(Elkcat, DumpsEveryFieldAsJsonWithLinkedPicturesBesideTheCatalog) {
  std::string catalog = Path("linked.qzt");
  ASSERT_EQ(Run("sample " + catalog + " --version 35 --movies 40 --seed 3 --pictures linked").Status, 0);
  TRun dump = Run("dump " + catalog);
  ASSERT_EQ(dump.Status, 0) << dump.Err;
  auto json = nlohmann::ordered_json::parse(dump.Out);
  EXPECT_EQ(json["owner"], "Ann");
  ASSERT_EQ(json["movies"].size(), 40u);
  const auto& first = json["movies"][0];
  std::vector<std::string> keys;
  for (const auto& item : first.items()) keys.push_back(item.key());
  EXPECT_EQ(keys.front(), "handle");
  EXPECT_EQ(keys.back(), "PictureSize");
  EXPECT_EQ(keys.size(), 33u);
  std::set<std::string> extensions;
  bool anyAccent = false;
  for (const auto& movie : json["movies"]) {
    std::string name = movie["PictureName"];
    ASSERT_EQ(name.rfind("covers\\m", 0), 0u) << name;
    EXPECT_EQ(movie["PictureSize"], 0);
    std::string file = name;
    file[6] = '/';
    EXPECT_TRUE(fs::exists(m_folder / file)) << file;
    extensions.insert(name.substr(name.rfind('.')));
    std::string text = movie.dump();
    anyAccent = anyAccent || text.find("\xC3") != std::string::npos;  // UTF-8 of an accented letter
  }
  EXPECT_EQ(extensions, (std::set<std::string>{".jpg", ".png", ".gif", ".bmp"}));
  EXPECT_TRUE(anyAccent);
}

TEST_F(Elkcat, DumpSaysWhenTheFileEndsEarly) {
  std::string catalog = Path("whole.qzt");
  ASSERT_EQ(Run("sample " + catalog + " --version 35 --movies 30 --seed 3 --pictures none").Status, 0);
  TRun whole = Run("dump " + catalog);
  EXPECT_EQ(nlohmann::json::parse(whole.Out)["complete"], true);
  EXPECT_EQ(whole.Err, "");
  const std::string bytes = ReadBytes(catalog);
  std::ofstream(Path("cut.qzt"), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  TRun cut = Run("dump " + Path("cut.qzt"));
  EXPECT_EQ(cut.Status, 0);
  auto json = nlohmann::json::parse(cut.Out);
  EXPECT_EQ(json["complete"], false);
  EXPECT_LT(json["movies"].size(), 30u);
  EXPECT_NE(cut.Err.find("ends early"), std::string::npos) << cut.Err;
}

TEST_F(Elkcat, ReportsALoadErrorWithStatus1) {
  std::ofstream(Path("bad.qzt")) << "nonsense";
  TRun run = Run("dump " + Path("bad.qzt"));
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, "Unable to load file \"" + Path("bad.qzt") + "\": Cannot identify file type from header\n");
}

TEST_F(Elkcat, PrintsAndResavesSettingsWithoutThePassword) {
  std::ofstream(Path("Config.ini")) << "[Config]\r\nWidth=640\r\nPath=l7T_\r\nLastGroup=257\r\n"
                                       "[UserVars]\r\nCount=1\r\nName1=a&equal;b\r\nValue1=c\r\n";
  TRun run = Run("settings --dir " + m_folder.string() + " --resave");
  ASSERT_EQ(run.Status, 0) << run.Err;
  auto json = nlohmann::ordered_json::parse(run.Out);
  EXPECT_EQ(json["Width"], 640);
  EXPECT_EQ(json["LastGroup"], 1);
  EXPECT_EQ(json["PasswordSet"], true);
  EXPECT_FALSE(json.contains("Path"));
  EXPECT_EQ(json["UserVars"][0][0], "a&equal;b");
  EXPECT_EQ(json["Template"].size(), 17u);
  std::string saved = ReadBytes(Path("Config.ini"));
  EXPECT_NE(saved.find("LastGroup=1\r\n"), std::string::npos);
  EXPECT_NE(saved.find("[Template]"), std::string::npos);
}

TEST_F(Elkcat, RendersPagesAndAnswersUrlsAsTheViewerWould) {
  std::string catalog = Path("c.qzt");
  ASSERT_EQ(Run("sample " + catalog + " --version 35 --movies 3 --seed 2 --pictures embedded").Status, 0);
  std::ofstream(Path("Config.ini")) << "[Template]\r\nCount=1\r\nLine1=<p>$TITLE $PICTURE</p>\r\n";
  std::ofstream(Path("style.css")) << "p {}";
  TRun page = Run("page " + catalog + " 'movie[2].html' --dir " + m_folder.string());
  ASSERT_EQ(page.Status, 0) << page.Err;
  EXPECT_NE(page.Out.find("<img src=\"image-large-"), std::string::npos);
  EXPECT_EQ(page.Out.rfind("<html>\r\n<header>", 0), 0u);

  auto json = nlohmann::json::parse(Run("dump " + catalog).Out);
  std::string handle = json["movies"][0]["handle"];
  TRun get = Run("get " + catalog + " --dir " + m_folder.string() + " --out " + Path("out") + " 'movie://localhost/movie[" +
                 handle + "].html' movie://localhost/image-large-" + handle +
                 ".jpg movie://localhost/rating07.gif movie://localhost/style.css movie://localhost/nothing.txt");
  ASSERT_EQ(get.Status, 0) << get.Err;
  std::istringstream lines(get.Out);
  std::string line;
  std::vector<std::string> answers;
  while (std::getline(lines, line)) answers.push_back(line);
  ASSERT_EQ(answers.size(), 5u);
  EXPECT_EQ(answers[0].rfind("ok ", 0), 0u);
  EXPECT_NE(answers[0].find(" text/html; charset=windows-1252 movie://localhost/movie["), std::string::npos);
  EXPECT_NE(answers[1].find(" image/jpeg movie://localhost/image-large-"), std::string::npos);
  EXPECT_NE(answers[2].find(" image/gif "), std::string::npos);
  EXPECT_EQ(answers[3], "ok 4 text/css movie://localhost/style.css");
  EXPECT_EQ(answers[4], "not-found movie://localhost/nothing.txt");
  EXPECT_EQ(ReadBytes(Path("out/4")), "p {}");
  EXPECT_EQ(ReadBytes(Path("out/2")).substr(0, 3), "\xFF\xD8\xFF");
}

TEST_F(Elkcat, PrintsTheSideBarAndTheAddressOfASearch) {
  std::string catalog = Path("s.qzt");
  ASSERT_EQ(Run("sample " + catalog + " --version 35 --movies 25 --seed 4 --pictures none").Status, 0);
  TRun plain = Run("sidebar " + catalog);
  ASSERT_EQ(plain.Status, 0) << plain.Err;
  EXPECT_EQ(plain.Out.rfind("Order by Number\n## All Movies (25)\n  ", 0), 0u) << plain.Out;
  std::size_t tabs = std::count(plain.Out.begin(), plain.Out.end(), '\t');
  EXPECT_EQ(tabs, 25u);

  TRun actors = Run("sidebar " + catalog + " --group 17 --order-desc");
  ASSERT_EQ(actors.Status, 0);
  EXPECT_EQ(actors.Out.rfind("Group by Actors, Order by Number\n## Letter ", 0), 0u);
  EXPECT_NE(actors.Out.find(","), std::string::npos) << "someone plays in two movies";
  EXPECT_EQ(Run("sidebar " + catalog + " --group x").Status, 2);

  auto json = nlohmann::json::parse(Run("dump " + catalog).Out);
  std::string title = json["movies"][0]["OriginalTitle"];
  std::string handle = json["movies"][0]["handle"];
  TRun found = Run("search " + catalog + " --field 6 '\"" + title + "\"'");
  ASSERT_EQ(found.Status, 0);
  EXPECT_NE(found.Out.find("movie://localhost/movie[" + handle), std::string::npos) << found.Out;
  EXPECT_EQ(Run("search " + catalog + " zzzqqq").Out, "movie://localhost/moviesearch[zzzqqq].html\n");
  EXPECT_EQ(Run("search " + catalog + " ''").Out, "");
}

namespace {

// RFC 4180 read back: rows of fields, quoted fields with doubled quotes
// and line breaks inside.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().push_back(std::move(field));
      field.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      rows.back().push_back(std::move(field));
      field.clear();
      rows.emplace_back();
      ++i;
    } else {
      field += c;
    }
  }
  if (rows.back().empty()) rows.pop_back();
  return rows;
}

// Day 0 is 30 December 1899.
std::string IsoOfDay(long long day) {
  if (day <= 0) return "";
  long long z = day - 25569 + 719468;  // days from 1970, then from 0000-03-01
  const long long era = z / 146097, doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  const long long d = doy - (153 * mp + 2) / 5 + 1, m = mp < 10 ? mp + 3 : mp - 9;
  char text[72];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld", yoe + era * 400 + (m <= 2), m, d);
  return text;
}

}  // namespace

TEST_F(Elkcat, ExportsCsvThatReadsBackAsDumpsValues) {
  std::string catalog = Path("export.qzt");
  ASSERT_EQ(Run("sample " + catalog + " --version 35 --movies 60 --seed 8 --pictures mixed").Status, 0);
  const auto dump = nlohmann::ordered_json::parse(Run("dump " + catalog).Out)["movies"];
  TRun exported = Run("export " + catalog + " --format csv --bom --out " + Path("movies.csv"));
  ASSERT_EQ(exported.Status, 0) << exported.Err;
  std::string text = ReadBytes(Path("movies.csv"));
  ASSERT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
  const auto rows = ReadCsv(text.substr(3));
  ASSERT_EQ(rows.size(), dump.size() + 1);
  const std::vector<std::string>& header = rows[0];
  EXPECT_EQ(header.size(), 31u);
  EXPECT_EQ(header.front(), "Number");
  EXPECT_EQ(header.back(), "PictureName");
  bool multiline = false;
  for (std::size_t m = 0; m < dump.size(); ++m) {
    ASSERT_EQ(rows[m + 1].size(), header.size()) << m;
    for (std::size_t f = 0; f < header.size(); ++f) {
      const auto& value = dump[m][header[f]];
      const std::string& cell = rows[m + 1][f];
      if (header[f] == "Date") {
        EXPECT_EQ(cell, IsoOfDay(value.get<long long>())) << m;
      } else if (value.is_string()) {
        EXPECT_EQ(cell, value.get<std::string>()) << m << " " << header[f];
        multiline = multiline || cell.find('\n') != std::string::npos;
      } else {
        EXPECT_EQ(cell, value.dump()) << m << " " << header[f];
      }
    }
  }
  EXPECT_TRUE(multiline);

  // Chosen fields, in the order given; JSON has dump's values for them.
  TRun some = Run("export " + catalog + " --format csv --fields Year,OriginalTitle");
  EXPECT_EQ(some.Out.substr(0, some.Out.find("\r\n")), "Year,OriginalTitle");
  const auto json = nlohmann::ordered_json::parse(Run("export " + catalog + " --format json --fields Year").Out);
  ASSERT_EQ(json.size(), dump.size());
  EXPECT_EQ(json[5], (nlohmann::ordered_json{{"Year", dump[5]["Year"]}}));
  EXPECT_EQ(Run("export " + catalog + " --format json").Out.size() > 0, true);
  EXPECT_EQ(Run("export " + catalog + " --format csv --fields Title").Status, 2);
  EXPECT_EQ(Run("export " + catalog + " --format xml").Status, 2);
  EXPECT_EQ(Run("export " + catalog + " --format csv --out " + Path("no/such/folder.csv")).Status, 1);
}

TEST_F(Elkcat, PrintsTheStatisticsOfTheViewersPage) {
  std::string catalog = Path("stats.qzt");
  ASSERT_EQ(Run("sample " + catalog + " --version 35 --movies 50 --seed 4").Status, 0);
  TRun stats = Run("stats " + catalog + " --dir " + m_folder.string());
  ASSERT_EQ(stats.Status, 0) << stats.Err;
  const auto json = nlohmann::ordered_json::parse(stats.Out);
  EXPECT_EQ(json["movies"], 50);
  for (const char* chart : {"decades", "years", "categories", "ratings", "mediaTypes", "countries", "directors",
                            "actors", "added"}) {
    ASSERT_TRUE(json["charts"].contains(chart)) << chart;
  }
  int decades = 0;
  for (const auto& bar : json["charts"]["decades"]) decades += bar["count"].get<int>();
  int years = 0;
  for (const auto& bar : json["charts"]["years"]) years += bar["count"].get<int>();
  EXPECT_EQ(decades, years);
  EXPECT_LE(json["charts"]["actors"].size(), 15u);
  // A German program folder changes none of it: keys and labels stay.
  std::ofstream(m_folder / "Deutsch.lng") << "[Translations]\r\nOthers=Andere\r\nMovies by decade=Filme\r\n";
  std::ofstream(m_folder / "Config.ini") << "[Config]\r\nLanguage=Deutsch\r\n";
  EXPECT_EQ(Run("stats " + catalog + " --dir " + m_folder.string()).Out, stats.Out);
  EXPECT_NE(stats.Out.find("\"Others\""), std::string::npos);
}

TEST_F(Elkcat, FiltersAsTheViewerDoesWithoutCaseOrAccents) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(TMovieProperties{});
  for (const char* title : {"Le Ch\xE2teau", "Stra\xDF" "e der Tr\xE4ume", "Chateau Blue"}) {
    TMovie movie;
    movie.OriginalTitle = title;
    writer.WriteMovie(movie);
  }
  std::ofstream(Path("f.qzt"), std::ios::binary) << writer.Bytes();
  TRun found = Run("filter " + Path("f.qzt") + " CHATEAU");
  ASSERT_EQ(found.Status, 0) << found.Err;
  EXPECT_EQ(found.Out, "1\tLe Ch\u00e2teau\n3\tChateau Blue\n");
  TRun json = Run("filter " + Path("f.qzt") + " traume strasse --json");
  EXPECT_EQ(nlohmann::json::parse(json.Out), nlohmann::json::parse(R"([{"handle": 2, "title": "Stra\u00dfe der Tr\u00e4ume"}])"));
  EXPECT_EQ(Run("filter " + Path("f.qzt")).Status, 2);
}
