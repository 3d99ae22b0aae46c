#include "tools/SiteWriter.h"

#include "browse/Grouping.h"
#include "layout/TSideBarModel.h"
#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"
#include "config/TextEncoding.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/CollectionStats.h"
#include "render/MoviePages.h"
#include "render/MoviePictures.h"
#include "render/TMovieRequestHandler.h"
#include "render/TPageSession.h"
#include "render/TablePage.h"
#include "render/TPictureStore.h"
#include "render/StatisticsPage.h"
#include "render/TPictureStore.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPictureFolder = "pictures/";
constexpr int kProgressEvery = 100;
constexpr const char* kFontFallback =
    "<style>html body, html body p, html body td, html body li "
    "{ font-family: Verdana, \"DejaVu Sans\", \"Liberation Sans\", Arial, sans-serif; }</style>";

struct TPageJob {
  std::string FileName;
  std::string Address;
  // What the page is called in the browser's title bar.
  std::string Title;
  // The movie whose cover the index shows, when it shows covers.
  const TMovie* Cover = nullptr;
};

// Covers on the index, named by their movie: fitted into 75 x 113, which a
// common 600 x 900 cover reaches by decoding at an eighth of its size (a
// box a little larger would double the site's time).
constexpr int kCoverWidth = 75;
constexpr int kCoverHeight = 113;

// The index's own look; its colours and fonts are the page frame's.
constexpr const char* kIndexStyle =
    "<style>\r\n"
    ".elk-index{padding:8px 16px}.elk-nav{margin:0 0 1em 0}.elk-nav a{margin-right:1.5em}\r\n"
    ".elk-index ul{columns:18em;list-style:none;padding-left:0}.elk-index li{margin:2px 0;break-inside:avoid}\r\n"
    ".elk-covers{display:flex;flex-wrap:wrap;gap:10px;margin:6px 0 18px 0}\r\n"
    ".elk-covers a{display:block;width:92px;text-align:center;font-size:85%;text-decoration:none}\r\n"
    ".elk-covers img{display:block;margin:0 auto 3px auto;max-width:75px;max-height:113px;"
    "border:1px solid currentColor}\r\n"
    "</style>\r\n";

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw TViewerError(FormatMessage("Unable to write to %s", path.string()));
}

// The site's own addresses for a page's links: movies by their file,
// pictures in pictures/, other files of the program folder beside the
// pages (collected to be copied). Each thread has its own.
class TSiteLinks : public TPageLinks {
 public:
  explicit TSiteLinks(const std::unordered_map<std::int64_t, int>& positions) : m_positions(positions) {}

  std::string MoviePage(const TMovie& movie) const override { return MovieFile(movie.Handle); }
  std::string Picture(const std::string& name) const override { return kPictureFolder + name; }
  // A movie's own page, or the index for anything else (lists and
  // searches have no file).
  std::string PageAddress(std::string_view address) const override {
    std::vector<std::string> tokens = TokenizeMovieAddress(TMovieRequestHandler::RequestName(std::string(address)));
    if (tokens.size() == 3 && tokens[0] == "movie") {
      if (std::optional<std::int64_t> handle = ParseHandle(tokens[1])) return MovieFile(*handle);
    }
    return "index.html";
  }
  std::string ProgramFile(const std::string& name) const override {
    if (name != "index.html" && name.rfind("movie-", 0) != 0 && name.rfind("name-", 0) != 0 &&
        name.rfind(kPictureFolder, 0) != 0) {
      Wanted.insert(name);
    }
    return name;
  }

  // The files of the program folder that pages named.
  mutable std::set<std::string> Wanted;

 private:
  std::string MovieFile(std::int64_t handle) const {
    auto found = m_positions.find(handle);
    return found == m_positions.end() ? "index.html" : "movie-" + std::to_string(found->second) + ".html";
  }

  const std::unordered_map<std::int64_t, int>& m_positions;
};

// A page of the viewer as a file of the site: it says that it is UTF-8,
// has a title, and (unless it is the index) a link back to the index
// first in its body.
std::string SitePage(const std::string& page, const std::string& title, bool backLink) {
  std::string utf8 = Cp1252ToUtf8(page);
  // Right after the opening tag, inside the first kilobyte as browsers want.
  // Pages ask for Verdana, which most machines other than Windows lack;
  // there the text stays in a sans-serif face rather than the browser's
  // default serif.
  const std::string head = std::string("<meta charset=\"utf-8\">") + kFontFallback + "\r\n<title>" +
                           Cp1252ToUtf8(EscapeMarkup(title)) + "</title>";
  if (backLink) {
    const std::string back = "<p class=\"elk-back\" style=\"margin:6px 16px\"><a href=\"index.html\">&laquo; " +
                             Cp1252ToUtf8(EscapeMarkup(Translate("All Movies"))) + "</a></p>\r\n";
    std::size_t body = utf8.find("<body");
    body = body == std::string::npos ? std::string::npos : utf8.find('>', body);
    if (body == std::string::npos) {
      utf8.insert(0, back);
    } else {
      utf8.insert(body + 1, "\r\n" + back);
    }
  }
  std::size_t html = utf8.find("<html>");
  if (html == std::string::npos) return head + "\r\n" + utf8;
  return utf8.insert(html + 6, "\r\n" + head);
}

