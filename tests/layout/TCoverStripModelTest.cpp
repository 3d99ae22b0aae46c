#include "layout/TCoverStripModel.h"

#include <gtest/gtest.h>

namespace {

class TRecorder : public TCoverStripView {
 public:
  void RedrawEntry(int indexOrCode) override { Entries.push_back(indexOrCode); }
  void RedrawAll() override { ++All; }
  void SetTimerRunning(bool running) override { Timer = running; }
  void ShowHintAt(const std::string& hint, int, int) override { Hint = hint; }
  void HideHint() override { Hint = "(hidden)"; }
  void SetHandCursor(bool hand) override { Hand = hand; }
  std::vector<int> Entries;
  int All = 0;
  bool Timer = false;
  bool Hand = false;
  std::string Hint;
};

TBitmap Picture(int width, int height) { return TBitmap(width, height); }

class GalleryModel : public ::testing::Test {
 protected:
  void SetUp() override {
    m_model.SetView(&m_view);
    m_model.OnClick = [this](TCoverStripModel&, int index) { Clicks.push_back(index); };
    m_model.OnHover = [this](TCoverStripModel&, int index) { Hovers.push_back(index); };
  }
  // `count` pictures of 100 x 100 in a strip of the given size.
  void Fill(int count, int width, int height) {
    m_model.SetClientSize(width, height);
    m_model.Items().BeginUpdate();
    for (int i = 0; i < count; ++i) m_model.Items().Add(i, "Movie " + std::to_string(i), Picture(100, 100));
    m_model.Items().EndUpdate();
  }
  TCoverStripModel m_model;
  TRecorder m_view;
  std::vector<int> Clicks, Hovers;
};

}  // namespace

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(1105, 10), 110);  // 110.5
  EXPECT_EQ(RoundHalfEven(595, 10), 60);    // 59.5
  EXPECT_EQ(RoundHalfEven(596, 10), 60);
  EXPECT_EQ(RoundHalfEven(594, 10), 59);
}

TEST_F(GalleryModel, StaggersTileHeightsAndKeepsThePicturesProportions) {
  m_model.SetClientSize(1000, 100);
  m_model.Items().Add(1, "a", Picture(200, 300));
  m_model.Items().Add(2, "b", Picture(100, 100));
  m_model.Items().Add(3, "c", Picture(100, 100));
  m_model.Items().Add(4, "d", TBitmap());
  m_model.Items().Add(5, "e", Picture(100, 100));
  EXPECT_EQ(m_model.Items()[0].Rect, (TRect{0, 0, 40, 60}));
  EXPECT_EQ(m_model.Items()[1].Rect, (TRect{40, 0, 125, 85}));
  EXPECT_EQ(m_model.Items()[2].Rect, (TRect{125, 0, 225, 100}));
  EXPECT_EQ(m_model.Items()[3].Rect.Width(), 0) << "an empty picture gets no width";
  EXPECT_EQ(m_model.Items()[4].Rect.Height(), 85);
  m_model.SetClientSize(1000, 130);
  EXPECT_EQ(m_model.Items()[1].Rect.Height(), 110);
  EXPECT_EQ(m_model.Items()[0].Rect.Height(), 78);
}

TEST_F(GalleryModel, NarrowStripsHaveNoButtonsAndDoNotMove) {
  Fill(3, 1000, 100);
  EXPECT_EQ(m_model.MaxScroll(), 0);
  EXPECT_FALSE(m_model.Scrollable());
  EXPECT_FALSE(m_model.CanScrollLeft());
  EXPECT_FALSE(m_model.CanScrollRight());
  m_model.SetActive(true);
  m_model.TimerTick();
  EXPECT_EQ(m_model.ScrollPos(), 0);
}

TEST_F(GalleryModel, PlacesTheRoundButtonsAndTheirArrows) {
  Fill(20, 500, 100);
  EXPECT_EQ(m_model.LeftRect(), (TRect{10, 65, 35, 90}));
  EXPECT_EQ(m_model.RightRect(), (TRect{465, 65, 490, 90}));
  // s = 25 / 6 = 4; 4.5 s = 18 and 1.5 s = 6.
  EXPECT_EQ(m_model.LeftArrow()[0], (std::array<int, 2>{14, 77}));
  EXPECT_EQ(m_model.LeftArrow()[3], (std::array<int, 2>{28, 73}));
  EXPECT_EQ(m_model.RightArrow()[0], (std::array<int, 2>{471, 81}));
  EXPECT_EQ(m_model.RightArrow()[4], (std::array<int, 2>{485, 77}));
}

TEST_F(GalleryModel, DriftsToTheEndTurnsAndDriftsBack) {
  Fill(6, 300, 100);  // tiles 60, 85, 100, ... = 490 pixels
  ASSERT_EQ(m_model.MaxScroll(), 190);
  m_model.SetActive(true);
  EXPECT_TRUE(m_view.Timer);
  m_model.TimerTick();  // at the start the first tick only turns
  EXPECT_EQ(m_model.ScrollPos(), 0);
  EXPECT_TRUE(m_model.ScrollingRight());
  m_model.TimerTick();
  EXPECT_EQ(m_model.ScrollPos(), 3);
  for (int i = 0; i < 200 && !m_model.ScrollingLeft(); ++i) m_model.TimerTick();
  EXPECT_EQ(m_model.ScrollPos(), 190) << "turned at the end";
  m_model.TimerTick();
  EXPECT_EQ(m_model.ScrollPos(), 187);
  m_model.SetActive(false);
  EXPECT_EQ(m_model.ScrollPos(), 0);
  EXPECT_FALSE(m_view.Timer);
}

