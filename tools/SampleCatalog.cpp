#include "tools/SampleCatalog.h"

#include "tools/SamplePictures.h"
#include "tools/TCatalogWriter.h"

#include <array>
#include <filesystem>
#include <vector>

namespace {

struct TRandom {
  std::uint64_t State;
  std::uint32_t Next() {
    State = State * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(State >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
  }
};

// "\xE9" and friends are Windows-1252 letters, as catalogs store them.
constexpr std::array<const char*, 16> kAdjectives = {
    "Silent", "Iron", "Crimson", "Last", "Hidden", "Frozen", "Golden", "Broken",
    "Midnight", "Distant", "Wild", "Secret", "Burning", "Lonely", "Electric", "Forgotten"};
constexpr std::array<const char*, 16> kNouns = {
    "Harbor", "Moon", "Empire", "Garden", "Express", "Witness", "Mountain", "River",
    "Voyage", "Kingdom", "Shadow", "Station", "Alien", "Horizon", "Orchestra", "Castle"};
constexpr std::array<const char*, 8> kForeign = {
    "Le Ch\xE2teau", "Die R\xFC" "ckkehr", "El Se\xF1or", "La F\xEAte", "Der K\xF6nig", "Sm\xF6rg\xE5sbord", "L'\xC9t\xE9",
    "Na\xEFve"};
constexpr std::array<const char*, 20> kFirstNames = {
    "Anna", "Ben", "Clara", "David", "Elena", "Frank", "Greta", "Hugo", "Ines", "Jakob",
    "Karin", "Luis", "Marta", "Nils", "Olga", "Pedro", "Ren\xE9" "e", "Sven", "Tom\xE1s", "Zo\xEB"};
constexpr std::array<const char*, 20> kLastNames = {
    "Abbott", "Berg", "Castillo", "Dubois", "Eriksen", "Fischer", "Garc\xED" "a", "Hansen", "Ivanova", "Jensen",
    "Kowalski", "Lindqvist", "M\xFCller", "Novak", "O'Brien", "Petrov", "Quinn", "Rossi", "Svensson", "Weber"};
constexpr std::array<const char*, 12> kCategories = {"Drama", "Comedy", "Action", "Thriller", "Science Fiction",
                                                     "Horror", "Romance", "Western", "Documentary", "Animation",
                                                     "Crime", "Adventure"};
constexpr std::array<const char*, 8> kLanguages = {"English", "German", "French", "Spanish",
                                                   "Italian", "Swedish", "Japanese", "Fran\xE7" "ais"};
constexpr std::array<const char*, 8> kCountries = {"USA", "UK", "France", "Germany", "Italy", "Sweden", "Japan", "Espa\xF1" "a"};
constexpr std::array<const char*, 4> kMediaTypes = {"DVD", "Blu-ray", "VHS", "CD-R"};
constexpr std::array<const char*, 4> kSources = {"Bought", "Gift", "Recorded", "Rented"};
constexpr std::array<const char*, 5> kVideoFormats = {"DivX 5", "XviD", "H.264", "MPEG-2", "HEVC"};
constexpr std::array<const char*, 4> kAudioFormats = {"MP3", "AC3", "AAC", "DTS"};
constexpr std::array<const char*, 4> kResolutions = {"720x576", "640x480", "1920x1080", "1280x720"};
constexpr std::array<const char*, 3> kFramerates = {"25", "23.976", "29.97"};
constexpr std::array<const char*, 6> kRoles = {"as Max", "voice", "uncredited", "as the Captain", "cameo",
                                               "as Dr. Lind"};
constexpr std::array<const char*, 8> kSentences = {
    "A stranger arrives in a small town and nothing stays the same.",
    "Two old friends meet again after twenty years.",
    "The crew of a lost ship fights to get home.",
    "A detective follows a trail that leads back to her own family.",
    "Nobody believed the letters until the first one came true.",
    "An orchestra on tour, a missing violin and a very long winter.",
    "It began as a bet and ended on the other side of the world.",
    "The caf\xE9 on the corner keeps more secrets than anyone knows."};

// Every draw is a statement of its own: the operands of "+" are evaluated
// in an order each compiler chooses, and the same seed must give the same
// bytes whatever compiled this. The order is the one the samples were
// first made with: the last name before the first.
std::string PersonName(TRandom& random) {
  const std::string last = random.Pick(kLastNames);
  const std::string first = random.Pick(kFirstNames);
  return first + " " + last;
}

std::string NameList(TRandom& random, int count, bool remarks) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ", ";
    text += PersonName(random);
    if (remarks && random.Below(3) == 0) text += std::string(" (") + random.Pick(kRoles) + ")";
  }
  return text;
}

template <std::size_t N>
std::string WordList(TRandom& random, const std::array<const char*, N>& words, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const char* word = random.Pick(words);
    if (text.find(word) != std::string::npos) continue;
    if (!text.empty()) text += ", ";
    text += word;
  }
  return text;
}

std::string Paragraphs(TRandom& random, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    if (i > 0) text += "\r\n";
    text += random.Pick(kSentences);
  }
  return text;
}

std::string PictureExtension(int index, bool jpegOnly) {
  if (jpegOnly) return ".jpg";
  if (index % 9 == 4) return ".bmp";
  if (index % 7 == 3) return ".gif";
  if (index % 4 == 1) return ".png";
  return ".jpg";
}

