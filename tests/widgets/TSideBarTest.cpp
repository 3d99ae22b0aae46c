#include "WidgetTestUtil.h"

#include "widgets/TSideBar.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr TColor kBack = RgbColor(10, 20, 30);
constexpr TColor kHeader = RgbColor(40, 50, 60);
constexpr TColor kHeaderLine = RgbColor(250, 0, 0);
constexpr TColor kItem = RgbColor(70, 80, 90);
constexpr TColor kItemLine = RgbColor(0, 250, 0);
constexpr TColor kBullet = RgbColor(0, 0, 250);

// Records which rows a paint draws.
class TRecordingSideBar : public TSideBar {
 public:
  std::vector<int> DrawnTops;

 protected:
  void DrawSubItem(QPainter& canvas, const QRect& rc, const std::string& str, TSideBarStates states) override {
    DrawnTops.push_back(rc.top());
    TSideBar::DrawSubItem(canvas, rc, str, states);
  }
};

class SideBarWidget : public ::testing::Test {
 protected:
  void SetUp() override {
    m_bar.resize(200, 300);
    m_bar.SetColor(kBack);
    TSideBarModel& m = m_bar.Model();
    m.ItemStyle.NormalColor = kHeader;
    m.ItemStyle.LineColor = kHeaderLine;
    m.SubItemStyle.NormalColor = kItem;
    m.SubItemStyle.LineColor = kItemLine;
    m.Bullets.NormalColor = m.Bullets.NormalPenColor = kBullet;
    m.Bullets.Kind = TSideBarBullet::sbRectangle;
    m.SetAlwaysExpand(false);
    m_bar.BeginUpdate();
    for (int s = 0; s < 3; ++s) {
      TSideBarItem& section = m_bar.Items().Add();
      section.SetCaption("Section " + std::to_string(s));
      for (int i = 0; i < 5; ++i) section.Items().Add("Item " + std::to_string(i));
    }
    m_bar.EndUpdate();
    m_bar.show();  // delivers the size to the model
    m_bar.OnSelect = [this](TSideBar&, int index, int subIndex, const std::string&) {
      Selects.push_back({index, subIndex});
    };
    m_bar.OnHover = [this](TSideBar&, int index, int subIndex, const std::string& caption) {
      Hovers.push_back(std::to_string(index) + "/" + std::to_string(subIndex) + "/" + caption);
    };
  }
  TRecordingSideBar m_bar;
  std::vector<std::pair<int, int>> Selects;
  std::vector<std::string> Hovers;
};

}  // namespace

TEST_F(SideBarWidget, PaintsTheSeparatorBandHeaderLinesAndBullet) {
  QImage image = Paint(m_bar);
  EXPECT_EQ(PixelColor(image, 3, 100), kBack) << "margin band";
  EXPECT_EQ(PixelColor(image, 20, 5), kBack) << "separator band at the top of the header";
  EXPECT_EQ(PixelColor(image, 20, 12), kHeader) << "header body";
  EXPECT_EQ(PixelColor(image, 100, 39), kHeaderLine) << "line at bottom - 1";
  EXPECT_EQ(PixelColor(image, 100, 40), kHeaderLine) << "line in the gap below";
  EXPECT_EQ(PixelColor(image, 8, 39), kHeaderLine);
  EXPECT_EQ(PixelColor(image, 191, 40), kHeaderLine);
  // First item row 41..58: indent band 8..17, text area 18..191, line at 59.
  EXPECT_EQ(PixelColor(image, 12, 45), kBack) << "indent band";
  EXPECT_EQ(PixelColor(image, 12, 59), kBack) << "the band covers the gap row";
  EXPECT_EQ(PixelColor(image, 20, 44), kItem);
  EXPECT_EQ(PixelColor(image, 100, 59), kItemLine);
  // Bullet box: x from 18 + 8 = 26, y = 41 + (18 - 5) / 2 = 47, 5 x 5.
  EXPECT_EQ(PixelColor(image, 26, 47), kBullet);
  EXPECT_EQ(PixelColor(image, 30, 51), kBullet);
  EXPECT_EQ(PixelColor(image, 31, 49), kItem);
  EXPECT_EQ(PixelColor(image, 25, 49), kItem);
}

TEST_F(SideBarWidget, PaintsTheElevenPixelScrollerWithItsTriangle) {
  m_bar.Model().Scrollers.NormalColor = RgbColor(1, 2, 3);
  m_bar.Model().Scrollers.NormalArrowColor = RgbColor(200, 201, 202);
  ASSERT_TRUE(m_bar.Model().CanScrollDown());
  TRect down = m_bar.Model().DownRect();
  EXPECT_EQ(down.Width(), 11);
  EXPECT_EQ(down.Height(), 11);
  QImage image = Paint(m_bar);
  EXPECT_EQ(PixelColor(image, down.Left + 1, down.Top + 8), RgbColor(1, 2, 3));
  EXPECT_EQ(PixelColor(image, down.Left + 5, down.Top + 5), RgbColor(200, 201, 202)) << "inside the arrow";
  EXPECT_EQ(PixelColor(image, down.Left + 4, down.Top + 4), RgbColor(200, 201, 202)) << "the arrow's top edge";
  EXPECT_NE(PixelColor(image, down.Left + 5, down.Top + 8), RgbColor(200, 201, 202)) << "below the tip";
  EXPECT_FALSE(m_bar.Model().CanScrollUp());
  EXPECT_NE(PixelColor(image, m_bar.Model().UpRect().Left + 5, 15), RgbColor(1, 2, 3)) << "no up button at the top";
}

