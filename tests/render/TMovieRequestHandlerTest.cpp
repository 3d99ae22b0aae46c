#include "RenderFixtures.h"

#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "render/MoviePictures.h"
#include "render/TMovieRequestHandler.h"
#include "render/TPictureStore.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class MovieRequests : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<TMovie> movies(1);
    movies[0].OriginalTitle = "Alien";
    LoadMovies(m_movies, movies);
    m_settings.Template = {"PAGE $TITLE"};
    m_frame = TPageFrame{"", ""};
    m_pictures.BlankImage = "BLANK";
    for (int i = 0; i <= 10; ++i) m_ratings[static_cast<std::size_t>(i)] = "GIF" + std::to_string(i);
    m_handler = std::make_unique<TMovieRequestHandler>(m_ratings, m_folder.Path());
  }

  // The answer's bytes, or "not found".
  std::string Get(const std::string& url, std::string* contentType = nullptr) {
    const std::optional<TMovieResponse> answer = m_handler->Answer(Wide(url), m_input);
    if (!answer) return "not found";
    if (contentType) *contentType = answer->ContentType;
    return answer->Bytes;
  }
  std::string Handle() { return std::to_string(m_movies.Items(0).Handle); }

  TTestFolder m_folder;
  TMovieList m_movies;
  TViewerSettings m_settings;
  TPageFrame m_frame;
  TPictureContext m_pictures;
  TPictureStore m_store;
  TPageInput m_input{m_movies, m_settings, m_frame, m_pictures, m_store};
  std::array<std::string, 11> m_ratings;
  std::unique_ptr<TMovieRequestHandler> m_handler;
};

}  // namespace

TEST_F(MovieRequests, ServesPagesWithTheirContentType) {
  std::string type;
  EXPECT_EQ(Get("movie://localhost/movie[" + Handle() + "].html", &type), "PAGE Alien\r\n");
  EXPECT_EQ(type, "text/html; charset=windows-1252");
}

TEST_F(MovieRequests, ServesRatingImagesByTheirTwoDigits) {
  std::string type;
  EXPECT_EQ(Get("movie://localhost/rating07.gif", &type), "GIF7");
  EXPECT_EQ(type, "image/gif");
  EXPECT_EQ(Get("movie://localhost/rating15.gif"), "GIF10");
  EXPECT_EQ(Get("movie://localhost/ratingab.gif"), "GIF0");
  EXPECT_EQ(Get("movie://localhost/rating00.gif"), "GIF0");
  EXPECT_EQ(Get("movie://localhost/rating5.gif"), "not found");
  m_folder.Write("rating5.gif", "file");
  EXPECT_EQ(Get("movie://localhost/rating5.gif"), "file");
}

TEST_F(MovieRequests, FindsStorePicturesIgnoringCaseAfterTheCaseSensitivePrefix) {
  m_store.Add("image-large-1.jpg", "\xFF\xD8\xFFjpeg");
  std::string type;
  EXPECT_EQ(Get("movie://localhost/image-LARGE-1.JPG", &type), "\xFF\xD8\xFFjpeg");
  EXPECT_EQ(type, "image/jpeg");
  EXPECT_EQ(Get("movie://localhost/IMAGE-large-1.jpg"), "not found");
  EXPECT_EQ(Get("movie://localhost/MOVIE[" + Handle() + "].html"), "not found");
  m_folder.Write("IMAGE-large-1.jpg", "from the folder");
  EXPECT_EQ(Get("movie://localhost/IMAGE-large-1.jpg"), "from the folder");
}

