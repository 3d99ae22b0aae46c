#include "tools/SiteWriter.h"

#include "browse/Grouping.h"
#include "browse/TSideBarModel.h"
#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"
#include "config/TextEncoding.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/MoviePages.h"
#include "render/TMovieRequestHandler.h"
#include "render/TPageSession.h"
#include "render/TPictureStore.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
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
};

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw TViewerError(FormatMessage("Unable to write to %s", path.string()));
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
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

// A page of the viewer as a file of the site: it says that it is UTF-8.
std::string SitePage(const std::string& page) {
  std::string utf8 = Cp1252ToUtf8(page);
  // Right after the opening tag, inside the first kilobyte as browsers want.
  // Pages ask for Verdana, which most machines other than Windows lack;
  // there the text stays in a sans-serif face rather than the browser's
  // default serif.
  const std::string meta = std::string("<meta charset=\"utf-8\">") + kFontFallback;
  std::size_t html = utf8.find("<html>");
  if (html == std::string::npos) return meta + "\r\n" + utf8;
  return utf8.insert(html + 6, "\r\n" + meta);
}

// The index: the side bar as the viewer would show it, each item a link
// to a movie's page or (in people mode) to a name's page, which is added
// to the jobs.
std::string IndexPage(const TPageSession& session, const TSiteOptions& options,
                      const std::unordered_map<std::int64_t, int>& positions, std::vector<TPageJob>& jobs,
                      TSiteResult& result) {
  const TViewerSettings& settings = session.Settings();
  const TMovieList& movies = session.Catalog();
  TSideBarModel bar;
  const int group = options.Group.value_or(settings.LastGroup);
  const int order = options.Order.value_or(settings.LastOrder);
  std::string caption = BuildSideBar(movies, bar, settings.TitleType, group, settings.LastGroupDesc, order,
                                     settings.LastOrderDesc);
  const std::string& owner = movies.Properties().OwnerName;
  std::string index = session.Frame().PageHeader + "<h1>" +
                      EscapeHtml((owner.empty() ? Translate("My Private") : owner + "'s") + " " +
                                 Translate("Movie Collection")) +
                      "</h1>\r\n<p>" + EscapeHtml(caption) + "</p>\r\n";
  for (int s = 0; s < bar.Items().Count(); ++s) {
    const TSideBarItem& section = bar.Items()[s];
    index += "<h2>" + EscapeHtml(section.Caption()) + "</h2>\r\n<ul>\r\n";
    for (int i = 0; i < section.Items().Count(); ++i) {
      std::string link, text = section.Items().Strings(i);
      if (const TMovie* movie = SideBarItemMovie(bar, s, i)) {
        link = "movie-" + std::to_string(positions.at(movie->Handle)) + ".html";
      } else {
        link = "name-" + std::to_string(s + 1) + "-" + std::to_string(i + 1) + ".html";
        jobs.push_back({link, MoviePageAddress(SideBarItemHandles(bar, s, i))});
        ++result.NamePages;
      }
      index += "<li><a href=\"" + link + "\">" + EscapeHtml(text) + "</a></li>\r\n";
    }
    index += "</ul>\r\n";
  }
  return index + session.Frame().PageFooter;
}

// The pages, on several threads; each file is the same whoever makes it.
// Returns the pictures written; adds the program folder's files that pages
// named to `wanted`.
std::set<std::string> WritePages(const TPageSession& session, const TSiteOptions& options,
                                 const std::unordered_map<std::int64_t, int>& positions,
                                 const std::vector<TPageJob>& jobs, std::set<std::string>& wanted) {
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
        std::string page = SitePage(RenderMoviePage(jobs[job].Address, input));
        for (std::size_t p = before; p < store.Count(); ++p) {
          const std::string& name = store.NameAt(p);
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

}  // namespace

TSiteResult WriteSite(const TSiteOptions& options) {
  const fs::path out(options.OutFolder);
  std::unique_ptr<TPageSession> session = TPageSession::ForCatalog(options.ProgramFolder, options.CatalogPath);
  const TMovieList& movies = session->Catalog();

  std::unordered_map<std::int64_t, int> positions;
  std::vector<TPageJob> jobs;
  for (int i = 0; i < movies.Count(); ++i) {
    positions[movies.Items(i).Handle] = i + 1;
    jobs.push_back({"movie-" + std::to_string(i + 1) + ".html", MoviePageAddress(MovieHandleText(movies.Items(i)))});
  }
  TSiteResult result;
  result.MoviePages = movies.Count();
  const std::string index = IndexPage(*session, options, positions, jobs, result);

  std::set<std::string> wanted;
  std::set<std::string> written = WritePages(*session, options, positions, jobs, wanted);
  WriteFile(out / "index.html", SitePage(index));
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
