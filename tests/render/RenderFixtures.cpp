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

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}
