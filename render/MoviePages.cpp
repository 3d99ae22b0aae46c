#include "render/MoviePages.h"

#include "catalog/DisplayRules.h"
#include "catalog/MovieFields.h"
#include "catalog/TMovieList.h"
#include "config/AsciiText.h"
#include "config/PageFrame.h"
#include "config/TLocale.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/MoviePictures.h"
#include "render/StatisticsPage.h"
#include "render/TablePage.h"
#include "render/TPictureStore.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <map>
#include <thread>
#include <vector>

namespace {

std::string ImageTag(const std::string& address, bool lazy = false) {
  return "<img src=\"" + address + (lazy ? "\" loading=\"lazy\">" : "\">");
}

// The two pictures of every movie block, by their size word.
struct TPageBox {
  std::string SizeWord;
  int Width;
  int Height;
};

std::array<TPageBox, 2> PageBoxes(const TViewerSettings& settings) {
  return {TPageBox{"large", settings.MaxImageWidth, settings.MaxImageHeight},
          TPageBox{"small", kSmallPictureBox, kSmallPictureBox}};
}

// The page variables in the order they are replaced: where one name begins
// with another ($MEDIATYPE, $MEDIA) the longer comes first, and a value
// never has the variables before it replaced in it.
constexpr const char* kSubstitutionOrder[] = {
    "$LINK",        "$NUMBER",     "$MEDIATYPE",  "$MEDIA",        "$SOURCE",     "$DATE",        "$BORROWER",
    "$TITLE",       "$ORIGINALTITLE", "$TRANSLATEDTITLE", "$DIRECTOR", "$PRODUCER", "$COUNTRY",  "$CATEGORY",
    "$YEAR",        "$LENGTH",     "$ACTORS",     "$URL",          "$DESCRIPTION", "$COMMENTS",   "$VIDEOFORMAT",
    "$BITRATE",     "$AUDIOFORMAT", "$AUDIOBITRATE", "$RESOLUTION", "$FRAMERATE",  "$LANGUAGES",   "$SUBTITLES",
    "$SIZE",        "$DISKS",      "$CHECKED",    "$PICTURE",      "$SMALLPICTURE", "$VIDEOPATH", "$RATINGIMG",
    "$RATING"};

std::string DerivedValue(std::string_view name, const TMovie& m, const TViewerSettings& settings,
                         const std::string& largePicture, const std::string& smallPicture, const TPageLinks& links,
                         bool lazyPictures) {
  if (name == "Link") return links.MoviePage(m);
  if (name == "Title") return GetMovieTitle(m, settings.TitleType);
  if (name == "Picture") return ImageTag(links.Picture(largePicture), lazyPictures);
  if (name == "SmallPicture") return ImageTag(links.Picture(smallPicture), lazyPictures);
  if (name == "VideoPath") return GetVideoPath(&m, settings.VideoPathField);
  char ratingImage[32];
  std::snprintf(ratingImage, sizeof ratingImage, "rating%.2d.gif", RatingStep(m.Rating));
  return ImageTag(links.Picture(ratingImage));
}

bool IsPictureName(std::string_view value) {
  if (value.find_first_of("/\\:") != std::string_view::npos) return false;
  return value.rfind("image-", 0) == 0 || value.rfind("rating", 0) == 0;
}

bool IsRelativeAddress(std::string_view value) {
  return !value.empty() && value.front() != '/' && value.front() != '#' && value.find(':') == std::string_view::npos;
}

// A template's own addresses led where the links say: "movie" page
// addresses anywhere, pictures and relative files in src and href
// attributes. Values that hold a variable are left to the variables.
std::string LeadAddresses(std::string text, const TPageLinks& links) {
  std::string out;
  std::size_t at = 0;
  for (std::size_t start; (start = text.find(kMovieUrlPrefix, at)) != std::string::npos;) {
    std::size_t end = text.find(".html", start);
    if (end == std::string::npos) break;
    end += 5;
    out.append(text, at, start - at);
    out += links.PageAddress(std::string_view(text).substr(start, end - start));
    at = end;
  }
  out.append(text, at, std::string::npos);
  text = std::move(out);
  out.clear();
  at = 0;
  for (;;) {
    std::size_t src = text.find("src=\"", at);
    std::size_t href = text.find("href=\"", at);
    std::size_t start = std::min(src, href);
    if (start == std::string::npos) break;
    std::size_t valueStart = start + (start == src ? 5 : 6);
    std::size_t valueEnd = text.find('"', valueStart);
    if (valueEnd == std::string::npos) break;
    out.append(text, at, valueStart - at);
    std::string value = text.substr(valueStart, valueEnd - valueStart);
    if (value.find('$') != std::string::npos) {
      out += value;
    } else if (IsPictureName(value)) {
      out += links.Picture(value);
    } else if (IsRelativeAddress(value)) {
      out += links.ProgramFile(value);
    } else {
      out += value;
    }
    at = valueEnd;
  }
  out.append(text, at, std::string::npos);
  return out;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// A movie's text as far as a page shows it.
std::string PageText(const std::string& text) {
  if (text.size() <= kMaxPageText) return text;
  // Windows-1252's ellipsis.
  return text.substr(0, kMaxPageText) + "\x85";
}

std::string NoResultBlock(const std::string& token) {
  std::string sorry = Translate("Sorry, your search for <b>\"$SEARCH\"</b> did not return any results.");
  ReplaceAll(sorry, "$SEARCH", token);
  return "<br><br><br><br><br><br><center>" + sorry + "<br>" +
         Translate("Please try again or select a movie from the menu.") + "</center>";
}

// The block of the page shown when a page's process kept ending: what
// happened, and a link to the page that failed, to try it again.
std::string ProcessEndedBlock(std::string_view token) {
  std::string block = "<br><br><br><br><br><br><center>" +
                      Translate("The page could not be shown: its process ended three times within a minute.");
  if (std::optional<std::string> failed = ProcessEndedFailedAddress(token)) {
    block += "<br><br><a id=\"tryagain\" href=\"" + EscapeMarkup(*failed) + "\">" + Translate("Try again") + "</a>";
  }
  return block + "</center>";
}

// The movie of each item of a page address shown, [first, end), nullptr
// for a no-result block (and for the items of other parts). A search's
// items are texts, never handles.
std::vector<const TMovie*> ItemMovies(const std::vector<std::string>& tokens, const TMovieList& catalog,
                                      std::size_t first, std::size_t end) {
  std::vector<const TMovie*> movies(tokens.size() - 2, nullptr);
  if (tokens.front() == kSearchPageName || tokens.front() == kFindPageName ||
      tokens.front() == kStatisticsBarPageName) {
    return movies;
  }
  for (std::size_t i = first; i < end; ++i) {
    if (std::optional<std::int64_t> handle = ParseHandle(tokens[i + 1])) movies[i] = catalog.FindByHandle(*handle);
  }
  return movies;
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

TListPart ListPartOfPage(std::size_t items, int asked) {
  const std::size_t size = kListPartMovies;
  TListPart part;
  part.Count = static_cast<int>(std::max<std::size_t>(1, (items + size - 1) / size));
  part.Number = std::clamp(asked, 1, part.Count);
  part.First = static_cast<std::size_t>(part.Number - 1) * size;
  part.End = std::min(items, part.First + size);
  return part;
}

namespace {

// A count with its thousands grouped as the locale writes numbers:
// "61,352", or "61.352" where the comma is the decimal sign.
std::string GroupedNumber(std::size_t number) {
  const char separator = CurrentLocale().DecimalSeparator() == ',' ? '.' : ',';
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), 1, separator);
  }
  return digits;
}

}  // namespace

