#include "layout/TSideBarModel.h"

#include <gtest/gtest.h>

namespace {

// Records what the model asks to redraw.
class TRecorder : public TSideBarView {
 public:
  void RedrawRow(int rowOrCode) override { Rows.push_back(rowOrCode); }
  void RedrawAll() override { ++All; }
  void Reset() {
    Rows.clear();
    All = 0;
  }
  std::vector<int> Rows;
  int All = 0;
};

struct TEvent {
  int Index, SubIndex;
  std::string Caption;
  bool operator==(const TEvent&) const = default;
};

class SideBar : public ::testing::Test {
 protected:
  void SetUp() override {
    m_bar.SetView(&m_view);
    m_bar.SetClientSize(200, 1000);
    m_bar.OnSelect = [this](TSideBarModel&, int i, int s, const std::string& c) { Selects.push_back({i, s, c}); };
    m_bar.OnHover = [this](TSideBarModel&, int i, int s, const std::string& c) { Hovers.push_back({i, s, c}); };
  }
  // Sections "S0", "S1", ... with `items` items "S<i>-<k>" each.
  void Fill(int sections, int items, bool expanded = true) {
    m_bar.BeginUpdate();
    m_bar.Items().Clear();
    for (int i = 0; i < sections; ++i) {
      TSideBarItem& section = m_bar.Items().Add();
      section.SetCaption("S" + std::to_string(i));
      for (int k = 0; k < items; ++k) section.Items().Add("S" + std::to_string(i) + "-" + std::to_string(k));
      section.SetExpanded(expanded);
    }
    m_bar.EndUpdate();
    m_view.Reset();
  }
  // A point inside row r, in control coordinates.
  void Click(int row) {
    const TRect& r = m_bar.Rows()[static_cast<std::size_t>(row)].Rect;
    m_bar.MouseDown(r.Left + 1, r.Top - m_bar.ScrollOffset() + 1);
  }

  TSideBarModel m_bar;
  TRecorder m_view;
  std::vector<TEvent> Selects;
  std::vector<TEvent> Hovers;
};

}  // namespace

TEST_F(SideBar, EmptyBarHasNoRowsAndNoScrollButtons) {
  Fill(0, 0);
  EXPECT_TRUE(m_bar.Rows().empty());
  EXPECT_FALSE(m_bar.CanScrollUp());
  EXPECT_FALSE(m_bar.CanScrollDown());
  EXPECT_EQ(m_bar.LastIndex(), -1);
  EXPECT_EQ(m_bar.NonItemTop(), 0);
  EXPECT_EQ(m_bar.RowAt(50, 5), -1);
}

TEST_F(SideBar, LaysOutHeadersAndItemsWithOnePixelGaps) {
  Fill(2, 2);
  const auto& rows = m_bar.Rows();
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0].Rect, (TRect{8, 0, 192, 40}));
  EXPECT_EQ(rows[1].Rect, (TRect{8, 41, 192, 59}));
  EXPECT_EQ(rows[2].Rect.Top, 60);
  EXPECT_EQ(rows[3].Rect.Top, 79);
  EXPECT_FALSE(rows[0].IsSubItem);
  EXPECT_EQ(rows[2].Caption, "S0-1");
  EXPECT_EQ(rows[3].SubIndex, -1);
  EXPECT_EQ(m_bar.RowAt(10, 40), -1) << "the gap below a row belongs to no row";
  EXPECT_EQ(m_bar.RowAt(10, 41), 1);
  EXPECT_EQ(m_bar.RowAt(7, 45), -1) << "the margin belongs to no row";
  EXPECT_EQ(m_bar.RowAt(191, 45), 1);
  EXPECT_EQ(m_bar.RowAt(192, 45), -1);
}

TEST_F(SideBar, ShowsOnlyHeadersOfCollapsedOrEmptySections) {
  Fill(3, 0);
  EXPECT_EQ(m_bar.Rows().size(), 3u);
  Fill(3, 4, false);
  EXPECT_EQ(m_bar.Rows().size(), 3u);
  m_bar.Items()[1].SetVisible(false);
  EXPECT_EQ(m_bar.Rows().size(), 2u);
  EXPECT_EQ(m_bar.Rows()[1].Index, 2);
}