TEST_F(SideBarWidget, ClicksWithAnyButtonSelectAndFocus) {
  m_bar.show();
  QTest::mouseClick(&m_bar, Qt::RightButton, Qt::NoModifier, QPoint(50, 64));
  ASSERT_EQ(Selects.size(), 1u);
  EXPECT_EQ(Selects[0], (std::pair<int, int>{0, 1}));
  EXPECT_EQ(m_bar.window()->focusWidget(), &m_bar);
  QTest::mouseClick(&m_bar, Qt::LeftButton, Qt::NoModifier, QPoint(50, 64));
  EXPECT_EQ(Selects.size(), 1u) << "the selected item again raises nothing";
  QTest::keyClick(&m_bar, Qt::Key_Down);
  QTest::keyClick(&m_bar, Qt::Key_Return);
  EXPECT_EQ(Selects.size(), 2u);
}

TEST_F(SideBarWidget, RepaintsOnlyTheRowsTheHoverLeavesAndEnters) {
  m_bar.show();
  QApplication::processEvents();
  QTest::mouseMove(&m_bar, QPoint(50, 45));
  QApplication::processEvents();
  m_bar.DrawnTops.clear();
  QTest::mouseMove(&m_bar, QPoint(50, 64));
  QApplication::processEvents();
  std::sort(m_bar.DrawnTops.begin(), m_bar.DrawnTops.end());
  EXPECT_EQ(m_bar.DrawnTops, (std::vector<int>{41, 60}));
  ASSERT_FALSE(Hovers.empty());
  EXPECT_EQ(Hovers.back(), "0/1/Item 1");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&m_bar, &leave);
  EXPECT_EQ(Hovers.back(), "-1/-1/");
}

TEST_F(SideBarWidget, WheelScrollsOneRowPerNotch) {
  m_bar.show();
  QPoint at(50, 50);
  QWheelEvent down(at, m_bar.mapToGlobal(at), QPoint(), QPoint(0, -360), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(&m_bar, &down);
  EXPECT_EQ(m_bar.Model().TopIndex(), 1);
  QWheelEvent up(at, m_bar.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                 Qt::NoScrollPhase, false);
  QApplication::sendEvent(&m_bar, &up);
  QApplication::sendEvent(&m_bar, &up);
  EXPECT_EQ(m_bar.Model().TopIndex(), 0);
  EXPECT_FALSE(up.isAccepted()) << "at the top the wheel goes on to the default handling";
}

TEST_F(SideBarWidget, DrawsHoveredSelectedHeadersInTheSelectedColour) {
  TSideBarModel& m = m_bar.Model();
  m.ItemStyle.SelectedColor = RgbColor(1, 1, 1);
  m.ItemStyle.HoverColor = RgbColor(2, 2, 2);
  m.SubItemStyle.HoverColor = RgbColor(3, 3, 3);
  m.Bullets.HoverColor = m.Bullets.HoverPenColor = RgbColor(4, 4, 4);
  m.SetItemIndex(0);
  m.MouseMove(50, 20);  // the selected header
  EXPECT_EQ(PixelColor(Paint(m_bar), 20, 12), RgbColor(1, 1, 1));
  m.MouseMove(50, 64);  // an item: hover colours, and the hover bullet
  QImage image = Paint(m_bar);
  EXPECT_EQ(PixelColor(image, 20, 62), RgbColor(3, 3, 3));
  EXPECT_EQ(PixelColor(image, 28, 68), RgbColor(4, 4, 4));
  m.MouseMove(50, 140);  // another section's header
  EXPECT_EQ(PixelColor(Paint(m_bar), 20, 148), RgbColor(2, 2, 2));
}

TEST_F(SideBarWidget, CustomDrawEventsReplaceTheOwnDrawing) {
  int headers = 0, items = 0, nonItems = 0;
  m_bar.OnCustomDrawItem = [&](TSideBar&, QPainter& canvas, QRect& rc, const std::string&, TSideBarStates) {
    ++headers;
    canvas.fillRect(rc, QColor(9, 9, 9));
  };
  m_bar.OnCustomDrawSubItem = [&](TSideBar&, QPainter&, QRect&, const std::string&, TSideBarStates) { ++items; };
  m_bar.OnCustomDrawNonItem = [&](TSideBar&, QPainter&, QRect&) { ++nonItems; };
  QImage image = Paint(m_bar);
  EXPECT_EQ(PixelColor(image, 20, 5), RgbColor(9, 9, 9)) << "no separator band of our own";
  EXPECT_GT(headers, 0);
  EXPECT_GT(items, 0);
  EXPECT_EQ(nonItems, 0) << "the rows fill the control";
}
