#include "render/MoviePages.h"

#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/MoviePictures.h"
#include "render/TPictureStore.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <thread>
#include <vector>

namespace {

constexpr int kSmallPictureBox = 200;

std::string ImageTag(const std::string& address) { return "<img src=\"" + address + "\">"; }

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string NoResultBlock(const std::string& token) {
  std::string sorry = Translate("Sorry, your search for <b>\"$SEARCH\"</b> did not return any results.");
  ReplaceAll(sorry, "$SEARCH", token);
  return "<br><br><br><br><br><br><center>" + sorry + "<br>" +
         Translate("Please try again or select a movie from the menu.") + "</center>";
}

struct TPictureJob {
  std::string SizeWord;
  const TMovie* Movie;
  int Width;
  int Height;
  TMadePicture Result;
};

// Makes the pictures that the store does not hold yet on worker threads.
// Jobs are independent; their results are stored afterwards in page order,
// so the store ends up exactly as after making them one by one.
void MakePictures(std::vector<TPictureJob>& jobs, const TPictureContext& context, int workers) {
  if (jobs.empty()) return;
  int threads = workers > 0 ? workers : static_cast<int>(std::thread::hardware_concurrency());
  threads = std::max(1, std::min<int>(threads, static_cast<int>(jobs.size())));
  // With more pictures than threads, each movie's pictures come from one
  // decoding (faster in all); with as many threads as pictures (a movie's
  // own page) each is made on its own thread (sooner).
  std::vector<std::pair<std::size_t, std::size_t>> units;  // [first, end) of jobs
  const bool grouped = static_cast<int>(jobs.size()) > threads;
  for (std::size_t i = 0; i < jobs.size();) {
    std::size_t end = i + 1;
    while (grouped && end < jobs.size() && jobs[end].Movie == jobs[i].Movie) ++end;
    units.emplace_back(i, end);
    i = end;
  }
  threads = std::min<int>(threads, static_cast<int>(units.size()));
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t u = next++; u < units.size(); u = next++) {
      auto [first, end] = units[u];
      if (end - first == 1) {
        TPictureJob& job = jobs[first];
        job.Result = MakeMoviePicture(job.SizeWord, *job.Movie, job.Width, job.Height, context);
        continue;
      }
      std::vector<TPictureBox> boxes;
      for (std::size_t j = first; j < end; ++j) boxes.push_back({jobs[j].SizeWord, jobs[j].Width, jobs[j].Height});
      std::vector<TMadePicture> made = MakeMoviePictures(*jobs[first].Movie, boxes, context);
      for (std::size_t j = first; j < end; ++j) jobs[j].Result = std::move(made[j - first]);
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (std::thread& thread : pool) thread.join();
}

}  // namespace

