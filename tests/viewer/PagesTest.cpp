// The window while pages are made on workers: a wide search never holds it,
// long lists come in parts the keys move through, and a slow page is said
// to be in the making.

#include "ViewerFixture.h"
#include "tests/support/WindowParts.h"

#include "../dialogs/ManualTimer.h"
#include "browse/MovieFilter.h"
#include "catalog/TMovieList.h"
#include "viewer/TFormMain.h"
#include "viewer/TStallWatch.h"
#include "viewer/TStatusLine.h"
#include "viewer/TWebView.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Pages : public ::testing::Test, public ViewerFixture {};

}  // namespace

TEST_F(Pages, AWideSearchNeverHoldsTheWindowAndComesInParts) {
  // Enough covers that making the whole list's pictures at once would
  // hold the window for seconds.
  WriteConfig(WriteSample(1200));
  Start();
  TStallWatch stalls;
  stalls.Start();
  Parts(*Form).SearchBox->setFocus();
  Parts(*Form).SearchBox->setText(QStringLiteral("a"));
  ASSERT_TRUE(Navigate([&] { QTest::keyClick(Parts(*Form).SearchBox, Qt::Key_Return); }));
  stalls.Stop();
  EXPECT_EQ(stalls.Stalls(), 0) << "longest " << stalls.Longest() << " ms";
  const QString found = Parts(*Form).StatusCount->text();
  EXPECT_TRUE(found.endsWith(QStringLiteral(" of 1200 Movies found"))) << found.toStdString();
  const int hits = found.section(QLatin1Char(' '), 0, 0).toInt();
  ASSERT_GT(hits, 200);
  EXPECT_TRUE(PageText().startsWith(QStringLiteral("Movies 1\u2013100 of %1").arg(hits))) << PageText().toStdString();

  ASSERT_TRUE(Navigate([&] { QTest::keyClick(Form.get(), Qt::Key_PageDown, Qt::AltModifier); }));
  EXPECT_EQ(Parts(*Form).PageView->url().query(), QStringLiteral("part=2"));
  EXPECT_TRUE(PageText().startsWith(QStringLiteral("Movies 101\u2013200 of"))) << PageText().toStdString();
  ASSERT_TRUE(Navigate([&] { QTest::keyClick(Form.get(), Qt::Key_End, Qt::AltModifier); }));
  const int lastPart = (hits + 99) / 100;
  EXPECT_EQ(Parts(*Form).PageView->url().query(), QStringLiteral("part=%1").arg(lastPart));
  ASSERT_TRUE(Navigate([&] { QTest::keyClick(Form.get(), Qt::Key_Home, Qt::AltModifier); }));
  EXPECT_EQ(Parts(*Form).PageView->url().query(), QStringLiteral("part=1"));
  // The count stays with the search's pages.
  EXPECT_EQ(Parts(*Form).StatusCount->text(), found);
}

TEST_F(Pages, ASlowPageIsSaidToBeInTheMakingUntilItIsShown) {
  WriteConfig(WriteSample(3));
  Start();
  TStatusLine& status = *Form->findChild<TStatusLine*>(QStringLiteral("StatusLine"));
  auto timer = std::make_unique<TManualTimer>();
  TManualTimer& wait = *timer;
  status.SetPageTimer(std::move(timer));
  const QString path = Parts(*Form).StatusText->text();
  const QUrl slow(QStringLiteral("movie://localhost/moviestatistics[all].html"));
  const QUrl given(QStringLiteral("movie://localhost/movie[1].html"));

  status.PageStarted(slow);
  EXPECT_EQ(wait.Interval, TStatusLine::kPageWaitMilliseconds);
  EXPECT_EQ(Parts(*Form).StatusText->text(), path);
  wait.Fire();
  EXPECT_EQ(Parts(*Form).StatusText->text(), QStringLiteral("Making the page\u2026"));
  // The end of a page given up for it says nothing about this one.
  status.PageEnded(given);
  EXPECT_EQ(Parts(*Form).StatusText->text(), QStringLiteral("Making the page\u2026"));
  status.PageEnded(slow);
  EXPECT_EQ(Parts(*Form).StatusText->text(), path);
  // A quick page never says so.
  status.PageStarted(given);
  status.PageEnded(given);
  EXPECT_FALSE(wait.Active());
  EXPECT_EQ(Parts(*Form).StatusText->text(), path);
}

TEST_F(Pages, TheFilterNarrowsTheSideBarAndTheStripAndEscBringsThemBack) {
  WriteConfig(WriteSample(60));
  Start();
  const std::string shown = PageUrl();
  const TSideBarModel& bar = Parts(*Form).SideBar->Model();
  auto rows = [&] {
    int count = 0;
    for (int s = 0; s < bar.Items().Count(); ++s) count += bar.Items()[s].Items().Count();
    return count;
  };
  auto tiles = [&] {
    int count = 0;
    for (int i = 0; i < Parts(*Form).CoverStrip->Items().Count(); ++i) {
      count += Parts(*Form).CoverStrip->Items()[i].Hidden ? 0 : 1;
    }
    return count;
  };
  const int allTiles = tiles();
  QTest::keyClick(Form.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), Parts(*Form).FilterBox);
  QTest::keyClicks(Parts(*Form).FilterBox, QStringLiteral("GARD"));
  ASSERT_TRUE(WaitUntil([&] { return Parts(*Form).StatusCount->text().endsWith(QStringLiteral(" of 60 Movies")); }));
  const int kept = Parts(*Form).StatusCount->text().section(QLatin1Char(' '), 0, 0).toInt();
  ASSERT_GT(kept, 0);
  ASSERT_LT(kept, 60);
  EXPECT_EQ(rows(), kept);
  EXPECT_LT(tiles(), allTiles);
  // The movie on screen stays; a random pick comes from those kept, never
  // the same twice in a row.
  EXPECT_EQ(PageUrl(), shown);
  std::string before;
  for (int i = 0; i < 3 && kept > 1; ++i) {
    ASSERT_TRUE(Navigate([&] { QTest::keyClick(Form.get(), Qt::Key_R, Qt::ControlModifier); }));
    const TMovie* movie = Form->Catalog().FindByHandle(std::stoll(Form->CurrentSelection()));
    ASSERT_NE(movie, nullptr);
    EXPECT_NE(FilterText(*movie).find("gard"), std::string::npos);
    EXPECT_NE(Form->CurrentSelection(), before);
    before = Form->CurrentSelection();
  }
  // A table of the movies the side bar shows.
  ASSERT_TRUE(Navigate([&] { QTest::keyClick(Form.get(), Qt::Key_T, Qt::ControlModifier); }));
  EXPECT_NE(PageUrl().find("movietable[all,"), std::string::npos);
  EXPECT_EQ(RunScript(QStringLiteral("document.querySelectorAll('tr').length")).toInt(), kept + 1);

  QTest::keyClick(Parts(*Form).FilterBox, Qt::Key_Escape);
  EXPECT_TRUE(Parts(*Form).FilterBox->text().isEmpty());
  EXPECT_EQ(rows(), 60);
  EXPECT_EQ(tiles(), allTiles);
  // The count is the table's again, not the filter's.
  EXPECT_FALSE(Parts(*Form).StatusCount->text().endsWith(QStringLiteral(" of 60 Movies")));
}
