// Page and picture speed on a catalog of 2,000 movies with embedded 600x900
// JPEG covers.
//
//   bench_render [--dir DIR]
//
// The catalog is made in DIR on the first run and kept.

#include "BenchUtil.h"

#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "render/MoviePages.h"
#include "render/MoviePictures.h"
#include "render/PictureCodecs.h"
#include "render/Resources.h"
#include "render/TCompactPicture.h"
#include "render/TThumbnailCache.h"
#include "render/TPictureStore.h"

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <jpeglib.h>
#include <thread>
#include <vector>

namespace {

// libjpeg-turbo alone, decoding at 1/8 scale: the floor for thumbnails.
bool DecodeEighth(const TPictureBytes& picture, std::vector<std::uint8_t>& row) {
  TPictureData bytes = picture.Read();
  jpeg_decompress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.Bytes().data(), static_cast<unsigned long>(bytes.Bytes().size()));
  jpeg_read_header(&info, TRUE);
  info.scale_num = 1;
  info.scale_denom = 8;
  info.out_color_space = JCS_EXT_RGBA;
  // As the viewer decodes thumbnails.
  info.do_fancy_upsampling = FALSE;
  jpeg_start_decompress(&info);
  row.resize(static_cast<std::size_t>(info.output_width) * 4);
  while (info.output_scanline < info.output_height) {
    JSAMPROW target = row.data();
    jpeg_read_scanlines(&info, &target, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

std::string HandleList(const TMovieList& movies, int first, int count) {
  std::string list;
  for (int i = first; i < first + count; ++i) list += (list.empty() ? "" : ",") + std::to_string(movies.Items(i).Handle);
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = EnsureSampleCatalog(DataFolder(argc, argv), "covers-2000", 2000, TSamplePictures::Embedded);
  TMovieList movies;
  movies.LoadFromFile(path);
  TViewerSettings settings;
  settings.Template = DefaultMovieTemplate();
  settings.ListTemplate = DefaultListTemplate();
  TPageFrame frame = BuildPageFrame("/nonexistent", "Default");
  TPictureContext pictures{std::filesystem::absolute(path).parent_path().string() + "/",
                           LoadResourceStream("blank").value_or(""), {}};
  std::size_t coverBytes = 0;
  for (int i = 0; i < movies.Count(); ++i) coverBytes += movies.Items(i).Picture ? movies.Items(i).Picture->Size() : 0;
  std::printf("catalog: %d movies, covers 600x900, %.1f KB on average\n", movies.Count(),
              coverBytes / 1024.0 / movies.Count());

  // A single-movie page with its two pictures, each on a fresh store.
  std::vector<double> single;
  for (int i = 0; i < 40; ++i) {
    TPictureStore store;
    TPageInput input{movies, settings, frame, pictures, store};
    auto start = std::chrono::steady_clock::now();
    RenderMoviePage("movie[" + std::to_string(movies.Items(i * 37).Handle) + "].html", input);
    single.push_back(SecondsSince(start));
  }
  std::sort(single.begin(), single.end());
  std::printf("single-movie page with 2 pictures: median %.2f ms, worst %.2f ms\n", single[single.size() / 2] * 1000,
              single.back() * 1000);

  // A 500-movie list page, whole and with its pictures, as a static site
  // makes it (the viewer shows lists in parts and leaves their pictures to
  // be asked for).
  {
    TPictureStore store;
    TPageInput input{movies, settings, frame, pictures, store};
    input.WholeLists = true;
    auto start = std::chrono::steady_clock::now();
    std::string page = RenderMoviePage("movie[" + HandleList(movies, 100, 500) + "].html", input);
    double seconds = SecondsSince(start);
    std::printf("500-movie list page: %.0f ms (%zu KB of HTML, %zu pictures)\n", seconds * 1000, page.size() / 1024,
                store.Count());

    // The same page 100 times more: the store must not grow.
    std::size_t bytes = store.TotalBytes();
    std::size_t count = store.Count();
    std::string address = "movie[" + HandleList(movies, 100, 1) + "].html";
    for (int i = 0; i < 100; ++i) RenderMoviePage(address, input);
    std::printf("store after rendering one page 100 times: %zu -> %zu entries, %.1f -> %.1f MB\n", count, store.Count(),
                bytes / 1e6, store.TotalBytes() / 1e6);
  }

  // Bare 1/8-scale decoding on one core.
  std::vector<std::uint8_t> row;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < movies.Count(); ++i) DecodeEighth(*movies.Items(i).Picture, row);
  double bareRate = movies.Count() / SecondsSince(start);
  std::printf("bare libjpeg-turbo 1/8 decode, one core: %.0f covers/s (%.3f ms each)\n", bareRate, 1000 / bareRate);

  // Thumbnails as the picture strip makes them, on every core.
  unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::atomic<int> next{0}, made{0};
  start = std::chrono::steady_clock::now();
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) {
    pool.emplace_back([&] {
      for (int i = next++; i < movies.Count(); i = next++) {
        if (LoadMovieThumbnail(movies.Items(i), pictures.CatalogFolder)) ++made;
      }
    });
  }
  for (std::thread& thread : pool) thread.join();
  double thumbRate = movies.Count() / SecondsSince(start);
  std::printf("thumbnails on %u threads: %.0f/s (%d made) = %.2f x the one-core bare decode\n", threads, thumbRate,
              made.load(), thumbRate / bareRate);

  // As the strip makes them: the bytes hashed for the cache, decoded,
  // scaled to the tile's size and kept compact.
  next = 0;
  made = 0;
  std::atomic<std::size_t> compactBytes{0};
  start = std::chrono::steady_clock::now();
  pool.clear();
  for (unsigned t = 0; t < threads; ++t) {
    pool.emplace_back([&] {
      for (int i = next++; i < movies.Count(); i = next++) {
        TPictureData bytes = movies.Items(i).Picture->Read();
        HashPictureBytes(bytes.Bytes().data(), bytes.Bytes().size());
        std::optional<TBitmap> decoded = DecodePictureUnfitted(bytes.Bytes(), ".jpg", 67, 100);
        if (!decoded) continue;
        compactBytes += TCompactPicture::FromBitmap(ScaleBitmap(*decoded, 67, 100)).Bytes.size();
        ++made;
      }
    });
  }
  for (std::thread& thread : pool) thread.join();
  double stripRate = movies.Count() / SecondsSince(start);
  std::printf("strip thumbnails (hashed, made, kept compact) on %u threads: %.0f/s = %.2f x the one-core bare decode, "
              "%.1f KB each\n",
              threads, stripRate, stripRate / bareRate, compactBytes.load() / 1024.0 / std::max(1, made.load()));
  std::printf("floor for all cores (bare decode x %u): 5,000 covers %.2f s, 20,000 covers %.2f s\n", threads,
              5000 / (bareRate * threads), 20000 / (bareRate * threads));
  return 0;
}
