// Every owner-drawn widget painted at the pixel ratios of common screens:
// its geometry stays in layout pixels, and pictures made at the physical
// size reach the screen pixel for pixel.

#include "WidgetTestUtil.h"

#include "tests/support/TestPictures.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double kRatios[] = {1.0, 1.5, 2.0};

// The widget as a screen of `ratio` device pixels per layout pixel shows it.
QImage PaintAt(QWidget& widget, double ratio) {
  QImage image(static_cast<int>(std::ceil(widget.width() * ratio)), static_cast<int>(std::ceil(widget.height() * ratio)),
               QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::magenta);
  widget.render(&image);
  return image;
}

// The device pixel at the middle of layout pixel (x, y).
TColor LayoutPixel(const QImage& image, int x, int y) {
  const double ratio = image.devicePixelRatio();
  return PixelColor(image, static_cast<int>((x + 0.5) * ratio), static_cast<int>((y + 0.5) * ratio));
}

// Paints at every ratio and expects each layout pixel of `points` in the
// colour it has at ratio 1.
void ExpectSameLayoutAtEveryRatio(QWidget& widget, const std::vector<QPoint>& points) {
  const QImage plain = PaintAt(widget, 1.0);
  for (double ratio : kRatios) {
    const QImage dense = PaintAt(widget, ratio);
    ASSERT_EQ(dense.deviceIndependentSize().toSize(), widget.size()) << ratio;
    for (const QPoint& p : points) {
      EXPECT_EQ(LayoutPixel(dense, p.x(), p.y()), PixelColor(plain, p.x(), p.y()))
          << "ratio " << ratio << " at " << p.x() << "," << p.y();
    }
  }
}

// A picture of alternating one-pixel columns, made `ratio` times larger
// than `size` layout pixels and carrying that ratio.
QImage Stripes(int size, double ratio) {
  const int side = static_cast<int>(std::lround(size * ratio));
  QImage image(side, side, QImage::Format_RGB32);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) image.setPixelColor(x, y, x % 2 == 0 ? QColor(0, 0, 255) : QColor(255, 255, 0));
  }
  image.setDevicePixelRatio(ratio);
  return image;
}

// True when the device pixels from (left, top) show `picture` exactly.
bool ShowsExactly(const QImage& screen, int left, int top, const QImage& picture) {
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (screen.pixel(left + x, top + y) != picture.pixel(x, y)) return false;
    }
  }
  return true;
}

}  // namespace

TEST(PixelRatio, SideBarRowsKeepTheirLayoutPixels) {
  TSideBar bar;
  bar.resize(200, 300);
  bar.SetColor(RgbColor(10, 20, 30));
  TSideBarModel& m = bar.Model();
  m.ItemStyle.NormalColor = RgbColor(40, 50, 60);
  m.ItemStyle.LineColor = RgbColor(250, 0, 0);
  m.SubItemStyle.NormalColor = RgbColor(70, 80, 90);
  m.SubItemStyle.LineColor = RgbColor(0, 250, 0);
  m.Bullets.NormalColor = m.Bullets.NormalPenColor = RgbColor(0, 0, 250);
  m.Bullets.Kind = TSideBarBullet::sbRectangle;
  bar.BeginUpdate();
  TSideBarItem& section = bar.Items().Add();
  section.SetCaption("Section");
  for (int i = 0; i < 20; ++i) section.Items().Add("Item " + std::to_string(i));
  bar.EndUpdate();
  bar.show();
  // Margin, header, header line, item, item line, bullet, scroller.
  ExpectSameLayoutAtEveryRatio(bar, {{3, 100}, {20, 5}, {20, 12}, {100, 39}, {20, 44}, {100, 59}, {28, 49},
                                     {12, 45}, {100, 290}});
}

TEST(PixelRatio, StripTilesStayInLayoutPixelsAndDensePicturesArriveWhole) {
  TCoverStrip gallery;
  gallery.resize(300, 130);
  gallery.SetColor(RgbColor(128, 128, 128));
  // The first tile is 60 % of the strip's height, 78 pixels; its picture
  // fills it inside a one-pixel border: 76 layout pixels, 152 at ratio 2.
  TBitmap dense(152, 152);
  for (int y = 0; y < dense.Height; ++y) {
    for (int x = 0; x < dense.Width; ++x) {
      std::uint8_t* p = dense.Pixel(x, y);
      const bool even = x % 2 == 0;
      p[0] = even ? 0 : 255, p[1] = even ? 0 : 255, p[2] = even ? 255 : 0, p[3] = 255;
    }
  }
  gallery.Items().Add(1, "dense", dense);
  gallery.Items().Add(2, "plain", SolidBitmap(100, 50, 0, 255, 0));
  gallery.show();
  const TRect first = gallery.Model().Items()[0].Rect;
  EXPECT_EQ(first.Right - first.Left, 78);
  EXPECT_EQ(first.Bottom - first.Top, 78);
  ExpectSameLayoutAtEveryRatio(gallery, {{0, 40}, {77, 40}, {40, 100}, {120, 50}, {290, 50}});

  const QImage screen = PaintAt(gallery, 2.0);
  EXPECT_TRUE(ShowsExactly(screen, 2, 2, Stripes(76, 2.0))) << "every column of the dense picture is kept";
}

TEST(PixelRatio, CaptionButtonDrawsADenseGlyphPixelForPixel) {
  TCaptionButton button(nullptr, "Open");
  button.resize(73, 25);
  button.SetColor(RgbColor(128, 128, 128));
  button.SetColorBorder(RgbColor(0, 0, 0));
  button.SetShowCaption(false);
  for (double ratio : kRatios) {
    // The glyph's corner colour is left out: a corner of its own keeps
    // the stripes.
    QImage glyph = Stripes(16, ratio);
    glyph.setPixelColor(0, 0, QColor(128, 128, 128));
    button.SetGlyph(glyph);
    // Placed by its 16 layout pixels: (73 / 2 - 8, 25 / 2 - 8) = (28, 4).
    const QImage screen = PaintAt(button, ratio);
    EXPECT_EQ(LayoutPixel(screen, 27, 10), RgbColor(128, 128, 128)) << ratio;
    EXPECT_EQ(LayoutPixel(screen, 44, 10), RgbColor(128, 128, 128)) << ratio;
    EXPECT_EQ(LayoutPixel(screen, 0, 10), RgbColor(0, 0, 0)) << ratio;
    EXPECT_EQ(LayoutPixel(screen, 72, 10), RgbColor(0, 0, 0)) << ratio;
    if (ratio == 2.0) {
      EXPECT_TRUE(ShowsExactly(screen, 56, 8, glyph));
    }
  }
}

TEST(PixelRatio, PictureButtonTakesTheLayoutSizeOfADensePicture) {
  TImageButton button;
  const QImage picture = Stripes(20, 2.0);
  button.SetBitmap(picture);
  EXPECT_EQ(button.size(), QSize(20, 20));
  EXPECT_TRUE(ShowsExactly(PaintAt(button, 2.0), 0, 0, picture));
  button.SetBitmap(Stripes(20, 1.5));
  EXPECT_EQ(button.size(), QSize(20, 20));
  button.SetBitmap(Stripes(9, 1.0));
  EXPECT_EQ(button.size(), QSize(9, 9));
}