TEST_F(SideBar, ShowsTheDownButtonOnlyWhenARowReachesPastTheBottom) {
  Fill(1, 3);  // rows end at 41 + 3 * 19 - 1 = 97
  int bottom = m_bar.Rows().back().Rect.Bottom;
  m_bar.SetClientSize(200, bottom);
  EXPECT_FALSE(m_bar.CanScrollDown());
  EXPECT_EQ(m_bar.LastIndex(), 3);
  m_bar.SetClientSize(200, bottom - 1);
  EXPECT_TRUE(m_bar.CanScrollDown());
  EXPECT_EQ(m_bar.LastIndex(), 3) << "the partly visible last row";
  EXPECT_EQ(m_bar.DownRect(), (TRect{200 - 8 - 21, bottom - 1 - 21, 200 - 8 - 10, bottom - 1 - 10}));
  m_bar.SetAlignment(TSideBarAlign::saRight);
  EXPECT_EQ(m_bar.UpRect(), (TRect{18, 10, 29, 21}));
}

TEST_F(SideBar, ScrollsByRowsAndPages) {
  Fill(5, 5);  // each section: 41 + 5 * 19 = 136 pixels
  m_bar.SetClientSize(200, 100);
  EXPECT_FALSE(m_bar.CanScrollUp());
  m_bar.ScrollDown();
  EXPECT_EQ(m_bar.TopIndex(), 1);
  EXPECT_EQ(m_bar.ScrollOffset(), 41);
  EXPECT_TRUE(m_bar.CanScrollUp());
  m_bar.ScrollUp();
  EXPECT_EQ(m_bar.TopIndex(), 0);
  m_bar.ScrollUp();
  EXPECT_EQ(m_bar.TopIndex(), 0);

  // Rows 0..3 reach 41 + 3 * 19 = 98 < 100; row 4 ends at 117 > 100.
  EXPECT_EQ(m_bar.LastIndex(), 4);
  m_bar.PageDown();
  EXPECT_EQ(m_bar.TopIndex(), 4);
  // Back up: rows 3, 2, 1 take 57 pixels, with row 0 they take 98 < 100.
  m_bar.PageUp();
  EXPECT_EQ(m_bar.TopIndex(), 0);

  for (int i = 0; i < 100; ++i) m_bar.PageDown();
  EXPECT_FALSE(m_bar.CanScrollDown());
  EXPECT_LT(m_bar.TopIndex(), static_cast<int>(m_bar.Rows().size()));
  EXPECT_TRUE(m_bar.Wheel(+120));
  m_bar.SetClientSize(300, 100);
  EXPECT_EQ(m_bar.TopIndex(), 0) << "a size change scrolls back to the top";
  EXPECT_EQ(m_bar.Rows()[0].Rect.Right, 292);
  EXPECT_FALSE(m_bar.Wheel(+120)) << "at the top the default wheel handling applies";
  EXPECT_TRUE(m_bar.Wheel(-1));
  EXPECT_EQ(m_bar.TopIndex(), 1);
}

TEST_F(SideBar, PageUpStepsOneRowWhenThatRowIsTallerThanTheControl) {
  Fill(3, 0);  // headers of 40 pixels
  m_bar.SetClientSize(200, 30);
  m_bar.PageDown();
  EXPECT_EQ(m_bar.TopIndex(), 1) << "never stuck on a row taller than the control";
  m_bar.PageDown();
  EXPECT_EQ(m_bar.TopIndex(), 2);
  m_bar.PageUp();
  EXPECT_EQ(m_bar.TopIndex(), 1);
}

TEST_F(SideBar, SettingTheSelectionExpandsRedrawsAndRaisesNothing) {
  Fill(3, 2, false);
  m_bar.SetItemIndex(1);
  EXPECT_TRUE(m_bar.Items()[1].Expanded());
  EXPECT_EQ(m_bar.SelectedItemRow(), 1);
  EXPECT_GE(m_view.All, 1);
  m_bar.SetSubItemIndex(1);
  EXPECT_EQ(m_bar.SelectedSubItemRow(), 3);
  m_view.Reset();
  m_bar.SetSubItemIndex(0);
  EXPECT_EQ(m_view.Rows, (std::vector<int>{3, 2}));
  m_view.Reset();
  m_bar.SetItemIndex(1);
  EXPECT_EQ(m_bar.SubItemIndex(), 0) << "setting the same section again does nothing";
  EXPECT_TRUE(m_view.Rows.empty());
  m_bar.SetItemIndex(-1);
  EXPECT_EQ(m_view.Rows, (std::vector<int>{1, 2}));
  m_bar.SetSubItemIndex(0);
  EXPECT_EQ(m_bar.SubItemIndex(), -1) << "ignored while no section is selected";
  EXPECT_TRUE(Selects.empty());
}

