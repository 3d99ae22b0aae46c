#include "render/PictureCodecs.h"

#include "config/AsciiText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gif_lib.h>
#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

namespace {

// ---- JPEG ----

struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  bool Truncated;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<TJpegError*>(info->err)->Jump, 1); }

void OnJpegMessage(j_common_ptr info, int level) {
  // A premature end of the data is only a warning to the library, which
  // would go on making grey for every row the header claims; for us it is
  // a damaged picture, and decoding stops at once.
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  if (level < 0 && error->Manager.msg_code == JWRN_JPEG_EOF) {
    error->Truncated = true;
    std::longjmp(error->Jump, 1);
  }
}

bool DecodeJpegInto(std::span<const std::uint8_t> bytes, int boxWidth, int boxHeight, TBitmap& bitmap,
                    std::vector<std::uint8_t>& row) {
  jpeg_decompress_struct info{};
  TJpegError error{};
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = OnJpegError;
  error.Manager.emit_message = OnJpegMessage;
  if (setjmp(error.Jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  for (unsigned denominator : {8u, 4u, 2u, 1u}) {
    info.scale_num = 1;
    info.scale_denom = denominator;
    jpeg_calc_output_dimensions(&info);
    if (static_cast<int>(info.output_width) >= boxWidth || static_cast<int>(info.output_height) >= boxHeight) break;
  }
  if (!PictureSizeAllowed(info.output_width, info.output_height) ||
      !PictureFitsData(info.image_width, info.image_height, bytes.size(), kJpegPixelsPerByte)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  // A picture decoded to an eighth or a quarter is shrunk further for a
  // thumbnail: smoothing its colour planes costs a sixth of the decode and
  // cannot be seen at that size.
  if (info.scale_denom >= 4) info.do_fancy_upsampling = FALSE;
  jpeg_start_decompress(&info);
  bitmap = TBitmap(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  row.resize(static_cast<std::size_t>(info.output_width) * 4);
  while (info.output_scanline < info.output_height) {
    int y = static_cast<int>(info.output_scanline);
    JSAMPROW target = cmyk ? row.data() : bitmap.Pixel(0, y);
    if (jpeg_read_scanlines(&info, &target, 1) != 1) break;
    if (cmyk) {
      // Adobe writes CMYK inverted; colour = inverted ink times black.
      std::uint8_t* out = bitmap.Pixel(0, y);
      for (std::size_t x = 0; x < info.output_width; ++x) {
        const std::uint8_t* p = &row[x * 4];
        for (int c = 0; c < 3; ++c) out[x * 4 + c] = static_cast<std::uint8_t>(p[c] * p[3] / 255);
        out[x * 4 + 3] = 255;
      }
    }
  }
  bool complete = info.output_scanline == info.output_height && !error.Truncated;
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return complete;
}

// ---- GIF ----

struct TGifInput {
  std::span<const std::uint8_t> Bytes;
  std::size_t Position;
};

int ReadGifBytes(GifFileType* gif, GifByteType* out, int count) {
  auto* input = static_cast<TGifInput*>(gif->UserData);
  if (count <= 0) return 0;
  std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(count), input->Bytes.size() - input->Position);
  if (take == 0) return 0;
  std::memcpy(out, input->Bytes.data() + input->Position, take);
  input->Position += take;
  return static_cast<int>(take);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// ---- BMP ----

std::uint32_t Le(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

// Position and width of the bits of one channel mask.
struct TMask {
  std::uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;
  std::uint8_t Take(std::uint32_t pixel) const {
    if (Bits == 0) return 255;
    std::uint32_t value = (pixel & Mask) >> Shift;
    std::uint32_t top = (1u << Bits) - 1;
    return static_cast<std::uint8_t>(value * 255 / top);
  }
};

TMask MakeMask(std::uint32_t mask) {
  TMask m;
  m.Mask = mask;
  if (mask == 0) return m;
  while (((mask >> m.Shift) & 1) == 0) ++m.Shift;
  while (m.Shift + m.Bits < 32 && ((mask >> (m.Shift + m.Bits)) & 1) != 0) ++m.Bits;
  if (m.Bits > 16) {
    m.Shift += m.Bits - 16;
    m.Bits = 16;
    m.Mask = ((1u << 16) - 1) << m.Shift;
  }
  return m;
}

}  // namespace

TPictureFormat FormatFromExtension(std::string_view extension) {
  std::string lower = LowerAscii(extension);
  if (lower == ".jpg") return TPictureFormat::Jpeg;
  if (lower == ".gif") return TPictureFormat::Gif;
  if (lower == ".png") return TPictureFormat::Png;
  if (lower == ".bmp") return TPictureFormat::Bmp;
  return TPictureFormat::Unknown;
}

std::optional<TBitmap> DecodeJpeg(std::span<const std::uint8_t> bytes, int boxWidth, int boxHeight) {
  if (bytes.empty()) return std::nullopt;
  TBitmap bitmap;
  std::vector<std::uint8_t> row;
  if (!DecodeJpegInto(bytes, boxWidth, boxHeight, bitmap, row)) return std::nullopt;
  return bitmap;
}

std::optional<TBitmap> DecodePng(std::span<const std::uint8_t> bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (bytes.empty() || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
  if (!PictureFitsData(image.width, image.height, bytes.size(), kPngPixelsPerByte)) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGBA;
  TBitmap bitmap(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, bitmap.Pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return bitmap;
}

std::optional<TBitmap> DecodeGif(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return std::nullopt;
  TGifInput input{bytes, 0};
  int error = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&input, ReadGifBytes, &error));
  if (!gif) return std::nullopt;
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType record;
    if (DGifGetRecordType(gif.get(), &record) != GIF_OK) return std::nullopt;
    if (record == TERMINATE_RECORD_TYPE) return std::nullopt;
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) != GIF_OK) return std::nullopt;
      if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
        GraphicsControlBlock control{};
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) transparent = control.TransparentColor;
      }
      while (block != nullptr) {
        if (DGifGetExtensionNext(gif.get(), &block) != GIF_OK) return std::nullopt;
      }
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(gif.get()) != GIF_OK) return std::nullopt;
    const GifImageDesc& desc = gif->Image;
    ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    if (map == nullptr || desc.Width <= 0 || desc.Height <= 0) return std::nullopt;
    // The first frame is drawn on the logical screen; a screen smaller than
    // the frame grows to hold it.
    std::int64_t width = std::max<std::int64_t>(gif->SWidth, static_cast<std::int64_t>(desc.Left) + desc.Width);
    std::int64_t height = std::max<std::int64_t>(gif->SHeight, static_cast<std::int64_t>(desc.Top) + desc.Height);
    if (!PictureFitsData(width, height, bytes.size(), kGifPixelsPerByte) ||
        !PictureFitsData(desc.Width, desc.Height, bytes.size(), kGifPixelsPerByte)) {
      return std::nullopt;
    }
    TBitmap bitmap(static_cast<int>(width), static_cast<int>(height));
    std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
    std::vector<int> order;
    if (desc.Interlace) {
      const int offsets[] = {0, 4, 2, 1};
      const int steps[] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass) {
        for (int y = offsets[pass]; y < desc.Height; y += steps[pass]) order.push_back(y);
      }
    } else {
      for (int y = 0; y < desc.Height; ++y) order.push_back(y);
    }
    for (int y : order) {
      if (DGifGetLine(gif.get(), line.data(), desc.Width) != GIF_OK) return std::nullopt;
      std::uint8_t* out = bitmap.Pixel(desc.Left, desc.Top + y);
      for (int x = 0; x < desc.Width; ++x) {
        int index = line[static_cast<std::size_t>(x)];
        if (index == transparent || index >= map->ColorCount) continue;  // stays transparent
        out[x * 4] = map->Colors[index].Red;
        out[x * 4 + 1] = map->Colors[index].Green;
        out[x * 4 + 2] = map->Colors[index].Blue;
        out[x * 4 + 3] = 255;
      }
    }
    return bitmap;
  }
}

