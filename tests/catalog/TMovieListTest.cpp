#include "catalog/TCatalogPreload.h"
#include "catalog/TCatalogReader.h"
#include "catalog/TMovieList.h"
#include "config/TViewerError.h"
#include "tools/TCatalogWriter.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TMovie MakeMovie(const std::string& title, std::int32_t rating = 75) {
  TMovie m;
  m.Number = 7;
  m.Date = 36526;
  m.Rating = rating;
  m.Year = 1999;
  m.Length = 95;
  m.VideoBitrate = -1;
  m.AudioBitrate = 128;
  m.Disks = 1;
  m.Checked = true;
  m.Media = "Shelf 1";
  m.MediaType = "DVD";
  m.Source = "Gift";
  m.Borrower = "Bo";
  m.OriginalTitle = title;
  m.TranslatedTitle = "T-" + title;
  m.Actors = "A (x), B";
  m.Description = "line1\r\nline2";
  m.PictureName = ".jpg";
  m.Picture = std::make_unique<TPictureBytes>(5);
  for (int i = 0; i < 5; ++i) m.Picture->Data()[i] = static_cast<std::uint8_t>(i + 1);
  return m;
}

TMovieProperties Owner() {
  TMovieProperties p;
  p.OwnerName = "Ann";
  p.HeaderText1 = "h1";
  p.HeaderText2 = "h2";
  p.HeaderText3 = "h3";
  return p;
}

// Loads bytes through the in-memory source; returns the error text or "".
std::string Load(const std::string& bytes, TMovieList& list) {
  TMemorySource source({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  try {
    ReadCatalog(source, list);
  } catch (const TViewerError& error) {
    return error.what();
  }
  return "";
}

class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    m_path = (std::filesystem::temp_directory_path() / ("elk-test-" + std::to_string(::getpid()) + "-" +
                                                        std::to_string(s_counter++) + ".qzt"))
                 .string();
    WriteFileBytes(m_path, bytes);
  }
  ~TempFile() { std::filesystem::remove(m_path); }
  const std::string& Path() const { return m_path; }

 private:
  static inline int s_counter = 0;
  std::string m_path;
};

}  // namespace

TEST(TMovieList, LoadsAHeaderWithoutRecordsAsAnEmptyCatalog) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(Owner());
  TMovieList list;
  EXPECT_EQ(Load(writer.Bytes(), list), "");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Properties().OwnerName, "Ann");
  EXPECT_EQ(list.Properties().HeaderText3, "h3");
}

TEST(TMovieList, RefusesEverySignatureThatIsNotExact) {
  std::string good = CatalogSignature(TFormatVersion::V35);
  std::string oneByte = good;
  oneByte[20] = 'x';
  std::string lowerCase = good;
  lowerCase[1] = 'q';
  std::string withZero = good;
  withZero[40] = '\0';
  for (const std::string& bad : {std::string(), good.substr(0, 64), oneByte, lowerCase, withZero}) {
    TMovieList list;
    std::string bytes = bad;
    bytes += std::string(20, '\0');  // a header's worth of empty strings
    EXPECT_EQ(Load(bytes, list), "Cannot identify file type from header");
    EXPECT_EQ(list.Count(), 0);
  }
}

TEST(TMovieList, DropsTheCutRecordAndKeepsTheOnesBefore) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(Owner());
  writer.WriteMovie(MakeMovie("First"));
  std::size_t firstEnd = writer.Bytes().size();
  writer.WriteMovie(MakeMovie("Second"));
  const std::string full = writer.Bytes();
  // Every cut inside the second record: in a number, the flag, a string,
  // the picture length or the picture bytes.
  for (std::size_t cut = firstEnd; cut < full.size(); ++cut) {
    TMovieList list;
    ASSERT_EQ(Load(full.substr(0, cut), list), "") << cut;
    ASSERT_EQ(list.Count(), 1) << "cut at " << cut;
    EXPECT_EQ(list.LoadedCompletely(), cut == firstEnd) << "cut at " << cut;
    EXPECT_EQ(list.Items(0).OriginalTitle, "First");
  }
  TMovieList list;
  EXPECT_EQ(Load(full, list), "");
  EXPECT_TRUE(list.LoadedCompletely());
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(1).OriginalTitle, "Second");
  ASSERT_TRUE(list.Items(1).Picture);
  EXPECT_EQ(list.Items(1).Picture->Size(), 5u);
  EXPECT_EQ(list.Items(1).Picture->Read().Bytes()[4], 5);
}