TEST_F(SideBar, EndUpdateClearsSelectionAndHover) {
  Fill(2, 2);
  m_bar.SetItemIndex(0);
  m_bar.SetSubItemIndex(1);
  m_bar.MouseMove(20, 45);
  m_bar.BeginUpdate();
  m_bar.EndUpdate();
  EXPECT_EQ(m_bar.ItemIndex(), -1);
  EXPECT_EQ(m_bar.SubItemIndex(), -1);
  EXPECT_EQ(m_bar.SelectedItemRow(), -1);
  EXPECT_EQ(m_bar.HoverRow(), -1);
}

TEST_F(SideBar, HidingTheSelectedSectionClearsTheSelection) {
  Fill(3, 1);
  m_bar.SetItemIndex(1);
  m_bar.SetSubItemIndex(0);
  m_bar.Items()[2].SetVisible(false);
  EXPECT_EQ(m_bar.ItemIndex(), 1);
  m_bar.Items()[1].SetVisible(false);
  EXPECT_EQ(m_bar.ItemIndex(), -1);
  EXPECT_EQ(m_bar.SubItemIndex(), -1);
}

TEST_F(SideBar, ClearingSectionsKeepsTheIndexesButNoRowMarkers) {
  Fill(2, 2);
  m_bar.SetItemIndex(1);
  m_bar.SetSubItemIndex(1);
  m_bar.Items().Clear();
  EXPECT_EQ(m_bar.ItemIndex(), 1);
  EXPECT_EQ(m_bar.SubItemIndex(), 1);
  EXPECT_EQ(m_bar.SelectedItemRow(), -1);
  EXPECT_EQ(m_bar.SelectedSubItemRow(), -1);
}

TEST_F(SideBar, KeepsEveryRowNumberWithinTheRowsWhenRowsDisappear) {
  Fill(4, 10);
  m_bar.SetClientSize(200, 100);
  for (int i = 0; i < 30; ++i) m_bar.ScrollDown();
  m_bar.SetItemIndex(3);
  m_bar.SetSubItemIndex(9);
  m_bar.MouseMove(20, 50);
  for (int i = 0; i < 4; ++i) m_bar.Items()[i].SetExpanded(false);
  int count = static_cast<int>(m_bar.Rows().size());
  EXPECT_EQ(count, 4);
  EXPECT_LT(m_bar.TopIndex(), count);
  EXPECT_LT(m_bar.HoverRow(), count);
  EXPECT_EQ(m_bar.SelectedItemRow(), 3);
  EXPECT_EQ(m_bar.SelectedSubItemRow(), -1);
}

TEST_F(SideBar, ClickingSelectsAndRaisesOnSelectOnce) {
  Fill(2, 2);
  m_bar.SetAlwaysExpand(false);
  Click(2);  // S0-1
  EXPECT_EQ(Selects, (std::vector<TEvent>{{0, 1, "S0-1"}}));
  EXPECT_EQ(m_bar.SelectedItemRow(), 0);
  EXPECT_EQ(m_bar.SelectedSubItemRow(), 2);
  Click(2);
  EXPECT_EQ(Selects.size(), 1u) << "clicking the selected item again raises nothing";
  m_view.Reset();
  Click(1);
  EXPECT_EQ(Selects.back(), (TEvent{0, 0, "S0-0"}));
  EXPECT_EQ(m_view.Rows, (std::vector<int>{2, 1}));
  Click(0);  // the header of the selected section collapses it
  EXPECT_EQ(Selects.back(), (TEvent{0, -1, "S0"}));
  EXPECT_FALSE(m_bar.Items()[0].Expanded());
  EXPECT_EQ(m_bar.Rows().size(), 4u);
  Click(0);
  EXPECT_TRUE(m_bar.Items()[0].Expanded());
  EXPECT_EQ(Selects.size(), 4u);
}

