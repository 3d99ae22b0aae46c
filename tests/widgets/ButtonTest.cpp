#include "WidgetTestUtil.h"

#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr TColor kLight = RgbColor(0xF8, 0xF4, 0xED);
constexpr TColor kDark = RgbColor(0x4F, 0x4F, 0x4F);

QImage Look(TCaptionButton& button, TButtonLook look) {
  QImage image(button.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter canvas(&image);
  button.DrawLook(canvas, look);
  return image;
}

QImage Solid(int size, QColor color) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

void Enter(QWidget& widget) {
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), widget.mapToGlobal(QPointF(2, 2)));
  QApplication::sendEvent(&widget, &enter);
}

void Leave(QWidget& widget) {
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&widget, &leave);
}

class EncartaButton : public ::testing::Test {
 protected:
  void SetUp() override {
    m_button.resize(73, 25);
    m_button.SetColor(RgbColor(128, 128, 128));
    m_button.SetColorBorder(RgbColor(192, 192, 192));
    m_button.ColorOver = m_button.ColorDown = RgbColor(170, 170, 170);
    m_button.SetShowCaption(false);
  }
  TCaptionButton m_button;
};

}  // namespace

TEST_F(EncartaButton, DrawsTheFrameAndTheRaisedAndSunkenEdges) {
  QImage normal = Look(m_button, TButtonLook::Normal);
  EXPECT_EQ(PixelColor(normal, 0, 0), RgbColor(192, 192, 192));
  EXPECT_EQ(PixelColor(normal, 72, 24), RgbColor(192, 192, 192));
  EXPECT_EQ(PixelColor(normal, 36, 12), RgbColor(128, 128, 128));

  QImage hover = Look(m_button, TButtonLook::Hover);
  EXPECT_EQ(PixelColor(hover, 36, 12), RgbColor(170, 170, 170));
  EXPECT_EQ(PixelColor(hover, 0, 0), kLight);
  EXPECT_EQ(PixelColor(hover, 0, 23), kLight) << "left edge from H - 2 up";
  EXPECT_EQ(PixelColor(hover, 0, 24), kDark) << "the bottom edge runs under the left one";
  EXPECT_EQ(PixelColor(hover, 71, 0), kLight);
  EXPECT_EQ(PixelColor(hover, 72, 0), kDark) << "right edge";
  EXPECT_EQ(PixelColor(hover, 72, 24), kDark);
  EXPECT_EQ(PixelColor(hover, 1, 24), kDark) << "bottom edge";

  QImage pressed = Look(m_button, TButtonLook::Pressed);
  EXPECT_EQ(PixelColor(pressed, 0, 0), kDark);
  EXPECT_EQ(PixelColor(pressed, 72, 5), kLight);
  EXPECT_EQ(PixelColor(pressed, 30, 24), kLight);
}

TEST_F(EncartaButton, CentresAGlyphAndLeavesItsCornerColourOut) {
  QImage glyph = Solid(16, QColor(255, 0, 255));
  glyph.setPixelColor(8, 8, QColor(0, 0, 255));
  m_button.SetGlyph(glyph);
  QImage image = Look(m_button, TButtonLook::Normal);
  // Glyph at (73 / 2 - 8, 25 / 2 - 8) = (28, 4).
  EXPECT_EQ(PixelColor(image, 28 + 8, 4 + 8), RgbColor(0, 0, 255));
  EXPECT_EQ(PixelColor(image, 28, 4), RgbColor(128, 128, 128)) << "the corner colour is transparent";
}

TEST_F(EncartaButton, ShowsHoverPressedNormalAndHoverAroundAClick) {
  m_button.show();
  std::vector<TButtonLook> looks;
  m_button.OnMouseDown = [&](QWidget&, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    looks.push_back(m_button.LastLook());
  };
  m_button.OnClick = [&](QWidget&) { looks.push_back(m_button.LastLook()); };
  Enter(m_button);
  EXPECT_EQ(m_button.LastLook(), TButtonLook::Hover);
  QTest::mousePress(&m_button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(m_button.LastLook(), TButtonLook::Pressed);
  QTest::mouseRelease(&m_button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(looks, (std::vector<TButtonLook>{TButtonLook::Hover, TButtonLook::Normal}));
  EXPECT_EQ(m_button.LastLook(), TButtonLook::Hover);
}

TEST_F(EncartaButton, ReleasingOutsideRaisesMouseUpButNoClick) {
  m_button.show();
  int ups = 0, clicks = 0;
  m_button.OnMouseUp = [&](QWidget&, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++ups; };
  m_button.OnClick = [&](QWidget&) { ++clicks; };
  QTest::mousePress(&m_button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QTest::mouseRelease(&m_button, Qt::LeftButton, Qt::NoModifier, QPoint(200, 10));
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(m_button.LastLook(), TButtonLook::Pressed) << "nothing is drawn until the pointer leaves";
  Leave(m_button);
  EXPECT_EQ(m_button.LastLook(), TButtonLook::Normal);
}

TEST_F(EncartaButton, DisabledButtonsRaiseNothingButStillTurnNormalOnLeave) {
  m_button.show();
  m_button.SetEnabled(false);
  int events = 0;
  m_button.OnMouseDown = [&](QWidget&, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++events; };
  m_button.OnClick = [&](QWidget&) { ++events; };
  Enter(m_button);
  EXPECT_EQ(m_button.LastLook(), TButtonLook::Normal);
  QTest::mouseClick(&m_button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(events, 0);
  Leave(m_button);
  EXPECT_EQ(m_button.LastLook(), TButtonLook::Normal);
}

TEST(ImageButton, ShowsThePictureOfEachStateAndTakesItsSize) {
  TImageButton button;
  button.SetBitmap(Solid(9, Qt::white));
  button.SetBitmapOver(Solid(9, Qt::yellow));
  button.SetBitmapUp(Solid(9, Qt::green));
  EXPECT_EQ(button.size(), QSize(9, 9));
  button.show();
  int clicks = 0;
  button.OnClick = [&](QWidget&) { ++clicks; };
  Enter(button);
  EXPECT_EQ(button.CurrentBitmap().pixelColor(0, 0), QColor(Qt::yellow));
  QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
  EXPECT_EQ(button.CurrentBitmap().pixelColor(0, 0), QColor(Qt::yellow)) << "no down picture: the hover one stays";
  QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.Shown().pixelColor(0, 0), QColor(Qt::green)) << "the up picture after a click";
  Leave(button);
  EXPECT_EQ(button.CurrentBitmap().pixelColor(0, 0), QColor(Qt::white));
}
