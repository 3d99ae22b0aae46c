#pragma once

#include "render/TBitmap.h"

#include <cstdint>
#include <optional>
#include <string>

// A small picture kept compact: JPEG bytes for an opaque one (a strip
// thumbnail in a few kilobytes instead of some thirty), its pixels as they
// are for one with transparent parts, which JPEG would lose. Expanded only
// when it is painted.
struct TCompactPicture {
  enum class TFormat : std::uint8_t { Jpeg = 1, Rgba = 2 };
  TFormat Format = TFormat::Jpeg;
  int Width = 0;
  int Height = 0;
  std::string Bytes;

  static TCompactPicture FromBitmap(const TBitmap& bitmap);
  // The pixels again; nothing when the bytes do not hold a picture of the
  // stated size.
  std::optional<TBitmap> Expand() const;
};
