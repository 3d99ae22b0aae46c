#include "render/MoviePictures.h"

#include "config/TViewerError.h"
#include "render/PictureCodecs.h"
#include "render/TPictureStore.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kThumbnailBox = 100;

std::string OpenError(const std::string& path, int error) {
  return "Cannot open file \"" + path + "\". " + std::strerror(error);
}

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

std::string PictureExtension(std::string_view pictureName) {
  std::size_t dot = pictureName.rfind('.');
  if (dot == std::string_view::npos) return {};
  if (pictureName.find_first_of("\\/:", dot) != std::string_view::npos) return {};
  return std::string(pictureName.substr(dot));
}

bool IsAbsolutePicturePath(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':' && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z')) return true;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
  return !path.empty() && path[0] == '/';
}

std::string ResolvePicturePath(const std::string& catalogFolder, std::string_view pictureName, const TPathMap& rules) {
  if (IsAbsolutePicturePath(pictureName)) return MapPathOrKeep(rules, pictureName);
  std::string path = catalogFolder + std::string(pictureName);
  for (std::size_t i = catalogFolder.size(); i < path.size(); ++i) {
    if (path[i] == '\\') path[i] = '/';
  }
  return path;
}

std::string ReadPictureFile(const std::string& path, std::size_t limit) {
  // Non-blocking open so that a pipe named as a picture cannot hang us.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw TViewerError(OpenError(path, errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) > kMaxPictureFileSize) {
    int error = S_ISDIR(info.st_mode) ? EISDIR : S_ISREG(info.st_mode) ? EFBIG : EINVAL;
    ::close(fd);
    throw TViewerError(OpenError(path, error));
  }
  std::string bytes(std::min(static_cast<std::size_t>(info.st_size), limit), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

std::optional<TBitmap> LoadMoviePicture(const TMovie& movie, int boxWidth, int boxHeight,
                                        const std::string& catalogFolder, const TPathMap& rules) {
  std::string extension = PictureExtension(movie.PictureName);
  if (movie.Picture) {
    TPictureData picture = movie.Picture->Read();
    return DecodePicture(picture.Bytes(), extension, boxWidth, boxHeight);
  }
  if (movie.PictureName.empty()) return std::nullopt;
  std::string bytes = ReadPictureFile(ResolvePicturePath(catalogFolder, movie.PictureName, rules));
  return DecodePicture(AsBytes(bytes), extension, boxWidth, boxHeight);
}

std::optional<TBitmap> LoadMovieThumbnail(const TMovie& movie, const std::string& catalogFolder,
                                          const TPathMap& rules) {
  try {
    return LoadMoviePicture(movie, kThumbnailBox, kThumbnailBox, catalogFolder, rules);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

TMadePicture MakeMoviePicture(const std::string& sizeWord, const TMovie& movie, int boxWidth, int boxHeight,
                              const TPictureContext& context) {
  std::string prefix = "image-" + sizeWord + "-" + std::to_string(movie.Handle);
  TMadePicture blank{prefix + ".gif", context.BlankImage};
  if (boxWidth <= 0 || boxHeight <= 0) {
    if (movie.Picture) {
      TPictureData picture = movie.Picture->Read();
      // Bytes the catalog file no longer holds as loaded give the blank picture.
      if (picture.Empty()) return blank;
      const auto bytes = picture.Bytes();
      return {prefix + movie.PictureName, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size())};
    }
    if (movie.PictureName.empty()) return blank;
    std::string path = ResolvePicturePath(context.CatalogFolder, movie.PictureName, context.PathMap);
    try {
      return {prefix + PictureExtension(path), ReadPictureFile(path)};
    } catch (const std::exception&) {
      return blank;
    }
  }
  std::optional<TBitmap> bitmap;
  try {
    bitmap = LoadMoviePicture(movie, boxWidth, boxHeight, context.CatalogFolder, context.PathMap);
  } catch (const std::exception&) {
  }
  if (!bitmap) return blank;
  std::string jpeg = EncodeJpeg(*bitmap, 90);
  if (jpeg.empty()) return blank;
  return {prefix + ".jpg", std::move(jpeg)};
}

std::string PictureNameBeforeMaking(const std::string& sizeWord, const TMovie& movie, int boxWidth, int boxHeight,
                                    const TPictureContext& context) {
  const std::string prefix = "image-" + sizeWord + "-" + std::to_string(movie.Handle);
  if (!movie.Picture && movie.PictureName.empty()) return prefix + ".gif";
  if (boxWidth > 0 && boxHeight > 0) return prefix + ".jpg";
  if (movie.Picture) return prefix + movie.PictureName;
  return prefix + PictureExtension(ResolvePicturePath(context.CatalogFolder, movie.PictureName, context.PathMap));
}

std::vector<TMadePicture> MakeMoviePictures(const TMovie& movie, const std::vector<TPictureBox>& boxes,
                                            const TPictureContext& context) {
  std::vector<TMadePicture> made(boxes.size());
  int width = 0, height = 0;
  for (const TPictureBox& box : boxes) {
    if (box.Width <= 0 || box.Height <= 0) continue;
    width = std::max(width, box.Width);
    height = std::max(height, box.Height);
  }
  std::optional<TBitmap> decoded;
  if (width > 0) {
    try {
      decoded = LoadMoviePicture(movie, width, height, context.CatalogFolder, context.PathMap);
    } catch (const std::exception&) {
    }
  }
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const TPictureBox& box = boxes[i];
    if (box.Width <= 0 || box.Height <= 0) {
      made[i] = MakeMoviePicture(box.SizeWord, movie, box.Width, box.Height, context);
      continue;
    }
    std::string prefix = "image-" + box.SizeWord + "-" + std::to_string(movie.Handle);
    made[i] = {prefix + ".gif", context.BlankImage};
    if (!decoded) continue;
    int fitWidth = 0, fitHeight = 0;
    FitSize(decoded->Width, decoded->Height, box.Width, box.Height, fitWidth, fitHeight);
    std::string jpeg = fitWidth == decoded->Width && fitHeight == decoded->Height
                           ? EncodeJpeg(*decoded, 90)
                           : EncodeJpeg(ScaleBitmap(*decoded, fitWidth, fitHeight), 90);
    if (!jpeg.empty()) made[i] = {prefix + ".jpg", std::move(jpeg)};
  }
  return made;
}

std::string MadePictureKey(const std::string& sizeWord, const TMovie& movie, int boxWidth, int boxHeight) {
  return sizeWord + "|" + std::to_string(movie.Handle) + "|" + std::to_string(boxWidth) + "|" +
         std::to_string(boxHeight);
}

std::string AddMoviePicture(const std::string& sizeWord, const TMovie& movie, int boxWidth, int boxHeight,
                            const TPictureContext& context, TPictureStore& store) {
  std::string key = MadePictureKey(sizeWord, movie, boxWidth, boxHeight);
  if (std::optional<std::string> name = store.MadeName(key)) return *name;
  TMadePicture picture = MakeMoviePicture(sizeWord, movie, boxWidth, boxHeight, context);
  store.Add(picture.Name, std::move(picture.Bytes));
  store.RememberMade(key, picture.Name);
  return picture.Name;
}