TEST(TMovieList, FailsWithStreamReadErrorWhenTheHeaderIsCut) {
  TCatalogWriter writer(TFormatVersion::V33);
  writer.WriteHeader(Owner());
  const std::string full = writer.Bytes();
  for (std::size_t cut = 65; cut < full.size(); ++cut) {
    TMovieList list;
    EXPECT_EQ(Load(full.substr(0, cut), list), "Stream read error") << cut;
    EXPECT_EQ(list.Count(), 0);
  }
}

TEST(TMovieList, ReadsEachVersionsHeaderAndConvertsOldRatings) {
  struct Case {
    TFormatVersion Version;
    std::int32_t Stored;
    std::int32_t Expected;
  };
  for (Case c : {Case{TFormatVersion::V35, 75, 75}, Case{TFormatVersion::V33, 7, 70}, Case{TFormatVersion::V31, 7, 70},
                 Case{TFormatVersion::V33, -1, -1}, Case{TFormatVersion::V31, -1, -1}}) {
    TCatalogWriter writer(c.Version);
    writer.WriteHeader(Owner());
    // The writer stores tenths as whole points for old versions.
    TMovie movie = MakeMovie("M", c.Version == TFormatVersion::V35 || c.Stored == -1 ? c.Stored : c.Stored * 10);
    writer.WriteMovie(movie);
    TMovieList list;
    ASSERT_EQ(Load(writer.Bytes(), list), "");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0).Rating, c.Expected);
    EXPECT_EQ(list.Properties().HeaderText1, "h1");
    EXPECT_EQ(list.Properties().HeaderText2, "h2");
    EXPECT_EQ(list.Properties().HeaderText3, "h3");
    bool old31 = c.Version == TFormatVersion::V31;
    EXPECT_EQ(list.Items(0).MediaType, old31 ? "" : "DVD");
    EXPECT_EQ(list.Items(0).Source, old31 ? "" : "Gift");
    EXPECT_EQ(list.Items(0).Borrower, "Bo");
  }
}

TEST(TMovieList, DropsTheThirdHeaderStringOfOldVersions) {
  TCatalogWriter writer(TFormatVersion::V31);
  writer.WriteBytes(CatalogSignature(TFormatVersion::V31).data(), 65);
  for (const char* text : {"owner", "one", "dropped", "two", "three"}) writer.WriteString(text);
  TMovieList list;
  ASSERT_EQ(Load(writer.Bytes(), list), "");
  EXPECT_EQ(list.Properties().OwnerName, "owner");
  EXPECT_EQ(list.Properties().HeaderText1, "one");
  EXPECT_EQ(list.Properties().HeaderText2, "two");
  EXPECT_EQ(list.Properties().HeaderText3, "three");
}

TEST(TMovieList, ReadsZeroAndNegativeCountsAsEmptyWithoutSkippingBytes) {
  for (std::int32_t count : {0, -5}) {
    TCatalogWriter writer(TFormatVersion::V35);
    writer.WriteHeader(Owner());
    for (int i = 0; i < 8; ++i) writer.WriteInt32(i == 0 ? 3 : 0);
    writer.WriteBytes("\x02", 1);  // any non-zero flag is checked
    writer.WriteInt32(count);      // Media
    writer.WriteString("type");    // MediaType follows the count directly
    for (int i = 0; i < 19; ++i) writer.WriteString(i == 2 ? "Title" : "");
    writer.WriteString(".png");
    writer.WriteInt32(count);  // no picture, and nothing skipped after it
    writer.WriteInt32(4);      // the next record starts right here
    TMovieList list;
    ASSERT_EQ(Load(writer.Bytes(), list), "");
    ASSERT_EQ(list.Count(), 1);
    const TMovie& m = list.Items(0);
    EXPECT_EQ(m.Number, 3);
    EXPECT_TRUE(m.Checked);
    EXPECT_EQ(m.Media, "");
    EXPECT_EQ(m.MediaType, "type");
    EXPECT_EQ(m.OriginalTitle, "Title");
    EXPECT_EQ(m.PictureName, ".png");
    EXPECT_FALSE(m.Picture);
  }
}

TEST(TMovieList, EndsTheLoopAtALengthBeyondTheFileWithoutAllocatingIt) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(Owner());
  writer.WriteMovie(MakeMovie("Kept"));
  for (int i = 0; i < 8; ++i) writer.WriteInt32(0);
  writer.WriteBytes("\x00", 1);
  writer.WriteInt32(0x7FFFFFFF);  // a 2 GB string in a file of a few hundred bytes
  writer.WriteString("rest");
  TMovieList list;
  ASSERT_EQ(Load(writer.Bytes(), list), "");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0).OriginalTitle, "Kept");
}

