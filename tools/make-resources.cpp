// Draws the viewer's built-in pictures at build time and writes them as a C++
// source file of byte arrays: the rating images "stars00".."stars10" (65 x 13
// GIF, five stars, index/2 of them gold and a half star at odd indexes) and
// "blank" (16 x 16, fully transparent GIF).
//
//   make-resources OUTPUT.cpp [PNG-FOLDER]
//
// With PNG-FOLDER the pictures are also written there enlarged, to look at.

#include <cmath>
#include <cstdio>
#include <fstream>
#include <gif_lib.h>
#include <string>
#include <vector>

namespace {

enum TColor : GifByteType { kClear = 0, kGoldFill, kGoldEdge, kGreyFill, kGreyEdge };

const GifColorType kPalette[8] = {{255, 255, 255}, {255, 194, 14}, {176, 112, 0}, {222, 222, 222},
                                  {150, 150, 150}, {0, 0, 0},      {0, 0, 0},     {0, 0, 0}};

struct TPicture {
  int Width;
  int Height;
  std::vector<GifByteType> Index;
};

// Inside test for a five-pointed star around (cx, cy).
bool InStar(double x, double y, double cx, double cy, double outer, double inner) {
  double px[10], py[10];
  for (int i = 0; i < 10; ++i) {
    double radius = i % 2 == 0 ? outer : inner;
    double angle = -M_PI / 2 + i * M_PI / 5;
    px[i] = cx + radius * std::cos(angle);
    py[i] = cy + radius * std::sin(angle);
  }
  bool inside = false;
  for (int i = 0, j = 9; i < 10; j = i++) {
    if ((py[i] > y) != (py[j] > y) && x < (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]) + px[i]) inside = !inside;
  }
  return inside;
}

TPicture Stars(int step) {
  TPicture picture{65, 13, std::vector<GifByteType>(65 * 13, kClear)};
  std::vector<bool> star(65 * 13, false);
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 65; ++x) {
      int k = x / 13;
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
          hits += InStar(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4, 13 * k + 6.5, 7.0, 6.5, 3.0) ? 1 : 0;
        }
      }
      star[y * 65 + x] = hits >= 6;
    }
  }
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 65; ++x) {
      if (!star[y * 65 + x]) continue;
      bool edge = x == 0 || y == 0 || x == 64 || y == 12 || !star[y * 65 + x - 1] || !star[y * 65 + x + 1] ||
                  !star[(y - 1) * 65 + x] || !star[(y + 1) * 65 + x];
      // Star k is gold when it lies within step/2 stars, half gold (left
      // half) for the one star an odd step splits.
      double position = (x + 0.5) / 13.0;
      bool gold = position * 2 < step;
      picture.Index[y * 65 + x] = gold ? (edge ? kGoldEdge : kGoldFill) : (edge ? kGreyEdge : kGreyFill);
    }
  }
  return picture;
}

int AppendBytes(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
  return length;
}

std::string EncodeGif(const TPicture& picture) {
  std::string bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, AppendBytes, &error);
  ColorMapObject* map = GifMakeMapObject(8, kPalette);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, picture.Width, picture.Height, 3, 0, map);
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSAL_UNSPECIFIED;
  control.DelayTime = 0;
  control.TransparentColor = kClear;
  GifByteType extension[4];
  EGifGCBToExtension(&control, extension);
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
  EGifPutImageDesc(gif, 0, 0, picture.Width, picture.Height, false, nullptr);
  for (int y = 0; y < picture.Height; ++y) {
    EGifPutLine(gif, const_cast<GifByteType*>(&picture.Index[static_cast<std::size_t>(y) * picture.Width]), picture.Width);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return bytes;
}

// A plain PPM-like preview would need another format; a simple uncompressed
// PNG needs zlib, so previews are written as enlarged GIFs instead.
void WritePreview(const std::string& path, const TPicture& picture, int zoom) {
  TPicture big{picture.Width * zoom, picture.Height * zoom, {}};
  big.Index.resize(static_cast<std::size_t>(big.Width) * big.Height);
  for (int y = 0; y < big.Height; ++y) {
    for (int x = 0; x < big.Width; ++x) big.Index[y * big.Width + x] = picture.Index[(y / zoom) * picture.Width + x / zoom];
  }
  std::ofstream(path, std::ios::binary) << EncodeGif(big);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make-resources OUTPUT.cpp [PREVIEW-FOLDER]\n");
    return 2;
  }
  std::vector<std::pair<std::string, std::string>> resources;
  char name[16];
  for (int step = 0; step <= 10; ++step) {
    std::snprintf(name, sizeof name, "stars%02d", step);
    TPicture picture = Stars(step);
    resources.emplace_back(name, EncodeGif(picture));
    if (argc > 2) WritePreview(std::string(argv[2]) + "/" + name + ".gif", picture, 8);
  }
  resources.emplace_back("blank", EncodeGif(TPicture{16, 16, std::vector<GifByteType>(256, kClear)}));

  std::ofstream out(argv[1]);
  out << "// Generated by make-resources; do not edit.\n#include \"render/Resources.h\"\n\nnamespace {\n";
  for (const auto& [resource, bytes] : resources) {
    out << "const unsigned char k_" << resource << "[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      out << (i % 16 == 0 ? "\n  " : " ") << static_cast<int>(static_cast<unsigned char>(bytes[i])) << ",";
    }
    out << "\n};\n";
  }
  out << "}  // namespace\n\nconst std::vector<TResource>& EmbeddedResources() {\n"
         "  static const std::vector<TResource> resources = {\n";
  for (const auto& [resource, bytes] : resources) {
    out << "      {\"" << resource << "\", {k_" << resource << ", sizeof k_" << resource << "}},\n";
  }
  out << "  };\n  return resources;\n}\n";
  return out ? 0 : 1;
}