TEST_F(MovieRequests, EachPageLetsGoOfTheOldestPicturesOfEarlierPages) {
  const std::string megabyte(1u << 20, 'p');
  const std::size_t pictures = kKeptPictureBytes / megabyte.size() + 8;
  for (std::size_t i = 0; i < pictures; ++i) {
    m_store.Add("image-large-" + std::to_string(i) + ".jpg", megabyte);
    m_store.RememberMade("large|" + std::to_string(i), "image-large-" + std::to_string(i) + ".jpg");
  }
  // Until a page is made, however many there are.
  EXPECT_EQ(Get("movie://localhost/image-large-0.jpg"), megabyte);
  Get("movie://localhost/movie[" + Handle() + "].html");
  EXPECT_LT(m_store.TotalBytes(), kKeptPictureBytes + megabyte.size());
  EXPECT_EQ(Get("movie://localhost/image-large-7.jpg"), "not found");
  EXPECT_FALSE(m_store.MadeName("large|7"));
  const std::string newest = "image-large-" + std::to_string(pictures - 1) + ".jpg";
  EXPECT_EQ(Get("movie://localhost/" + newest), megabyte);
  EXPECT_EQ(m_store.MadeName("large|" + std::to_string(pictures - 1)), newest);
  // Added again after being let go: found like any other.
  m_store.Add("image-large-7.jpg", "again");
  EXPECT_EQ(Get("movie://localhost/image-large-7.jpg"), "again");
}

TEST_F(MovieRequests, KeepsAnotherHostInTheNameSoOnlyAFileCanAnswer) {
  EXPECT_EQ(TMovieRequestHandler::RequestName("movie://elsewhere/movie[1].html"), "//elsewhere/movie[1].html");
  EXPECT_EQ(Get("movie://elsewhere/movie[" + Handle() + "].html"), "not found");
  EXPECT_EQ(TMovieRequestHandler::RequestName("movie://localhost/a\\b:c\\pics/logo.gif"), "pics/logo.gif");
}

TEST_F(MovieRequests, ServesFilesOfTheProgramFolderButNeverOutsideIt) {
  m_folder.Write("style.css", "p {}");
  m_folder.Write("pics/logo.gif", "GIF89a");
  std::string type;
  EXPECT_EQ(Get("movie://localhost/style.css", &type), "p {}");
  EXPECT_EQ(type, "text/css");
  EXPECT_EQ(Get("movie://localhost/pics/logo.gif", &type), "GIF89a");
  EXPECT_EQ(type, "image/gif");

  TTestFolder outside;
  outside.Write("secret.txt", "secret");
  std::filesystem::create_symlink(outside.File("secret.txt"), m_folder.File("link.txt"));
  std::filesystem::create_symlink(outside.Path(), m_folder.File("out"));
  std::string relative = std::filesystem::relative(outside.File("secret.txt"), m_folder.Path()).string();
  const std::vector<std::string> names = {"../" + relative, relative, "link.txt", "out/secret.txt", "pics/../../x",
                                         "..", "pics", ""};
  for (const std::string& name : names) {
    EXPECT_EQ(Get("movie://localhost/" + name), "not found") << name;
  }
  EXPECT_FALSE(TMovieRequestHandler::ReadProgramFile(m_folder.Path(), outside.File("secret.txt")));
  std::filesystem::create_symlink(m_folder.File("style.css"), m_folder.File("inside.css"));
  EXPECT_EQ(Get("movie://localhost/inside.css"), "p {}");
}

TEST_F(MovieRequests, ControlCharactersInANameAreNeverFound) {
  m_folder.Write("style.css", "p {}");
  m_store.Add("image-small-1.jpg", "\xFF\xD8\xFFjpeg");
  for (const char* url : {"movie://localhost/style.css%00.jpg", "movie://localhost/style.css%00", "movie://localhost/style%09.css",
                          "movie://localhost/image-small-1.jpg%00x", "movie://localhost/movie[1%0A].html",
                          "movie://localhost/style.css%7F"}) {
    EXPECT_EQ(Get(url), "not found") << url;
  }
  EXPECT_EQ(Get("movie://localhost/style.css"), "p {}");
  // An address longer than any page needs.
  EXPECT_EQ(Get("movie://localhost/movie[" + std::string(kMaxRequestLength, '1') + "].html"), "not found");
}

