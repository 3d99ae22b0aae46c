// The main window as a new user on a Linux desktop meets it: the search
// box, the keys, full screen, narrow windows, Play and Edit saying what is
// missing, and catalogs opened from outside the open dialog.

#include "ViewerFixture.h"
#include "tests/support/WindowParts.h"

#include "catalog/TMovieList.h"
#include "config/TIniFile.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "dialogs/TFormOpen.h"
#include "dialogs/TFormSettings.h"
#include "viewer/TFormMain.h"
#include "viewer/TWebView.h"
#include "viewer/WindowCommands.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <fstream>
#include <set>

#include <QAction>
#include <QContextMenuEvent>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class DesktopUse : public ::testing::Test, public ViewerFixture {
 protected:
  void TearDown() override { LoadLanguage(Folder.File("none.lng")); }

  std::string FourMovies(const std::string& name) {
    WriteTestCatalog(Folder.File(name), "Ann",
                     Movies(TestMovie(1, "Alpha"), TestMovie(2, "Beta"), TestMovie(3, "Gamma"), TestMovie(4, "Delta")));
    return Folder.File(name);
  }

  void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(widget, static_cast<Qt::Key>(key), modifiers);
  }

  QRect InPanel1(QWidget* widget) { return QRect(widget->mapTo(Parts(*Form).CaptionBar, QPoint(0, 0)), widget->size()); }
};

}  // namespace

TEST_F(DesktopUse, TypingInTheSearchBoxReplacesItsTextAndTheStatusSaysHowManyWereFound) {
  WriteConfig(FourMovies("Four.qzt"));
  Start();
  Form->activateWindow();
  QLineEdit* box = Parts(*Form).SearchBox;
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  ASSERT_TRUE(WaitUntil([&] { return box->hasFocus() && box->selectedText() == box->text(); }, 5000));
  QTest::keyClicks(box, QStringLiteral("ta"));
  EXPECT_EQ(box->text(), QStringLiteral("ta"));
  ASSERT_TRUE(Navigate([&] { Press(box, Qt::Key_Return); }));
  EXPECT_EQ(Parts(*Form).StatusCount->text(), QStringLiteral("2 of 4 Movies found"));
  // Ctrl+F from anywhere: the box, its text chosen to be typed over.
  Parts(*Form).SideBar->setFocus();
  Press(Parts(*Form).SideBar, Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(WaitUntil([&] { return box->hasFocus() && box->selectedText() == QStringLiteral("ta"); }, 5000));
  // A movie shown again: the count again.
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 2); }));
  EXPECT_EQ(Parts(*Form).StatusCount->text(), QStringLiteral("4 Movies"));
}

