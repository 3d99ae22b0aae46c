#include "ViewerFixture.h"
#include "tests/support/WindowParts.h"

#include "../dialogs/ManualTimer.h"
#include "config/Translation.h"
#include "dialogs/TFormOpen.h"
#include "dialogs/TFormPassword.h"
#include "dialogs/TFormProgress.h"
#include "render/TThumbnailCache.h"
#include "browse/TSortMenus.h"
#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "viewer/TFormMain.h"
#include "viewer/TStripFiller.h"
#include "viewer/TWebView.h"
#include "widgets/QtBridge.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <filesystem>
#include <fstream>
#include <QComboBox>
#include <QFrame>
#include <QSplitter>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QCheckBox>
#include <QTest>
#include <QTimer>
#include <QWebEngineSettings>
#include <gtest/gtest.h>

namespace {

class MainWindow : public ::testing::Test, public ViewerFixture {
 protected:
  void TearDown() override { LoadLanguage(Folder.File("none.lng")); }

  // Four movies with video paths in "Source" (files that exist); the third
  // has none and the fourth is an address.
  std::string WritePlayCatalog() {
    std::string path = Folder.File("Play.qzt");
    Folder.Write("videos/alpha one.avi", "video");
    Folder.Write("videos/beta.mkv", "video");
    WriteTestCatalog(path, "Ann",
                     Movies(TestMovie(1, "Alpha", Video("alpha one.avi")), TestMovie(2, "Beta", Video("beta.mkv")),
                            TestMovie(3, "Gamma"), TestMovie(4, "Delta", "http://media.example/delta.mp4")));
    return path;
  }
  std::string Video(const std::string& name) { return Folder.File("videos/" + name); }

  std::string Text(QLabel* label) { return label->text().toStdString(); }
};

}  // namespace

TEST_F(MainWindow, StartsOnTheFirstPageOfTheSample) {
  WriteConfig(WriteSample(12));
  Start();
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("Elk Movie Catalog Viewer"));
  EXPECT_EQ(Text(Parts(*Form).StatusCount), "12 Movies");
  EXPECT_EQ(Text(Parts(*Form).StatusText), Folder.File("Sample.qzt"));
  EXPECT_EQ(Parts(*Form).OwnerTitleText.toStdString(), "Ann's");
  EXPECT_EQ(Parts(*Form).CollectionTitleText.toStdString(), "Movie Collection");
  EXPECT_EQ(Form->GroupCaption().toStdString(), "Order by Number");
  ASSERT_EQ(Parts(*Form).SideBar->Items().Count(), 1);
  EXPECT_EQ(Parts(*Form).SideBar->ItemIndex(), 0);
  EXPECT_EQ(Parts(*Form).SideBar->SubItemIndex(), 0);
  EXPECT_EQ(PageUrl(), "movie://localhost/movie[" + Form->CurrentSelection() + "].html");
  // The page came through the "movie" handler with its frame and picture.
  QString html = PageHtml();
  EXPECT_TRUE(html.contains(QStringLiteral("bgcolor=\"#FFFFFF\""))) << html.toStdString();
  EXPECT_TRUE(html.contains(QStringLiteral("image-large-"))) << html.toStdString();
  EXPECT_TRUE(Strip().Filled());
  EXPECT_TRUE(Parts(*Form).CoverStrip->Active());
  EXPECT_GT(Parts(*Form).CoverStrip->Items().Count(), 0);
  EXPECT_FALSE(Progress->isVisible());
  EXPECT_TRUE(Desktop->Errors.empty());
}

