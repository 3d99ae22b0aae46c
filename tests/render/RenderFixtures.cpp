#include "RenderFixtures.h"

#include "catalog/TCatalogReader.h"
#include "tools/TCatalogWriter.h"


void LoadMovies(TMovieList& list, std::vector<TMovie>& movies) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(TMovieProperties{});
  for (const TMovie& movie : movies) writer.WriteMovie(movie);
  TMemorySource source(Bytes(writer.Bytes()));
  ReadCatalog(source, list);
}

TBitmap SolidImage(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  TBitmap image(width, height);
  for (std::size_t i = 0; i < image.Pixels.size(); i += 4) {
    image.Pixels[i] = r;
    image.Pixels[i + 1] = g;
    image.Pixels[i + 2] = b;
    image.Pixels[i + 3] = 255;
  }
  return image;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}