TEST_F(GalleryModel, StandsUnderThePointerAndPushesOverAButton) {
  Fill(6, 300, 100);
  m_model.SetActive(true);
  for (int i = 0; i < 20; ++i) m_model.TimerTick();
  int position = m_model.ScrollPos();
  m_model.MouseMove(50, 20);  // over a picture
  m_model.TimerTick();
  EXPECT_EQ(m_model.ScrollPos(), position) << "standing";
  m_model.MouseMove(20, 75);  // over the left button
  EXPECT_EQ(Hovers.back(), -1);
  for (int i = 0; i < 100; ++i) m_model.TimerTick();
  EXPECT_EQ(m_model.ScrollPos(), 0);
  EXPECT_FALSE(m_model.ScrollingRight()) << "pushing stops at the end without turning";
  m_model.MouseLeave();
  EXPECT_TRUE(m_model.AutoReverse());
  EXPECT_TRUE(m_model.ScrollingLeft()) << "leaving after pushing left drifts left";
  m_model.TimerTick();
  EXPECT_TRUE(m_model.ScrollingRight()) << "and turns at the start";
}

TEST_F(GalleryModel, ButtonPressesScrollByLargeStepsAndStopAtTheEnds) {
  Fill(6, 300, 100);
  for (int i = 0; i < 7; ++i) m_model.MouseDown(275, 75);
  EXPECT_EQ(m_model.ScrollPos(), 190);
  EXPECT_FALSE(m_model.CanScrollRight());
  EXPECT_EQ(m_model.ItemAt(275, 75), 5) << "the hidden button is no button any more";
  m_model.MouseDown(20, 75);
  EXPECT_EQ(m_model.ScrollPos(), 160);
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(GalleryModel, ClicksReportThePictureOrNothing) {
  Fill(3, 1000, 100);
  m_model.MouseDown(30, 10);
  m_model.MouseDown(30, 70);  // below the 60-pixel first tile
  m_model.MouseDown(999, 10);
  EXPECT_EQ(Clicks, (std::vector<int>{0, -1, -1}));
}

TEST_F(GalleryModel, HoverRedrawsTheOldAndNewPictureAndShowsItsHint) {
  Fill(3, 1000, 100);
  m_model.ShowHint = true;
  m_model.MouseMove(30, 10);
  m_model.MouseMove(70, 10);
  EXPECT_EQ(m_view.Entries, (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(Hovers, (std::vector<int>{0, 1}));
  EXPECT_EQ(m_view.Hint, "Movie 1");
  EXPECT_TRUE(m_view.Hand);
  m_model.MouseMove(900, 10);
  EXPECT_EQ(m_view.Hint, "(hidden)");
  EXPECT_FALSE(m_view.Hand);
  m_model.MouseLeave();
  EXPECT_EQ(m_model.HoverIndex(), -1);
}

TEST_F(GalleryModel, TheKeyboardMovesACursorThatStaysInViewAndEnterClicksIt) {
  Fill(20, 500, 100);
  m_model.SetActive(true);
  // The first key finds the first picture in view.
  EXPECT_TRUE(m_model.KeyDown(TCoverStripKey::Right));
  EXPECT_EQ(m_model.CursorIndex(), 0);
  EXPECT_TRUE(m_model.KeyDown(TCoverStripKey::Right));
  EXPECT_EQ(m_model.CursorIndex(), 1);
  EXPECT_TRUE(m_model.KeyDown(TCoverStripKey::End));
  EXPECT_EQ(m_model.CursorIndex(), 19);
  EXPECT_EQ(m_model.ScrollPos(), m_model.MaxScroll());
  const TRect& last = m_model.Items()[19].Rect;
  EXPECT_LE(last.Right - m_model.ScrollPos(), 500);
  EXPECT_TRUE(m_model.KeyDown(TCoverStripKey::Left));
  EXPECT_EQ(m_model.CursorIndex(), 18);
  EXPECT_TRUE(m_model.KeyDown(TCoverStripKey::Home));
  EXPECT_EQ(m_model.CursorIndex(), 0);
  EXPECT_EQ(m_model.ScrollPos(), 0);
  EXPECT_TRUE(m_model.KeyDown(TCoverStripKey::Left));
  EXPECT_EQ(m_model.CursorIndex(), 0);
  EXPECT_TRUE(m_model.KeyDown(TCoverStripKey::Enter));
  EXPECT_EQ(Clicks, std::vector<int>{0});
  EXPECT_FALSE(m_model.KeyDown(TCoverStripKey::Other));
}

TEST_F(GalleryModel, DoesNotDriftWhileItHasTheKeyboard) {
  Fill(20, 500, 100);
  m_model.SetActive(true);
  m_model.SetFocused(true);
  const int at = m_model.ScrollPos();
  for (int i = 0; i < 10; ++i) m_model.TimerTick();
  EXPECT_EQ(m_model.ScrollPos(), at);
  m_model.SetFocused(false);
  m_model.TimerTick();
  m_model.TimerTick();
  EXPECT_NE(m_model.ScrollPos(), at);
}