TEST_F(MainWindow, ComponentsCarryTheirDesignNames) {
  WriteConfig(Folder.File("none.qzt"));
  Start();
  for (const char* name : {"coverStrip", "captionBar", "openButton", "editButton", "settingsButton", "playButton", "searchPanel",
                           "backButton", "searchField", "searchBox", "searchButton", "ownerTitle", "collectionTitle", "sidePane", "groupBar",
                           "groupLabel", "sideBarMenuButton", "sideBar", "splitter", "pageView", "statusBar", "statusCount",
                           "statusDivider", "statusText", "closePanel", "closeButton", "sideBarMenu"}) {
    EXPECT_NE(Form->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
  }
  EXPECT_EQ(Parts(*Form).CoverStrip->height(), 100);
  EXPECT_EQ(Parts(*Form).CaptionBar->height(), 44);
  EXPECT_EQ(Parts(*Form).StatusBar->height(), 20);
  EXPECT_EQ(Parts(*Form).GroupBar->height(), 23);
  EXPECT_EQ(Parts(*Form).SidePane->width(), 249);
  EXPECT_EQ(Parts(*Form).CloseButton->size(), QSize(55, 25));
  EXPECT_EQ(Parts(*Form).SideBarMenuButton->size(), QSize(9, 9));
  EXPECT_EQ(Parts(*Form).SearchBox->text(), QStringLiteral("Search ..."));
  EXPECT_EQ(Parts(*Form).OwnerTitle->x() + Parts(*Form).OwnerTitle->width(), Parts(*Form).CaptionBar->width() - 20);
  EXPECT_EQ(Parts(*Form).CollectionTitle->x() + Parts(*Form).CollectionTitle->width(), Parts(*Form).CaptionBar->width() - 20);
}

TEST_F(MainWindow, StripHoldsPicturesInCatalogOrderTaggedWithHandles) {
  WriteConfig(WriteSample(30));
  Start();
  const TCoverStripItems& items = Parts(*Form).CoverStrip->Items();
  ASSERT_GT(items.Count(), 1);
  std::int64_t previous = 0;
  for (int i = 0; i < items.Count(); ++i) {
    const TMovie* movie = Form->Catalog().FindByHandle(items[i].Tag);
    ASSERT_NE(movie, nullptr);
    EXPECT_GT(items[i].Tag, previous);
    previous = items[i].Tag;
    EXPECT_LE(items[i].Bitmap.Width, 100);
    EXPECT_LE(items[i].Bitmap.Height, 100);
  }
}

TEST_F(MainWindow, WithoutAutoOpenTheWindowStartsEmpty) {
  WriteSample(5);
  Folder.Write("Config.ini", "[Config]\r\nCatalogFile=" + Folder.File("Sample.qzt") + "\r\nAutoOpen=0\r\nMaximized=0\r\n");
  Start();
  EXPECT_EQ(Text(Parts(*Form).StatusCount), "No Movie");
  EXPECT_EQ(Text(Parts(*Form).StatusText), "Open a catalog file first ...");
  EXPECT_EQ(Parts(*Form).SideBar->Items().Count(), 0);
  EXPECT_EQ(Loads->count(), 0);
  EXPECT_FALSE(Strip().Filled());
}

TEST_F(MainWindow, MissingCatalogShowsTheEmptyTexts) {
  WriteConfig(Folder.File("gone.qzt"));
  Start();
  EXPECT_EQ(Text(Parts(*Form).StatusCount), "No Movie");
  EXPECT_EQ(Text(Parts(*Form).StatusText), "Open a catalog file first ...");
  EXPECT_TRUE(Desktop->Errors.empty());
}

TEST_F(MainWindow, DamagedCatalogIsReportedAndTheWindowStaysUsable) {
  Folder.Write("Bad.qzt", "this is not a catalog file at all");
  WriteConfig(Folder.File("Bad.qzt"));
  Start();
  ASSERT_EQ(Desktop->Errors.size(), 1u);
  EXPECT_TRUE(Desktop->Errors[0].startsWith(QStringLiteral("Unable to load file")));
  EXPECT_EQ(Form->Catalog().Count(), 0);
  EXPECT_EQ(Parts(*Form).SideBar->Items().Count(), 0);
  EXPECT_TRUE(Form->isVisible());
}

TEST_F(MainWindow, OneMovieAndNoOwner) {
  WriteTestCatalog(Folder.File("One.qzt"), "", Movies(TestMovie(1, "Solo")));
  WriteConfig(Folder.File("One.qzt"));
  Start();
  EXPECT_EQ(Text(Parts(*Form).StatusCount), "1 Movie");
  EXPECT_EQ(Parts(*Form).OwnerTitleText.toStdString(), "My Private");
  EXPECT_TRUE(PageText().contains(QStringLiteral("Solo")));
}

TEST_F(MainWindow, ClicksSearchAndBackGoThroughTheHistory) {
  WritePlayCatalog();
  WriteConfig(Folder.File("Play.qzt"));
  Start();
  // Side bar order is by number: Alpha, Beta, Gamma, Delta.
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 1); }));
  const std::string second = PageUrl();
  EXPECT_TRUE(PageText().contains(QStringLiteral("Beta")));
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 2); }));
  const std::string third = PageUrl();
  EXPECT_TRUE(PageText().contains(QStringLiteral("Gamma")));
  ASSERT_TRUE(Navigate([&] { ClickStripPicture(0); }));
  EXPECT_EQ(Parts(*Form).SideBar->ItemIndex(), -1);
  EXPECT_EQ(Parts(*Form).SideBar->SubItemIndex(), -1);
  ASSERT_TRUE(Navigate([&] { Form->Run(TWindowCommand::Back); }));
  EXPECT_EQ(PageUrl(), third);
  ASSERT_TRUE(Navigate([&] { Form->Run(TWindowCommand::Back); }));
  EXPECT_EQ(PageUrl(), second);

  Parts(*Form).SearchBox->setText(QStringLiteral("ta"));
  ASSERT_TRUE(Navigate([&] { QTest::keyClick(Parts(*Form).SearchBox, Qt::Key_Return); }));
  QString text = PageText();
  EXPECT_TRUE(text.contains(QStringLiteral("Beta")) && text.contains(QStringLiteral("Delta")));
  EXPECT_FALSE(text.contains(QStringLiteral("Gamma")));
  Parts(*Form).SearchBox->setText(QStringLiteral("12"));
  ASSERT_TRUE(Navigate([&] { Form->Run(TWindowCommand::Search); }));
  EXPECT_TRUE(PageText().contains(QStringLiteral("did not return any results")));
}

TEST_F(MainWindow, BackWithoutAnEarlierPageDoesNothing) {
  WriteConfig(WriteSample(3));
  Start();
  const std::string first = PageUrl();
  Form->Run(TWindowCommand::Back);
  QTest::qWait(0);
  EXPECT_EQ(PageUrl(), first);
  EXPECT_TRUE(Desktop->Errors.empty());
}

