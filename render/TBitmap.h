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

// Resamples `source` to the given size by area averaging: every output pixel
// is the average of the source area it covers (weighted by coverage and by
// alpha, so transparent pixels do not darken their neighbours).
TBitmap ScaleBitmap(const TBitmap& source, int width, int height);
