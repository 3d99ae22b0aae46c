#include "WidgetTestUtil.h"

#include "tests/support/TestPictures.h"
#include "widgets/TCoverStrip.h"

#include <QTest>
#include <gtest/gtest.h>

TEST(GalleryWidget, PaintsTilesTheBackgroundAndTheOnePixelHoverFrame) {
  TCoverStrip gallery;
  gallery.resize(400, 100);
  gallery.SetColor(RgbColor(128, 128, 128));
  gallery.Items().Add(1, "one", SolidBitmap(60, 60, 0, 0, 255));
  gallery.Items().Add(2, "two", SolidBitmap(85, 85, 0, 255, 0));
  QImage image = Paint(gallery);
  EXPECT_EQ(PixelColor(image, 30, 30), RgbColor(0, 0, 255));
  EXPECT_EQ(PixelColor(image, 30, 59), RgbColor(128, 128, 128)) << "the tile's border in the background colour";
  EXPECT_EQ(PixelColor(image, 30, 70), RgbColor(128, 128, 128)) << "below the short tile";
  EXPECT_EQ(PixelColor(image, 100, 50), RgbColor(0, 255, 0));
  EXPECT_EQ(PixelColor(image, 300, 50), RgbColor(128, 128, 128)) << "right of the last tile";

  gallery.show();
  QTest::mouseMove(&gallery, QPoint(30, 30));
  image = Paint(gallery);
  EXPECT_EQ(PixelColor(image, 30, 0), RgbColor(255, 0, 0)) << "frame on the tile's border";
  EXPECT_EQ(PixelColor(image, 0, 30), RgbColor(255, 0, 0));
  EXPECT_EQ(PixelColor(image, 59, 30), RgbColor(255, 0, 0));
  EXPECT_EQ(PixelColor(image, 30, 1), RgbColor(0, 0, 255)) << "the picture is inset by one pixel";
}

TEST(GalleryWidget, RaisesClickAndDrawsButtonsOverPictures) {
  TCoverStrip gallery;
  gallery.resize(200, 100);
  gallery.Items().BeginUpdate();
  for (int i = 0; i < 10; ++i) gallery.Items().Add(i, "m", SolidBitmap(100, 100, 0, 0, 255));
  gallery.Items().EndUpdate();
  std::vector<int> clicks;
  gallery.OnClick = [&](TCoverStrip&, int index) { clicks.push_back(index); };
  gallery.show();
  QTest::mouseClick(&gallery, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  QTest::mouseClick(&gallery, Qt::RightButton, Qt::NoModifier, QPoint(20, 80));
  EXPECT_EQ(clicks, (std::vector<int>{0, -1}));
  TRect right = gallery.Model().RightRect();
  QImage image = Paint(gallery);
  EXPECT_EQ(PixelColor(image, right.Left + 12, right.Top + 2), RgbColor(0, 0, 0)) << "the button's circle";
  EXPECT_EQ(PixelColor(image, right.Left + 17, right.Top + 12), RgbColor(255, 255, 255)) << "its arrow";
  EXPECT_EQ(PixelColor(image, right.Left, right.Top), RgbColor(0, 0, 255)) << "the picture outside the circle";
  QTest::mouseClick(&gallery, Qt::LeftButton, Qt::NoModifier, QPoint(right.Left + 12, right.Top + 12));
  EXPECT_EQ(gallery.Model().ScrollPos(), 30);
  EXPECT_EQ(clicks.size(), 2u);
}

TEST(GalleryWidget, HoldsOnlyThePicturesAroundTheVisibleOnesConverted) {
  TCoverStrip gallery;
  gallery.resize(400, 100);
  gallery.Items().BeginUpdate();
  for (int i = 0; i < 1000; ++i) gallery.Items().Add(i, "m", SolidBitmap(60, 90, 0, 0, static_cast<std::uint8_t>(i)));
  gallery.Items().EndUpdate();
  // Scroll through the whole strip, painting at every step.
  gallery.show();
  Paint(gallery);
  TRect right = gallery.Model().RightRect();
  for (int step = 0; step < 4000 && gallery.Model().CanScrollRight(); ++step) {
    Paint(gallery);
    QTest::mouseClick(&gallery, Qt::LeftButton, Qt::NoModifier, QPoint(right.Left + 12, right.Top + 12));
  }
  ASSERT_FALSE(gallery.Model().CanScrollRight()) << gallery.Model().ScrollPos() << " of " << gallery.Model().MaxScroll();
  QImage image = Paint(gallery);
  EXPECT_LE(gallery.ConvertedImageCount(), 256);
  EXPECT_GT(gallery.ConvertedImageCount(), 0);
  // The last picture is still drawn in its own colour.
  const TRect& last = gallery.Model().Items()[999].Rect;
  EXPECT_EQ(PixelColor(image, last.Left - gallery.Model().ScrollPos() + 30, 50), RgbColor(0, 0, 999 % 256));
}

TEST(GalleryWidget, ATileWaitingForItsPictureIsAPlainPlaceholderOfItsSize) {
  TCoverStrip gallery;
  gallery.resize(400, 100);
  gallery.SetColor(RgbColor(128, 128, 128));
  gallery.Items().AddSized(1, "one", 60, 60);
  gallery.Items().AddSized(2, "two", 85, 85);
  QImage image = Paint(gallery);
  const TColor placeholder = PixelColor(image, 30, 30);
  EXPECT_NE(placeholder, RgbColor(128, 128, 128));
  EXPECT_EQ(PixelColor(image, 100, 50), placeholder) << "the second tile, laid out by its size";
  EXPECT_EQ(PixelColor(image, 30, 70), RgbColor(128, 128, 128)) << "below the short tile";
  // The picture arrives: the tile shows it, the strip keeps its layout.
  const TRect before = gallery.Model().Items()[1].Rect;
  gallery.Items().SetPicture(
      0, std::make_shared<const TCompactPicture>(TCompactPicture::FromBitmap(SolidBitmap(60, 60, 0, 0, 255))));
  image = Paint(gallery);
  const TColor blue = PixelColor(image, 30, 30);
  EXPECT_LT(RedOf(blue), 16);
  EXPECT_GT(BlueOf(blue), 240);
  EXPECT_EQ(gallery.Model().Items()[1].Rect, before);
}

TEST(GalleryWidget, TwentyThousandCompactPicturesAreNeverAllPixels) {
  TCoverStrip gallery;
  gallery.resize(1000, 100);
  gallery.Items().BeginUpdate();
  for (int i = 0; i < 20000; ++i) gallery.Items().AddSized(i, "m", 67, 100);
  gallery.Items().EndUpdate();
  const auto cover =
      std::make_shared<const TCompactPicture>(TCompactPicture::FromBitmap(SolidBitmap(67, 100, 200, 40, 40)));
  gallery.show();
  for (int i = 0; i < 20000; ++i) {
    gallery.Items().SetPicture(i, cover);
    // The view jumps along as the strip fills, painting what it shows.
    if (i % 400 == 399) {
      gallery.Model().ShowItem(i);
      Paint(gallery);
    }
  }
  EXPECT_LE(gallery.ConvertedImageCount(), 256);
  EXPECT_GT(gallery.ConvertedImageCount(), 0);
  for (int i = 0; i < 20000; i += 997) EXPECT_TRUE(gallery.Model().Items()[i].Bitmap.Empty());
}
