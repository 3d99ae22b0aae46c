#include "RenderFixtures.h"

#include "catalog/TCatalogReader.h"
#include "tools/TCatalogWriter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

void LoadMovies(TMovieList& list, std::vector<TMovie>& movies) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(TMovieProperties{});
  for (const TMovie& movie : movies) writer.WriteMovie(movie);
  TMemorySource source(Bytes(writer.Bytes()));
  ReadCatalog(source, list);
}

TRgbImage SolidImage(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  TRgbImage image{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
  for (std::size_t i = 0; i < image.Rgb.size(); i += 3) {
    image.Rgb[i] = r;
    image.Rgb[i + 1] = g;
    image.Rgb[i + 2] = b;
  }
  return image;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TScratchFolder::TScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "elk-render-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TScratchFolder::~TScratchFolder() {
  std::error_code error;
  std::filesystem::remove_all(m_path, error);
}

void TScratchFolder::Write(const std::string& name, const std::string& bytes) const {
  std::filesystem::create_directories(std::filesystem::path(File(name)).parent_path());
  std::ofstream(File(name), std::ios::binary) << bytes;
}
