#include "viewer/Glyphs.h"

#include <gtest/gtest.h>

// The window's own pictures are drawn at the screen's density and keep
// their layout size.
TEST(Glyphs, AreDrawnAtTheScreensDensityAndKeepTheirLayoutSize) {
  for (double ratio : {1.0, 1.5, 2.0}) {
    const QImage glyph = OpenGlyph(Qt::black, ratio);
    EXPECT_EQ(glyph.size(), QSize(static_cast<int>(16 * ratio), static_cast<int>(16 * ratio))) << ratio;
    EXPECT_EQ(glyph.deviceIndependentSize().toSize(), QSize(16, 16)) << ratio;
    EXPECT_EQ(CategoryArrow(Qt::black, Qt::white, ratio).deviceIndependentSize().toSize(), QSize(9, 9)) << ratio;
    EXPECT_EQ(SearchPicture(Qt::black, Qt::white, 22, ratio).deviceIndependentSize().toSize(), QSize(22, 22)) << ratio;
  }
  // A ratio of 1.5 on 9 pixels rounds to 14 device pixels, still 9 in the layout.
  EXPECT_EQ(CategoryArrow(Qt::black, Qt::white, 1.5).width(), 14);
  // Nonsense ratios fall back to plain pixels rather than a huge picture.
  EXPECT_EQ(PlayGlyph(Qt::black, 0.0).size(), QSize(16, 16));
  EXPECT_EQ(PlayGlyph(Qt::black, 1e9).size(), QSize(128, 128));
}

TEST(Glyphs, CategoryArrowAtPlainDensityIsTheFivePixelTriangle) {
  const QImage arrow = CategoryArrow(Qt::black, Qt::white, 1.0);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) {
      const int row = y - 2;
      const bool inside = row >= 0 && row < 5 && x >= row && x < 9 - row;
      EXPECT_EQ(arrow.pixelColor(x, y), inside ? QColor(Qt::black) : QColor(Qt::white)) << x << "," << y;
    }
  }
}