std::string PartLine(const TListPart& part, std::size_t items, bool withIds, const std::string& query) {
  std::string where = FormatMessage(Translate("Movies %s\x96%s of %s"), GroupedNumber(part.First + 1));
  where = FormatMessage(where, GroupedNumber(part.End));
  where = FormatMessage(where, GroupedNumber(items));
  auto link = [&](const char* id, const char* caption, int target, const char* rel) {
    const std::string text = EscapeMarkup(Translate(caption));
    if (target < 1 || target > part.Count || target == part.Number) return text;
    std::string anchor = "<a";
    if (withIds) anchor += std::string(" id=\"elk-part-") + id + "\"";
    if (*rel != '\0') anchor += std::string(" rel=\"") + rel + "\"";
    return anchor + " href=\"?" + query + ListPartLink(target).substr(1) + "\">" + text + "</a>";
  };
  return "<p class=\"elk-parts\" align=\"center\">" + EscapeMarkup(where) + " &nbsp; " +
         link("first", "First", 1, "") + " | " + link("previous", "Previous", part.Number - 1, "prev") + " | " +
         link("next", "Next", part.Number + 1, "next") + " | " + link("last", "Last", part.Count, "") + "</p>\r\n";
}

void ReplaceAll(std::string& text, std::string_view find, std::string_view replacement, std::size_t limit) {
  if (find.empty()) return;
  std::size_t at = text.find(find);
  if (at == std::string::npos) return;
  std::string out;
  out.reserve(std::min(text.size(), limit));
  auto append = [&](std::string_view piece) {
    const std::size_t room = limit - out.size();
    out.append(piece.substr(0, room));
    return piece.size() <= room;
  };
  std::size_t from = 0;
  const std::string_view whole(text);
  bool room = true;
  while (at != std::string::npos && room) {
    room = append(whole.substr(from, at - from)) && append(replacement);
    from = at + find.size();
    at = text.find(find, from);
  }
  if (room) append(whole.substr(from));
  text = std::move(out);
}

