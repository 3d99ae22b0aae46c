#include "RenderFixtures.h"

#include "render/PictureCodecs.h"
#include "render/Resources.h"

#include <gtest/gtest.h>

namespace {

void AppendLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A BMP file with a 40-byte header; `palette` entries are 0x00RRGGBB.
std::string MakeBmp(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                    const std::string& pixels, std::uint32_t compression = 0) {
  std::string out = "BM";
  std::uint32_t offset = 54 + static_cast<std::uint32_t>(palette.size()) * 4;
  AppendLe(out, offset + static_cast<std::uint32_t>(pixels.size()), 4);
  AppendLe(out, 0, 4);
  AppendLe(out, offset, 4);
  AppendLe(out, 40, 4);
  AppendLe(out, static_cast<std::uint32_t>(width), 4);
  AppendLe(out, static_cast<std::uint32_t>(height), 4);
  AppendLe(out, 1, 2);
  AppendLe(out, static_cast<std::uint32_t>(bits), 2);
  AppendLe(out, compression, 4);
  AppendLe(out, static_cast<std::uint32_t>(pixels.size()), 4);
  AppendLe(out, 0, 4);
  AppendLe(out, 0, 4);
  AppendLe(out, static_cast<std::uint32_t>(palette.size()), 4);
  AppendLe(out, 0, 4);
  for (std::uint32_t color : palette) AppendLe(out, color, 4);
  return out + pixels;
}

std::array<int, 4> Rgba(const TBitmap& bitmap, int x, int y) {
  const std::uint8_t* p = bitmap.Pixel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

}  // namespace

TEST(PictureCodecs, DecodesALargeJpegAtTheSmallestScaleThatReachesTheBox) {
  std::string jpeg = EncodeJpegFile(SolidBitmap(1000, 1500, 200, 30, 30), 85);
  std::optional<TBitmap> decoded = DecodeJpeg(Bytes(jpeg), 100, 100);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->Width, 125);
  EXPECT_EQ(decoded->Height, 188);
  std::optional<TBitmap> fitted = DecodePicture(Bytes(jpeg), ".jpg", 100, 100);
  ASSERT_TRUE(fitted);
  EXPECT_EQ(fitted->Width, 66);
  EXPECT_EQ(fitted->Height, 100);

  std::optional<TBitmap> half = DecodeJpeg(Bytes(jpeg), 400, 400);  // 1/8 and 1/4 stay below the box
  ASSERT_TRUE(half);
  EXPECT_EQ(half->Width, 500);
  std::optional<TBitmap> full = DecodeJpeg(Bytes(jpeg), 5000, 5000);
  ASSERT_TRUE(full);
  EXPECT_EQ(full->Width, 1000);
}

TEST(PictureCodecs, FitsIntoTheBoxWithoutEverEnlarging) {
  struct Case {
    int W, H, BoxW, BoxH, FitW, FitH;
  };
  const Case cases[] = {{300, 200, 400, 400, 300, 200}, {800, 400, 400, 400, 400, 200},
                        {400, 800, 400, 400, 200, 400}, {125, 188, 100, 100, 66, 100},
                        {1, 10000, 100, 100, 1, 100},   {400, 400, 400, 400, 400, 400}};
  for (const Case& c : cases) {
    int w = 0, h = 0;
    FitSize(c.W, c.H, c.BoxW, c.BoxH, w, h);
    EXPECT_EQ(w, c.FitW) << c.W << "x" << c.H;
    EXPECT_EQ(h, c.FitH) << c.W << "x" << c.H;
  }
  std::string png = EncodePngFile(SolidBitmap(300, 200, 1, 2, 3));
  std::optional<TBitmap> kept = DecodePicture(Bytes(png), ".png", 400, 400);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->Width, 300);
  EXPECT_EQ(kept->Height, 200);
}