TEST(TMovieList, WrapsLoadErrorsWithThePath) {
  TMovieList list;
  try {
    list.LoadFromFile("/nonexistent/none.qzt");
    FAIL();
  } catch (const TViewerError& error) {
    EXPECT_STREQ(error.what(),
                 "Unable to load file \"/nonexistent/none.qzt\": Cannot open file \"/nonexistent/none.qzt\". "
                 "No such file or directory");
  }
  TempFile bad("not a catalog");
  try {
    list.LoadFromFile(bad.Path());
    FAIL();
  } catch (const TViewerError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Unable to load file \"" + bad.Path() + "\": Cannot identify file type from header");
  }
}

TEST(TMovieList, GivesNewHandlesOnEveryLoadAndForgetsTheOldOnes) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(Owner());
  writer.WriteMovie(MakeMovie("A"));
  writer.WriteMovie(MakeMovie("B"));
  TempFile file(writer.Bytes());
  TMovieList list;
  list.LoadFromFile(file.Path());
  ASSERT_EQ(list.Count(), 2);
  std::int64_t first = list.Items(0).Handle;
  EXPECT_EQ(list.Items(1).Handle, first + 1);
  EXPECT_EQ(list.FindByHandle(first + 1), &list.Items(1));

  list.LoadFromFile(file.Path());
  ASSERT_EQ(list.Count(), 2);
  EXPECT_GT(list.Items(0).Handle, first + 1);
  EXPECT_EQ(list.FindByHandle(first), nullptr);
  EXPECT_EQ(list.FindByHandle(first + 1), nullptr);
  EXPECT_EQ(list.FindByHandle(list.Items(1).Handle), &list.Items(1));
  EXPECT_EQ(list.FindByHandle(0), nullptr);
  EXPECT_EQ(list.FindByHandle(-1), nullptr);
}

TEST(TMovieList, ClearKeepsTheOwnerAndItemsChecksItsIndex) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(Owner());
  writer.WriteMovie(MakeMovie("A"));
  TMovieList list;
  ASSERT_EQ(Load(writer.Bytes(), list), "");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Properties().OwnerName, "Ann");
  try {
    list.Items(5);
    FAIL();
  } catch (const TViewerError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (5)");
  }
}

TEST(TMovieList, ReadsTrailingBytesThatFormARecordAsOneMoreMovie) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(Owner());
  for (int i = 0; i < 8; ++i) writer.WriteInt32(-1);
  writer.WriteBytes("\x00", 1);
  for (int i = 0; i < 22; ++i) writer.WriteInt32(0);
  writer.WriteInt32(0);
  TMovieList list;
  ASSERT_EQ(Load(writer.Bytes(), list), "");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0).Year, -1);
  EXPECT_EQ(list.Items(0).OriginalTitle, "");
}

namespace {

// A catalog of movies whose pictures are `sizes` bytes long, each filled
// with its own byte value, so a read from the wrong place shows.
std::string PictureCatalog(const std::vector<std::size_t>& sizes, std::size_t descriptionBytes = 0) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(Owner());
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    TMovie m = MakeMovie("M" + std::to_string(i));
    if (descriptionBytes > 0) m.Description = std::string(descriptionBytes + i, static_cast<char>('a' + i));
    m.Picture = std::make_unique<TPictureBytes>(sizes[i]);
    std::fill_n(m.Picture->Data(), sizes[i], static_cast<std::uint8_t>(i + 1));
    writer.WriteMovie(m);
  }
  return writer.TakeBytes();
}

}  // namespace

TEST(TMovieList, PicturesOfAFileStayInTheFileAndReadBackExactly) {
  // Small pictures inside the read buffer, and large ones beyond it, each
  // followed by a text longer than the first read after a skipped picture.
  const std::vector<std::size_t> sizes = {10, 300000, 7, 1 << 20, 5};
  TempFile file(PictureCatalog(sizes, 20000));
  TMovieList list;
  list.LoadFromFile(file.Path());
  ASSERT_EQ(list.Count(), 5);
  for (int i = 0; i < 5; ++i) {
    const TPictureBytes& picture = *list.Items(i).Picture;
    EXPECT_TRUE(picture.InFile());
    TPictureData data = picture.Read();
    ASSERT_EQ(data.Bytes().size(), sizes[static_cast<std::size_t>(i)]) << i;
    EXPECT_TRUE(std::all_of(data.Bytes().begin(), data.Bytes().end(), [&](std::uint8_t b) { return b == i + 1; })) << i;
    EXPECT_EQ(list.Items(i).OriginalTitle, "M" + std::to_string(i));
    EXPECT_EQ(list.Items(i).Description, std::string(20000 + i, static_cast<char>('a' + i)));
  }
}