std::string TPageLinks::MoviePage(const TMovie& movie) const { return MoviePageAddress(MovieHandleText(movie)); }
std::string TPageLinks::Picture(const std::string& name) const { return name; }
std::string TPageLinks::PageAddress(std::string_view address) const { return std::string(address); }
std::string TPageLinks::ProgramFile(const std::string& name) const { return name; }

std::string SubstituteMovieVariables(std::string text, const TMovie& m, const TViewerSettings& settings,
                                     const std::string& largePicture, const std::string& smallPicture,
                                     const TPageLinks* links, bool lazyPictures) {
  static const TPageLinks viewerLinks;
  const TPageLinks& to = links != nullptr ? *links : viewerLinks;
  for (const char* variable : kSubstitutionOrder) {
    const TMovieField& field = *FindPageVariable(variable);
    std::string value;
    switch (field.Kind) {
      case TFieldKind::Text: value = PageText(*FieldText(m, field)); break;
      case TFieldKind::MultilineText: value = LineBreaksToHtml(PageText(*FieldText(m, field))); break;
      case TFieldKind::Number: value = FormatOptionalNumber(FieldNumber(m, field)); break;
      case TFieldKind::Date: value = FormatMovieDate(FieldNumber(m, field), settings.DateFormat); break;
      case TFieldKind::Rating: value = FormatRating(FieldNumber(m, field)); break;
      case TFieldKind::Checked: value = CheckedText(FieldNumber(m, field) != 0); break;
      case TFieldKind::Derived:
        value = DerivedValue(field.Name, m, settings, largePicture, smallPicture, to, lazyPictures);
        break;
    }
    ReplaceAll(text, variable, value);
  }
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

namespace {

// The names of a movie's two pictures in the page: made before, made now by
// `jobs` (then kept in the store), or for a list whose pictures the view
// asks for as it shows them, the names they will be made under.
std::array<std::string, 2> PictureNames(const TMovie& movie, const std::array<TPageBox, 2>& boxes, bool lazy,
                                        std::vector<TPictureJob>& jobs,
                                        const std::map<std::string, std::size_t>& jobOf, const TPageInput& input) {
  std::array<std::string, 2> names;
  for (std::size_t b = 0; b < boxes.size(); ++b) {
    const TPageBox& box = boxes[b];
    std::string key = MadePictureKey(box.SizeWord, movie, box.Width, box.Height);
    if (std::optional<std::string> made = input.Store.MadeName(key)) {
      names[b] = *made;
    } else if (lazy) {
      names[b] = PictureNameBeforeMaking(box.SizeWord, movie, box.Width, box.Height, input.Pictures);
    } else {
      TMadePicture& result = jobs[jobOf.at(key)].Result;
      names[b] = result.Name;
      input.Store.Add(result.Name, std::move(result.Bytes));
      input.Store.RememberMade(key, result.Name);
    }
  }
  return names;
}

}  // namespace

std::string RenderMoviePage(std::string_view address, const TPageInput& input) {
  const TTranslationScope language(input.Language);
  std::vector<std::string> tokens = TokenizeMovieAddress(address);
  std::string page = input.Frame.PageHeader;
  if (tokens.size() < 3) return page + input.Frame.PageFooter;

  if (tokens.front() == kProcessEndedPageName) return page + ProcessEndedBlock(tokens[1]) + input.Frame.PageFooter;
  if (tokens.front() == kTableRowsPageName) return RenderTablePage(tokens, input);
  if (tokens.front() == kStatisticsPageName) {
    return page + StatisticsBlock(CollectStatistics(input.Movies, input.Settings.VideoPathField), true) +
           input.Frame.PageFooter;
  }

  const TViewerSettings& settings = input.Settings;
  const std::size_t items = tokens.size() - 2;
  const TListPart part =
      input.WholeLists ? TListPart{1, 1, 0, items} : ListPartOfPage(items, ListPartOf(tokens.back()));
  const std::vector<const TMovie*> movies = ItemMovies(tokens, input.Movies, part.First, part.End);
  // A list's pictures are asked for by the view when it shows the page.
  const bool lazyPictures = items != 1 && !input.WholeLists;
  const std::array<TPageBox, 2> boxes = PageBoxes(settings);

  // Pictures first: the ones the store does not hold yet, each once.
  std::vector<TPictureJob> jobs;
  std::map<std::string, std::size_t> jobOf;
  for (std::size_t i = part.First; i < part.End && !lazyPictures; ++i) {
    if (movies[i] == nullptr) continue;
    for (const TPageBox& box : boxes) {
      std::string key = MadePictureKey(box.SizeWord, *movies[i], box.Width, box.Height);
      if (input.Store.MadeName(key) || jobOf.count(key)) continue;
      jobOf[key] = jobs.size();
      jobs.push_back({box.SizeWord, movies[i], box.Width, box.Height, {}});
    }
  }
  MakePictures(jobs, input.Pictures, input.Workers);

  std::string movieTemplate = JoinLines(items == 1 ? settings.Template : settings.ListTemplate);
  const TUserVars* userVars = &settings.UserVars;
  TUserVars ledUserVars;
  if (input.Links != nullptr) {
    movieTemplate = LeadAddresses(std::move(movieTemplate), *input.Links);
    for (const TUserVars::TEntry& entry : settings.UserVars.Entries()) {
      std::string value = entry.Value;
      ReplaceAll(value, "&equal;", "=");
      ledUserVars.Set(entry.Name, LeadAddresses(std::move(value), *input.Links));
    }
    userVars = &ledUserVars;
  }
  if (!input.Heading.empty()) page += "<h2 class=\"elk-heading\">" + EscapeMarkup(input.Heading) + "</h2>\r\n";
  if (part.Count > 1) page += PartLine(part, items, true, std::string());
  for (std::size_t i = part.First; i < part.End; ++i) {
    if (input.Cancelled != nullptr && input.Cancelled->load(std::memory_order_relaxed)) break;
    std::string block;
    if (movies[i] != nullptr) {
      const std::array<std::string, 2> names = PictureNames(*movies[i], boxes, lazyPictures, jobs, jobOf, input);
      block = SubstituteMovieVariables(movieTemplate, *movies[i], settings, names[0], names[1], input.Links,
                                       lazyPictures);
    } else {
      block = NoResultBlock(tokens[i + 1]);
    }
    page += ApplyUserVariables(std::move(block), *userVars);
    if (page.size() >= kMaxPageBytes) {
      page.resize(kMaxPageBytes);
      break;
    }
  }
  if (part.Count > 1) page += PartLine(part, items, false, std::string());
  return page + input.Frame.PageFooter;
}

std::vector<std::string> AddMoviePagePictures(const TMovie& movie, const std::vector<TPictureBox>& others,
                                              const TPageInput& input) {
  std::vector<TPictureBox> boxes;
  for (const TPageBox& box : PageBoxes(input.Settings)) boxes.push_back({box.SizeWord, box.Width, box.Height});
  const std::size_t pageBoxes = boxes.size();
  boxes.insert(boxes.end(), others.begin(), others.end());
  std::vector<TMadePicture> made = MakeMoviePictures(movie, boxes, input.Pictures);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const std::string key = MadePictureKey(boxes[i].SizeWord, movie, boxes[i].Width, boxes[i].Height);
    if (std::optional<std::string> known = input.Store.MadeName(key)) {
      if (i >= pageBoxes) names.push_back(*known);
      continue;
    }
    input.Store.Add(made[i].Name, std::move(made[i].Bytes));
    input.Store.RememberMade(key, made[i].Name);
    if (i >= pageBoxes) names.push_back(made[i].Name);
  }
  return names;
}