TEST_F(SideBar, ClickingACollapsedHeaderOfAnotherSectionExpandsOnlyIt) {
  Fill(3, 2, false);
  m_bar.SetAlwaysExpand(false);
  Click(1);
  EXPECT_EQ(Selects.back(), (TEvent{1, -1, "S1"}));
  EXPECT_TRUE(m_bar.Items()[1].Expanded());
  EXPECT_FALSE(m_bar.Items()[0].Expanded());
  EXPECT_FALSE(m_bar.Items()[2].Expanded());
  EXPECT_EQ(m_bar.SelectedItemRow(), 1);
  EXPECT_EQ(m_bar.Rows().size(), 5u);
}

TEST_F(SideBar, AlwaysExpandMakesHeadersInertToThePointer) {
  Fill(2, 2);
  Click(0);
  m_bar.MouseMove(20, 5);
  EXPECT_TRUE(Selects.empty());
  EXPECT_TRUE(Hovers.empty());
  EXPECT_EQ(m_bar.HoverRow(), -1);
  EXPECT_TRUE(m_bar.Items()[0].Expanded());
  EXPECT_TRUE(m_bar.KeyDown(TSideBarKey::Down));
  EXPECT_EQ(m_bar.HoverRow(), 0) << "headers still take the keyboard cursor";
  EXPECT_TRUE(m_bar.KeyDown(TSideBarKey::Enter));
  EXPECT_TRUE(Selects.empty()) << "Enter on a header does nothing";
}

TEST_F(SideBar, HoverRedrawsOnlyTheRowsItLeavesAndEnters) {
  Fill(2, 2);
  m_bar.MouseMove(20, 45);
  EXPECT_EQ(m_view.Rows, (std::vector<int>{1}));
  EXPECT_EQ(Hovers, (std::vector<TEvent>{{0, 0, "S0-0"}}));
  m_view.Reset();
  m_bar.MouseMove(20, 62);
  EXPECT_EQ(m_view.Rows, (std::vector<int>{1, 2}));
  m_view.Reset();
  m_bar.MouseMove(20, 63);
  EXPECT_TRUE(m_view.Rows.empty());
  m_bar.MouseMove(20, 900);
  EXPECT_EQ(Hovers.size(), 2u) << "empty space raises nothing";
  m_bar.MouseLeave();
  m_bar.MouseLeave();
  EXPECT_EQ(Hovers.back(), (TEvent{-1, -1, ""}));
  EXPECT_EQ(Hovers.size(), 4u) << "leaving always raises OnHover";
}

TEST_F(SideBar, ScrollButtonsTakeTheHoverWithoutEvents) {
  Fill(5, 5);
  m_bar.SetClientSize(200, 100);
  m_view.Reset();
  const TRect& down = m_bar.DownRect();
  m_bar.MouseMove(down.Left + 2, down.Top + 2);
  EXPECT_EQ(m_bar.HoverRow(), DownScrollerCode);
  EXPECT_EQ(m_view.Rows, (std::vector<int>{DownScrollerCode}));
  EXPECT_TRUE(Hovers.empty());
  m_bar.MouseDown(down.Left + 2, down.Top + 2);
  EXPECT_EQ(m_bar.TopIndex(), 1);
  EXPECT_TRUE(Selects.empty());
}

TEST_F(SideBar, ArrowKeysMoveTheKeyboardCursorAndEnterClicks) {
  Fill(2, 2);
  m_bar.SetAlwaysExpand(false);
  m_bar.KeyDown(TSideBarKey::Down);
  EXPECT_EQ(m_bar.HoverRow(), m_bar.TopIndex());
  m_bar.KeyDown(TSideBarKey::Down);
  m_bar.KeyDown(TSideBarKey::Down);
  EXPECT_EQ(m_bar.HoverRow(), 2);
  EXPECT_TRUE(m_bar.KeyDown(TSideBarKey::Enter));
  EXPECT_EQ(Selects.back(), (TEvent{0, 1, "S0-1"}));
  for (int i = 0; i < 10; ++i) m_bar.KeyDown(TSideBarKey::Down);
  EXPECT_EQ(m_bar.HoverRow(), 5);
  EXPECT_FALSE(m_bar.KeyDown(TSideBarKey::Down)) << "at the last row nothing is done";
  m_bar.KeyDown(TSideBarKey::Up);
  EXPECT_EQ(m_bar.HoverRow(), 4);
  EXPECT_TRUE(m_bar.KeyDown(TSideBarKey::Left));
  EXPECT_TRUE(Hovers.empty()) << "keys raise no OnHover";
}