namespace {

// What a BMP file's headers say: size, depth, layout and colours.
struct TBmpHeader {
  std::uint32_t DataOffset = 0;
  std::uint32_t HeaderSize = 0;
  std::int64_t Width = 0;
  std::int64_t Height = 0;
  bool TopDown = false;
  int Bits = 0;
  std::uint32_t Compression = 0;
  std::uint32_t ColorsUsed = 0;
  bool Masks = false;
  TMask Red, Green, Blue, Alpha;
  std::vector<std::array<std::uint8_t, 4>> Palette;

  // The row of the picture that row `fileRow` of the file is.
  int RowOf(std::int64_t fileRow) const { return static_cast<int>(TopDown ? fileRow : Height - 1 - fileRow); }
  void PaletteColor(std::size_t index, std::uint8_t* out) const {
    const auto& c = Palette[index < Palette.size() ? index : 0];
    std::memcpy(out, c.data(), 4);
  }
};

// The sizes and depth of the two header forms; nothing when they are not
// a BMP's or claim more pixels than allowed.
std::optional<TBmpHeader> ReadBmpSizes(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  TBmpHeader h;
  h.DataOffset = Le(bytes, 10, 4);
  h.HeaderSize = Le(bytes, 14, 4);
  if (h.HeaderSize < 12 || 14 + static_cast<std::uint64_t>(h.HeaderSize) > bytes.size()) return std::nullopt;
  if (h.HeaderSize == 12) {
    h.Width = static_cast<std::int16_t>(Le(bytes, 18, 2));
    h.Height = static_cast<std::int16_t>(Le(bytes, 20, 2));
    h.Bits = static_cast<int>(Le(bytes, 24, 2));
  } else {
    if (h.HeaderSize < 40) return std::nullopt;
    h.Width = static_cast<std::int32_t>(Le(bytes, 18, 4));
    h.Height = static_cast<std::int32_t>(Le(bytes, 22, 4));
    h.Bits = static_cast<int>(Le(bytes, 28, 2));
    h.Compression = Le(bytes, 30, 4);
    h.ColorsUsed = Le(bytes, 46, 4);
  }
  h.TopDown = h.Height < 0;
  if (h.TopDown) h.Height = -h.Height;
  if (!PictureSizeAllowed(h.Width, h.Height)) return std::nullopt;
  return h;
}

// The whole header: sizes, channel masks and palette; nothing for what is
// not read (RLE4 and other compressions, odd depths).
std::optional<TBmpHeader> ReadBmpHeader(std::span<const std::uint8_t> bytes) {
  std::optional<TBmpHeader> header = ReadBmpSizes(bytes);
  if (!header) return std::nullopt;
  TBmpHeader& h = *header;
  // Channel masks: given for BI_BITFIELDS (after a 40-byte header, or inside
  // a larger one); otherwise the standard layouts.
  h.Masks = h.Compression == 3 || h.Compression == 6;
  if (h.Masks) {
    std::size_t at = 14 + 40;
    std::size_t needed = at + (h.Compression == 6 ? 16 : 12);
    if (needed > bytes.size()) return std::nullopt;
    h.Red = MakeMask(Le(bytes, at, 4));
    h.Green = MakeMask(Le(bytes, at + 4, 4));
    h.Blue = MakeMask(Le(bytes, at + 8, 4));
    if (h.Compression == 6 || h.HeaderSize >= 56) h.Alpha = MakeMask(Le(bytes, at + 12, 4));
  } else if (h.Bits == 16) {
    h.Red = MakeMask(0x7C00);
    h.Green = MakeMask(0x03E0);
    h.Blue = MakeMask(0x001F);
  }
  if (h.Masks && h.Bits != 16 && h.Bits != 32) return std::nullopt;
  if (h.Compression != 0 && !h.Masks && h.Compression != 1) return std::nullopt;  // RLE4 and others: not read
  if (h.Compression == 1 && h.Bits != 8) return std::nullopt;
  if (h.Compression == 1 && !PictureFitsData(h.Width, h.Height, bytes.size(), kRlePixelsPerByte)) return std::nullopt;

  if (h.Bits <= 8) {
    if (h.Bits != 1 && h.Bits != 4 && h.Bits != 8) return std::nullopt;
    std::size_t count = h.ColorsUsed != 0 && h.ColorsUsed <= (1u << h.Bits) ? h.ColorsUsed : (1u << h.Bits);
    std::size_t entry = h.HeaderSize == 12 ? 3 : 4;
    std::size_t at = 14 + h.HeaderSize;
    for (std::size_t i = 0; i < count; ++i) {
      if (at + entry > bytes.size()) break;
      h.Palette.push_back({bytes[at + 2], bytes[at + 1], bytes[at], 255});
      at += entry;
    }
    if (h.Palette.empty()) return std::nullopt;
  } else if (h.Bits != 16 && h.Bits != 24 && h.Bits != 32) {
    return std::nullopt;
  }
  return header;
}

// RLE8: runs and literal runs, ending at end-of-bitmap; pixels not written
// stay transparent. False when a run reaches past the data.
bool DecodeBmpRle8(std::span<const std::uint8_t> bytes, const TBmpHeader& h, TBitmap& bitmap) {
  std::size_t at = h.DataOffset;
  std::int64_t x = 0, fileRow = 0;
  while (at + 1 < bytes.size() && fileRow < h.Height) {
    std::uint8_t count = bytes[at], value = bytes[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count && x < h.Width; ++i, ++x) {
        h.PaletteColor(value, bitmap.Pixel(static_cast<int>(x), h.RowOf(fileRow)));
      }
    } else if (value == 0) {
      x = 0;
      ++fileRow;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (at + 1 >= bytes.size()) return false;
      x += bytes[at];
      fileRow += bytes[at + 1];
      at += 2;
    } else {
      if (at + value > bytes.size()) return false;
      for (int i = 0; i < value; ++i, ++x) {
        if (x < h.Width && fileRow < h.Height) {
          h.PaletteColor(bytes[at + static_cast<std::size_t>(i)], bitmap.Pixel(static_cast<int>(x), h.RowOf(fileRow)));
        }
      }
      at += value + (value & 1);
    }
  }
  return true;
}

