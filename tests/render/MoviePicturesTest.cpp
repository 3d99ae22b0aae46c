#include "RenderFixtures.h"

#include "config/TViewerError.h"
#include "render/MoviePictures.h"
#include "render/PathCheck.h"
#include "render/PictureCodecs.h"
#include "render/Resources.h"
#include "render/TPictureStore.h"

#include <gtest/gtest.h>

namespace {

TMovie Embedded(const std::string& extension, const std::string& bytes) {
  TMovie movie;
  movie.PictureName = extension;
  movie.Picture = std::make_unique<TPictureBytes>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), movie.Picture->Data());
  movie.Handle = 42;
  return movie;
}

TMovie Linked(const std::string& path) {
  TMovie movie;
  movie.PictureName = path;
  movie.Handle = 43;
  return movie;
}

}  // namespace

TEST(MoviePictures, TakesTheExtensionFromTheLastDot) {
  EXPECT_EQ(PictureExtension("covers\\x.JPG"), ".JPG");
  EXPECT_EQ(PictureExtension(".png"), ".png");
  EXPECT_EQ(PictureExtension("a.b\\c"), "");
  EXPECT_EQ(PictureExtension("c:name"), "");
  EXPECT_EQ(PictureExtension("noext"), "");
}

TEST(MoviePictures, ResolvesLinkedPathsAgainstTheCatalogFolder) {
  EXPECT_TRUE(IsAbsolutePicturePath("C:\\covers\\x.jpg"));
  EXPECT_TRUE(IsAbsolutePicturePath("\\\\server\\share\\x.jpg"));
  EXPECT_TRUE(IsAbsolutePicturePath("/home/ann/x.jpg"));
  EXPECT_FALSE(IsAbsolutePicturePath("covers\\x.jpg"));
  EXPECT_EQ(ResolvePicturePath("/cat/", "covers\\sub\\x.jpg"), "/cat/covers/sub/x.jpg");
  EXPECT_EQ(ResolvePicturePath("/cat/", "/abs/x.jpg"), "/abs/x.jpg");

  TTestFolder folder;
  folder.Write("covers/x.jpg", EncodeJpegFile(SolidBitmap(300, 150, 0, 0, 0), 80));
  std::optional<TBitmap> picture = LoadMoviePicture(Linked("covers\\x.jpg"), 100, 100, folder.Path() + "/");
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Width, 100);
  EXPECT_EQ(picture->Height, 50);
  EXPECT_TRUE(LoadMoviePicture(Linked(folder.File("covers/x.jpg")), 100, 100, "/elsewhere/"));
  EXPECT_THROW(LoadMoviePicture(Linked("covers\\missing.jpg"), 100, 100, folder.Path() + "/"), TViewerError);
  EXPECT_FALSE(LoadMovieThumbnail(Linked("covers\\missing.jpg"), folder.Path() + "/"));
  EXPECT_FALSE(LoadMovieThumbnail(TMovie{}, folder.Path() + "/"));
}

TEST(MoviePictures, MakesJpegPicturesOrTheBlankOne) {
  TPictureContext context{"/nowhere/", LoadResourceStream("blank").value(), {}};
  TMadePicture made = MakeMoviePicture("large", Embedded(".png", EncodePngFile(SolidBitmap(800, 400, 9, 9, 9))), 400,
                                       400, context);
  EXPECT_EQ(made.Name, "image-large-42.jpg");
  std::optional<TBitmap> back = DecodeJpeg(Bytes(made.Bytes), 1000, 1000);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Width, 400);
  EXPECT_EQ(back->Height, 200);

  std::vector<TMovie> broken;
  broken.push_back(Embedded(".jpeg", EncodeJpegFile(SolidBitmap(8, 8, 0, 0, 0), 80)));
  broken.push_back(Embedded(".jpg", "garbage"));
  broken.push_back(Linked("covers\\none.jpg"));
  broken.emplace_back();
  for (const TMovie& movie : broken) {
    TMadePicture blank = MakeMoviePicture("small", movie, 200, 200, context);
    EXPECT_EQ(blank.Name.substr(blank.Name.size() - 4), ".gif");
    EXPECT_EQ(blank.Bytes, context.BlankImage);
  }
}

TEST(MoviePictures, WithoutABoxServesThePictureFileItself) {
  TTestFolder folder;
  TPictureContext context{folder.Path() + "/", "BLANK", {}};
  std::string jpeg = EncodeJpegFile(SolidBitmap(900, 900, 1, 2, 3), 80);
  TMadePicture embedded = MakeMoviePicture("large", Embedded(".jpg", jpeg), 0, 400, context);
  EXPECT_EQ(embedded.Name, "image-large-42.jpg");
  EXPECT_EQ(embedded.Bytes, jpeg);
  TMadePicture unknown = MakeMoviePicture("large", Embedded(".jpeg", "raw"), 0, 0, context);
  EXPECT_EQ(unknown.Name, "image-large-42.jpeg");
  EXPECT_EQ(unknown.Bytes, "raw");
  folder.Write("c/p.PNG", "png bytes");
  TMadePicture linked = MakeMoviePicture("large", Linked("c\\p.PNG"), 400, -1, context);
  EXPECT_EQ(linked.Name, "image-large-43.PNG");
  EXPECT_EQ(linked.Bytes, "png bytes");
  TMadePicture missing = MakeMoviePicture("large", Linked("c\\none.png"), 0, 0, context);
  EXPECT_EQ(missing.Name, "image-large-43.gif");
  EXPECT_EQ(missing.Bytes, "BLANK");
}