TEST_F(MainWindow, PlayStartsThePlayerWithThePathAsItsOneArgument) {
  WritePlayCatalog();
  WriteConfig(Folder.File("Play.qzt"), "VideoPathField=Source\r\nExternalPlayer=/usr/bin/my player\r\n");
  Start();
  Form->Run(TWindowCommand::Play);
  ASSERT_EQ(Desktop->Started.size(), 1u);
  EXPECT_EQ(Desktop->Started[0].first, QStringLiteral("/usr/bin/my player"));
  EXPECT_EQ(Desktop->Started[0].second, QStringList{QString::fromStdString(Video("alpha one.avi"))});

  // After a search, Play still plays the movie last chosen.
  Parts(*Form).SearchBox->setText(QStringLiteral("beta"));
  ASSERT_TRUE(Navigate([&] { Form->Run(TWindowCommand::Search); }));
  Form->Run(TWindowCommand::Play);
  ASSERT_EQ(Desktop->Started.size(), 2u);
  EXPECT_EQ(Desktop->Started[1].second, QStringList{QString::fromStdString(Video("alpha one.avi"))});

  // A movie without a video path: nothing.
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 2); }));
  Form->Run(TWindowCommand::Play);
  EXPECT_EQ(Desktop->Started.size(), 2u);
}

TEST_F(MainWindow, PlayWithoutAPlayerOpensTheFileOrAddress) {
  WritePlayCatalog();
  WriteConfig(Folder.File("Play.qzt"), "VideoPathField=source\r\n");
  Start();
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 1); }));
  Form->Run(TWindowCommand::Play);
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 3); }));
  Form->Run(TWindowCommand::Play);
  ASSERT_EQ(Desktop->Opened.size(), 2u);
  EXPECT_EQ(Desktop->Opened[0], QUrl::fromLocalFile(QString::fromStdString(Video("beta.mkv"))));
  EXPECT_EQ(Desktop->Opened[1], QUrl(QStringLiteral("http://media.example/delta.mp4")));
  EXPECT_TRUE(Desktop->Started.empty());
}

TEST_F(MainWindow, PlayNeverReachesAMovieOutsideTheLoadedCatalog) {
  WritePlayCatalog();
  WriteConfig(Folder.File("Play.qzt"), "VideoPathField=Unknown\r\n");
  Start();
  // An unknown field: nothing is played, and the user is told where to
  // choose the field.
  QTest::mouseClick(Parts(*Form).PlayButton, Qt::LeftButton);
  EXPECT_TRUE(Desktop->Opened.empty());
  ASSERT_EQ(Desktop->Errors.size(), 1u);
  EXPECT_TRUE(Desktop->Errors[0].contains(QStringLiteral("\"Unknown\" is no field"))) << Desktop->Errors[0].toStdString();
  EXPECT_TRUE(Desktop->Errors[0].contains(QStringLiteral("General tab")));
  Form->Settings().VideoPathField = "Source";
  // Opening the catalog again gives every movie a new handle; the old
  // selection is forgotten rather than played.
  const std::string before = Form->CurrentSelection();
  Form->OpenCatalog();
  EXPECT_NE(Form->CurrentSelection(), before);
  ASSERT_TRUE(WaitUntil([&] { return !Strip().Filling(); }, 30000));
  Form->Run(TWindowCommand::Play);
  EXPECT_EQ(Desktop->Opened.size(), 1u);
}

TEST_F(MainWindow, PeopleModePlaysOnlyANameWithOneMovie) {
  Folder.Write("v/a.avi", "video");
  Folder.Write("v/b.avi", "video");
  std::vector<TMovie> movies = Movies(TestMovie(1, "Alpha", Folder.File("v/a.avi")), TestMovie(2, "Beta", Folder.File("v/b.avi")));
  movies[0].Director = "Zoe Zed";
  movies[1].Director = "Zoe Zed, Abe Able";
  WriteTestCatalog(Folder.File("People.qzt"), "Ann", movies);
  WriteConfig(Folder.File("People.qzt"), "LastGroup=7\r\nVideoPathField=Source\r\n");
  Start();
  // Sections are collapsed; the first name (Abe Able) has one movie.
  EXPECT_TRUE(PageText().contains(QStringLiteral("Beta")));
  Form->Run(TWindowCommand::Play);
  ASSERT_EQ(Desktop->Opened.size(), 1u);
  EXPECT_EQ(Desktop->Opened[0], QUrl::fromLocalFile(QString::fromStdString(Folder.File("v/b.avi"))));
  // Zoe Zed has both: the list page, and Play does nothing.
  Parts(*Form).SideBar->SetItemIndex(1);
  ASSERT_TRUE(Navigate([&] { ChooseInSideBar(*Form, 1, 0); }));
  EXPECT_NE(Form->CurrentSelection().find(','), std::string::npos);
  Form->Run(TWindowCommand::Play);
  EXPECT_EQ(Desktop->Opened.size(), 1u);
}

TEST_F(MainWindow, SortMenusRebuildTheSideBarAndKeepThePage) {
  WriteConfig(WriteSample(20));
  Start();
  const std::string page = PageUrl();
  // "Category" is the second entry of "Group by".
  Form->GroupByAction(1)->trigger();
  EXPECT_EQ(Form->Settings().LastGroup, 1);
  EXPECT_TRUE(Form->GroupByAction(1)->isChecked());
  EXPECT_FALSE(Form->GroupByAction(0)->isChecked());
  EXPECT_EQ(Form->GroupCaption().toStdString(), "Group by Category, Order by Number");
  EXPECT_GT(Parts(*Form).SideBar->Items().Count(), 1);
  const int descending = static_cast<int>(Form->SortMenus().OrderBy.Entries.size()) - 1;
  Form->OrderByAction(descending)->trigger();
  EXPECT_TRUE(Form->Settings().LastOrderDesc);
  EXPECT_TRUE(Form->OrderByAction(descending)->isChecked());
  EXPECT_FALSE(Form->OrderByAction(descending - 1)->isChecked());
  EXPECT_EQ(PageUrl(), page);
  Form.reset();
  EXPECT_NE(Folder.Read("Config.ini").find("LastGroup=1"), std::string::npos);
  EXPECT_NE(Folder.Read("Config.ini").find("LastOrderDesc=1"), std::string::npos);
}

