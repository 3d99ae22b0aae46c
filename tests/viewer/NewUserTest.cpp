// What a new user met and should not have: a missing catalog that became
// the kept one, full screen forgetting a maximised window, Apply losing the
// page shown, Edit handing catalogs to a text editor, drops taken as moves,
// statistics too wide for the window, words left in English and lists of a
// statistics bar that did not say what they were.

#include "ViewerFixture.h"
#include "tests/support/WindowParts.h"

#include "catalog/TMovieList.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "viewer/TDesktop.h"
#include "viewer/TFormMain.h"
#include "viewer/TPageExports.h"
#include "viewer/TWebView.h"
#include "widgets/TSideBar.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <gtest/gtest.h>

namespace {

class NewUser : public ::testing::Test, public ViewerFixture {
 protected:
  void TearDown() override { LoadLanguage(Folder.File("none.lng")); }
};

}  // namespace

TEST_F(NewUser, AMissingCatalogIsSaidAndNeverKeptAndADropIsACopy) {
  const std::string configured = WriteSample(6);
  WriteConfig(configured);
  StartCatalog = Folder.File("missing.qzt");
  Start();
  ASSERT_EQ(Desktop->Errors.size(), 1u);
  EXPECT_TRUE(Desktop->Errors[0].contains(QStringLiteral("missing.qzt")));
  EXPECT_TRUE(Desktop->Errors[0].endsWith(QStringLiteral("No such file or directory"))) << Desktop->Errors[0].toStdString();
  EXPECT_EQ(Form->Catalog().Count(), 6);
  EXPECT_EQ(Form->Settings().CatalogFile, configured);

  // A file offered to move is taken as a copy: the viewer takes nothing away.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(configured))});
  // Shift proposes a move.
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::ShiftModifier);
  ASSERT_EQ(enter.proposedAction(), Qt::MoveAction);
  QApplication::sendEvent(Parts(*Form).SideBar, &enter);
  EXPECT_TRUE(enter.isAccepted());
  EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::ShiftModifier);
  ASSERT_TRUE(Navigate([&] { QApplication::sendEvent(Parts(*Form).SideBar, &drop); }));
  EXPECT_EQ(drop.dropAction(), Qt::CopyAction);

  Form.reset();
  EXPECT_NE(Folder.Read("Config.ini").find("CatalogFile=" + configured + "\r\n"), std::string::npos);
}

TEST_F(NewUser, FullScreenGivesBackAMaximizedWindowAndApplyShowsTheSamePage) {
  Folder.Write("Config.ini", "[Config]\r\nCatalogFile=" + WriteSample(6) + "\r\nAutoOpen=1\r\nMaximized=1\r\n");
  Start();
  ASSERT_TRUE(Form->isMaximized());
  Form->SetFullScreen(true);
  Form->SetFullScreen(false);

  EXPECT_TRUE(Form->isMaximized());
  EXPECT_FALSE(Form->windowFlags() & Qt::FramelessWindowHint);

  // The statistics stay on screen when the settings are applied.
  ASSERT_TRUE(Navigate([&] { Form->Exports().ShowStatistics(); }));
  const std::string statistics = PageUrl();
  const TViewerSettings before = Form->Settings();
  Form->Settings().ColorScheme = "Midnight";
  ASSERT_TRUE(Navigate([&] { Form->ApplySettings(before); }));
  EXPECT_EQ(PageUrl(), statistics);

  Form.reset();
  EXPECT_NE(Folder.Read("Config.ini").find("Maximized=1"), std::string::npos);
}

TEST_F(NewUser, StatisticsFitTheWindowSpeakItsLanguageAndTheirBarsSayWhatTheyList) {
  Folder.Write("Deutsch.lng", "[Translations]\r\nSearch ...=Suchen ...\r\n%ss=%ser\r\n"
                              "Movies of the %ss=Filme der %ser Jahre\r\n%s of %s Movies found=%s von %s Filmen\r\n");
  WriteConfig(WriteSample(30), "Language=Deutsch\r\n");
  Start();
  EXPECT_EQ(Parts(*Form).SearchBox->text(), QStringLiteral("Suchen ..."));
  ASSERT_TRUE(Navigate([&] { Form->Exports().ShowStatistics(); }));
  // An 800 x 600 window: nothing scrolls sideways, no count is cut.
  EXPECT_TRUE(RunScript(QStringLiteral("document.documentElement.scrollWidth <= document.documentElement.clientWidth"))
                  .toBool());
  EXPECT_TRUE(RunScript(QStringLiteral("Array.from(document.querySelectorAll('svg')).every("
                                       "s => s.getBoundingClientRect().right <= document.documentElement.clientWidth)"))
                  .toBool());
  const QString decade = RunScript(QStringLiteral("document.querySelector('svg text').textContent")).toString();
  EXPECT_TRUE(decade.endsWith(QStringLiteral("0er"))) << decade.toStdString();

  // The decade's bar lists its movies under a heading, counted below.
  ASSERT_TRUE(Navigate([&] {
    RunScript(QStringLiteral("document.querySelector('svg a').dispatchEvent(new MouseEvent('click', {bubbles: true}))"));
  }));
  const QString heading = RunScript(QStringLiteral("document.querySelector('h2').textContent")).toString();
  EXPECT_EQ(heading, QStringLiteral("Filme der %1 Jahre").arg(decade)) << PageUrl();
  EXPECT_TRUE(Parts(*Form).StatusCount->text().endsWith(QStringLiteral(" von 30 Filmen"))) << Parts(*Form).StatusCount->text().toStdString();
}

TEST(DesktopEntry, StartsTheProgramItsExecLineNames) {
  const QString file = QStringLiteral("/home/ann/My Movies.qzt");
  const QString url = QStringLiteral("file:///home/ann/My%20Movies.qzt");
  struct {
    const char* Exec;
    QStringList Command;
  } cases[] = {
      {"editor %f", {"editor", file}},
      {"editor --open %U", {"editor", "--open", url}},
      {"\"/opt/Movie Editor/run\" -i %i %c %k %F", {"/opt/Movie Editor/run", "-i", file}},
      {"sh -c \"echo \\\"hi\\\"\" 100%%", {"sh", "-c", "echo \"hi\"", "100%"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(DesktopEntryCommand(QString::fromLatin1(c.Exec), file), c.Command) << c.Exec;
}
