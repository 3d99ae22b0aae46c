#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture in memory: width, height and 8-bit RGBA pixels, top row first,
// not premultiplied.
struct TBitmap {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;  // Width * Height * 4

  TBitmap() = default;
  TBitmap(int width, int height);

  bool Empty() const { return Width <= 0 || Height <= 0; }
  std::uint8_t* Pixel(int x, int y) { return &Pixels[(static_cast<std::size_t>(y) * Width + x) * 4]; }
  const std::uint8_t* Pixel(int x, int y) const { return &Pixels[(static_cast<std::size_t>(y) * Width + x) * 4]; }
};

// Decoders refuse pictures with more pixels than this (about 400 MB of
// pixels), so a forged header cannot make the program allocate without bound.
constexpr std::int64_t kMaxPicturePixels = 100'000'000;

inline bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= 65535 && height <= 65535 && width * height <= kMaxPicturePixels;
}

// Pixels a picture format can pack into one byte of its data at the very
// most (a huge picture of one colour); the formats' limits, rounded up.
constexpr std::int64_t kJpegPixelsPerByte = 512;   // one bit for a whole 8 x 8 block
constexpr std::int64_t kGifPixelsPerByte = 4096;   // a 12-bit code for a string of 4095
constexpr std::int64_t kPngPixelsPerByte = 8300;   // 1-bit pixels, deflate at 1032 : 1
constexpr std::int64_t kRlePixelsPerByte = 512;    // run-length bitmaps
// Small pictures are never refused for this.
constexpr std::int64_t kAnyDataPixels = 65536;

// Whether `dataSize` bytes can really hold a picture of width x height.
// A header that claims more is refused before anything is allocated, so the
// time and memory of decoding follow what the data holds, not what its
// header says.
inline bool PictureFitsData(std::int64_t width, std::int64_t height, std::size_t dataSize, std::int64_t pixelsPerByte) {
  return PictureSizeAllowed(width, height) &&
         width * height <= static_cast<std::int64_t>(dataSize) * pixelsPerByte + kAnyDataPixels;
}

// Resamples `source` to the given size by area averaging: every output pixel
// is the average of the source area it covers (weighted by coverage and by
// alpha, so transparent pixels do not darken their neighbours).
TBitmap ScaleBitmap(const TBitmap& source, int width, int height);
