#include "tools/SiteWriter.h"

#include "browse/Grouping.h"
#include "browse/TSideBarModel.h"
#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"
#include "config/TextEncoding.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/MoviePages.h"
#include "render/MoviePictures.h"
#include "render/Resources.h"
#include "render/TMovieRequestHandler.h"
#include "render/TPictureStore.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>

namespace fs = std::filesystem;

namespace {

constexpr int kNominalScreenWidth = 1024;
constexpr int kNominalScreenHeight = 768;
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

// A page of the viewer as a file of the site: its own addresses become
// relative links, its pictures live in pictures/, and it says that it is
// UTF-8. Names of other files it asks for are collected.
class TLinkRewriter {
 public:
  explicit TLinkRewriter(const std::unordered_map<std::int64_t, int>& positions) : m_positions(positions) {}

  std::string Rewrite(std::string page, std::set<std::string>& wanted) const {
    page = RewriteMovieAddresses(std::move(page));
    page = RewriteAttributes(std::move(page), wanted);
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

 private:
  std::string RewriteMovieAddresses(std::string page) const {
    std::string out;
    std::size_t at = 0;
    for (;;) {
      std::size_t start = page.find(kMovieUrlPrefix, at);
      if (start == std::string::npos) break;
      out.append(page, at, start - at);
      std::size_t end = page.find(".html", start);
      if (end == std::string::npos) {
        at = start;
        break;
      }
      end += 5;
      out += SiteAddress(std::string_view(page).substr(start, end - start));
      at = end;
    }
    out.append(page, at, std::string::npos);
    return out;
  }

  // The site's file for a page address of the viewer: a movie's own page,
  // or the index for anything else (lists and searches have no file).
  std::string SiteAddress(std::string_view address) const {
    std::vector<std::string> tokens = TokenizeMovieAddress(TMovieRequestHandler::RequestName(std::string(address)));
    if (tokens.size() == 3 && tokens[0] == "movie") {
      if (std::optional<std::int64_t> handle = ParseHandle(tokens[1])) {
        auto found = m_positions.find(*handle);
        if (found != m_positions.end()) return "movie-" + std::to_string(found->second) + ".html";
      }
    }
    return "index.html";
  }

  // Pictures the page names by relative address move into pictures/;
  // any other relative file is collected to be copied.
  static std::string RewriteAttributes(std::string page, std::set<std::string>& wanted) {
    std::string out;
    std::size_t at = 0;
    for (;;) {
      std::size_t src = page.find("src=\"", at);
      std::size_t href = page.find("href=\"", at);
      std::size_t start = std::min(src, href);
      if (start == std::string::npos) break;
      std::size_t valueStart = start + (start == src ? 5 : 6);
      std::size_t valueEnd = page.find('"', valueStart);
      if (valueEnd == std::string::npos) break;
      out.append(page, at, valueStart - at);
      std::string value = page.substr(valueStart, valueEnd - valueStart);
      if (IsPictureName(value)) {
        out += kPictureFolder + value;
      } else {
        if (IsProgramFileName(value)) wanted.insert(value);
        out += value;
      }
      at = valueEnd;
    }
    out.append(page, at, std::string::npos);
    return out;
  }

  static bool IsPictureName(std::string_view value) {
    if (value.find_first_of("/\\:") != std::string_view::npos) return false;
    return value.rfind("image-", 0) == 0 || value.rfind("rating", 0) == 0;
  }

  static bool IsProgramFileName(std::string_view value) {
    if (value.empty() || value.front() == '/' || value.front() == '#' || value.find(':') != std::string_view::npos) {
      return false;
    }
    return value != "index.html" && value.rfind("movie-", 0) != 0 && value.rfind("name-", 0) != 0 &&
           value.rfind(kPictureFolder, 0) != 0;
  }

  const std::unordered_map<std::int64_t, int>& m_positions;
};

}  // namespace

TSiteResult WriteSite(const TSiteOptions& options) {
  const fs::path out(options.OutFolder);
  TViewerSettings settings;
  LoadSettings(settings, options.ProgramFolder, kNominalScreenWidth, kNominalScreenHeight);
  TPageFrame frame = BuildPageFrame(options.ProgramFolder, settings.ColorScheme);
  LoadLanguage((fs::path(options.ProgramFolder) / (settings.Language + ".lng")).string());
  TPictureContext pictures;
  pictures.BlankImage = LoadResourceStream("blank").value_or("");
  pictures.PathMap = settings.PathMap;
  TMovieList movies;
  movies.LoadFromFile(options.CatalogPath);
  pictures.CatalogFolder = fs::absolute(options.CatalogPath).parent_path().string() + "/";

  std::unordered_map<std::int64_t, int> positions;
  std::vector<TPageJob> jobs;
  for (int i = 0; i < movies.Count(); ++i) {
    positions[movies.Items(i).Handle] = i + 1;
    jobs.push_back({"movie-" + std::to_string(i + 1) + ".html", MoviePageAddress(MovieHandleText(movies.Items(i)))});
  }
  TSiteResult result;
  result.MoviePages = movies.Count();

  // The index: the side bar as the viewer would show it.
  TSideBarModel bar;
  const int group = options.Group.value_or(settings.LastGroup);
  const int order = options.Order.value_or(settings.LastOrder);
  std::string caption = BuildSideBar(movies, bar, settings.TitleType, group, settings.LastGroupDesc, order,
                                     settings.LastOrderDesc);
  const std::string& owner = movies.Properties().OwnerName;
  std::string index = frame.PageHeader + "<h1>" +
                      EscapeHtml((owner.empty() ? Translate("My Private") : owner + "'s") + " " +
                                 Translate("Movie Collection")) +
                      "</h1>\r\n<p>" + EscapeHtml(caption) + "</p>\r\n";
  for (int s = 0; s < bar.Items().Count(); ++s) {
    const TSideBarItem& section = bar.Items()[s];
    index += "<h2>" + EscapeHtml(section.Caption()) + "</h2>\r\n<ul>\r\n";
    for (int i = 0; i < section.Items().Count(); ++i) {
      std::string link, text = section.Items().Strings(i);
      if (bar.Tag == 1) {
        link = "name-" + std::to_string(s + 1) + "-" + std::to_string(i + 1) + ".html";
        jobs.push_back({link, MoviePageAddress(SideBarItemHandles(bar, s, i))});
        ++result.NamePages;
      } else {
        const auto* movie = static_cast<const TMovie*>(section.Items().Objects(i));
        link = "movie-" + std::to_string(positions.at(movie->Handle)) + ".html";
        if (text.empty()) text = GetMovieTitle(*movie, settings.TitleType);
      }
      index += "<li><a href=\"" + link + "\">" + EscapeHtml(text) + "</a></li>\r\n";
    }
    index += "</ul>\r\n";
  }
  index += frame.PageFooter;

  // The pages, on several threads; each file is the same whoever makes it.
  const TLinkRewriter rewriter(positions);
  std::mutex lock;
  std::set<std::string> written, wanted;
  std::atomic<std::size_t> next{0};
  std::atomic<int> done{0};
  std::exception_ptr failure;
  auto work = [&] {
    TPictureStore store;
    TPageInput input{movies, settings, frame, pictures, store, 1};
    std::set<std::string> mine;
    try {
      for (std::size_t job = next++; job < jobs.size(); job = next++) {
        const std::size_t before = store.Count();
        std::string page = rewriter.Rewrite(RenderMoviePage(jobs[job].Address, input), mine);
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
    wanted.insert(mine.begin(), mine.end());
  };
  int workers = options.Workers > 0 ? options.Workers : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> threads;
  for (int i = 1; i < workers; ++i) threads.emplace_back(work);
  work();
  for (std::thread& thread : threads) thread.join();
  if (failure) std::rethrow_exception(failure);

  std::set<std::string> unused;
  WriteFile(out / "index.html", rewriter.Rewrite(index, unused));
  // Every rating image, so any template's rating is there.
  std::array<std::string, 11> ratings = LoadRatingImages();
  char name[16];
  for (int i = 0; i <= 10; ++i) {
    std::snprintf(name, sizeof name, "rating%.2d.gif", i);
    if (written.insert(name).second) WriteFile(out / kPictureFolder / name, ratings[static_cast<std::size_t>(i)]);
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
