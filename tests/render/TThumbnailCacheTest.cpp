#include "RenderFixtures.h"

#include "render/TThumbnailCache.h"
#include "tests/support/FailingFileLayer.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Kept as raw pixels, so what comes back can be compared byte for byte.
TCompactPicture Picture(int width, int height, std::uint8_t shade) {
  TBitmap bitmap = SolidBitmap(width, height, shade, static_cast<std::uint8_t>(255 - shade), 40);
  bitmap.Pixels[5] = static_cast<std::uint8_t>(shade ^ 0x5A);
  return {TCompactPicture::TFormat::Rgba, width, height,
          std::string(reinterpret_cast<const char*>(bitmap.Pixels.data()), bitmap.Pixels.size())};
}

class ThumbnailCache : public ::testing::Test {
 protected:
  std::string Catalog(const char* name) const { return m_catalogs.File(name); }
  bool SaveOne(TThumbnailCache& cache, const std::string& catalog, const TThumbnailKey& key,
               const TCompactPicture& picture) {
    return cache.Save(catalog, {{key, &picture}});
  }
  TTestFolder m_folder, m_catalogs;
};

}  // namespace

TEST_F(ThumbnailCache, KeepsThumbnailsByTheirWholeKey) {
  TThumbnailCache cache(m_folder.Path());
  const TCompactPicture a = Picture(67, 100, 10), b = Picture(100, 64, 200);
  const TThumbnailKey keyA{0, 0x1234, 100}, keyB{7, 0x9999, 100};
  ASSERT_TRUE(cache.Save(Catalog("Movies.qzt"), {{keyA, &a}, {keyB, &b}}));

  TThumbnailCache again(m_folder.Path());
  ASSERT_TRUE(again.Load(Catalog("Movies.qzt")));
  EXPECT_EQ(again.Count(), 2u);
  std::optional<TCompactPicture> found = again.Take(keyB);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Width, 100);
  EXPECT_EQ(found->Bytes, b.Bytes);
  // A JPEG-kept one comes back as it went in too.
  const TCompactPicture jpeg = TCompactPicture::FromBitmap(SolidBitmap(67, 100, 10, 20, 30));
  ASSERT_EQ(jpeg.Format, TCompactPicture::TFormat::Jpeg);
  ASSERT_TRUE(cache.Save(Catalog("Jpeg.qzt"), {{keyA, &jpeg}}));
  ASSERT_TRUE(again.Load(Catalog("Jpeg.qzt")));
  std::optional<TCompactPicture> kept = again.Take(keyA);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->Bytes, jpeg.Bytes);
  ASSERT_TRUE(again.Load(Catalog("Movies.qzt")));
  // Another position, another picture or another size is not the same.
  EXPECT_FALSE(again.Take({1, 0x1234, 100}));
  EXPECT_FALSE(again.Take({0, 0x1235, 100}));
  EXPECT_FALSE(again.Take({0, 0x1234, 200}));
  // Several threads may take at once.
  std::vector<std::thread> threads;
  std::atomic<int> hits{0};
  for (int t = 0; t < 4; ++t) threads.emplace_back([&] { hits += again.Take(keyA).has_value(); });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(hits.load(), 4);
}

TEST_F(ThumbnailCache, NothingFromADamagedOrForeignFileIsUsed) {
  TThumbnailCache cache(m_folder.Path());
  const TCompactPicture a = Picture(30, 40, 99);
  const TThumbnailKey key{3, 42, 100};
  ASSERT_TRUE(SaveOne(cache, Catalog("One.qzt"), key, a));
  const std::string file = cache.FileOf(Catalog("One.qzt"));
  const std::string whole = m_folder.Read(fs::path(file).filename());

  // A changed byte of the picture: that entry is missing.
  std::string damaged = whole;
  damaged[damaged.size() - 10] ^= 0x01;
  m_folder.Write(fs::path(file).filename(), damaged);
  TThumbnailCache reader(m_folder.Path());
  EXPECT_TRUE(reader.Load(Catalog("One.qzt")));
  EXPECT_FALSE(reader.Take(key));

  // Cut short, or a size the file cannot hold: the file is not used.
  for (std::size_t cut : {std::size_t{5}, whole.size() / 2, whole.size() - 1}) {
    m_folder.Write(fs::path(file).filename(), whole.substr(0, cut));
    EXPECT_FALSE(reader.Load(Catalog("One.qzt"))) << cut;
    EXPECT_EQ(reader.Count(), 0u);
  }
  std::string huge = whole;
  const std::size_t widthAt = 8 + 4 + Catalog("One.qzt").size() + 4 + 4 + 8 + 2 + 1;
  huge[widthAt] = '\xFF';
  huge[widthAt + 1] = '\x0F';
  m_folder.Write(fs::path(file).filename(), huge);
  EXPECT_FALSE(reader.Load(Catalog("One.qzt")));

  // The file of one catalog under the name of another is foreign.
  fs::copy_file(file, cache.FileOf(Catalog("Two.qzt")));
  m_folder.Write(fs::path(file).filename(), whole);
  EXPECT_FALSE(reader.Load(Catalog("Two.qzt")));
  EXPECT_TRUE(reader.Load(Catalog("One.qzt")));
  EXPECT_FALSE(reader.Load(Catalog("Three.qzt")));
}

