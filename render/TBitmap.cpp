#include "render/TBitmap.h"

#include <algorithm>
#include <cmath>

TBitmap::TBitmap(int width, int height)
    : Width(width), Height(height), Pixels(static_cast<std::size_t>(width) * height * 4) {}

namespace {

// The source pixels an output pixel covers along one axis, with the share of
// each, for a scale from `from` to `to` pixels.
struct TSpan {
  int First = 0;
  std::vector<float> Weights;
};

std::vector<TSpan> AreaSpans(int from, int to) {
  std::vector<TSpan> spans(static_cast<std::size_t>(to));
  double scale = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    double start = i * scale;
    double end = (i + 1) * scale;
    int first = static_cast<int>(start);
    int last = std::min(from - 1, static_cast<int>(std::ceil(end)) - 1);
    TSpan& span = spans[static_cast<std::size_t>(i)];
    span.First = first;
    double total = 0;
    for (int s = first; s <= last; ++s) {
      double cover = std::min<double>(end, s + 1) - std::max<double>(start, s);
      if (cover < 0) cover = 0;
      span.Weights.push_back(static_cast<float>(cover));
      total += cover;
    }
    for (float& w : span.Weights) w = static_cast<float>(w / total);
  }
  return spans;
}

}  // namespace

TBitmap ScaleBitmap(const TBitmap& source, int width, int height) {
  if (source.Empty() || width <= 0 || height <= 0) return TBitmap();
  if (width == source.Width && height == source.Height) return source;
  std::vector<TSpan> columns = AreaSpans(source.Width, width);
  std::vector<TSpan> rows = AreaSpans(source.Height, height);

  // Horizontal pass into premultiplied floats, then the vertical pass.
  std::vector<float> middle(static_cast<std::size_t>(width) * source.Height * 4);
  for (int y = 0; y < source.Height; ++y) {
    const std::uint8_t* in = source.Pixel(0, y);
    float* out = &middle[static_cast<std::size_t>(y) * width * 4];
    for (int x = 0; x < width; ++x) {
      const TSpan& span = columns[static_cast<std::size_t>(x)];
      float r = 0, g = 0, b = 0, a = 0;
      for (std::size_t k = 0; k < span.Weights.size(); ++k) {
        const std::uint8_t* p = in + (static_cast<std::size_t>(span.First) + k) * 4;
        float w = span.Weights[k] * p[3];
        r += w * p[0];
        g += w * p[1];
        b += w * p[2];
        a += w;
      }
      out[x * 4] = r;
      out[x * 4 + 1] = g;
      out[x * 4 + 2] = b;
      out[x * 4 + 3] = a;
    }
  }
  TBitmap result(width, height);
  std::vector<float> sum(static_cast<std::size_t>(width) * 4);
  for (int y = 0; y < height; ++y) {
    const TSpan& span = rows[static_cast<std::size_t>(y)];
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (std::size_t k = 0; k < span.Weights.size(); ++k) {
      const float* in = &middle[(static_cast<std::size_t>(span.First) + k) * width * 4];
      float w = span.Weights[k];
      for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += w * in[i];
    }
    std::uint8_t* out = result.Pixel(0, y);
    for (int x = 0; x < width; ++x) {
      float a = sum[x * 4 + 3];
      for (int c = 0; c < 3; ++c) {
        float value = a > 0 ? sum[x * 4 + c] / a : 0;
        out[x * 4 + c] = static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
      }
      out[x * 4 + 3] = static_cast<std::uint8_t>(std::clamp(a + 0.5f, 0.0f, 255.0f));
    }
  }
  return result;
}