TEST_F(MainWindow, CaptionsFollowTheLanguageFile) {
  Folder.Write("Deutsch.lng", "[Translations]\r\nMovies=Filme\r\nOpen=\xD6" "ffnen\r\nOrder by=Sortiert nach\r\n"
                              "Title=Titel\r\nGroup by=Gruppieren nach\r\n");
  WriteConfig(WriteSample(12), "Language=Deutsch\r\n");
  Start();
  EXPECT_EQ(Text(Parts(*Form).StatusCount), "12 Filme");
  EXPECT_EQ(Parts(*Form).OpenButton->Caption(), " \xD6" "ffnen");
  EXPECT_EQ(Parts(*Form).EditButton->Caption(), " Edit");
  EXPECT_EQ(Parts(*Form).SearchField->itemText(0), QStringLiteral("Titel"));
  EXPECT_EQ(Parts(*Form).SearchField->count(), 8);
  EXPECT_EQ(Parts(*Form).SearchField->currentIndex(), 0);
  EXPECT_EQ(Form->GroupCaption().toStdString(), "Sortiert nach Number");
  EXPECT_EQ(Parts(*Form).SideBarMenu->actions()[0]->text(), QStringLiteral("Gruppieren nach"));
  // The owner's "'s" is never translated.
  EXPECT_EQ(Parts(*Form).OwnerTitleText.toStdString(), "Ann's");
  // Picture-only buttons are named for screen readers in the same language.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(Parts(*Form).SideBarMenuButton)->text(QAccessible::Name),
            QStringLiteral("Gruppieren nach"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(Parts(*Form).SearchButton)->text(QAccessible::Name), QStringLiteral("Search"));

  Form->Settings().Language = "English";
  Form->LanguageStep();
  EXPECT_EQ(Text(Parts(*Form).StatusCount), "12 Movies");
  EXPECT_EQ(Parts(*Form).OpenButton->Caption(), " Open");
}

TEST_F(MainWindow, LongGroupCaptionEndsBeforeItsButton) {
  Folder.Write("Deutsch.lng", "[Translations]\r\nGroup by=Gruppieren nach\r\nOrder by=Sortieren nach\r\n"
                              "Translated Title=Deutscher Titel und noch viel mehr\r\n");
  WriteConfig(WriteSample(6), "Language=Deutsch\r\nLastGroup=3\r\nLastOrder=3\r\n");
  Start();
  const QString whole = Form->GroupCaption();
  EXPECT_TRUE(whole.startsWith(QStringLiteral("Gruppieren nach Deutscher Titel")));
  EXPECT_LE(Parts(*Form).GroupLabel->x() + Parts(*Form).GroupLabel->width(), Parts(*Form).SideBarMenuButton->x());
  EXPECT_TRUE(Parts(*Form).GroupLabel->text().endsWith(QChar(0x2026)));
  EXPECT_EQ(Parts(*Form).GroupLabel->toolTip(), whole);
  // Wide enough, the whole caption shows.
  Parts(*Form).Splitter->setSizes({700, 100});
  EXPECT_EQ(Parts(*Form).GroupLabel->text(), whole);
}

TEST_F(MainWindow, ToolbarPlacesTheVisibleButtonsFromTheLeft) {
  WriteConfig(WriteSample(3), "ShowOpenButton=0\r\nShowEditButton=1\r\nShowSettingsButton=0\r\nShowPlayButton=1\r\n");
  Start();
  EXPECT_FALSE(Parts(*Form).OpenButton->isVisible());
  EXPECT_EQ(Parts(*Form).EditButton->x(), 5);
  EXPECT_EQ(Parts(*Form).PlayButton->x(), 5 + Parts(*Form).EditButton->width() + 5);
  EXPECT_EQ(Parts(*Form).EditButton->width(), QFontMetrics(ToQFont(Parts(*Form).EditButton->Font)).horizontalAdvance(QStringLiteral(" Edit")) + 40);
  EXPECT_EQ(Parts(*Form).SearchPanel->x(), Parts(*Form).PlayButton->x() + Parts(*Form).PlayButton->width() + 5);
  EXPECT_EQ(Parts(*Form).SearchField->x(), Parts(*Form).BackButton->width() + 5);
  EXPECT_EQ(Parts(*Form).SearchBox->x(), Parts(*Form).BackButton->width() + Parts(*Form).SearchField->width() + 10);
  EXPECT_EQ(Parts(*Form).SearchButton->x(), Parts(*Form).SearchBox->x() + Parts(*Form).SearchBox->width() + 5);
  EXPECT_EQ(Parts(*Form).SearchPanel->width(), Parts(*Form).SearchButton->x() + Parts(*Form).SearchButton->width() + 5);

  Form->Settings().ShowEditButton = false;
  Form->Settings().ShowPlayButton = false;
  Form->LayoutToolbar();
  EXPECT_EQ(Parts(*Form).SearchPanel->x(), 5);
  Form->Settings().ShowSearch = false;
  Form->LayoutToolbar();
  EXPECT_FALSE(Parts(*Form).SearchPanel->isVisible());
}

