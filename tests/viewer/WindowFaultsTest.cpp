#include "ViewerFixture.h"
#include "tests/support/WindowParts.h"

#include "catalog/TCatalogReader.h"
#include "catalog/TMovieList.h"
#include "config/SettingsLocation.h"
#include "render/TThumbnailCache.h"
#include "tests/support/FailingFileLayer.h"
#include "tests/support/WindowUse.h"
#include "../dialogs/ManualTimer.h"
#include "viewer/TCatalogWatcher.h"
#include "tools/TCatalogWriter.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TFormMain.h"
#include "viewer/TStripFiller.h"
#include "viewer/TWebView.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

using namespace std::string_literals;

namespace {

class WindowFaults : public ::testing::Test, public ViewerFixture {
 protected:
  // Ends the page's process as the system's out-of-memory killer would.
  void KillPageProcess() {
    const qint64 pid = Parts(*Form).PageView->page()->renderProcessPid();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
  }
  qint64 PageProcess() { return Parts(*Form).PageView->page()->renderProcessPid(); }

  // Opens a file as a drop does; it opens as far as it can be read, or
  // fails with the loader's message and leaves the catalog shown. Either
  // way the window goes on: a movie's page and a search.
  void OpenAndBrowse(const std::string& path, const std::string& what) {
    Desktop->Errors.clear();
    RunGuarded([&] { Form->OpenChosenCatalog(path); });
    for (const QString& error : Desktop->Errors) EXPECT_TRUE(error.startsWith(QStringLiteral("Unable to load file"))) << what;
    ASSERT_TRUE(WaitUntil([&] { return !Strip().Filling(); }, 60000)) << what;
    if (Form->Catalog().Count() > 0) {
      const int last = Form->Catalog().Count() - 1;
      ASSERT_TRUE(Navigate([&] { ChooseInSideBar(*Form, 0, last); })) << what;
    }
    Search(QStringLiteral("*a*"), what);
  }

  void Search(const QString& text, const std::string& what) {
    Parts(*Form).SearchBox->setText(text);
    ASSERT_TRUE(Navigate([&] { QTest::keyClick(Parts(*Form).SearchBox, Qt::Key_Return); })) << what;
  }

  std::string File(const std::string& name, const std::string& bytes) {
    Folder.Write(name, bytes);
    return Folder.File(name);
  }
};

// One movie with its picture, as a catalog's bytes.
std::string OneMovieCatalog(TMovie movie) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(TMovieProperties{});
  writer.WriteMovie(movie);
  return writer.TakeBytes();
}

TMovie WithPicture(TMovie movie, const std::string& extension, const std::string& bytes) {
  movie.PictureName = extension;
  movie.Picture = std::make_unique<TPictureBytes>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), movie.Picture->Data());
  return movie;
}

// The little-endian length just before `marker` set to `length`.
std::string WithLengthBefore(std::string bytes, const std::string& marker, std::uint32_t length) {
  const std::size_t at = bytes.find(marker);
  for (int i = 0; i < 4; ++i) bytes[at - 4 + static_cast<std::size_t>(i)] = static_cast<char>(length >> (8 * i));
  return bytes;
}

std::vector<std::pair<std::string, std::string>> RegressionInputs(const std::string& target) {
  std::vector<std::pair<std::string, std::string>> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(ELK_SOURCE_DIR) / "fuzz" /
                                                               "regressions" / target)) {
    if (entry.path().filename() != "README") inputs.emplace_back(entry.path().filename(), ReadFileBytes(entry.path()));
  }
  return inputs;
}

}  // namespace

TEST_F(WindowFaults, ADeadPageProcessIsReplacedUntilItDiesThreeTimesInAMinute) {
  WriteConfig(WriteSample(6, 23));
  Start();
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 2); }));
  const std::string shown = PageUrl();
  const QString title = Parts(*Form).SideBar->Items()[0].Items().Strings(2).c_str();
  const int history = Parts(*Form).PageView->history()->count();
  const int pictures = Parts(*Form).CoverStrip->Items().Count();
  for (int end = 1; end <= 2; ++end) {
    const qint64 before = PageProcess();
    ASSERT_TRUE(Navigate([&] { KillPageProcess(); })) << end;
    EXPECT_NE(PageProcess(), before);
    EXPECT_EQ(PageUrl(), shown);
    EXPECT_TRUE(PageText().contains(title));
    EXPECT_EQ(Parts(*Form).StatusText->text(), QStringLiteral("The page's process ended; the page is shown again."));
    EXPECT_EQ(Parts(*Form).PageView->history()->count(), history);
  }
  // The third end within the minute: the viewer's own page, and its link
  // tries the failed page again.
  ASSERT_TRUE(Navigate([&] { KillPageProcess(); }));
  EXPECT_NE(PageUrl().find("movieended["), std::string::npos);
  EXPECT_TRUE(PageText().contains(QStringLiteral("its process ended three times within a minute")));
  ASSERT_TRUE(Navigate([&] { RunScript(QStringLiteral("document.getElementById('tryagain').click()")); }));
  EXPECT_EQ(PageUrl(), shown);
  EXPECT_TRUE(PageText().contains(title));
  // Nothing else in the window was lost.
  EXPECT_EQ(Parts(*Form).CoverStrip->Items().Count(), pictures);
  EXPECT_EQ(Parts(*Form).SideBar->ItemIndex(), 0);
  EXPECT_EQ(Parts(*Form).SideBar->SubItemIndex(), 2);
}