TEST_F(MovieRequests, SettingsFileIsNeverServedHoweverItIsNamed) {
  m_folder.Write("Config.ini", "[Config]\r\nPath=secret\r\n");
  m_folder.Write(".Config.ini.Ab12Cd", "[Config]\r\nPath=secret\r\n");
  m_folder.Write("sub/readme.txt", "fine");
  std::filesystem::create_symlink(m_folder.File("Config.ini"), m_folder.File("settings.txt"));
  std::filesystem::create_hard_link(m_folder.File("Config.ini"), m_folder.File("copy.css"));
  const char* spellings[] = {
      "movie://localhost/Config.ini",        "movie://localhost/config.INI",       "movie://localhost/%43onfig.ini",
      "movie://localhost/./Config.ini",      "movie://localhost/sub/../Config.ini", "movie://localhost/x\\Config.ini",
      "movie://localhost/C:Config.ini",      "movie://localhost/C:\\Config.ini",  "movie://elsewhere/Config.ini",
      "movie://localhost/Config.ini%00.css", "movie://localhost/settings.txt",      "movie://localhost/copy.css",
      "movie://localhost/.Config.ini.Ab12Cd", "movie://localhost/Config.ini/",      "movie://localhost/movie://localhost/Config.ini"};
  for (const char* url : spellings) {
    std::string answer = Get(url);
    EXPECT_EQ(answer.find("secret"), std::string::npos) << url;
    EXPECT_EQ(answer, "not found") << url;
  }
  EXPECT_FALSE(TMovieRequestHandler::ReadProgramFile(m_folder.Path(), "Config.ini"));
  EXPECT_EQ(Get("movie://localhost/sub/readme.txt"), "fine");
}

TEST_F(MovieRequests, DecodesPercentEscapesBeforeDispatching) {
  EXPECT_EQ(TMovieRequestHandler::DecodeRequestUrl(u"movie://localhost/movie[star%20wars].html"),
            "movie://localhost/movie[star wars].html");
  EXPECT_EQ(TMovieRequestHandler::DecodeRequestUrl(u"a%22b%22"), "a\"b\"");
  EXPECT_EQ(TMovieRequestHandler::DecodeRequestUrl(u"caf%C3%A9"), "caf\xE9");
  EXPECT_EQ(TMovieRequestHandler::DecodeRequestUrl(u"caf\u00E9 \u20AC"), "caf\xE9 \x80");
  EXPECT_EQ(TMovieRequestHandler::DecodeRequestUrl(u"%E9t%E9"), "\xE9t\xE9");
  EXPECT_EQ(TMovieRequestHandler::DecodeRequestUrl(u"100%zz%4"), "100%zz%4");
  std::string page = Get("movie://localhost/moviesearch[%22star%20wars%22].html");
  EXPECT_NE(page.find("<b>\"\"star wars\"\"</b>"), std::string::npos) << page;
}

TEST_F(MovieRequests, AnEmptyFileIsAnEmptyAnswer) {
  m_folder.Write("empty.txt", "");
  std::string type;
  EXPECT_EQ(Get("movie://localhost/empty.txt", &type), "");
  EXPECT_EQ(type, "application/octet-stream");
}

TEST(MovieRequestTypes, NamesFileTypesByExtension) {
  EXPECT_EQ(TMovieRequestHandler::FileContentType("a.CSS"), "text/css");
  EXPECT_EQ(TMovieRequestHandler::FileContentType("x/y.js"), "text/javascript");
  EXPECT_EQ(TMovieRequestHandler::FileContentType("p.htm"), "text/html");
  EXPECT_EQ(TMovieRequestHandler::FileContentType("p.png"), "image/png");
  EXPECT_EQ(TMovieRequestHandler::FileContentType("data"), "application/octet-stream");
}