TEST_F(MainWindow, ColourSchemeColoursTheWidgetsAndThePageFrame) {
  Folder.Write("Schemes.ini", "[Red]\r\nGalleryColor=#FF0000\r\nTopPanelColor=  #00ff00 \r\nButtonColor=#GG0000\r\n"
                              "ButtonHoverColor=\r\nSideBarBulletHoverColor=#123456\r\nPageBackgroundColor=navy\r\n");
  WriteConfig(WriteSample(3), "ColorScheme=Red\r\n");
  Start();
  EXPECT_EQ(Parts(*Form).CoverStrip->Color(), 0x0000FFu);
  EXPECT_EQ(Parts(*Form).CaptionBar->palette().color(QPalette::Window), QColor(0, 255, 0));
  EXPECT_EQ(Parts(*Form).OpenButton->Color(), 0u);
  EXPECT_EQ(Parts(*Form).OpenButton->ColorOver, 0u);
  // The other caption buttons and the search panel copy the Open button.
  for (TCaptionButton* button : {Parts(*Form).EditButton, Parts(*Form).SettingsButton, Parts(*Form).PlayButton, Parts(*Form).BackButton}) {
    EXPECT_EQ(button->Color(), 0u);
    EXPECT_EQ(button->ColorDown, Parts(*Form).OpenButton->ColorDown);
    EXPECT_EQ(button->ColorBorder(), Parts(*Form).OpenButton->ColorBorder());
  }
  EXPECT_EQ(Parts(*Form).SearchPanel->palette().color(QPalette::Window), QColor(0, 0, 0));
  EXPECT_EQ(Parts(*Form).SideBar->Model().Bullets.HoverColor, 0x563412u);
  EXPECT_EQ(Parts(*Form).SideBar->Model().Bullets.HoverPenColor, 0x563412u);
  // The close button keeps its own colours.
  EXPECT_EQ(Parts(*Form).CloseButton->Color(), 0u);
  EXPECT_EQ(Parts(*Form).CloseButton->ColorOverCaption, RgbColor(255, 255, 0));
  EXPECT_TRUE(PageHtml().contains(QStringLiteral("bgcolor=\"navy\"")));

  // A scheme with no section gives the built-in colours.
  Form->ApplyColorScheme("Nothing");
  EXPECT_EQ(Parts(*Form).CoverStrip->Color(), RgbColor(0x80, 0x80, 0x80));
  EXPECT_EQ(Parts(*Form).SideBar->Model().ItemStyle.SelectedColor, RgbColor(0xAA, 0xAA, 0xAA));
  EXPECT_EQ(Parts(*Form).SideBar->Model().SubItemStyle.SelectedColor, RgbColor(0xAA, 0xAA, 0xAA));
  EXPECT_NE(Form->PageFrame().PageHeader.find("bgcolor=\"#FFFFFF\""), std::string::npos);
}

namespace {

// The desktop changing its palette, as the windows hear of it.
void SetDesktopPalette(const QPalette& palette) {
  QApplication::setPalette(palette);
  QApplication::sendPostedEvents();
}

}  // namespace