// Uncompressed rows (and bit fields). False when the rows do not fit the data.
bool DecodeBmpRows(std::span<const std::uint8_t> bytes, const TBmpHeader& h, TBitmap& bitmap) {
  std::uint64_t stride = (static_cast<std::uint64_t>(h.Width) * h.Bits + 31) / 32 * 4;
  if (h.DataOffset > bytes.size() || stride * static_cast<std::uint64_t>(h.Height) > bytes.size() - h.DataOffset) {
    return false;
  }
  bool useAlpha = false;
  for (std::int64_t fileRow = 0; fileRow < h.Height; ++fileRow) {
    const std::uint8_t* in = bytes.data() + h.DataOffset + stride * static_cast<std::uint64_t>(fileRow);
    std::uint8_t* out = bitmap.Pixel(0, h.RowOf(fileRow));
    for (std::int64_t x = 0; x < h.Width; ++x, out += 4) {
      switch (h.Bits) {
        case 1:
          h.PaletteColor((in[x / 8] >> (7 - x % 8)) & 1, out);
          break;
        case 4:
          h.PaletteColor((in[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15, out);
          break;
        case 8:
          h.PaletteColor(in[x], out);
          break;
        case 24:
          out[0] = in[x * 3 + 2];
          out[1] = in[x * 3 + 1];
          out[2] = in[x * 3];
          out[3] = 255;
          break;
        default: {
          std::uint32_t pixel = h.Bits == 16 ? Le({in, static_cast<std::size_t>(stride)}, static_cast<std::size_t>(x) * 2, 2)
                                             : Le({in, static_cast<std::size_t>(stride)}, static_cast<std::size_t>(x) * 4, 4);
          if (h.Bits == 32 && !h.Masks) {
            out[0] = static_cast<std::uint8_t>(pixel >> 16);
            out[1] = static_cast<std::uint8_t>(pixel >> 8);
            out[2] = static_cast<std::uint8_t>(pixel);
            out[3] = static_cast<std::uint8_t>(pixel >> 24);
            useAlpha = useAlpha || out[3] != 0;
          } else {
            out[0] = h.Red.Take(pixel);
            out[1] = h.Green.Take(pixel);
            out[2] = h.Blue.Take(pixel);
            out[3] = h.Alpha.Take(pixel);
          }
        }
      }
    }
  }
  // Plain 32-bit pictures usually leave the fourth byte zero: then it is
  // padding, not transparency.
  if (h.Bits == 32 && !h.Masks && !useAlpha) {
    for (std::size_t i = 3; i < bitmap.Pixels.size(); i += 4) bitmap.Pixels[i] = 255;
  }
  return true;
}

}  // namespace

std::optional<TBitmap> DecodeBmp(std::span<const std::uint8_t> bytes) {
  std::optional<TBmpHeader> header = ReadBmpHeader(bytes);
  if (!header) return std::nullopt;
  TBitmap bitmap(static_cast<int>(header->Width), static_cast<int>(header->Height));
  const bool read = header->Compression == 1 ? DecodeBmpRle8(bytes, *header, bitmap) : DecodeBmpRows(bytes, *header, bitmap);
  if (!read) return std::nullopt;
  return bitmap;
}

std::string EncodeJpeg(const TBitmap& bitmap, int quality) {
  if (bitmap.Empty()) return {};
  jpeg_compress_struct info{};
  TJpegError error{};
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = OnJpegError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.Width) * 3);
  if (setjmp(error.Jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(bitmap.Width);
  info.image_height = static_cast<JDIMENSION>(bitmap.Height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const std::uint8_t* in = bitmap.Pixel(0, static_cast<int>(info.next_scanline));
    for (int x = 0; x < bitmap.Width; ++x) {
      unsigned a = in[x * 4 + 3];
      std::uint8_t* out = &row[static_cast<std::size_t>(x) * 3];
      if (a == 255) {
        // Opaque (every pixel of a JPEG cover): no blending to do.
        out[0] = in[x * 4];
        out[1] = in[x * 4 + 1];
        out[2] = in[x * 4 + 2];
        continue;
      }
      for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>((in[x * 4 + c] * a + 255 * (255 - a) + 127) / 255);
    }
    JSAMPROW target = row.data();
    jpeg_write_scanlines(&info, &target, 1);
  }
  jpeg_finish_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

void FitSize(int width, int height, int boxWidth, int boxHeight, int& fitWidth, int& fitHeight) {
  if (width <= boxWidth && height <= boxHeight) {
    fitWidth = width;
    fitHeight = height;
    return;
  }
  float ratioWidth = static_cast<float>(boxWidth) / static_cast<float>(width);
  float ratioHeight = static_cast<float>(boxHeight) / static_cast<float>(height);
  // nearbyint rounds halves to even in the default rounding mode.
  if (ratioWidth > ratioHeight) {
    fitWidth = static_cast<int>(std::nearbyint(static_cast<float>(width) * ratioHeight));
    fitHeight = boxHeight;
  } else {
    fitWidth = boxWidth;
    fitHeight = static_cast<int>(std::nearbyint(static_cast<float>(height) * ratioWidth));
  }
  // A sliver picture still keeps one pixel.
  fitWidth = std::max(fitWidth, 1);
  fitHeight = std::max(fitHeight, 1);
}

std::optional<TBitmap> DecodePictureUnfitted(std::span<const std::uint8_t> bytes, std::string_view extension,
                                             int boxWidth, int boxHeight) {
  switch (FormatFromExtension(extension)) {
    case TPictureFormat::Jpeg: return DecodeJpeg(bytes, boxWidth, boxHeight);
    case TPictureFormat::Gif: return DecodeGif(bytes);
    case TPictureFormat::Png: return DecodePng(bytes);
    case TPictureFormat::Bmp: return DecodeBmp(bytes);
    case TPictureFormat::Unknown: return std::nullopt;
  }
  return std::nullopt;
}

std::optional<TBitmap> DecodePicture(std::span<const std::uint8_t> bytes, std::string_view extension, int boxWidth,
                                     int boxHeight) {
  std::optional<TBitmap> decoded = DecodePictureUnfitted(bytes, extension, boxWidth, boxHeight);
  if (!decoded || decoded->Empty()) return std::nullopt;
  int width = 0, height = 0;
  FitSize(decoded->Width, decoded->Height, boxWidth, boxHeight, width, height);
  if (width == decoded->Width && height == decoded->Height) return decoded;
  return ScaleBitmap(*decoded, width, height);
}

namespace {

std::uint32_t Be(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = 0; i < size; ++i) value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

// The frame header (SOF) of a JPEG, found by walking its marker segments.
std::optional<TPictureDimensions> JpegDimensions(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return std::nullopt;
  std::size_t at = 2;
  while (at + 4 <= bytes.size()) {
    if (bytes[at] != 0xFF) return std::nullopt;
    const std::uint8_t marker = bytes[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    const std::uint32_t length = Be(bytes, at + 2, 2);
    if (length < 2) return std::nullopt;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (at + 9 > bytes.size()) return std::nullopt;
      const int height = static_cast<int>(Be(bytes, at + 5, 2));
      const int width = static_cast<int>(Be(bytes, at + 7, 2));
      if (!PictureSizeAllowed(width, height)) return std::nullopt;
      return TPictureDimensions{width, height};
    }
    if (marker == 0xDA || marker == 0xD9) return std::nullopt;  // no frame before the scan
    at += 2 + length;
  }
  return std::nullopt;
}

std::optional<TPictureDimensions> PngDimensions(std::span<const std::uint8_t> bytes) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 24 || std::memcmp(bytes.data(), kSignature, 8) != 0 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) {
    return std::nullopt;
  }
  const std::int64_t width = Be(bytes, 16, 4), height = Be(bytes, 20, 4);
  if (!PictureSizeAllowed(width, height)) return std::nullopt;
  return TPictureDimensions{static_cast<int>(width), static_cast<int>(height)};
}

// As DecodeGif sizes its picture: the logical screen, grown to hold the
// first image.
std::optional<TPictureDimensions> GifDimensions(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 13 || std::memcmp(bytes.data(), "GIF", 3) != 0) return std::nullopt;
  const std::int64_t screenWidth = Le(bytes, 6, 2), screenHeight = Le(bytes, 8, 2);
  std::size_t at = 13;
  if (bytes[10] & 0x80) at += 3u << ((bytes[10] & 7) + 1);
  while (at < bytes.size()) {
    if (bytes[at] == 0x21) {  // extension: label, then sub-blocks up to an empty one
      at += 2;
      while (at < bytes.size() && bytes[at] != 0) at += 1u + bytes[at];
      ++at;
      continue;
    }
    if (bytes[at] != 0x2C || at + 10 > bytes.size()) return std::nullopt;
    const std::int64_t left = Le(bytes, at + 1, 2), top = Le(bytes, at + 3, 2);
    const std::int64_t width = Le(bytes, at + 5, 2), height = Le(bytes, at + 7, 2);
    if (width <= 0 || height <= 0) return std::nullopt;
    const std::int64_t wholeWidth = std::max(screenWidth, left + width), wholeHeight = std::max(screenHeight, top + height);
    if (!PictureSizeAllowed(wholeWidth, wholeHeight)) return std::nullopt;
    return TPictureDimensions{static_cast<int>(wholeWidth), static_cast<int>(wholeHeight)};
  }
  return std::nullopt;
}

