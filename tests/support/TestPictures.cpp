#include "tests/support/TestPictures.h"

TBitmap SolidBitmap(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  TBitmap image(width, height);
  for (std::size_t i = 0; i < image.Pixels.size(); i += 4) {
    image.Pixels[i] = r;
    image.Pixels[i + 1] = g;
    image.Pixels[i + 2] = b;
    image.Pixels[i + 3] = 255;
  }
  return image;
}