TEST(PictureCodecs, ChoosesTheDecoderByExtensionInAnyCase) {
  std::string jpeg = EncodeJpegFile(SolidBitmap(20, 10, 0, 0, 255), 90);
  EXPECT_TRUE(DecodePicture(Bytes(jpeg), ".JPG", 50, 50));
  EXPECT_TRUE(DecodePicture(Bytes(jpeg), ".Jpg", 50, 50));
  EXPECT_FALSE(DecodePicture(Bytes(jpeg), ".jpeg", 50, 50));
  EXPECT_FALSE(DecodePicture(Bytes(jpeg), ".png", 50, 50));
  EXPECT_FALSE(DecodePicture(Bytes(jpeg), "", 50, 50));
}

TEST(PictureCodecs, DecodesPngGifAndBmpColours) {
  TBitmap red = SolidBitmap(7, 5, 255, 0, 0);
  for (const char* extension : {".png", ".gif", ".bmp"}) {
    std::optional<TBitmap> bitmap = DecodePicture(Bytes(EncodePictureFile(red, extension)), extension, 100, 100);
    ASSERT_TRUE(bitmap) << extension;
    EXPECT_EQ(bitmap->Width, 7);
    EXPECT_EQ(bitmap->Height, 5);
    EXPECT_EQ(Rgba(*bitmap, 6, 4), (std::array<int, 4>{255, 0, 0, 255})) << extension;
  }
}

TEST(PictureCodecs, ReadsEveryBmpDepthAndBothRowOrders) {
  // 2 x 2 pictures: top row red, green; bottom row blue, white.
  std::vector<std::uint32_t> palette = {0x000000FF /*blue*/, 0x0000FF00 /*green*/, 0x00FF0000 /*red*/, 0x00FFFFFF};
  // Bottom-up rows, each padded to 4 bytes.
  std::string eight = std::string("\x00\x03\x00\x00", 4) + std::string("\x02\x01\x00\x00", 4);
  std::string four = std::string("\x03\x00\x00\x00", 4) + std::string("\x21\x00\x00\x00", 4);
  std::string one = std::string("\x40\x00\x00\x00", 4) + std::string("\x80\x00\x00\x00", 4);
  std::vector<std::uint32_t> twoColors = {0x00FF0000 /*red*/, 0x00FFFFFF};
  std::string bgrx = std::string("\xFF\x00\x00\x00\xFF\xFF\xFF\x00", 8) + std::string("\x00\x00\xFF\x00\x00\xFF\x00\x00", 8);
  struct Case {
    const char* Name;
    std::string File;
    std::array<int, 4> TopLeft, TopRight, BottomLeft;
  };
  const std::array<int, 4> red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255}, white{255, 255, 255, 255};
  const Case cases[] = {
      {"8 bit", MakeBmp(2, 2, 8, palette, eight), red, green, blue},
      {"4 bit", MakeBmp(2, 2, 4, palette, four), red, green, blue},
      {"1 bit", MakeBmp(2, 2, 1, twoColors, one), white, red, red},
      {"32 bit", MakeBmp(2, 2, 32, {}, bgrx), red, green, blue},
      {"8 bit top-down", MakeBmp(2, -2, 8, palette, std::string("\x02\x01\x00\x00\x00\x03\x00\x00", 8)), red, green,
       blue},
  };
  for (const Case& c : cases) {
    std::optional<TBitmap> bitmap = DecodeBmp(Bytes(c.File));
    ASSERT_TRUE(bitmap) << c.Name;
    EXPECT_EQ(Rgba(*bitmap, 0, 0), c.TopLeft) << c.Name;
    EXPECT_EQ(Rgba(*bitmap, 1, 0), c.TopRight) << c.Name;
    EXPECT_EQ(Rgba(*bitmap, 0, 1), c.BottomLeft) << c.Name;
  }
  std::optional<TBitmap> eightBit = DecodeBmp(Bytes(cases[0].File));
  EXPECT_EQ(Rgba(*eightBit, 1, 1), white);
}