TEST_F(ThumbnailCache, StaysUnderItsLimitRemovingTheLeastRecentlyUsedFirst) {
  const TCompactPicture picture = Picture(100, 100, 1);  // 40,000 bytes of pixels
  TThumbnailCache cache(m_folder.Path(), 100'000);
  ASSERT_TRUE(SaveOne(cache, Catalog("A.qzt"), {0, 1, 100}, picture));
  ASSERT_TRUE(SaveOne(cache, Catalog("B.qzt"), {0, 2, 100}, picture));
  // A is used again (loaded), so B is now the oldest.
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  fs::last_write_time(cache.FileOf(Catalog("A.qzt")), old);
  fs::last_write_time(cache.FileOf(Catalog("B.qzt")), old - std::chrono::hours(1));
  ASSERT_TRUE(cache.Load(Catalog("A.qzt")));
  ASSERT_TRUE(SaveOne(cache, Catalog("C.qzt"), {0, 3, 100}, picture));
  EXPECT_TRUE(fs::exists(cache.FileOf(Catalog("A.qzt"))));
  EXPECT_FALSE(fs::exists(cache.FileOf(Catalog("B.qzt"))));
  EXPECT_TRUE(fs::exists(cache.FileOf(Catalog("C.qzt"))));
  // A catalog larger than the whole cache is not kept at all.
  const TCompactPicture big = Picture(200, 200, 2);
  EXPECT_FALSE(SaveOne(cache, Catalog("D.qzt"), {0, 4, 200}, big));
  EXPECT_FALSE(fs::exists(cache.FileOf(Catalog("D.qzt"))));
}

TEST_F(ThumbnailCache, AFolderThatCannotBeWrittenOnlyCostsSpeed) {
  m_folder.Write("not-a-folder", "x");
  TThumbnailCache cache(m_folder.File("not-a-folder"));
  const TCompactPicture picture = Picture(10, 10, 3);
  EXPECT_FALSE(SaveOne(cache, Catalog("A.qzt"), {0, 1, 100}, picture));
  EXPECT_FALSE(cache.Load(Catalog("A.qzt")));
  EXPECT_EQ(cache.Count(), 0u);
}

TEST_F(ThumbnailCache, AFullDiskLeavesTheOldFileWholeAndNoPartOfTheNew) {
  TThumbnailCache cache(m_folder.Path());
  const TCompactPicture old = Picture(20, 20, 1);
  ASSERT_TRUE(SaveOne(cache, Catalog("A.qzt"), {0, 1, 100}, old));
  const std::string file = cache.FileOf(Catalog("A.qzt"));
  const std::string oldBytes = m_folder.Read(fs::relative(file, m_folder.Path()).string());
  // Enough pictures for the file to be written in several pieces.
  const TCompactPicture picture = Picture(100, 100, 9);
  std::vector<std::pair<TThumbnailKey, const TCompactPicture*>> entries;
  for (std::uint32_t i = 0; i < 100; ++i) entries.push_back({{i, i, 100}, &picture});
  int failures = 0;
  for (int n = 1;; ++n) {
    TFailingFileLayer full(n, ENOSPC);
    SetFileLayer(&full);
    const bool saved = cache.Save(Catalog("A.qzt"), entries);
    SetFileLayer(nullptr);
    if (!full.Failed) {
      EXPECT_TRUE(saved);
      break;
    }
    ++failures;
    EXPECT_FALSE(saved) << "call " << n;
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.Path()), fs::directory_iterator()), 1) << "call " << n;
    EXPECT_EQ(m_folder.Read(fs::relative(file, m_folder.Path()).string()), oldBytes) << "call " << n;
  }
  EXPECT_GE(failures, 5);
  TThumbnailCache again(m_folder.Path());
  ASSERT_TRUE(again.Load(Catalog("A.qzt")));
  EXPECT_EQ(again.Count(), 100u);
}

TEST(ThumbnailCacheFolder, FollowsXdgCacheHome) {
  const char* old = std::getenv("XDG_CACHE_HOME");
  std::string saved = old ? old : "";
  ::setenv("XDG_CACHE_HOME", "/var/cache/ann", 1);
  EXPECT_EQ(UserCacheFolder(), "/var/cache/ann/elk-viewer");
  ::setenv("XDG_CACHE_HOME", "relative", 1);
  EXPECT_EQ(UserCacheFolder().find("relative"), std::string::npos);
  if (old) {
    ::setenv("XDG_CACHE_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CACHE_HOME");
  }
}