// The collection's name, as the viewer's title says it.
std::string CollectionName(const TMovieList& movies) {
  const std::string& owner = movies.Properties().OwnerName;
  return (owner.empty() ? Translate("My Private") : owner + "'s") + " " + Translate("Movie Collection");
}

// The index: the side bar as the viewer would show it, each item a link
// to a movie's page or (in people mode) to a name's page. With `jobs` the
// names' pages are added to them (and nothing else is done); without, the
// page is made, movies shown by their covers when `covers` names them.
std::string IndexPage(const TPageSession& session, const TSiteOptions& options,
                      const std::unordered_map<std::int64_t, int>& positions, std::vector<TPageJob>* jobs,
                      const std::map<std::int64_t, std::string>* covers) {
  const TViewerSettings& settings = session.Settings();
  const TMovieList& movies = session.Catalog();
  TSideBarModel bar;
  const int group = options.Group.value_or(settings.LastGroup);
  const int order = options.Order.value_or(settings.LastOrder);
  std::string caption = BuildSideBar(movies, bar, settings.TitleType, group, settings.LastGroupDesc, order,
                                     settings.LastOrderDesc);
  std::string index = session.Frame().PageHeader + kIndexStyle + "<div class=\"elk-index\">\r\n<h1>" +
                      EscapeMarkup(CollectionName(movies)) + "</h1>\r\n<p class=\"elk-nav\"><a href=\"statistics.html\">" +
                      EscapeMarkup(Translate("Statistics")) + "</a><a href=\"table.html\">" +
                      EscapeMarkup(Translate("Table")) + "</a></p>\r\n<p>" + EscapeMarkup(caption) + "</p>\r\n";
  for (int s = 0; s < bar.Items().Count(); ++s) {
    const TSideBarItem& section = bar.Items()[s];
    const bool grid = covers != nullptr && SideBarItemMovie(bar, s, 0) != nullptr;
    index += "<h2>" + EscapeMarkup(section.Caption()) + "</h2>\r\n" + (grid ? "<div class=\"elk-covers\">" : "<ul>") +
             "\r\n";
    for (int i = 0; i < section.Items().Count(); ++i) {
      std::string link, text = section.Items().Strings(i);
      const TMovie* movie = SideBarItemMovie(bar, s, i);
      if (movie != nullptr) {
        link = "movie-" + std::to_string(positions.at(movie->Handle)) + ".html";
      } else {
        link = "name-" + std::to_string(s + 1) + "-" + std::to_string(i + 1) + ".html";
        if (jobs != nullptr) jobs->push_back({link, MoviePageAddress(SideBarItemHandles(bar, s, i)), text});
      }
      if (grid && movie != nullptr) {
        auto cover = covers->find(movie->Handle);
        const std::string picture = cover == covers->end() ? std::string() : kPictureFolder + cover->second;
        index += "<a href=\"" + link + "\"><img src=\"" + picture + "\" alt=\"\" loading=\"lazy\">" +
                 EscapeMarkup(text) + "</a>\r\n";
      } else {
        index += "<li><a href=\"" + link + "\">" + EscapeMarkup(text) + "</a></li>\r\n";
      }
    }
    index += grid ? "</div>\r\n" : "</ul>\r\n";
  }
  return index + "</div>\r\n" + session.Frame().PageFooter;
}

// The pages, on several threads; each file is the same whoever makes it.
// Returns the pictures written; adds the program folder's files that pages
// named to `wanted`.
std::set<std::string> WritePages(const TPageSession& session, const TSiteOptions& options,
                                 const std::unordered_map<std::int64_t, int>& positions,
                                 const std::vector<TPageJob>& jobs, std::set<std::string>& wanted,
                                 std::map<std::int64_t, std::string>& covers) {
  const fs::path out(options.OutFolder);
  std::mutex lock;
  std::set<std::string> written;
  std::atomic<std::size_t> next{0};
  std::atomic<int> done{0};
  std::exception_ptr failure;
  auto work = [&] {
    TPictureStore store;
    TSiteLinks links(positions);
    TPageInput input = session.InputWith(store, &links, 1);
    try {
      for (std::size_t job = next++; job < jobs.size(); job = next++) {
        const std::size_t before = store.Count();
        if (const TMovie* movie = jobs[job].Cover) {
          // The cover comes from the same decoding as the page's pictures.
          std::string cover =
              AddMoviePagePictures(*movie, {{"cover", kCoverWidth, kCoverHeight}}, input).front();
          std::lock_guard<std::mutex> guard(lock);
          covers[movie->Handle] = std::move(cover);
        }
        std::string page = SitePage(RenderMoviePage(jobs[job].Address, input), jobs[job].Title, true);
        for (std::size_t p = before; p < store.Count(); ++p) {
          const std::string name = store.NameAt(p);
          {
            std::lock_guard<std::mutex> guard(lock);
            if (!written.insert(name).second) continue;
          }
          WriteFile(out / kPictureFolder / name, *store.Find(name));
        }
        // The names stay known, so no picture is made twice here; the
        // bytes are on disk and need not stay in memory.
        store.ReleaseBytes();
        WriteFile(out / jobs[job].FileName, page);
        int count = ++done;
        if (options.OnProgress && (count % kProgressEvery == 0 || count == static_cast<int>(jobs.size()))) {
          std::lock_guard<std::mutex> guard(lock);
          options.OnProgress(count, static_cast<int>(jobs.size()));
        }
      }
    } catch (...) {
      std::lock_guard<std::mutex> guard(lock);
      if (!failure) failure = std::current_exception();
      next = jobs.size();
    }
    std::lock_guard<std::mutex> guard(lock);
    wanted.insert(links.Wanted.begin(), links.Wanted.end());
  };
  int workers = options.Workers > 0 ? options.Workers : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> threads;
  for (int i = 1; i < workers; ++i) threads.emplace_back(work);
  work();
  for (std::thread& thread : threads) thread.join();
  if (failure) std::rethrow_exception(failure);
  return written;
}