TEST_F(SideBar, FindsRowsByBinarySearchInAHundredThousandRows) {
  m_bar.BeginUpdate();
  for (int s = 0; s < 1000; ++s) {
    TSideBarItem& section = m_bar.Items().Add();
    section.SetCaption("S");
    for (int k = 0; k < 99; ++k) section.Items().Add("item");
  }
  m_bar.EndUpdate();
  ASSERT_EQ(m_bar.Rows().size(), 100000u);
  m_bar.SetClientSize(200, 700);
  for (int i = 0; i < 5000; ++i) m_bar.ScrollDown();
  for (int y = -5; y < 700; y += 7) {
    int expected = -1;
    for (std::size_t r = 0; r < m_bar.Rows().size(); ++r) {
      if (m_bar.Rows()[r].Rect.Contains(50, y + m_bar.ScrollOffset())) {
        expected = static_cast<int>(r);
        break;
      }
    }
    ASSERT_EQ(m_bar.RowAt(50, y), expected) << y;
  }
  EXPECT_EQ(m_bar.TopIndex(), 5000);
  EXPECT_GT(m_bar.LastIndex(), 5000);
  EXPECT_LT(m_bar.LastIndex(), 5040);
}

TEST_F(SideBar, TypingFindsTheNextRowByTheStartOfItsCaptionWithinASecond) {
  m_bar.BeginUpdate();
  TSideBarItem& section = m_bar.Items().Add();
  section.SetCaption("Movies");
  for (const char* title : {"Alien", "Brazil", "Blade Runner", "Casablanca", "alphaville"}) section.Items().Add(title);
  m_bar.EndUpdate();
  // Rows: 0 the section, 1 Alien, 2 Brazil, 3 Blade Runner, 4 Casablanca, 5 alphaville.
  EXPECT_TRUE(m_bar.TypeAhead('b', 0));
  EXPECT_EQ(m_bar.HoverRow(), 2);
  // Typed soon after: one prefix, still on a row that fits.
  EXPECT_TRUE(m_bar.TypeAhead('l', 500));
  EXPECT_EQ(m_bar.HoverRow(), 3);
  EXPECT_EQ(m_bar.TypedPrefix(), "bl");
  // A second later the prefix starts anew, from the next row, wrapping round
  // and ignoring the letter case.
  EXPECT_TRUE(m_bar.TypeAhead('A', 1600));
  EXPECT_EQ(m_bar.TypedPrefix(), "A");
  EXPECT_EQ(m_bar.HoverRow(), 5);
  EXPECT_TRUE(m_bar.TypeAhead('a', 3000));
  EXPECT_EQ(m_bar.HoverRow(), 1);
  // Nothing fits: the cursor stays.
  EXPECT_FALSE(m_bar.TypeAhead('z', 5000));
  EXPECT_EQ(m_bar.HoverRow(), 1);
  EXPECT_TRUE(Selects.empty());
}

TEST_F(SideBar, HomeAndEndMoveTheKeyboardCursorAndScrollToIt) {
  m_bar.SetClientSize(200, 100);
  Fill(5, 10);
  m_bar.KeyDown(TSideBarKey::End);
  const int last = static_cast<int>(m_bar.Rows().size()) - 1;
  EXPECT_EQ(m_bar.HoverRow(), last);
  EXPECT_GE(last, m_bar.TopIndex());
  EXPECT_LE(last, m_bar.LastIndex());
  m_bar.KeyDown(TSideBarKey::Home);
  EXPECT_EQ(m_bar.HoverRow(), 0);
  EXPECT_EQ(m_bar.TopIndex(), 0);
  // Enter clicks the row the cursor is on.
  m_bar.KeyDown(TSideBarKey::End);
  m_bar.KeyDown(TSideBarKey::Enter);
  ASSERT_EQ(Selects.size(), 1u);
  EXPECT_EQ(Selects[0].SubIndex, 9);
}