std::optional<TPictureDimensions> BmpDimensions(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint32_t headerSize = Le(bytes, 14, 4);
  std::int64_t width = 0, height = 0;
  if (headerSize == 12) {
    width = static_cast<std::int16_t>(Le(bytes, 18, 2));
    height = static_cast<std::int16_t>(Le(bytes, 20, 2));
  } else {
    width = static_cast<std::int32_t>(Le(bytes, 18, 4));
    height = static_cast<std::int32_t>(Le(bytes, 22, 4));
  }
  if (height < 0) height = -height;
  if (!PictureSizeAllowed(width, height)) return std::nullopt;
  return TPictureDimensions{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace

std::optional<TPictureDimensions> ReadPictureDimensions(std::span<const std::uint8_t> bytes,
                                                        std::string_view extension) {
  switch (FormatFromExtension(extension)) {
    case TPictureFormat::Jpeg: return JpegDimensions(bytes);
    case TPictureFormat::Gif: return GifDimensions(bytes);
    case TPictureFormat::Png: return PngDimensions(bytes);
    case TPictureFormat::Bmp: return BmpDimensions(bytes);
    case TPictureFormat::Unknown: return std::nullopt;
  }
  return std::nullopt;
}

std::string PictureContentType(std::span<const std::uint8_t> bytes) {
  auto starts = [&](std::string_view magic) {
    return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
  };
  if (starts("\xFF\xD8\xFF")) return "image/jpeg";
  if (starts("\x89PNG\r\n\x1A\n")) return "image/png";
  if (starts("GIF87a") || starts("GIF89a")) return "image/gif";
  if (starts("BM")) return "image/bmp";
  return "";
}
