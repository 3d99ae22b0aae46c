#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Made-up cover pictures for sample catalogs, and encoders for the four
// picture formats the viewer reads.
struct TRgbImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgb;  // Width * Height * 3 bytes, top row first
};

// A poster-like picture: a two-colour gradient, a few shapes and a fine
// texture, all chosen by the seed, so JPEG sizes resemble real covers.
TRgbImage DrawSampleCover(int width, int height, std::uint32_t seed);

std::string EncodeJpegFile(const TRgbImage& image, int quality);
std::string EncodePngFile(const TRgbImage& image);
std::string EncodeGifFile(const TRgbImage& image);
std::string EncodeBmpFile(const TRgbImage& image);

// Encodes by extension (".jpg", ".png", ".gif", ".bmp").
std::string EncodePictureFile(const TRgbImage& image, const std::string& extension);