// One movie's record, drawn field by field in a fixed order (the samples of
// a seed stay the same file).
TMovie SampleMovie(TRandom& random, int i, TFormatVersion version) {
  TMovie m;
  m.Number = random.Below(20) == 0 ? -1 : i + 1;
  m.Date = 36000 + random.Below(10000);
  m.Rating = random.Below(12) == 0 ? -1 : random.Below(101);
  if (version != TFormatVersion::V35 && m.Rating != -1) m.Rating = m.Rating / 10 * 10;
  m.Year = random.Below(15) == 0 ? -1 : 1920 + random.Below(106);
  m.Length = random.Below(15) == 0 ? -1 : 75 + random.Below(120);
  m.VideoBitrate = random.Below(10) == 0 ? -1 : 500 + random.Below(40) * 50;
  m.AudioBitrate = random.Below(10) == 0 ? -1 : 64 + random.Below(6) * 32;
  m.Disks = random.Below(10) == 0 ? -1 : 1 + random.Below(3);
  m.Checked = random.Below(2) == 1;
  m.Media = "Shelf " + std::to_string(1 + random.Below(20));
  if (version != TFormatVersion::V31) {
    m.MediaType = random.Pick(kMediaTypes);
    m.Source = random.Pick(kSources);
  }
  m.Borrower = random.Below(6) == 0 ? PersonName(random) : "";
  // Drawn noun first, as the samples always were.
  const std::string noun = random.Pick(kNouns);
  const std::string adjective = random.Pick(kAdjectives);
  const std::string title = (random.Below(3) == 0 ? "The " : "") + adjective + " " + noun;
  int titles = random.Below(12);
  if (titles == 0) {
    // neither title
  } else if (titles == 1) {
    m.TranslatedTitle = random.Pick(kForeign);
  } else {
    m.OriginalTitle = title;
    if (random.Below(3) == 0) m.TranslatedTitle = random.Pick(kForeign);
  }
  m.Director = NameList(random, 1 + (random.Below(6) == 0 ? 1 : 0), false);
  m.Producer = NameList(random, 1 + random.Below(2), false);
  m.Country = random.Below(10) == 0 ? "" : random.Pick(kCountries);
  m.Category = random.Below(15) == 0 ? "" : WordList(random, kCategories, 1 + random.Below(3));
  m.Actors = random.Below(20) == 0 ? "" : NameList(random, 5 + random.Below(11), true);
  m.URL = "http://www.example.com/movies/" + std::to_string(i + 1);
  m.Description = Paragraphs(random, 1 + random.Below(4));
  m.Comments = random.Below(3) == 0 ? "" : Paragraphs(random, 1 + random.Below(2));
  m.VideoFormat = random.Pick(kVideoFormats);
  m.AudioFormat = random.Pick(kAudioFormats);
  m.Resolution = random.Pick(kResolutions);
  m.Framerate = random.Pick(kFramerates);
  m.Languages = WordList(random, kLanguages, 1 + random.Below(3));
  m.Subtitles = random.Below(4) == 0 ? "" : WordList(random, kLanguages, 1 + random.Below(2));
  m.Size = std::to_string(600 + random.Below(4000)) + " MB";
  return m;
}

// The movie's cover as the options say: in the record, in a "covers"
// folder beside the catalog (linked relatively or absolutely), or none.
void AddSamplePicture(TMovie& m, int i, const TSampleOptions& options, TRandom& random,
                      const std::filesystem::path& folder, bool& coversMade) {
  namespace fs = std::filesystem;
  TSamplePictures mode = options.Pictures;
  int linkKind = 0;  // 0 relative, 1 absolute
  if (mode == TSamplePictures::Mixed) {
    int pick = random.Below(10);
    mode = pick < 5 ? TSamplePictures::Embedded : pick < 9 ? TSamplePictures::Linked : TSamplePictures::None;
    linkKind = pick == 8 ? 1 : 0;
  }
  if (mode != TSamplePictures::None) {
    std::string extension = PictureExtension(i, options.JpegOnly);
    TBitmap cover = DrawSampleCover(options.CoverWidth, options.CoverHeight, options.Seed * 100003u + i);
    std::string bytes = EncodePictureFile(cover, extension);
    if (mode == TSamplePictures::Embedded) {
      m.PictureName = extension;
      m.Picture = std::make_unique<TPictureBytes>(bytes.size());
      std::copy(bytes.begin(), bytes.end(), m.Picture->Data());
    } else {
      if (!coversMade) {
        fs::create_directories(folder / "covers");
        coversMade = true;
      }
      std::string name = "m" + std::to_string(i + 1) + extension;
      WriteFileBytes((folder / "covers" / name).string(), bytes);
      m.PictureName = linkKind == 1 ? (folder / "covers" / name).string() : "covers\\" + name;
    }
  }
}

}  // namespace

void WriteSampleCatalog(const std::string& path, const TSampleOptions& options) {
  namespace fs = std::filesystem;
  TRandom random{0x5EED0000ull + options.Seed * 7919ull};
  TCatalogWriter writer(options.Version);
  TMovieProperties properties;
  properties.OwnerName = options.Seed % 5 == 4 ? "" : "Ann";
  properties.HeaderText1 = "Sample catalog";
  properties.HeaderText2 = "";
  properties.HeaderText3 = "";
  writer.WriteHeader(properties);

  fs::path folder = fs::absolute(fs::path(path)).parent_path();
  bool coversMade = false;

  for (int i = 0; i < options.Movies; ++i) {
    TMovie m = SampleMovie(random, i, options.Version);
    AddSamplePicture(m, i, options, random, folder, coversMade);
    writer.WriteMovie(m);
  }
  WriteFileBytes(path, writer.Bytes());
}
