#pragma once

#include "catalog/TMovie.h"
#include "config/PathMap.h"
#include "render/TBitmap.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TPictureStore;

// What picture making needs besides the movie: the folder of the open
// catalog (with its trailing separator; relative picture paths start there)
// and the blank picture used when a movie has no usable one.
struct TPictureContext {
  std::string CatalogFolder;
  std::string BlankImage;
  // Rules for linked pictures named by absolute paths of another machine.
  TPathMap PathMap;
};

// Largest linked picture file that is read.
constexpr std::size_t kMaxPictureFileSize = 256u << 20;

// The extension of a picture name or path: from its last dot, when no "\",
// "/" or ":" follows it; else empty.
std::string PictureExtension(std::string_view pictureName);

// A drive ("C:\..."), a network prefix ("\\server\...") or a leading "/".
bool IsAbsolutePicturePath(std::string_view path);

// The file a linked picture names: absolute paths as the first matching
// rule maps them (or as they are), relative ones in the catalog folder with
// every backslash read as a separator.
std::string ResolvePicturePath(const std::string& catalogFolder, std::string_view pictureName,
                               const TPathMap& rules = {});

// Reads a whole file of at most kMaxPictureFileSize bytes (or its first
// `limit` bytes). Throws TViewerError "Cannot open file "<path>". <reason>"
// when it cannot.
std::string ReadPictureFile(const std::string& path, std::size_t limit = kMaxPictureFileSize);

// The movie's picture decoded and fitted into the box, or nothing. Errors
// while opening a linked file are thrown (TViewerError).
std::optional<TBitmap> LoadMoviePicture(const TMovie& movie, int boxWidth, int boxHeight,
                                        const std::string& catalogFolder, const TPathMap& rules = {});

// The picture for the picture strip: fitted into 100 x 100; errors count as
// no picture.
std::optional<TBitmap> LoadMovieThumbnail(const TMovie& movie, const std::string& catalogFolder,
                                          const TPathMap& rules = {});

struct TMadePicture {
  std::string Name;
  std::string Bytes;
};

// One picture of a movie for pages, named "image-<size word>-<handle><ext>":
// with a box, the picture fitted and encoded as JPEG (or the blank picture);
// without one (a side of 0 or less), the picture file's own bytes. Pure and
// safe to run on several threads at once.
TMadePicture MakeMoviePicture(const std::string& sizeWord, const TMovie& movie, int boxWidth, int boxHeight,
                              const TPictureContext& context);

// The name MakeMoviePicture gives, known without making the picture: for
// pages that name their pictures first and make them when asked. A
// picture that then does not decode keeps this name (its bytes are the
// blank picture's).
std::string PictureNameBeforeMaking(const std::string& sizeWord, const TMovie& movie, int boxWidth, int boxHeight,
                                    const TPictureContext& context);

// Several pictures of one movie at once, as MakeMoviePicture makes each,
// but from one decoding of the picture at the scale the largest box needs:
// the picture fitted into that box is the same as MakeMoviePicture's, the
// smaller ones are scaled down from it. For throughput (list pages, sites).
struct TPictureBox {
  std::string SizeWord;
  int Width;
  int Height;
};
std::vector<TMadePicture> MakeMoviePictures(const TMovie& movie, const std::vector<TPictureBox>& boxes,
                                            const TPictureContext& context);

// Makes the picture (unless the store already holds it for this movie and
// box), stores it and returns its name.
std::string AddMoviePicture(const std::string& sizeWord, const TMovie& movie, int boxWidth, int boxHeight,
                            const TPictureContext& context, TPictureStore& store);

// The store's key for one picture of a movie in one box.
std::string MadePictureKey(const std::string& sizeWord, const TMovie& movie, int boxWidth, int boxHeight);
