#pragma once

#include "render/TBitmap.h"

#include <cstdint>
#include <string>

// Made-up cover pictures for sample catalogs, and encoders for the four
// picture formats the viewer reads (the viewer itself only encodes JPEG).

// A poster-like picture: a two-colour gradient, a few shapes and a fine
// texture, all chosen by the seed, so JPEG sizes resemble real covers.
TBitmap DrawSampleCover(int width, int height, std::uint32_t seed);

std::string EncodeJpegFile(const TBitmap& image, int quality);
std::string EncodePngFile(const TBitmap& image);
std::string EncodeGifFile(const TBitmap& image);
std::string EncodeBmpFile(const TBitmap& image);

// Encodes by extension (".jpg", ".png", ".gif", ".bmp").
std::string EncodePictureFile(const TBitmap& image, const std::string& extension);
