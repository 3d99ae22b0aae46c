#include "render/TBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

TBitmap::TBitmap(int width, int height)
    : Width(width), Height(height), Pixels(static_cast<std::size_t>(width) * height * 4) {}

namespace {

// The source pixels each output pixel covers along one axis, with the share
// of each: output i takes Count[i] pixels from First[i] on, with the weights
// at Weights[Offset[i]...].
struct TSpans {
  std::vector<int> First;
  std::vector<int> Count;
  std::vector<int> Offset;
  std::vector<float> Weights;
};

TSpans AreaSpans(int from, int to) {
  TSpans spans;
  double scale = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    double start = i * scale;
    double end = (i + 1) * scale;
    int first = static_cast<int>(start);
    int last = std::min(from - 1, static_cast<int>(std::ceil(end)) - 1);
    spans.First.push_back(first);
    spans.Offset.push_back(static_cast<int>(spans.Weights.size()));
    double total = 0;
    std::size_t begin = spans.Weights.size();
    for (int s = first; s <= last; ++s) {
      double cover = std::max(0.0, std::min<double>(end, s + 1) - std::max<double>(start, s));
      spans.Weights.push_back(static_cast<float>(cover));
      total += cover;
    }
    for (std::size_t k = begin; k < spans.Weights.size(); ++k) spans.Weights[k] = static_cast<float>(spans.Weights[k] / total);
    spans.Count.push_back(last - first + 1);
  }
  return spans;
}

bool Opaque(const TBitmap& bitmap) {
  for (std::size_t i = 3; i < bitmap.Pixels.size(); i += 4) {
    if (bitmap.Pixels[i] != 255) return false;
  }
  return true;
}

typedef float TPixelSum __attribute__((vector_size(16)));

// The same averaging for pictures without transparency (every cover
// decoded from JPEG), the hot path of page pictures: rows first, straight
// from the bytes in loops the compiler vectorises, then columns on the
// fewer rows, three channels at a time.
TBitmap ScaleOpaque(const TBitmap& source, int width, int height, const TSpans& columns, const TSpans& rows) {
  const std::size_t sourceRow = static_cast<std::size_t>(source.Width) * 4;
  auto middle = std::make_unique_for_overwrite<float[]>(sourceRow);
  TBitmap result(width, height);
  for (int y = 0; y < height; ++y) {
    const float* w = &rows.Weights[static_cast<std::size_t>(rows.Offset[y])];
    const std::uint8_t* first = source.Pixel(0, rows.First[y]);
    for (std::size_t i = 0; i < sourceRow; ++i) middle[i] = w[0] * first[i];
    for (int k = 1; k < rows.Count[y]; ++k) {
      const std::uint8_t* in = source.Pixel(0, rows.First[y] + k);
      const float weight = w[k];
      for (std::size_t i = 0; i < sourceRow; ++i) middle[i] += weight * in[i];
    }
    std::uint8_t* out = result.Pixel(0, y);
    for (int x = 0; x < width; ++x, out += 4) {
      const float* p = &middle[static_cast<std::size_t>(columns.First[x]) * 4];
      const float* cw = &columns.Weights[static_cast<std::size_t>(columns.Offset[x])];
      // One pixel's four channels as one vector.
      TPixelSum sum = {0, 0, 0, 0};
      for (int k = 0; k < columns.Count[x]; ++k, p += 4) {
        TPixelSum pixel;
        std::memcpy(&pixel, p, sizeof pixel);
        sum += cw[k] * pixel;
      }
      for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(std::clamp(sum[c] + 0.5f, 0.0f, 255.0f));
      out[3] = 255;
    }
  }
  return result;
}

}  // namespace

TBitmap ScaleBitmap(const TBitmap& source, int width, int height) {
  if (source.Empty() || width <= 0 || height <= 0) return TBitmap();
  if (width == source.Width && height == source.Height) return source;
  const TSpans columns = AreaSpans(source.Width, width);
  const TSpans rows = AreaSpans(source.Height, height);
  // Colours are weighted by alpha so that transparent pixels add no colour;
  // opaque pictures skip that work.
  const bool opaque = Opaque(source);
  if (opaque) return ScaleOpaque(source, width, height, columns, rows);

  // Horizontal pass into floats (premultiplied), then the vertical pass.
  std::vector<float> middle(static_cast<std::size_t>(width) * source.Height * 4);
  for (int y = 0; y < source.Height; ++y) {
    const std::uint8_t* in = source.Pixel(0, y);
    float* out = &middle[static_cast<std::size_t>(y) * width * 4];
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = in + static_cast<std::size_t>(columns.First[x]) * 4;
      const float* w = &columns.Weights[static_cast<std::size_t>(columns.Offset[x])];
      float sum[4] = {0, 0, 0, 0};
      for (int k = 0; k < columns.Count[x]; ++k, p += 4) {
        float weight = opaque ? w[k] : w[k] * p[3];
        sum[0] += weight * p[0];
        sum[1] += weight * p[1];
        sum[2] += weight * p[2];
        sum[3] += weight;
      }
      for (int c = 0; c < 4; ++c) out[x * 4 + c] = sum[c];
    }
  }
  TBitmap result(width, height);
  std::vector<float> sum(static_cast<std::size_t>(width) * 4);
  for (int y = 0; y < height; ++y) {
    std::fill(sum.begin(), sum.end(), 0.0f);
    const float* w = &rows.Weights[static_cast<std::size_t>(rows.Offset[y])];
    for (int k = 0; k < rows.Count[y]; ++k) {
      const float* in = &middle[static_cast<std::size_t>(rows.First[y] + k) * width * 4];
      const float weight = w[k];
      for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += weight * in[i];
    }
    std::uint8_t* out = result.Pixel(0, y);
    for (int x = 0; x < width; ++x) {
      float a = sum[x * 4 + 3];
      // Opaque sums carry a weight total of 1 in the alpha slot.
      float scale = a > 0 ? 1.0f / a : 0.0f;
      for (int c = 0; c < 3; ++c) {
        out[x * 4 + c] = static_cast<std::uint8_t>(std::clamp(sum[x * 4 + c] * scale + 0.5f, 0.0f, 255.0f));
      }
      out[x * 4 + 3] = opaque ? 255 : static_cast<std::uint8_t>(std::clamp(a + 0.5f, 0.0f, 255.0f));
    }
  }
  return result;
}
