// The strip's thumbnail fill on its own, with a maker that records what it
// is asked for instead of decoding.

#include "render/TThumbnailFill.h"

#include "catalog/TMovie.h"
#include "render/PictureCodecs.h"
#include "tests/support/TestPictures.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <map>
#include <mutex>

namespace {

// Movies with small embedded covers of different sizes and colours.
std::vector<TMovie> CoveredMovies(int count) {
  std::vector<TMovie> movies(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::string jpeg = EncodeJpeg(SolidBitmap(40 + i % 7, 60, static_cast<std::uint8_t>(i), 80, 160));
    TMovie& movie = movies[static_cast<std::size_t>(i)];
    movie.PictureName = ".jpg";
    movie.Picture = std::make_unique<TPictureBytes>(jpeg.size());
    std::copy(jpeg.begin(), jpeg.end(), movie.Picture->Data());
  }
  return movies;
}

// Records which movie each thumbnail was made for; the first one waits
// until the test lets it go, so the test can say what is in view first.
class TRecordingMaker {
 public:
  explicit TRecordingMaker(const std::vector<TMovie>& movies) {
    for (std::size_t i = 0; i < movies.size(); ++i) {
      TPictureData bytes = movies[i].Picture->Read();
      m_movieOf[HashPictureBytes(bytes.Bytes().data(), bytes.Bytes().size())] = static_cast<int>(i);
    }
  }
  TThumbnailFill::TMaker Maker() {
    return [this](std::span<const std::uint8_t> bytes, std::string_view, int width, int height) {
      std::unique_lock<std::mutex> lock(m_mutex);
      Order.push_back(m_movieOf.at(HashPictureBytes(bytes.data(), bytes.size())));
      m_changed.notify_all();
      m_changed.wait(lock, [&] { return m_released; });
      return std::optional<TBitmap>(SolidBitmap(width, height, 1, 2, 3));
    };
  }
  void WaitForFirst() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return !Order.empty(); });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
  }
  std::vector<int> Order;

 private:
  std::map<std::uint64_t, int> m_movieOf;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_released = false;
};

std::vector<int> Range(int from, int to, int step = 1) {
  std::vector<int> values;
  for (int i = from; i != to; i += step) values.push_back(i);
  return values;
}

std::vector<const TMovie*> Pointers(const std::vector<TMovie>& movies) {
  std::vector<const TMovie*> pointers;
  for (const TMovie& movie : movies) pointers.push_back(&movie);
  return pointers;
}

}  // namespace

TEST(ThumbnailFill, LaysOutEveryTileFirstThenMakesTheTilesInViewAndTheNextScreenful) {
  for (int direction : {1, -1}) {
    const std::vector<TMovie> movies = CoveredMovies(100);
    TRecordingMaker recorder(movies);
    TThumbnailFill fill(Pointers(movies), "/", {}, 100, nullptr, {}, 1, nullptr, recorder.Maker());
    recorder.WaitForFirst();
    ASSERT_TRUE(fill.Sized());
    ASSERT_EQ(fill.Entries().size(), 100u);
    // Sized from the headers alone (small covers are never enlarged).
    EXPECT_EQ(fill.Entries()[6].Width, 46);
    EXPECT_EQ(fill.Entries()[6].Height, 60);
    fill.SetWanted(40, 50, direction);
    recorder.Release();
    while (!fill.Finished()) (void)fill.TakeMade();
    std::vector<int> expected{0};  // taken before the view was known
    for (int i : Range(40, 50)) expected.push_back(i);
    for (int i : direction > 0 ? Range(50, 60) : Range(39, 29, -1)) expected.push_back(i);
    ASSERT_GE(recorder.Order.size(), expected.size());
    EXPECT_EQ(std::vector<int>(recorder.Order.begin(), recorder.Order.begin() + static_cast<long>(expected.size())),
              expected)
        << direction;
    EXPECT_EQ(recorder.Order.size(), 100u);
  }
}

TEST(ThumbnailFill, HandsOverCompactThumbnailsOfTheLaidOutSizeAndLeavesOutUnreadablePictures) {
  std::vector<TMovie> movies = CoveredMovies(5);
  movies[2].Picture = std::make_unique<TPictureBytes>(4);  // no header to read
  std::fill(movies[2].Picture->Data(), movies[2].Picture->Data() + 4, 0);
  movies[3].Picture.reset();
  movies[3].PictureName = "missing.jpg";
  TThumbnailFill fill(Pointers(movies), "/nonexistent/");
  std::vector<TThumbnailFill::TMade> made;
  while (!fill.Finished()) {
    for (TThumbnailFill::TMade& picture : fill.TakeMade()) made.push_back(std::move(picture));
  }
  for (TThumbnailFill::TMade& picture : fill.TakeMade()) made.push_back(std::move(picture));
  ASSERT_EQ(fill.Entries().size(), 3u);
  ASSERT_EQ(made.size(), 3u);
  for (const TThumbnailFill::TMade& picture : made) {
    const TThumbnailFill::TEntry& entry = fill.Entries()[static_cast<std::size_t>(picture.Entry)];
    ASSERT_NE(picture.Picture, nullptr);
    EXPECT_EQ(picture.Picture->Format, TCompactPicture::TFormat::Jpeg);
    EXPECT_EQ(picture.Picture->Width, entry.Width);
    EXPECT_EQ(picture.Picture->Height, entry.Height);
    EXPECT_TRUE(picture.Picture->Expand());
  }
}