TEST(TPictureStore, FindsNamesIgnoringCaseAndKeepsTheFirstEntry) {
  TPictureStore store;
  EXPECT_TRUE(store.Add("image-large-1.jpg", "first"));
  EXPECT_FALSE(store.Add("IMAGE-LARGE-1.JPG", "second"));
  EXPECT_EQ(store.Count(), 1u);
  ASSERT_TRUE(store.Find("Image-Large-1.jpg"));
  EXPECT_EQ(*store.Find("image-LARGE-1.jpg"), "first");
  EXPECT_FALSE(store.Find("image-large-2.jpg"));
  EXPECT_EQ(store.TotalBytes(), 5u);
}

TEST(TPictureStore, AddingThePictureOfAMovieAgainMakesNothingNew) {
  TPictureStore store;
  TPictureContext context{"/", "B", {}};
  TMovie movie = Embedded(".png", EncodePngFile(SolidBitmap(10, 10, 0, 0, 0)));
  std::string name = AddMoviePicture("large", movie, 400, 400, context, store);
  EXPECT_EQ(name, "image-large-42.jpg");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(AddMoviePicture("large", movie, 400, 400, context, store), name);
  EXPECT_EQ(store.Count(), 1u);
}

TEST(MoviePictures, LinkedPicturesOfAnotherMachineAreFoundThroughTheRules) {
  TTestFolder here;
  here.Write("covers/alien.jpg", EncodePictureFile(SolidBitmap(30, 40, 200, 0, 0), ".jpg"));
  const TPathMap rules = {{"C:\\Covers\\", here.Path() + "/covers/"}};
  EXPECT_EQ(ResolvePicturePath("/cat/", "C:\\Covers\\alien.jpg", rules), here.Path() + "/covers/alien.jpg");
  // Relative paths keep going through the catalog folder.
  EXPECT_EQ(ResolvePicturePath("/cat/", "C:relative\\x.jpg", {}), "C:relative\\x.jpg");
  EXPECT_EQ(ResolvePicturePath("/cat/", "covers\\x.jpg", rules), "/cat/covers/x.jpg");
  TMovie movie;
  movie.PictureName = "c:\\covers\\alien.jpg";
  EXPECT_FALSE(LoadMovieThumbnail(movie, "/cat/"));
  std::optional<TBitmap> thumbnail = LoadMovieThumbnail(movie, "/cat/", rules);
  ASSERT_TRUE(thumbnail);
  EXPECT_EQ(thumbnail->Height, 40);
}

TEST(MoviePictures, CountsLinkedPicturesAndVideoPathsFoundAsStoredAndMapped) {
  TTestFolder here;
  here.Write("covers/a.jpg", "x");
  here.Write("videos/a.avi", "x");
  here.Write("cat/covers/b.jpg", "x");
  std::vector<TMovie> movies(5);
  movies[0].PictureName = "C:\\Covers\\a.jpg";                   // found only with the rules
  movies[0].Source = "\\\\nas\\videos\\a.avi";                   // found only with the rules
  movies[1].PictureName = "covers\\b.jpg";                       // relative: found as stored
  movies[1].Source = here.File("videos/a.avi");                  // found as stored
  movies[2].PictureName = "C:\\Covers\\missing.jpg";              // never
  movies[2].Source = "http://example.com/a.mp4";                 // an address
  movies[3].PictureName = ".jpg";                                // embedded
  movies[3].Picture = std::make_unique<TPictureBytes>(1);
  movies[3].Picture->Data()[0] = 0;
  TMovieList list;
  LoadMovies(list, movies);
  const TPathMap rules = {{"C:\\Covers\\", here.Path() + "/covers/"}, {"\\\\nas\\", here.Path() + "/"}};
  TPathCounts counts = CountResolvedPaths(list, here.Path() + "/cat/", "Source", rules);
  EXPECT_EQ(counts.LinkedPictures, 3);
  EXPECT_EQ(counts.PicturesFound, 1);
  EXPECT_EQ(counts.PicturesFoundMapped, 2);
  EXPECT_EQ(counts.VideoPaths, 2);
  EXPECT_EQ(counts.VideosFound, 1);
  EXPECT_EQ(counts.VideosFoundMapped, 2);
  EXPECT_EQ(counts.VideoAddresses, 1);
}