void ReplaceAll(std::string& text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return;
  std::size_t at = text.find(find);
  if (at == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  while (at != std::string::npos) {
    out.append(text, from, at - from);
    out.append(replacement);
    from = at + find.size();
    at = text.find(find, from);
  }
  out.append(text, from, std::string::npos);
  text = std::move(out);
}

std::string SubstituteMovieVariables(std::string text, const TMovie& m, const TViewerSettings& settings,
                                     const std::string& largePicture, const std::string& smallPicture) {
  char ratingImage[32];
  std::snprintf(ratingImage, sizeof ratingImage, "rating%.2d.gif", RatingStep(m.Rating));
  // Longer names first where one name begins with another.
  ReplaceAll(text, "$LINK", MoviePageAddress(MovieHandleText(m)));
  ReplaceAll(text, "$NUMBER", FormatOptionalNumber(m.Number));
  ReplaceAll(text, "$MEDIATYPE", m.MediaType);
  ReplaceAll(text, "$MEDIA", m.Media);
  ReplaceAll(text, "$SOURCE", m.Source);
  ReplaceAll(text, "$DATE", FormatMovieDate(m.Date, settings.DateFormat));
  ReplaceAll(text, "$BORROWER", m.Borrower);
  ReplaceAll(text, "$TITLE", GetMovieTitle(m, settings.TitleType));
  ReplaceAll(text, "$ORIGINALTITLE", m.OriginalTitle);
  ReplaceAll(text, "$TRANSLATEDTITLE", m.TranslatedTitle);
  ReplaceAll(text, "$DIRECTOR", m.Director);
  ReplaceAll(text, "$PRODUCER", m.Producer);
  ReplaceAll(text, "$COUNTRY", m.Country);
  ReplaceAll(text, "$CATEGORY", m.Category);
  ReplaceAll(text, "$YEAR", FormatOptionalNumber(m.Year));
  ReplaceAll(text, "$LENGTH", FormatOptionalNumber(m.Length));
  ReplaceAll(text, "$ACTORS", LineBreaksToHtml(m.Actors));
  ReplaceAll(text, "$URL", m.URL);
  ReplaceAll(text, "$DESCRIPTION", LineBreaksToHtml(m.Description));
  ReplaceAll(text, "$COMMENTS", LineBreaksToHtml(m.Comments));
  ReplaceAll(text, "$VIDEOFORMAT", m.VideoFormat);
  ReplaceAll(text, "$BITRATE", FormatOptionalNumber(m.VideoBitrate));
  ReplaceAll(text, "$AUDIOFORMAT", m.AudioFormat);
  ReplaceAll(text, "$AUDIOBITRATE", FormatOptionalNumber(m.AudioBitrate));
  ReplaceAll(text, "$RESOLUTION", m.Resolution);
  ReplaceAll(text, "$FRAMERATE", m.Framerate);
  ReplaceAll(text, "$LANGUAGES", m.Languages);
  ReplaceAll(text, "$SUBTITLES", m.Subtitles);
  ReplaceAll(text, "$SIZE", m.Size);
  ReplaceAll(text, "$DISKS", FormatOptionalNumber(m.Disks));
  ReplaceAll(text, "$CHECKED", CheckedText(m.Checked));
  ReplaceAll(text, "$PICTURE", ImageTag(largePicture));
  ReplaceAll(text, "$SMALLPICTURE", ImageTag(smallPicture));
  ReplaceAll(text, "$VIDEOPATH", GetVideoPath(&m, settings.VideoPathField));
  ReplaceAll(text, "$RATINGIMG", ImageTag(ratingImage));
  ReplaceAll(text, "$RATING", FormatRating(m.Rating));
  return text;
}

std::string ApplyUserVariables(std::string block, const TUserVars& userVars) {
  for (const TUserVars::TEntry& entry : userVars.Entries()) {
    std::string find = entry.Name;
    std::string replacement = entry.Value;
    ReplaceAll(find, "&equal;", "=");
    ReplaceAll(replacement, "&equal;", "=");
    if (find.empty()) continue;
    ReplaceAll(block, find, replacement);
  }
  return block;
}

std::string RenderMoviePage(std::string_view address, TPageInput& input) {
  std::vector<std::string> tokens = TokenizeMovieAddress(address);
  std::string page = input.Frame.PageHeader;
  if (tokens.size() < 3) return page + input.Frame.PageFooter;

  const TViewerSettings& settings = input.Settings;
  bool searchTexts = tokens.front() == kSearchPageName;
  std::vector<const TMovie*> movies;  // per item; nullptr for a no-result block
  for (std::size_t i = 1; i + 1 < tokens.size(); ++i) {
    const TMovie* movie = nullptr;
    if (!searchTexts) {
      if (std::optional<std::int64_t> handle = ParseHandle(tokens[i])) movie = input.Movies.FindByHandle(*handle);
    }
    movies.push_back(movie);
  }

  // Pictures first: the ones the store does not hold yet, each once.
  struct TBox {
    const char* SizeWord;
    int Width;
    int Height;
  };
  const TBox boxes[2] = {{"large", settings.MaxImageWidth, settings.MaxImageHeight},
                         {"small", kSmallPictureBox, kSmallPictureBox}};
  std::vector<TPictureJob> jobs;
  std::map<std::string, std::size_t> jobOf;
  for (const TMovie* movie : movies) {
    if (movie == nullptr) continue;
    for (const TBox& box : boxes) {
      std::string key = MadePictureKey(box.SizeWord, *movie, box.Width, box.Height);
      if (input.Store.MadeName(key) || jobOf.count(key)) continue;
      jobOf[key] = jobs.size();
      jobs.push_back({box.SizeWord, movie, box.Width, box.Height, {}});
    }
  }
  MakePictures(jobs, input.Pictures, input.Workers);

  const std::string movieTemplate = JoinLines(movies.size() == 1 ? settings.Template : settings.ListTemplate);
  for (std::size_t i = 0; i < movies.size(); ++i) {
    std::string block;
    if (movies[i] != nullptr) {
      std::string names[2];
      for (int b = 0; b < 2; ++b) {
        std::string key = MadePictureKey(boxes[b].SizeWord, *movies[i], boxes[b].Width, boxes[b].Height);
        if (std::optional<std::string> made = input.Store.MadeName(key)) {
          names[b] = *made;
          continue;
        }
        TMadePicture& result = jobs[jobOf.at(key)].Result;
        names[b] = result.Name;
        input.Store.Add(result.Name, std::move(result.Bytes));
        input.Store.RememberMade(key, result.Name);
      }
      block = SubstituteMovieVariables(movieTemplate, *movies[i], settings, names[0], names[1]);
    } else {
      block = NoResultBlock(tokens[i + 1]);
    }
    page += ApplyUserVariables(std::move(block), settings.UserVars);
  }
  return page + input.Frame.PageFooter;
}