TEST(TMovieList, PicturesOfAFileRewrittenInPlaceReadAsEmpty) {
  TempFile file(PictureCatalog({100, 200}));
  TMovieList list;
  list.LoadFromFile(file.Path());
  // An editor saving over the same file: other bytes at the same places
  // (one more at the end, so the change shows even within one tick of the
  // file system's clock).
  std::string other = PictureCatalog({200, 101});
  std::FILE* out = std::fopen(file.Path().c_str(), "r+b");
  ASSERT_NE(out, nullptr);
  std::fwrite(other.data(), 1, other.size(), out);
  std::fclose(out);
  EXPECT_TRUE(list.Items(0).Picture->Read().Empty());
  EXPECT_TRUE(list.Items(1).Picture->Read().Empty());
}

TEST(TMovieList, PicturesOfAFileReplacedByRenameKeepTheirBytes) {
  TempFile file(PictureCatalog({100, 200}));
  TMovieList list;
  list.LoadFromFile(file.Path());
  TempFile replacement(PictureCatalog({3, 4}));
  std::filesystem::rename(replacement.Path(), file.Path());
  TPictureData data = list.Items(1).Picture->Read();
  ASSERT_EQ(data.Bytes().size(), 200u);
  EXPECT_EQ(data.Bytes()[199], 2);
}

TEST(TMovieList, ATextLongerThanAnyEditorWritesEndsTheRecords) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(Owner());
  writer.WriteMovie(MakeMovie("First"));
  TMovie second = MakeMovie("Second");
  second.Description.assign(kMaxCatalogText + 1, 'x');
  writer.WriteMovie(second);
  TMovieList list;
  EXPECT_EQ(Load(writer.Bytes(), list), "");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0).OriginalTitle, "First");
}

TEST(TMovieList, AFileCutShortInTheMiddleOfARecordEndsTheMoviesThere) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(Owner());
  writer.WriteMovie(MakeMovie("First"));
  writer.WriteMovie(MakeMovie("Second"));
  const std::size_t twoRecords = writer.Bytes().size();
  writer.WriteMovie(MakeMovie("Third"));
  TempFile file(writer.Bytes());
  TMovieList list;
  std::filesystem::resize_file(file.Path(), twoRecords + 10);
  list.LoadFromFile(file.Path());
  EXPECT_EQ(list.Count(), 2);
}

TEST(TCatalogPreload, GivesItsReadOnlyForTheSameUnchangedFileAndOnce) {
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(Owner());
  writer.WriteMovie(MakeMovie("First"));
  TempFile file(writer.Bytes());
  {
    TCatalogPreload preload(file.Path());
    TMovieList other;
    EXPECT_FALSE(preload.TakeInto(file.Path() + ".other", other));
    // The read is let go by the first call, whatever it asked for.
    EXPECT_FALSE(preload.TakeInto(file.Path(), other));
    EXPECT_EQ(other.Count(), 0);
  }
  {
    TCatalogPreload preload(file.Path());
    TMovieList taken;
    ASSERT_TRUE(preload.TakeInto(file.Path(), taken));
    ASSERT_EQ(taken.Count(), 1);
    EXPECT_EQ(taken.Items(0).OriginalTitle, "First");
    EXPECT_EQ(taken.Properties().OwnerName, "Ann");
  }
  {
    // Saved again by the editor after the read: the window reads it itself.
    TCatalogPreload preload(file.Path());
    preload.Finish();
    writer.WriteMovie(MakeMovie("Second"));
    WriteFileBytes(file.Path(), writer.Bytes());
    TMovieList list;
    EXPECT_FALSE(preload.TakeInto(file.Path(), list));
  }
  {
    // A file that is not a catalog is left to the window's own read, which
    // reports it.
    WriteFileBytes(file.Path(), "not a catalog");
    TCatalogPreload preload(file.Path());
    TMovieList list;
    EXPECT_FALSE(preload.TakeInto(file.Path(), list));
  }
}
