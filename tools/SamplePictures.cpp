#include "tools/SamplePictures.h"

#include "render/PictureCodecs.h"

#include <cmath>
#include <cstring>
#include <gif_lib.h>
#include <png.h>
#include <stdexcept>

namespace {

struct TRandom {
  std::uint32_t State;
  std::uint32_t Next() {
    State ^= State << 13;
    State ^= State >> 17;
    State ^= State << 5;
    return State;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
};

void Put(TBitmap& image, int x, int y, int r, int g, int b) {
  if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) return;
  std::uint8_t* p = image.Pixel(x, y);
  p[0] = static_cast<std::uint8_t>(r);
  p[1] = static_cast<std::uint8_t>(g);
  p[2] = static_cast<std::uint8_t>(b);
  p[3] = 255;
}

int GifWrite(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
  return length;
}

void AppendLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

TBitmap DrawSampleCover(int width, int height, std::uint32_t seed) {
  TBitmap image(width, height);
  TRandom random{seed * 2654435761u + 12345u};
  int top[3] = {random.Below(256), random.Below(256), random.Below(256)};
  int bottom[3] = {random.Below(256), random.Below(256), random.Below(256)};
  double frequency = 0.02 + random.Below(100) / 1000.0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double t = height > 1 ? static_cast<double>(y) / (height - 1) : 0;
      double wave = 18 * std::sin(x * frequency + y * frequency * 0.7) * std::cos(y * frequency * 1.3);
      int grain = static_cast<int>(random.Next() % 17) - 8;
      int c[3];
      for (int k = 0; k < 3; ++k) {
        c[k] = static_cast<int>(top[k] + (bottom[k] - top[k]) * t + wave + grain);
        c[k] = c[k] < 0 ? 0 : c[k] > 255 ? 255 : c[k];
      }
      Put(image, x, y, c[0], c[1], c[2]);
    }
  }
  // A few discs and bars stand in for the artwork.
  for (int shape = 0; shape < 4; ++shape) {
    int cx = random.Below(width), cy = random.Below(height);
    int radius = width / 10 + random.Below(width / 4 + 1);
    int r = random.Below(256), g = random.Below(256), b = random.Below(256);
    for (int y = cy - radius; y <= cy + radius; ++y) {
      for (int x = cx - radius; x <= cx + radius; ++x) {
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) Put(image, x, y, r, g, b);
      }
    }
  }
  int band = height / 8;
  for (int y = height - 2 * band; y < height - band; ++y) {
    for (int x = width / 10; x < width - width / 10; ++x) Put(image, x, y, 240, 240, 230);
  }
  return image;
}

std::string EncodeJpegFile(const TBitmap& image, int quality) {
  std::string bytes = EncodeJpeg(image, quality);
  if (bytes.empty()) throw std::runtime_error("JPEG encoding failed");
  return bytes;
}

std::string EncodePngFile(const TBitmap& image) {
  png_image info{};
  info.version = PNG_IMAGE_VERSION;
  info.width = static_cast<png_uint_32>(image.Width);
  info.height = static_cast<png_uint_32>(image.Height);
  info.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&info, nullptr, &size, 0, image.Pixels.data(), 0, nullptr)) {
    throw std::runtime_error("PNG encoding failed");
  }
  std::string bytes(size, '\0');
  if (!png_image_write_to_memory(&info, bytes.data(), &size, 0, image.Pixels.data(), 0, nullptr)) {
    throw std::runtime_error("PNG encoding failed");
  }
  bytes.resize(size);
  return bytes;
}

std::string EncodeGifFile(const TBitmap& image) {
  // A fixed 6x6x6 colour cube is plenty for sample covers.
  GifColorType colors[256] = {};
  for (int i = 0; i < 216; ++i) {
    colors[i].Red = static_cast<GifByteType>((i / 36) * 51);
    colors[i].Green = static_cast<GifByteType>(((i / 6) % 6) * 51);
    colors[i].Blue = static_cast<GifByteType>((i % 6) * 51);
  }
  std::string bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, GifWrite, &error);
  if (gif == nullptr) throw std::runtime_error("GIF encoding failed");
  ColorMapObject* map = GifMakeMapObject(256, colors);
  bool ok = EGifPutScreenDesc(gif, image.Width, image.Height, 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, image.Width, image.Height, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> row(static_cast<std::size_t>(image.Width));
  for (int y = 0; ok && y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      const std::uint8_t* p = image.Pixel(x, y);
      row[x] = static_cast<GifPixelType>(((p[0] + 25) / 51) * 36 + ((p[1] + 25) / 51) * 6 + (p[2] + 25) / 51);
    }
    ok = EGifPutLine(gif, row.data(), image.Width) == GIF_OK;
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  if (!ok) throw std::runtime_error("GIF encoding failed");
  return bytes;
}

std::string EncodeBmpFile(const TBitmap& image) {
  std::uint32_t stride = (static_cast<std::uint32_t>(image.Width) * 3 + 3) & ~3u;
  std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(image.Height);
  std::string out = "BM";
  AppendLe(out, 54 + pixelBytes, 4);
  AppendLe(out, 0, 4);
  AppendLe(out, 54, 4);
  AppendLe(out, 40, 4);
  AppendLe(out, static_cast<std::uint32_t>(image.Width), 4);
  AppendLe(out, static_cast<std::uint32_t>(image.Height), 4);  // positive: bottom row first
  AppendLe(out, 1, 2);
  AppendLe(out, 24, 2);
  AppendLe(out, 0, 4);
  AppendLe(out, pixelBytes, 4);
  AppendLe(out, 2835, 4);
  AppendLe(out, 2835, 4);
  AppendLe(out, 0, 4);
  AppendLe(out, 0, 4);
  for (int y = image.Height - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int x = 0; x < image.Width; ++x) {
      const std::uint8_t* p = image.Pixel(x, y);
      row[x * 3] = static_cast<char>(p[2]);
      row[x * 3 + 1] = static_cast<char>(p[1]);
      row[x * 3 + 2] = static_cast<char>(p[0]);
    }
    out += row;
  }
  return out;
}

std::string EncodePictureFile(const TBitmap& image, const std::string& extension) {
  if (extension == ".png") return EncodePngFile(image);
  if (extension == ".gif") return EncodeGifFile(image);
  if (extension == ".bmp") return EncodeBmpFile(image);
  return EncodeJpegFile(image, 85);
}