TEST(PictureCodecs, ReadsRunLengthEncodedEightBitBmp) {
  std::vector<std::uint32_t> palette = {0x00FF0000 /*red*/, 0x000000FF /*blue*/};
  // Bottom row: a run of three red; end of line; top row: three literal
  // pixels blue, red, blue (padded to a word); end of bitmap.
  std::string rle("\x03\x00" "\x00\x00" "\x00\x03\x01\x00\x01\x00" "\x00\x01", 12);
  std::optional<TBitmap> bitmap = DecodeBmp(Bytes(MakeBmp(3, 2, 8, palette, rle, 1)));
  ASSERT_TRUE(bitmap);
  const std::array<int, 4> red{255, 0, 0, 255}, blue{0, 0, 255, 255};
  EXPECT_EQ(Rgba(*bitmap, 0, 1), red);
  EXPECT_EQ(Rgba(*bitmap, 2, 1), red);
  EXPECT_EQ(Rgba(*bitmap, 0, 0), blue);
  EXPECT_EQ(Rgba(*bitmap, 1, 0), red);
  EXPECT_EQ(Rgba(*bitmap, 2, 0), blue);
  // A literal run longer than the data is refused.
  EXPECT_FALSE(DecodeBmp(Bytes(MakeBmp(3, 2, 8, palette, std::string("\x00\x40\x01", 3), 1))));
}

TEST(PictureCodecs, RefusesDamagedAndOversizedPictures) {
  TBitmap image = SolidBitmap(64, 48, 10, 20, 30);
  for (const char* extension : {".jpg", ".png", ".gif", ".bmp"}) {
    std::string bytes = EncodePictureFile(image, extension);
    EXPECT_FALSE(DecodePicture(Bytes(bytes.substr(0, bytes.size() / 2)), extension, 100, 100)) << extension;
    EXPECT_FALSE(DecodePicture(Bytes(bytes.substr(0, 10)), extension, 100, 100)) << extension;
    EXPECT_FALSE(DecodePicture({}, extension, 100, 100)) << extension;
    std::string noise(500, '\x5A');
    EXPECT_FALSE(DecodePicture(Bytes(noise), extension, 100, 100)) << extension;
  }
  // Headers that claim 30000 x 30000 pixels with almost no data behind them.
  std::string png = EncodePngFile(image);
  png[16] = 0; png[17] = 0; png[18] = 0x75; png[19] = 0x30;
  png[20] = 0; png[21] = 0; png[22] = 0x75; png[23] = 0x30;
  EXPECT_FALSE(DecodePng(Bytes(png)));
  std::string bmp = MakeBmp(30000, 30000, 24, {}, "tiny");
  EXPECT_FALSE(DecodeBmp(Bytes(bmp)));
  std::string gif = EncodeGifFile(image);
  gif[6] = 0x30; gif[7] = 0x75; gif[8] = 0x30; gif[9] = 0x75;
  EXPECT_FALSE(DecodeGif(Bytes(gif)));
  EXPECT_FALSE(PictureSizeAllowed(30000, 30000));
  EXPECT_TRUE(PictureSizeAllowed(10000, 10000));
}

TEST(PictureCodecs, HeadersClaimingMoreThanTheirDataCanHoldAreRefused) {
  // 10000 x 10000 is an allowed size, but not for a few hundred bytes.
  TBitmap image = SolidBitmap(16, 16, 10, 20, 30);
  std::string gif = EncodeGifFile(image);
  gif[6] = 0x10; gif[7] = 0x27; gif[8] = 0x10; gif[9] = 0x27;  // the logical screen
  EXPECT_FALSE(DecodeGif(Bytes(gif)));
  std::string png = EncodePngFile(image);
  png[16] = 0; png[17] = 0; png[18] = 0x27; png[19] = 0x10;
  png[20] = 0; png[21] = 0; png[22] = 0x27; png[23] = 0x10;
  EXPECT_FALSE(DecodePng(Bytes(png)));
  std::string jpeg = EncodeJpeg(image);
  // The frame header's height and width follow its marker, length and precision.
  std::size_t frame = jpeg.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  jpeg[frame + 5] = 0x27; jpeg[frame + 6] = 0x10; jpeg[frame + 7] = 0x27; jpeg[frame + 8] = 0x10;
  EXPECT_FALSE(DecodeJpeg(Bytes(jpeg), 100, 100));
  // Run-length data that ends at once, under a huge header.
  std::string rle = MakeBmp(10000, 10000, 8, {0xFF0000}, std::string("\0\1", 2), 1);
  EXPECT_FALSE(DecodeBmp(Bytes(rle)));
  // An empty picture as GIF is simply nothing.
  EXPECT_FALSE(DecodeGif({}));
  // Real pictures of the same sizes in small files are still read.
  EXPECT_TRUE(PictureFitsData(10000, 10000, 200000, kJpegPixelsPerByte));
  EXPECT_TRUE(PictureFitsData(100, 100, 10, kJpegPixelsPerByte));
}