TEST_F(MainWindow, SystemSchemeFollowsTheDesktopPaletteWhileRunning) {
  // A [System] section in the file is overruled: the colours are the desktop's.
  Folder.Write("Schemes.ini", "[System]\r\nGalleryColor=#FF0000\r\nPageBackgroundColor=#FF0000\r\n");
  const QPalette before = QApplication::palette();
  QPalette light = before;
  light.setColor(QPalette::Window, QColor(0xEE, 0xEE, 0xEE));
  light.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xFF));
  light.setColor(QPalette::Text, QColor(0x11, 0x11, 0x11));
  light.setColor(QPalette::Highlight, QColor(0x22, 0x66, 0xCC));
  QApplication::setPalette(light);
  WriteConfig(WriteSample(3), "ColorScheme=system\r\n");
  Start();
  EXPECT_EQ(Parts(*Form).CoverStrip->Color(), RgbColor(0xEE, 0xEE, 0xEE));
  EXPECT_EQ(Parts(*Form).SideBar->Color(), RgbColor(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(Parts(*Form).SideBar->Model().SubItemStyle.NormalFont.Color, RgbColor(0x11, 0x11, 0x11));
  EXPECT_EQ(Parts(*Form).SideBar->Model().SubItemStyle.SelectedColor, RgbColor(0x22, 0x66, 0xCC));
  EXPECT_TRUE(PageHtml().contains(QStringLiteral("bgcolor=\"#FFFFFF\" text=\"#111111\"")));

  // The desktop turns dark: widgets and the page follow without a restart.
  QPalette dark = light;
  dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
  dark.setColor(QPalette::Base, QColor(0x10, 0x10, 0x10));
  dark.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
  const int loads = Loads->count();
  SetDesktopPalette(dark);
  EXPECT_EQ(Parts(*Form).CoverStrip->Color(), RgbColor(0x20, 0x20, 0x20));
  EXPECT_EQ(Parts(*Form).SideBar->Color(), RgbColor(0x10, 0x10, 0x10));
  EXPECT_EQ(Parts(*Form).SideBar->Model().SubItemStyle.NormalFont.Color, RgbColor(0xE0, 0xE0, 0xE0));
  ASSERT_TRUE(WaitForLoads(loads + 1));
  EXPECT_TRUE(PageHtml().contains(QStringLiteral("bgcolor=\"#101010\" text=\"#E0E0E0\"")));

  // Any other scheme keeps its colours when the desktop changes.
  Form->Settings().ColorScheme = "Default";
  Form->ApplyColorScheme("Default");
  SetDesktopPalette(light);
  EXPECT_EQ(Parts(*Form).CoverStrip->Color(), RgbColor(0x80, 0x80, 0x80));
  SetDesktopPalette(before);
}

TEST_F(MainWindow, ThePageViewShowsNoBorderAndItsOptionsReachThePage) {
  WriteConfig(WriteSample(3));
  Start();
  TWebView& view = *Parts(*Form).PageView;
  EXPECT_FALSE(view.Options().Border);
  EXPECT_EQ(Parts(*Form).PageBorder->frameShape(), QFrame::NoFrame);
  EXPECT_TRUE(view.page()->settings()->testAttribute(QWebEngineSettings::ShowScrollBars));
  TPageViewOptions options;
  options.ScrollBars = false;
  options.TextSelectable = false;
  options.StyleSheet = "body { border-top: 7px solid red; }";
  view.SetOptions(options);
  EXPECT_NE(Parts(*Form).PageBorder->frameShape(), QFrame::NoFrame);
  ASSERT_TRUE(Navigate([&] { view.reload(); }));
  EXPECT_FALSE(view.page()->settings()->testAttribute(QWebEngineSettings::ShowScrollBars));
  ASSERT_TRUE(WaitUntil(
      [&] { return RunScript(QStringLiteral("getComputedStyle(document.body).borderTopWidth")).toString() == "7px"; },
      10000));
  EXPECT_EQ(RunScript(QStringLiteral("getComputedStyle(document.body).userSelect")).toString(), QStringLiteral("none"));
}

TEST_F(MainWindow, PasswordGuardsSettingsEditOpenAndClosing) {
  WriteConfig(WriteSample(3), "Protected=1\r\n");
  Start();
  Form->Settings().Password = "Secret";
  int& settingsShown = SettingsShown;

  // F10 with a wrong password: the dialog stays closed, no message.
  AnswerPassword(QStringLiteral("secret "));
  QTest::keyClick(Parts(*Form).SideBar, Qt::Key_F10);
  EXPECT_EQ(settingsShown, 0);
  // The letter case of A..Z does not count.
  AnswerPassword(QStringLiteral("sECRET"));
  QTest::keyClick(Parts(*Form).PageView->focusProxy() ? Parts(*Form).PageView->focusProxy() : Parts(*Form).PageView, Qt::Key_F10);
  EXPECT_EQ(settingsShown, 1);

  AnswerPassword(QStringLiteral("Secret"));
  Form->Run(TWindowCommand::Edit);
  ASSERT_EQ(Desktop->OpenedWith.size(), 1u);
  EXPECT_EQ(Desktop->OpenedWith[0], std::make_pair(QStringLiteral("editor.desktop"),
                                                   QString::fromStdString(Folder.File("Sample.qzt"))));

  // The prompt left alone for its 30 seconds counts as Cancel.
  QTimer::singleShot(0, Password, [&] { PasswordTimer->Fire(); });
  Form->Run(TWindowCommand::Open);
  EXPECT_FALSE(Open->isVisible());

  AnswerPassword(QString(), false);
  EXPECT_FALSE(Form->close());
  EXPECT_TRUE(Form->isVisible());
  AnswerPassword(QStringLiteral("Secret"));
  EXPECT_TRUE(Form->close());
  EXPECT_TRUE(Desktop->Errors.empty());
}

TEST_F(MainWindow, WithoutProtectionNothingIsAsked) {
  WriteConfig(WriteSample(3));
  Start();
  int& settingsShown = SettingsShown;
  QTest::keyClick(Parts(*Form).SideBar, Qt::Key_F10);
  EXPECT_EQ(settingsShown, 1);
  EXPECT_FALSE(Password->isVisible());
  QTest::keyClick(Parts(*Form).SideBar, Qt::Key_F9);
  EXPECT_EQ(settingsShown, 1);
}

TEST_F(MainWindow, OpenDialogOpensTheChosenCatalogAndSaves) {
  WriteConfig(WriteSample(3));
  Start();
  WriteTestCatalog(Folder.File("Other.qzt"), "Bob", Movies(TestMovie(1, "One"), TestMovie(2, "Two")));
  Open->ChooseFile = [&](QWidget*, const std::string&) -> std::optional<std::string> { return Folder.File("Other.qzt"); };
  QTimer::singleShot(0, Open, [&] {
    Open->BrowseForFile();
    Open->CheckAutoOpen->setChecked(false);
    Open->OkButton->click();
  });
  ASSERT_TRUE(Navigate([&] { Form->Run(TWindowCommand::Open); }));
  EXPECT_EQ(Parts(*Form).OwnerTitleText.toStdString(), "Bob's");
  EXPECT_EQ(Text(Parts(*Form).StatusCount), "2 Movies");
  std::string saved = Folder.Read("Config.ini");
  EXPECT_NE(saved.find("CatalogFile=" + Folder.File("Other.qzt")), std::string::npos);
  EXPECT_NE(saved.find("AutoOpen=0"), std::string::npos);

  ASSERT_TRUE(WaitUntil([&] { return !Strip().Filling(); }));
  // Cancel after choosing a file changes nothing.
  Open->ChooseFile = [&](QWidget*, const std::string&) -> std::optional<std::string> { return Folder.File("Sample.qzt"); };
  QTimer::singleShot(0, Open, [&] {
    Open->BrowseForFile();
    Open->CancelButton->click();
  });
  Form->Run(TWindowCommand::Open);
  EXPECT_EQ(Form->Settings().CatalogFile, Folder.File("Other.qzt"));
}

TEST_F(MainWindow, FailedOpenIsReportedAndNotSaved) {
  WriteConfig(WriteSample(3));
  Start();
  Folder.Write("Bad.qzt", "garbage");
  const std::string before = Folder.Read("Config.ini");
  Open->ChooseFile = [&](QWidget*, const std::string&) -> std::optional<std::string> { return Folder.File("Bad.qzt"); };
  QTimer::singleShot(0, Open, [&] {
    Open->BrowseForFile();
    Open->OkButton->click();
  });
  const std::string page = PageUrl();
  const QString count = Parts(*Form).StatusCount->text();
  const int rows = static_cast<int>(Parts(*Form).SideBar->Model().Rows().size());
  const int pictures = Parts(*Form).CoverStrip->Items().Count();
  QTest::mouseClick(Parts(*Form).OpenButton, Qt::LeftButton);
  ASSERT_EQ(Desktop->Errors.size(), 1u);
  EXPECT_EQ(Folder.Read("Config.ini"), before);
  // The catalog shown stays whole: side bar, strip, page, status line, and
  // the settings still name it.
  EXPECT_EQ(static_cast<int>(Parts(*Form).SideBar->Model().Rows().size()), rows);
  EXPECT_EQ(Parts(*Form).CoverStrip->Items().Count(), pictures);
  EXPECT_EQ(PageUrl(), page);
  EXPECT_EQ(Parts(*Form).StatusCount->text(), count);
  EXPECT_EQ(Parts(*Form).StatusText->text().toStdString(), Folder.File("Sample.qzt"));
  EXPECT_EQ(Form->Settings().CatalogFile, Folder.File("Sample.qzt"));
  EXPECT_EQ(Form->Catalog().Count(), 3);
}

namespace {

// The strip's worker threads now alive in this process (they bear a name).
int ThumbnailWorkers() {
  int workers = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    std::getline(comm, name);
    workers += name == "elk-thumbnails";
  }
  return workers;
}

}  // namespace

