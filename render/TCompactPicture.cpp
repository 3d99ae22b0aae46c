#include "render/TCompactPicture.h"

#include "render/PictureCodecs.h"

#include <algorithm>
#include <cstring>

namespace {

// Thumbnails are looked at small and briefly; this keeps them sharp.
constexpr int kThumbnailQuality = 85;

bool Opaque(const TBitmap& bitmap) {
  for (std::size_t i = 3; i < bitmap.Pixels.size(); i += 4) {
    if (bitmap.Pixels[i] != 255) return false;
  }
  return true;
}

}  // namespace

TCompactPicture TCompactPicture::FromBitmap(const TBitmap& bitmap) {
  TCompactPicture picture;
  picture.Width = bitmap.Width;
  picture.Height = bitmap.Height;
  if (Opaque(bitmap)) {
    picture.Format = TFormat::Jpeg;
    picture.Bytes = EncodeJpeg(bitmap, kThumbnailQuality);
  } else {
    picture.Format = TFormat::Rgba;
    picture.Bytes.assign(reinterpret_cast<const char*>(bitmap.Pixels.data()), bitmap.Pixels.size());
  }
  return picture;
}

std::optional<TBitmap> TCompactPicture::Expand() const {
  if (!PictureSizeAllowed(Width, Height)) return std::nullopt;
  if (Format == TFormat::Rgba) {
    if (Bytes.size() != static_cast<std::size_t>(Width) * Height * 4) return std::nullopt;
    TBitmap bitmap(Width, Height);
    std::memcpy(bitmap.Pixels.data(), Bytes.data(), Bytes.size());
    return bitmap;
  }
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
  std::optional<TBitmap> bitmap = DecodeJpeg(bytes, Width, Height);
  if (!bitmap || bitmap->Width != Width || bitmap->Height != Height) return std::nullopt;
  return bitmap;
}