std::shared_ptr<const std::string> MakePagePicture(std::string_view name, const TPageInput& input) {
  // "image-" size word "-" handle extension
  constexpr std::string_view kPrefix = "image-";
  if (name.substr(0, kPrefix.size()) != kPrefix) return nullptr;
  const std::size_t dash = name.find('-', kPrefix.size());
  if (dash == std::string_view::npos) return nullptr;
  const std::string_view sizeWord = name.substr(kPrefix.size(), dash - kPrefix.size());
  std::size_t digits = dash + 1;
  while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') ++digits;
  const std::optional<std::int64_t> handle = ParseHandle(name.substr(dash + 1, digits - dash - 1));
  const TMovie* movie = handle && digits > dash + 1 ? input.Movies.FindByHandle(*handle) : nullptr;
  if (movie == nullptr) return nullptr;
  for (const TPageBox& box : PageBoxes(input.Settings)) {
    // Letter case after "image" does not matter, as for pictures already made.
    if (LowerAscii(sizeWord) != box.SizeWord) continue;
    const std::string named = PictureNameBeforeMaking(box.SizeWord, *movie, box.Width, box.Height, input.Pictures);
    // Only the very name a page gives: anything else is not a picture of ours.
    if (LowerAscii(named) != LowerAscii(name)) return nullptr;
    TMadePicture made = MakeMoviePicture(box.SizeWord, *movie, box.Width, box.Height, input.Pictures);
    auto bytes = std::make_shared<const std::string>(std::move(made.Bytes));
    input.Store.Add(named, *bytes);
    input.Store.RememberMade(MadePictureKey(box.SizeWord, *movie, box.Width, box.Height), named);
    return bytes;
  }
  return nullptr;
}