TEST_F(MainWindow, WhileTheStripFillsSettingsOpenAndClosingActAtOnce) {
  WriteConfig(WriteSample(400, 5), "ShowTopImages=0\r\n");
  Start();
  EXPECT_FALSE(Parts(*Form).CoverStrip->isVisible());
  EXPECT_FALSE(Strip().Filled());
  Form->Settings().ShowTopImages = true;
  Form->FillCoverStrip();
  Strip().Go();
  ASSERT_TRUE(Strip().Filling());
  Form->Run(TWindowCommand::Settings);
  EXPECT_EQ(SettingsShown, 1);

  // Another catalog: the fill stops at once, with no worker left and no
  // cache file, whole or half, for the catalog it was filling.
  WriteTestCatalog(Folder.File("Other.qzt"), "Bob", Movies(TestMovie(1, "One"), TestMovie(2, "Two")));
  Open->ChooseFile = [&](QWidget*, const std::string&) -> std::optional<std::string> { return Folder.File("Other.qzt"); };
  QTimer::singleShot(0, Open, [&] {
    Open->BrowseForFile();
    Open->OkButton->click();
  });
  Form->Run(TWindowCommand::Open);
  EXPECT_EQ(Form->Catalog().Count(), 2);
  EXPECT_EQ(ThumbnailWorkers(), 0);
  const std::string cacheFile = TThumbnailCache(UserCacheFolder()).FileOf(Folder.File("Sample.qzt"));
  EXPECT_FALSE(std::filesystem::exists(cacheFile));
  std::error_code none;
  for (const auto& file : std::filesystem::directory_iterator(UserCacheFolder(), none)) {
    EXPECT_EQ(file.path().extension(), ".thumbs") << file.path();
  }

  // Closing while it fills closes, and leaves no worker either.
  ASSERT_TRUE(Form->OpenChosenCatalog(Folder.File("Sample.qzt")));
  Strip().Go();
  ASSERT_TRUE(Strip().Filling());
  EXPECT_TRUE(Form->close());
  Form.reset();
  EXPECT_EQ(ThumbnailWorkers(), 0);
  EXPECT_NE(Folder.Read("Config.ini").find("ShowTopImages=1"), std::string::npos);
}