TEST_F(DesktopUse, ApplyKeepsTheWindowsPlaceAndF11AndEscGoInAndOutOfFullScreen) {
  WriteConfig(FourMovies("Four.qzt"));
  Start();
  Form->showMaximized();
  ASSERT_TRUE(WaitUntil([&] { return Form->isMaximized(); }, 5000));
  SettingsForm->PrepareToShow();
  SettingsForm->Apply();
  EXPECT_TRUE(Form->isMaximized());
  Form->showNormal();
  Form->resize(700, 500);
  SettingsForm->PrepareToShow();
  SettingsForm->Confirm();
  EXPECT_EQ(Form->size(), QSize(700, 500));

  Press(Parts(*Form).SideBar, Qt::Key_F11);
  EXPECT_TRUE(Form->Settings().FullScreen);
  EXPECT_TRUE(Form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(Parts(*Form).ClosePanel->isVisible());
  Press(Parts(*Form).SideBar, Qt::Key_Escape);
  EXPECT_FALSE(Form->Settings().FullScreen);
  EXPECT_FALSE(Form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(Form->size(), QSize(700, 500));
  Press(Parts(*Form).SideBar, Qt::Key_F11);
  Press(Parts(*Form).SideBar, Qt::Key_F11);
  EXPECT_FALSE(Form->Settings().FullScreen);
  // Esc outside full screen is left to the control that has the focus.
  EXPECT_FALSE(Form->KeyDown(Qt::Key_Escape));
}

TEST_F(DesktopUse, PlayAndEditSayWhatIsMissingAndWhereToSetIt) {
  WriteConfig(FourMovies("Four.qzt"));
  Start();
  QTest::mouseClick(Parts(*Form).PlayButton, Qt::LeftButton);
  ASSERT_EQ(Desktop->Errors.size(), 1u);
  EXPECT_TRUE(Desktop->Errors[0].contains(QStringLiteral("Field used to store video path"))) << Desktop->Errors[0].toStdString();
  // A field chosen, but this movie names no file: a note, no box.
  Form->Settings().VideoPathField = "Comments";
  QTest::mouseClick(Parts(*Form).PlayButton, Qt::LeftButton);
  EXPECT_EQ(Desktop->Errors.size(), 1u);
  EXPECT_EQ(Parts(*Form).StatusText->text(), QStringLiteral("This movie names no video file."));
  EXPECT_TRUE(Desktop->Opened.empty());

  // No program for catalogs, or only the viewer itself: said so.
  for (const QString& program : {QString(), QStringLiteral("elk-viewer.desktop")}) {
    Desktop->DefaultProgram = program;
    QTest::mouseClick(Parts(*Form).EditButton, Qt::LeftButton);
    EXPECT_TRUE(Desktop->Errors.back().contains(QStringLiteral("No program is registered to edit .qzt files")));
  }
  EXPECT_EQ(Desktop->Errors.size(), 3u);
  EXPECT_TRUE(Desktop->Opened.empty());
}

TEST_F(DesktopUse, ACatalogCutShortSaysItsFileEndsEarly) {
  std::string whole = FourMovies("Whole.qzt");
  const std::string bytes = Folder.Read("Whole.qzt");
  Folder.Write("Cut.qzt", bytes.substr(0, bytes.size() - 100));
  WriteConfig(Folder.File("Cut.qzt"));
  Start();
  EXPECT_EQ(Parts(*Form).StatusCount->text(), QStringLiteral("3 Movies (the file ends early)"));
}

TEST_F(DesktopUse, InNarrowWindowsTheTitlesGiveWayToTheSearchControls) {
  WriteConfig(FourMovies("Four.qzt"));
  Start();
  for (const QSize size : {QSize(1100, 600), QSize(800, 600), QSize(640, 480)}) {
    Form->resize(size);
    QApplication::processEvents();
    const QRect search = InPanel1(Parts(*Form).SearchButton);
    EXPECT_LE(search.right(), Parts(*Form).CaptionBar->width()) << size.width();
    EXPECT_GE(Parts(*Form).SearchBox->width(), 60) << size.width();
    for (QLabel* title : {Parts(*Form).OwnerTitle, Parts(*Form).CollectionTitle}) {
      if (title->isVisible()) {
        EXPECT_GT(title->x(), InPanel1(Parts(*Form).SearchPanel).right()) << size.width();
      }
    }
  }
  // Wide enough, the titles are whole.
  Form->resize(1100, 600);
  QApplication::processEvents();
  EXPECT_EQ(Parts(*Form).OwnerTitle->text(), QStringLiteral("Ann's"));
  EXPECT_EQ(Parts(*Form).CollectionTitle->text(), QStringLiteral("Movie Collection"));
}

TEST(WindowCommands, MeanWhatTheDesktopsKeysMean) {
  const TKeyContext plain, inText{true, false, false}, full{false, true, false}, onOpen{false, false, true};
  EXPECT_EQ(WindowCommandOf(Qt::Key_F10, Qt::NoModifier, plain), TWindowCommand::Settings);
  EXPECT_EQ(WindowCommandOf(Qt::Key_F11, Qt::NoModifier, plain), TWindowCommand::ToggleFullScreen);
  EXPECT_EQ(WindowCommandOf(Qt::Key_Escape, Qt::NoModifier, plain), TWindowCommand::None);
  EXPECT_EQ(WindowCommandOf(Qt::Key_Escape, Qt::NoModifier, full), TWindowCommand::LeaveFullScreen);
  EXPECT_EQ(WindowCommandOf(Qt::Key_O, Qt::ControlModifier, inText), TWindowCommand::Open);
  EXPECT_EQ(WindowCommandOf(Qt::Key_O, Qt::NoModifier, plain), TWindowCommand::None);
  EXPECT_EQ(WindowCommandOf(Qt::Key_F, Qt::ControlModifier, plain), TWindowCommand::FindText);
  EXPECT_EQ(WindowCommandOf(Qt::Key_Q, Qt::ControlModifier, plain), TWindowCommand::Close);
  EXPECT_EQ(WindowCommandOf(Qt::Key_Left, Qt::AltModifier, inText), TWindowCommand::Back);
  EXPECT_EQ(WindowCommandOf(Qt::Key_Left, Qt::NoModifier, plain), TWindowCommand::None);
  EXPECT_EQ(WindowCommandOf(Qt::Key_Backspace, Qt::NoModifier, plain), TWindowCommand::Back);
  EXPECT_EQ(WindowCommandOf(Qt::Key_Backspace, Qt::NoModifier, inText), TWindowCommand::None);
  EXPECT_EQ(WindowCommandOf(Qt::Key_Menu, Qt::NoModifier, onOpen), TWindowCommand::RecentCatalogs);
  EXPECT_EQ(WindowCommandOf(Qt::Key_F10, Qt::ShiftModifier, onOpen), TWindowCommand::RecentCatalogs);
  EXPECT_EQ(WindowCommandOf(Qt::Key_Menu, Qt::NoModifier, plain), TWindowCommand::None);
}

TEST_F(DesktopUse, TabReachesTheCaptionButtonsAndSpacePressesThem) {
  WriteConfig(FourMovies("Four.qzt"));
  Start();
  Form->activateWindow();
  Parts(*Form).BackButton->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(WaitUntil([&] { return Parts(*Form).BackButton->hasFocus(); }, 5000));
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 1); }));
  const std::string second = PageUrl();
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 2); }));
  Parts(*Form).BackButton->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(Navigate([&] { Press(Parts(*Form).BackButton, Qt::Key_Space); }));
  EXPECT_EQ(PageUrl(), second);
  EXPECT_EQ(Parts(*Form).OpenButton->focusPolicy(), Qt::TabFocus);
  EXPECT_EQ(Parts(*Form).SearchButton->focusPolicy(), Qt::TabFocus);
}

