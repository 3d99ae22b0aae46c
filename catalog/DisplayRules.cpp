#include "catalog/DisplayRules.h"

#include "catalog/MovieFields.h"

#include "config/AsciiText.h"

#include "config/TLocale.h"
#include "config/Translation.h"

const std::array<const char*, 21> kMovieFieldNames = [] {
  std::array<const char*, 21> names{};
  std::size_t count = 0;
  for (const TMovieField& field : MovieFields()) {
    if (IsTextField(field) && count < names.size()) names[count++] = field.Name;
  }
  return names;
}();

namespace {

std::string TwoDigits(int value) {
  std::string text = std::to_string(value);
  return text.size() < 2 ? "0" + text : text;
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t y = yoe + era * 400;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2 ? 1 : 0));
}

constexpr std::int64_t kDay0ToUnixEpoch = 25569;  // 30 Dec 1899 .. 1 Jan 1970

}  // namespace

std::string_view StoredMovieTitle(const TMovie& movie, int titleType) {
  const std::string& first = titleType == 0 ? movie.OriginalTitle : movie.TranslatedTitle;
  const std::string& second = titleType == 0 ? movie.TranslatedTitle : movie.OriginalTitle;
  return first.empty() ? second : first;
}

std::string GetMovieTitle(const TMovie& movie, int titleType) {
  const std::string_view stored = StoredMovieTitle(movie, titleType);
  return stored.empty() ? Translate("< no title >") : std::string(stored);
}

std::string GetVideoPath(const TMovie* movie, std::string_view fieldName) {
  if (movie == nullptr || fieldName.empty()) return {};
  for (const TMovieField& field : MovieFields()) {
    if (IsTextField(field) && SameTextAscii(fieldName, field.Name)) return *FieldText(*movie, field);
  }
  return {};
}

std::string FormatOptionalNumber(std::int32_t value) { return value == -1 ? std::string() : std::to_string(value); }

bool DecodeDayNumber(std::int32_t dayNumber, int& year, int& month, int& day) {
  CivilFromDays(static_cast<std::int64_t>(dayNumber) - kDay0ToUnixEpoch, year, month, day);
  return year >= 1 && year <= 9999;
}

std::string FormatMovieDate(std::int32_t dayNumber, std::string_view pattern) {
  int year = 0, month = 0, day = 0;
  if (!DecodeDayNumber(dayNumber, year, month, day)) return {};
  // 1 = Sunday; day 0 (30 Dec 1899) was a Saturday.
  int weekDay = static_cast<int>(((static_cast<std::int64_t>(dayNumber) % 7 + 7 + 6) % 7) + 1);
  const TLocale& locale = CurrentLocale();
  std::string out;
  std::size_t i = 0;
  auto run = [&](char letter) {
    std::size_t n = 0;
    while (i + n < pattern.size() && (pattern[i + n] | 0x20) == letter) ++n;
    return n;
  };
  while (i < pattern.size()) {
    char c = pattern[i];
    char lower = static_cast<char>(c | 0x20);
    if (c == '"' || c == '\'') {
      std::size_t close = pattern.find(c, i + 1);
      if (close == std::string_view::npos) close = pattern.size();
      out += pattern.substr(i + 1, close - i - 1);
      i = close + 1;
    } else if (c == '/') {
      out += locale.DateSeparator();
      ++i;
    } else if (lower == 'd') {
      std::size_t n = run('d');
      i += n;
      if (n == 1) out += std::to_string(day);
      else if (n == 2) out += TwoDigits(day);
      else if (n == 3) out += locale.ShortDayName(weekDay);
      else out += locale.LongDayName(weekDay);
    } else if (lower == 'm') {
      std::size_t n = run('m');
      i += n;
      if (n == 1) out += std::to_string(month);
      else if (n == 2) out += TwoDigits(month);
      else if (n == 3) out += locale.ShortMonthName(month);
      else out += locale.LongMonthName(month);
    } else if (lower == 'y') {
      std::size_t n = run('y');
      i += n;
      if (n <= 2) {
        out += TwoDigits(year % 100);
      } else {
        std::string digits = std::to_string(year);
        out += std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
      }
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

std::string FormatRating(std::int32_t rating) {
  if (rating == -1) return {};
  std::int64_t value = rating;
  bool negative = value < 0;
  if (negative) value = -value;
  std::string text = (negative ? "-" : "") + std::to_string(value / 10);
  if (value % 10 != 0) {
    text += CurrentLocale().DecimalSeparator();
    text += static_cast<char>('0' + value % 10);
  }
  return text;
}

int RatingStep(std::int32_t rating) {
  int clamped = rating < 0 ? 0 : rating > 100 ? 100 : rating;
  int whole = clamped / 10;
  int rest = clamped % 10;
  if (rest > 5 || (rest == 5 && whole % 2 == 1)) ++whole;
  return whole;
}

std::string CheckedText(bool checked) { return Translate(checked ? "Yes" : "No"); }

std::string LineBreaksToHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "<br>";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += "<br>";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string> SplitNameList(std::string_view text) {
  if (text.empty()) return {Translate("Others")};
  std::vector<std::string> keys;
  std::string current, previous;
  auto finish = [&] {
    std::size_t first = 0, last = current.size();
    while (first < last && static_cast<unsigned char>(current[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(current[last - 1]) <= 32) --last;
    std::string piece = current.substr(first, last - first);
    if (!piece.empty() && piece != previous) keys.push_back(piece);
    previous = std::move(piece);
    current.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '(') {
      int depth = 0;
      for (; i < text.size(); ++i) {
        if (text[i] == '(') ++depth;
        if (text[i] == ')' && --depth == 0) break;
      }
    } else if (c == ',') {
      finish();
    } else {
      current += c;
    }
  }
  finish();
  return keys;
}