TEST_F(MainWindow, GeometryIsSavedAtExit) {
  WriteConfig(WriteSample(3));
  Start();
  Form->resize(700, 500);
  Form.reset();
  std::string saved = Folder.Read("Config.ini");
  EXPECT_NE(saved.find("Width=700"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Maximized=0"), std::string::npos);
}

TEST_F(MainWindow, FullScreenHidesTheBorderAndShowsTheClosePanel) {
  WriteConfig(WriteSample(3), "FullScreen=1\r\nWidth=640\r\n");
  Start();
  EXPECT_TRUE(Form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(Parts(*Form).ClosePanel->isVisible());
  EXPECT_EQ(Parts(*Form).ClosePanel->x() + Parts(*Form).ClosePanel->width(), Form->width());
  QTest::mouseClick(Parts(*Form).CloseButton, Qt::LeftButton);
  EXPECT_FALSE(Form->isVisible());
  Form.reset();
  // In full screen the stored size stays as it was.
  EXPECT_NE(Folder.Read("Config.ini").find("Width=640"), std::string::npos);
}

TEST_F(MainWindow, PlayMapsThePathAndNamesAMissingFile) {
  Folder.Write("films/beta.avi", "video");
  WriteTestCatalog(Folder.File("Nas.qzt"), "Ann",
                   Movies(TestMovie(1, "Alpha", "\\\\nas\\movies\\alpha.avi"), TestMovie(2, "Beta", "C:\\Films\\beta.avi")));
  WriteConfig(Folder.File("Nas.qzt"), "VideoPathField=Source\r\nExternalPlayer=/usr/bin/player\r\n[PathMap]\r\nCount=1\r\n"
                                      "From1=c:\\films\\\r\nTo1=" + Folder.File("films/") + "\r\n");
  Start();
  QTest::mouseClick(Parts(*Form).PlayButton, Qt::LeftButton);
  ASSERT_EQ(Desktop->Errors.size(), 1u);
  EXPECT_EQ(Desktop->Errors[0], QStringLiteral("The video file \"\\\\nas\\movies\\alpha.avi\" does not exist."));
  EXPECT_TRUE(Desktop->Started.empty());
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 1); }));
  Form->Run(TWindowCommand::Play);
  ASSERT_EQ(Desktop->Started.size(), 1u);
  EXPECT_EQ(Desktop->Started[0].second, QStringList{QString::fromStdString(Folder.File("films/beta.avi"))});
  // The page still shows the stored text.
  const TViewerSettings before = Form->Settings();
  Form->Settings().Template = {"<p id='v'>$VIDEOPATH</p>"};
  ASSERT_TRUE(Navigate([&] { Form->ApplySettings(before); }));
  EXPECT_TRUE(PageText().contains(QStringLiteral("C:\\Films\\beta.avi")));
}

TEST_F(MainWindow, ASecondOpenTakesTheStripFromTheThumbnailCache) {
  WriteConfig(WriteSample(12, 21));
  Start();
  const int pictures = Parts(*Form).CoverStrip->Items().Count();
  ASSERT_GT(pictures, 0);
  EXPECT_EQ(Strip().CacheHits(), 0);
  // The strip keeps its pictures compact; the same bytes mean the same picture.
  auto picture = [&](int i) { return Parts(*Form).CoverStrip->Items()[i].Compact->Bytes; };
  std::vector<std::string> first;
  for (int i = 0; i < pictures; ++i) first.push_back(picture(i));
  const std::string cacheFile = TThumbnailCache(UserCacheFolder()).FileOf(Folder.File("Sample.qzt"));
  ASSERT_TRUE(std::filesystem::exists(cacheFile));

  Form.reset();
  Start();
  EXPECT_EQ(Strip().CacheHits(), pictures);
  ASSERT_EQ(Parts(*Form).CoverStrip->Items().Count(), pictures);
  for (int i = 0; i < pictures; ++i) EXPECT_EQ(picture(i), first[static_cast<std::size_t>(i)]);
}

// The damaged cache has a test of its own: four windows in one test made
// the longest of the window tests, the only one seen to fail on a loaded
// machine.
TEST_F(MainWindow, ADamagedThumbnailCacheIsNotBelievedAndIsMadeAgain) {
  WriteConfig(WriteSample(12, 21));
  Start();
  const int pictures = Parts(*Form).CoverStrip->Items().Count();
  ASSERT_GT(pictures, 0);
  auto picture = [&](int i) { return Parts(*Form).CoverStrip->Items()[i].Compact->Bytes; };
  std::vector<std::string> first;
  for (int i = 0; i < pictures; ++i) first.push_back(picture(i));
  const std::string cacheFile = TThumbnailCache(UserCacheFolder()).FileOf(Folder.File("Sample.qzt"));

  // The pictures are made again, alike.
  Form.reset();
  std::string bytes = Folder.Read(std::filesystem::relative(cacheFile, Folder.Path()).string());
  std::fstream damage(cacheFile, std::ios::in | std::ios::out | std::ios::binary);
  damage.seekp(static_cast<std::streamoff>(bytes.size() / 2));
  damage.put(static_cast<char>(bytes[bytes.size() / 2] ^ 0x40));
  damage.close();
  Start();
  EXPECT_LT(Strip().CacheHits(), pictures);
  for (int i = 0; i < pictures; ++i) EXPECT_EQ(picture(i), first[static_cast<std::size_t>(i)]);
  Form.reset();
  Start();
  EXPECT_EQ(Strip().CacheHits(), pictures);
}

TEST_F(MainWindow, TheThumbnailCacheCanBeTurnedOff) {
  WriteConfig(WriteSample(6, 22), "ThumbnailCache=0\r\n");
  Start();
  Form.reset();
  Start();
  EXPECT_EQ(Strip().CacheHits(), 0);
  EXPECT_FALSE(std::filesystem::exists(TThumbnailCache(UserCacheFolder()).FileOf(Folder.File("Sample.qzt"))));
}
