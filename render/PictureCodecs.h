#pragma once

#include "render/TBitmap.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Decoding of the four cover picture formats and JPEG encoding of scaled
// pictures. Every decoder takes bytes, checks every size against the data
// and kMaxPicturePixels, and answers std::nullopt for anything it cannot
// read completely; none of them throws.

enum class TPictureFormat { Unknown, Jpeg, Gif, Png, Bmp };

// ".jpg", ".gif", ".png", ".bmp" in any letter case; anything else
// (".jpeg" included) is Unknown.
TPictureFormat FormatFromExtension(std::string_view extension);

// The JPEG is decoded at the first of the scales 1/8, 1/4, 1/2, 1/1 whose
// size reaches the box in either direction (width >= boxWidth or height >=
// boxHeight), or at full size. The size at each scale is the decoder's own
// output size for it, so the result equals decoding at each scale in turn.
std::optional<TBitmap> DecodeJpeg(std::span<const std::uint8_t> bytes, int boxWidth, int boxHeight);
std::optional<TBitmap> DecodePng(std::span<const std::uint8_t> bytes);
std::optional<TBitmap> DecodeGif(std::span<const std::uint8_t> bytes);
std::optional<TBitmap> DecodeBmp(std::span<const std::uint8_t> bytes);

// Baseline JPEG, 24-bit colour; transparent parts are laid on white.
std::string EncodeJpeg(const TBitmap& bitmap, int quality = 90);

// The size of a picture of width x height fitted into the box, never
// enlarged (single-precision ratios, halves rounded to even).
void FitSize(int width, int height, int boxWidth, int boxHeight, int& fitWidth, int& fitHeight);

// Decodes by extension and fits the result into the box.
std::optional<TBitmap> DecodePicture(std::span<const std::uint8_t> bytes, std::string_view extension, int boxWidth,
                                     int boxHeight);
// Decodes by extension as DecodePicture does, without fitting: a JPEG at
// the scale the box asks for, the others at their own size.
std::optional<TBitmap> DecodePictureUnfitted(std::span<const std::uint8_t> bytes, std::string_view extension,
                                             int boxWidth, int boxHeight);

// The size of the whole picture as its header says, from the first bytes
// of the picture (often a few hundred are enough). Nothing when the header
// is not in `bytes`, or is not one the decoders would take; the picture
// may still fail to decode.
struct TPictureDimensions {
  int Width = 0;
  int Height = 0;
};
std::optional<TPictureDimensions> ReadPictureDimensions(std::span<const std::uint8_t> bytes,
                                                        std::string_view extension);

// The MIME type of picture bytes by their signature, or "" when unknown.
std::string PictureContentType(std::span<const std::uint8_t> bytes);