// The whole collection as one table, ordered by title: a static page
// cannot order itself again, and a copy per column and direction would be
// fourteen pages of every movie. Its small pictures are those the movies'
// pages wrote.
std::string TablePage(const TPageSession& session, const std::unordered_map<std::int64_t, int>& positions,
                      const std::set<std::string>& written) {
  const TMovieList& movies = session.Catalog();
  TPictureStore store;
  for (const std::string& name : written) {
    if (name.rfind("image-small-", 0) != 0) continue;
    const std::optional<std::int64_t> handle = ParseHandle(name.substr(12, name.find('.') - 12));
    const TMovie* movie = handle ? movies.FindByHandle(*handle) : nullptr;
    if (movie != nullptr) store.RememberMade(MadePictureKey("small", *movie, kSmallPictureBox, kSmallPictureBox), name);
  }
  TSiteLinks links(positions);
  const TPageInput input = session.InputWith(store, &links, 1);
  std::string rows;
  for (int i = 0; i < movies.Count(); ++i) rows += (i > 0 ? "," : "") + MovieHandleText(movies.Items(i));
  return RenderMoviePage(std::string(kTableRowsPageName) + "[" + rows + "].html", input);
}

}  // namespace

TSiteResult WriteSite(const TSiteOptions& options) {
  const fs::path out(options.OutFolder);
  std::unique_ptr<TPageSession> session = TPageSession::ForCatalog(options.ProgramFolder, options.CatalogPath);
  const TMovieList& movies = session->Catalog();

  std::unordered_map<std::int64_t, int> positions;
  std::vector<TPageJob> jobs;
  for (int i = 0; i < movies.Count(); ++i) {
    const TMovie& movie = movies.Items(i);
    positions[movie.Handle] = i + 1;
    jobs.push_back({"movie-" + std::to_string(i + 1) + ".html", MoviePageAddress(MovieHandleText(movie)),
                    GetMovieTitle(movie, session->Settings().TitleType), options.Covers ? &movie : nullptr});
  }
  TSiteResult result;
  result.MoviePages = movies.Count();
  IndexPage(*session, options, positions, &jobs, nullptr);
  result.NamePages = static_cast<int>(jobs.size()) - movies.Count();

  std::set<std::string> wanted;
  std::map<std::int64_t, std::string> covers;
  std::set<std::string> written = WritePages(*session, options, positions, jobs, wanted, covers);
  const std::string index = IndexPage(*session, options, positions, nullptr, options.Covers ? &covers : nullptr);
  WriteFile(out / "index.html", SitePage(index, CollectionName(movies), false));
  const std::string statistics =
      session->Frame().PageHeader + "<div style=\"padding:8px 16px\">" +
      StatisticsBlock(CollectStatistics(movies, session->Settings().VideoPathField), false) + "</div>" +
      session->Frame().PageFooter;
  WriteFile(out / "statistics.html", SitePage(statistics, Translate("Statistics"), true));
  WriteFile(out / "table.html", SitePage(TablePage(*session, positions, written), Translate("Table"), true));
  // Every rating image, so any template's rating is there.
  char name[16];
  for (int i = 0; i <= 10; ++i) {
    std::snprintf(name, sizeof name, "rating%.2d.gif", i);
    if (written.insert(name).second) {
      WriteFile(out / kPictureFolder / name, session->RatingImages()[static_cast<std::size_t>(i)]);
    }
  }
  result.Pictures = static_cast<int>(written.size());
  // Other files of the program folder that pages name (style sheets and
  // the like), as the viewer would serve them: never Config.ini.
  for (const std::string& file : wanted) {
    if (std::optional<std::string> bytes = TMovieRequestHandler::ReadProgramFile(options.ProgramFolder, file)) {
      WriteFile(out / file, *bytes);
      ++result.CopiedFiles;
    }
  }
  return result;
}