TEST_F(WindowFaults, AThumbnailCacheOnAFullDiskCostsOnlySpeed) {
  const std::string catalog = WriteSample(9, 24);
  WriteConfig(catalog);
  const std::string cacheFile = TThumbnailCache(UserCacheFolder()).FileOf(catalog);
  // Every write from the first on finds the disk full.
  TFailingFileLayer full(2, ENOSPC, true);
  SetFileLayer(&full);
  Start();
  SetFileLayer(nullptr);
  EXPECT_TRUE(full.Failed);
  EXPECT_EQ(Parts(*Form).CoverStrip->Items().Count(), 9);
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(Parts(*Form).CoverStrip->Items()[i].HasPicture()) << i;
  EXPECT_TRUE(Desktop->Errors.empty());
  // Neither the file nor any part of it.
  std::error_code none;
  for (const auto& entry : std::filesystem::directory_iterator(UserCacheFolder(), none)) {
    EXPECT_EQ(entry.path().string().rfind(cacheFile, 0), std::string::npos) << entry.path();
  }
  // Room again: the next open keeps the pictures.
  Form.reset();
  Start();
  EXPECT_TRUE(std::filesystem::exists(cacheFile));
}

TEST_F(WindowFaults, HostileFilesOpenAsFarAsTheyCanBeReadAndTheWindowGoesOn) {
  // Schemes and a language from the ini fuzzer's findings, in use.
  for (const auto& [name, bytes] : RegressionInputs("ini")) Folder.Write(name + ".lng", bytes);
  const auto inis = RegressionInputs("ini");
  Folder.Write("Schemes.ini", inis.front().second);
  WriteConfig(WriteSample(6, 25), "Language=" + inis.back().first + "\r\nColorScheme=Default\r\n");
  Start();

  std::vector<std::pair<std::string, std::string>> catalogs = RegressionInputs("catalog");
  // Pictures from the picture fuzzer's findings, and ones whose headers
  // claim sizes no memory holds.
  std::string hugeJpeg = "\xFF\xD8\xFF\xC0\x00\x11\x08\xFF\xF0\xFF\xF0\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01"s;
  catalogs.emplace_back("huge-jpeg", OneMovieCatalog(WithPicture(TestMovie(1, "Huge"), ".jpg", hugeJpeg)));
  std::string hugePng = "\x89PNG\r\n\x1A\n\x00\x00\x00\x0DIHDR\x00\x01\x86\xA0\x00\x01\x86\xA0\x08\x06\x00\x00\x00"s;
  catalogs.emplace_back("huge-png", OneMovieCatalog(WithPicture(TestMovie(1, "Huge"), ".png", hugePng)));
  for (const auto& [name, bytes] : RegressionInputs("picture")) {
    catalogs.emplace_back("picture " + name, OneMovieCatalog(WithPicture(TestMovie(1, name), ".gif", bytes)));
  }
  // Lengths far beyond the file: a title, and a picture.
  const std::string marked = OneMovieCatalog(WithPicture(TestMovie(1, "TITLEMARK"), ".jpg", "PICTMARK"));
  catalogs.emplace_back("huge title length", WithLengthBefore(marked, "TITLEMARK", 0x7FFFFFF0));
  catalogs.emplace_back("huge picture length", WithLengthBefore(marked, "PICTMARK", 0xFFFFFFF0));
  {
    // Thousands of movies without a single text, and the text limit itself.
    TCatalogWriter writer(TFormatVersion::V35);
    writer.WriteHeader(TMovieProperties{});
    for (int i = 0; i < 3000; ++i) writer.WriteMovie(TMovie{});
    TMovie longest = TestMovie(2, "Longest");
    longest.Description.assign(kMaxCatalogText, 'w');
    for (std::size_t i = 80; i < longest.Description.size(); i += 81) longest.Description[i] = ' ';
    writer.WriteMovie(longest);
    catalogs.emplace_back("empty titles and the longest text", writer.TakeBytes());
  }
  {
    // Every byte in the texts, and names that are nothing but wildcards.
    TMovie odd = TestMovie(3, "");
    for (int c = 0; c < 256; ++c) odd.OriginalTitle += static_cast<char>(c);
    odd.Description = odd.OriginalTitle + "<script>document.title='x'</script>$TITLE$$";
    odd.Actors.clear();
    for (int i = 0; i < 2000; ++i) odd.Actors += i % 50 == 49 ? ", " : (i % 2 ? "*" : "?");
    catalogs.emplace_back("every byte and wildcard names", OneMovieCatalog(std::move(odd)));
  }

  for (const auto& [name, bytes] : catalogs) OpenAndBrowse(File("hostile.qzt", bytes), name);
  // The longest text was read whole.
  ASSERT_NO_FATAL_FAILURE(OpenAndBrowse(File("hostile.qzt", catalogs[catalogs.size() - 2].second), "again"));
  EXPECT_EQ(Form->Catalog().Count(), 3001);
  EXPECT_EQ(Form->Catalog().Items(3000).Description.size(), kMaxCatalogText);

  // Searches from the search fuzzer's findings, and the request fuzzer's
  // addresses loaded into the view: each ends in a page, then the window
  // still shows movies.
  for (const auto& [name, bytes] : RegressionInputs("search")) {
    const std::size_t zero = bytes.find('\0');
    std::string pattern = zero == std::string::npos ? bytes : bytes.substr(zero + 1);
    // No keyboard or paste puts a NUL into the search box.
    std::erase(pattern, '\0');
    if (!pattern.empty()) Search(QString::fromLatin1(pattern.data(), static_cast<qsizetype>(pattern.size())), name);
  }
  for (const auto& [name, bytes] : RegressionInputs("request")) {
    const QUrl address(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (address.scheme() != QStringLiteral("movie")) continue;
    // The engine starts no load at all for a name holding a NUL.
    if (address.path().contains(QChar(0))) {
      Parts(*Form).PageView->setUrl(address);
      const int other = Parts(*Form).SideBar->SubItemIndex() == 1 ? 2 : 1;
      ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, other); })) << name;
      continue;
    }
    ASSERT_TRUE(Navigate([&] { Parts(*Form).PageView->setUrl(address); })) << name;
    EXPECT_FALSE(PageText().contains(QStringLiteral("[Config]"))) << name;
  }
  OpenAndBrowse(Folder.File("Sample.qzt"), "the sample again");
  EXPECT_EQ(Form->Catalog().Count(), 6);
}

