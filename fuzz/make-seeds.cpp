// Writes the fuzzers' first inputs, made by our own tools: small catalogs
// of every version, pictures of every format, settings, schemes and
// language files, request addresses, and search pairs.
//
//   make-fuzz-seeds FOLDER SOURCE_FOLDER
//
// FOLDER receives one subfolder per target; SOURCE_FOLDER is the source
// tree, whose shipped schemes and language files are seeds too.

#include "config/TViewerSettings.h"
#include "tools/SampleCatalog.h"
#include "tools/SamplePictures.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

void Seed(const fs::path& folder, const std::string& name, const std::string& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make-fuzz-seeds FOLDER SOURCE_FOLDER\n");
    return 2;
  }
  const fs::path out(argv[1]), source(argv[2]);
  const fs::path scratch = out / "scratch";
  fs::create_directories(scratch);

  // Catalogs: every version, pictures embedded or none, a few movies each.
  int n = 0;
  for (TFormatVersion version : {TFormatVersion::V35, TFormatVersion::V33, TFormatVersion::V31}) {
    for (TSamplePictures pictures : {TSamplePictures::Embedded, TSamplePictures::None}) {
      TSampleOptions options;
      options.Version = version;
      options.Movies = 3;
      options.Seed = static_cast<std::uint32_t>(n + 1);
      options.Pictures = pictures;
      options.CoverWidth = 16;
      options.CoverHeight = 24;
      fs::path path = scratch / "seed.qzt";
      WriteSampleCatalog(path.string(), options);
      Seed(out / "catalog", "catalog-" + std::to_string(n++), ReadFile(path));
    }
  }

  // Pictures: the first byte picks the extension (0 .jpg, 1 .png, 2 .gif,
  // 3 .bmp), the next two the box.
  const char* extensions[] = {".jpg", ".png", ".gif", ".bmp"};
  for (int e = 0; e < 4; ++e) {
    for (int size : {1, 7, 33}) {
      std::string picture = EncodePictureFile(DrawSampleCover(size, size + 3, static_cast<std::uint32_t>(size)), extensions[e]);
      std::string input = {static_cast<char>(e), 25, 25};
      Seed(out / "picture", std::string("picture") + extensions[e] + "-" + std::to_string(size), input + picture);
    }
  }

  // Ini files: saved settings (with templates and user variables), the
  // shipped schemes and language, and line-break oddities.
  TViewerSettings settings;
  LoadSettings(settings, scratch.string(), 1024, 768);
  settings.UserVars.Set("a&equal;b", "c");
  settings.Password = "secret";
  SaveSettings(settings, scratch.string());
  Seed(out / "ini", "config", ReadFile(scratch / kConfigFileName));
  Seed(out / "ini", "schemes", ReadFile(source / "data" / "Schemes.ini"));
  Seed(out / "ini", "language", ReadFile(source / "data" / "Deutsch.lng"));
  Seed(out / "ini", "breaks", "\xEF\xBB\xBF[S]\ra=1\r\nb = \"2\"\n;c\r\r\n[T]");

  // Requests.
  const char* urls[] = {"movie://localhost/movie[1].html", "movie://localhost/movie[1,2,3].html",
                        "movie://localhost/moviesearch[star%20wars].html", "movie://localhost/image-large-1.jpg",
                        "movie://localhost/rating07.gif", "movie://localhost/style.css",
                        "movie://localhost/pics/logo.gif", "movie://localhost/a\\b:c\\style.css",
                        "movie://localhost/%43onfig.ini", "movie://elsewhere/x"};
  n = 0;
  for (const char* url : urls) Seed(out / "request", "request-" + std::to_string(n++), url);

  // Search pairs: a field byte, the value, a zero byte, the pattern.
  const std::string pairs[] = {std::string("\x00The Star Wars\x00*star*wars*", 27),
                               std::string("\x01" "Alien\x00?lien", 12), std::string("\x02" "abc\x00**", 8),
                               std::string("\x03" "\"quoted\x00\"quoted", 17)};
  n = 0;
  for (const std::string& pair : pairs) Seed(out / "search", "search-" + std::to_string(n++), pair);

  fs::remove_all(scratch);
  return 0;
}