TEST_F(DesktopUse, CatalogsOpenFromTheCommandLineADropAndTheRecentList) {
  std::string configured = FourMovies("Four.qzt");
  WriteTestCatalog(Folder.File("Two.qzt"), "Bob", Movies(TestMovie(1, "One"), TestMovie(2, "Two")));
  Folder.Write("Bad.qzt", "not a catalog");
  // A start catalog that cannot be read: the configured one, and why.
  StartCatalog = Folder.File("Bad.qzt");
  WriteConfig(configured);
  Start();
  ASSERT_EQ(Desktop->Errors.size(), 1u);
  EXPECT_TRUE(Desktop->Errors[0].startsWith(QStringLiteral("Unable to load file")));
  EXPECT_EQ(Form->Catalog().Count(), 4);
  EXPECT_EQ(Form->Settings().CatalogFile, configured);

  // Dropped on the window: opened, and kept among the recent catalogs.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Folder.File("Two.qzt")))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Parts(*Form).SideBar, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  ASSERT_TRUE(Navigate([&] { QApplication::sendEvent(Parts(*Form).SideBar, &drop); }));
  EXPECT_EQ(Form->Catalog().Count(), 2);
  EXPECT_NE(Folder.Read("Config.ini").find("[Recent]\r\nFile1=" + Folder.File("Two.qzt")), std::string::npos);

  // The open dialog starts at the catalog shown.
  std::string proposed;
  Open->ChooseFile = [&](QWidget*, const std::string& name) -> std::optional<std::string> {
    proposed = name;
    return configured;
  };
  QTimer::singleShot(0, Open, [&] {
    Open->BrowseForFile();
    Open->OkButton->click();
  });
  ASSERT_TRUE(Navigate([&] { Press(Parts(*Form).SideBar, Qt::Key_O, Qt::ControlModifier); }));
  EXPECT_EQ(proposed, Folder.File("Two.qzt"));

  // The recent list, latest first; a file that is gone is not offered.
  std::filesystem::remove(Folder.File("Two.qzt"));
  // As the right button or the menu key ask for it.
  const QPoint corner(5, 5);
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, corner, Parts(*Form).OpenButton->mapToGlobal(corner));
  QApplication::sendEvent(Parts(*Form).OpenButton, &rightClick);
  auto* menu = Form->findChild<QMenu*>(QStringLiteral("PopupRecent"));
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return menu->isVisible(); }, 5000));
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text().toStdString(), configured);
  EXPECT_TRUE(menu->actions()[0]->isEnabled());
  EXPECT_FALSE(menu->actions()[1]->isEnabled());
  menu->close();
}

// The README's key table and the command table say the same: every key a
// command has is in the README, and every key the README gives to the
// window (not those of Tab and of the buttons) runs a command.
TEST(WindowCommands, TheReadmesKeyTableIsTheCommandTable) {
  std::ifstream readme(std::string(ELK_SOURCE_DIR) + "/README.md");
  std::set<std::string> documented;
  bool inTable = false;
  for (std::string line; std::getline(readme, line);) {
    if (inTable && line.rfind("## ", 0) == 0) break;
    if (line == "## Keys") inTable = true;
    if (!inTable || line.rfind("| ", 0) != 0 || line.rfind("| Key ", 0) == 0) continue;
    std::string keys = line.substr(2, line.find(" |", 2) - 2);
    if (const auto when = keys.find(" ("); when != std::string::npos) keys.erase(when);
    for (std::size_t start = 0; start <= keys.size();) {
      const std::size_t comma = std::min(keys.find(", ", start), keys.size());
      documented.insert(keys.substr(start, comma - start));
      start = comma + 2;
    }
  }
  std::set<std::string> commanded;
  for (const TCommandEntry& entry : WindowCommandTable()) {
    for (const TCommandKey& key : entry.Keys) commanded.insert(key.Keys);
  }
  for (const std::string& key : commanded) EXPECT_TRUE(documented.count(key)) << key << " is not in the README";
  for (const std::string& key : documented) {
    if (key == "Tab" || key == "Space" || key == "Enter") continue;
    EXPECT_TRUE(commanded.count(key)) << key << " runs no command";
  }
}

TEST(WindowCommands, EveryCaptionIsInTheGermanCaptions) {
  const TIniFile german(std::string(ELK_SOURCE_DIR) + "/data/Deutsch.lng");
  for (const TCommandEntry& entry : WindowCommandTable()) {
    EXPECT_TRUE(german.Find("Translations", entry.Caption)) << entry.Caption;
  }
}