TEST_F(WindowFaults, LongBrowsingLeavesNothingBehind) {
  WriteConfig(WriteSample(30, 26));
  Start();
  const int pictures = HoldingsOf(*Form).StripPictures;
  TBrowsingUser user(*Form, 7);
  // The engine keeps at most 50 pages of history; past that, every page
  // change must leave the window as it was.
  for (int i = 0; i < 150; ++i) ASSERT_TRUE(user.ChangePage()) << i;
  const TWindowHoldings settled = HoldingsOf(*Form);
  EXPECT_EQ(settled.StripPictures, pictures);
  for (int i = 0; i < 250; ++i) {
    ASSERT_TRUE(user.ChangePage()) << i;
    const TWindowHoldings now = HoldingsOf(*Form);
    ASSERT_EQ(now.Objects, settled.Objects) << Describe(now) << " after " << i;
    ASSERT_EQ(now.Timers, settled.Timers) << Describe(now) << " after " << i;
    ASSERT_LE(now.History, std::max(settled.History, 50)) << i;
  }
  EXPECT_EQ(HoldingsOf(*Form).StripPictures, pictures);
}

TEST_F(WindowFaults, AnEditorSavingInALoopIsShownWithThePlaceKeptOnceItStops) {
  // Three versions of the catalog, each a movie longer than the one before.
  std::vector<std::string> versions;
  for (int count = 8; count <= 10; ++count) {
    std::vector<TMovie> movies;
    for (int i = 1; i <= count; ++i) movies.push_back(TestMovie(i, "Movie " + std::to_string(i)));
    WriteTestCatalog(Folder.File("version.qzt"), "Ann", movies);
    versions.push_back(Folder.Read("version.qzt"));
  }
  const std::string live = Folder.File("Live.qzt");
  SaveOver(live, versions[0], true);
  WriteConfig(live);
  Start();
  auto timer = std::make_unique<TManualTimer>();
  TManualTimer& quiet = *timer;
  Watcher().SetQuietTimer(std::move(timer));
  TBrowsingUser user(*Form, 3);
  std::size_t last = 0;
  for (int save = 1; save <= 60; ++save) {
    last = static_cast<std::size_t>(save) % versions.size();
    SaveOver(live, versions[last], save % 2 == 0);
    user.ClickSomewhere();
    ASSERT_TRUE(WaitUntil([&] { return quiet.Active(); }, 10000)) << save;
    // Now and then the editor pauses long enough for a reload between saves.
    if (save % 15 == 0) quiet.Fire();
  }
  ASSERT_TRUE(Navigate([&] { ChooseInSideBar(*Form, 0, 4); }));
  const std::string chosen = Parts(*Form).SideBar->Items()[0].Items().Strings(4);
  quiet.Fire();
  EXPECT_FALSE(quiet.Active());
  EXPECT_EQ(Form->Catalog().Count(), static_cast<int>(8 + last));
  const TMovie* shown = Form->Catalog().FindByHandle(std::stoll(Form->CurrentSelection()));
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->OriginalTitle, chosen);
  ASSERT_TRUE(WaitUntil([&] { return !Strip().Filling(); }));
  EXPECT_EQ(Parts(*Form).CoverStrip->Items().Count(), static_cast<int>(8 + last));
}