TEST(PictureCodecs, EncodesBaselineJpegThatDecodesBack) {
  TBitmap bitmap(40, 30);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      std::uint8_t* p = bitmap.Pixel(x, y);
      p[0] = 0; p[1] = 128; p[2] = 255; p[3] = 255;
    }
  }
  std::string jpeg = EncodeJpeg(bitmap, 90);
  ASSERT_FALSE(jpeg.empty());
  EXPECT_NE(jpeg.find("\xFF\xC0"), std::string::npos) << "baseline frame marker";
  EXPECT_EQ(jpeg.find("\xFF\xC2"), std::string::npos) << "not progressive";
  EXPECT_EQ(PictureContentType(Bytes(jpeg)), "image/jpeg");
  std::optional<TBitmap> back = DecodeJpeg(Bytes(jpeg), 1000, 1000);
  ASSERT_TRUE(back);
  EXPECT_NEAR(back->Pixel(20, 15)[1], 128, 3);
  EXPECT_NEAR(back->Pixel(20, 15)[2], 255, 3);
}

TEST(PictureCodecs, ScalingAveragesAreasAndIgnoresTransparentColour) {
  TBitmap checker(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      std::uint8_t v = (x + y) % 2 ? 255 : 0;
      std::uint8_t* p = checker.Pixel(x, y);
      p[0] = p[1] = p[2] = v;
      p[3] = 255;
    }
  }
  TBitmap half = ScaleBitmap(checker, 2, 2);
  EXPECT_NEAR(half.Pixel(1, 1)[0], 128, 1);
  TBitmap third = ScaleBitmap(checker, 3, 3);
  EXPECT_EQ(third.Width, 3);

  TBitmap edge(2, 1);
  std::uint8_t* opaque = edge.Pixel(0, 0);
  opaque[0] = 255; opaque[3] = 255;  // red
  std::uint8_t* clear = edge.Pixel(1, 0);
  clear[0] = clear[1] = clear[2] = clear[3] = 0;  // transparent black
  TBitmap one = ScaleBitmap(edge, 1, 1);
  EXPECT_EQ(one.Pixel(0, 0)[0], 255) << "transparent pixels add no colour";
  EXPECT_NEAR(one.Pixel(0, 0)[3], 128, 1);
}

TEST(Resources, HoldsElevenRatingImagesAndTheBlankPicture) {
  int previousGold = -1;
  for (int step = 0; step <= 10; ++step) {
    char name[16];
    std::snprintf(name, sizeof name, "STARS%02d", step);
    std::optional<std::string> bytes = LoadResourceStream(name);
    ASSERT_TRUE(bytes) << name;
    std::optional<TBitmap> stars = DecodeGif(Bytes(*bytes));
    ASSERT_TRUE(stars);
    EXPECT_EQ(stars->Width, 65);
    EXPECT_EQ(stars->Height, 13);
    int gold = 0;
    for (int y = 0; y < 13; ++y) {
      for (int x = 0; x < 65; ++x) {
        const std::uint8_t* p = stars->Pixel(x, y);
        if (p[3] == 255 && p[0] > 150 && p[2] < 60) ++gold;
      }
    }
    EXPECT_GT(gold, previousGold) << name;
    previousGold = gold;
    EXPECT_EQ(stars->Pixel(0, 0)[3], 0) << "the background is transparent";
  }
  std::optional<std::string> blank = LoadResourceStream("Blank");
  ASSERT_TRUE(blank);
  std::optional<TBitmap> picture = DecodeGif(Bytes(*blank));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Width, 16);
  EXPECT_EQ(picture->Height, 16);
  for (std::size_t i = 3; i < picture->Pixels.size(); i += 4) ASSERT_EQ(picture->Pixels[i], 0);
  EXPECT_FALSE(LoadResourceStream("stars11"));
}
