#include "render/MovieAddress.h"

#include <algorithm>
#include <cstdio>
#include <limits>

std::string MovieHandleText(const TMovie& movie) { return std::to_string(movie.Handle); }

std::string MoviePageAddress(std::string_view items) {
  return std::string(kMovieUrlPrefix) + "movie[" + std::string(items) + "].html";
}

std::string PercentEncodeForAddress(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '%' || c == '#' || c == '?' || byte < 32 || byte == 127) {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out;
}

std::string PercentDecoded(std::string_view text) {
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && digit(text[i + 1]) >= 0 && digit(text[i + 2]) >= 0) {
      out += static_cast<char>(digit(text[i + 1]) * 16 + digit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string SearchPageAddress(std::string_view text) {
  return std::string(kMovieUrlPrefix) + std::string(kSearchPageName) + "[" + PercentEncodeForAddress(text) + "].html";
}

std::string HexText(std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

std::optional<std::string> BytesOfHexText(std::string_view hex) {
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]);
    const int low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

std::string FindPageAddress(std::string_view text, int field) {
  return std::string(kMovieUrlPrefix) + std::string(kFindPageName) + "[" + std::to_string(field) + "," +
         HexText(text) + "].html";
}

std::string ProcessEndedPageAddress(std::string_view failedAddress) {
  return std::string(kMovieUrlPrefix) + std::string(kProcessEndedPageName) + "[" + HexText(failedAddress) + "].html";
}

std::optional<std::string> ProcessEndedFailedAddress(std::string_view token) {
  std::optional<std::string> address = BytesOfHexText(token);
  if (!address) return std::nullopt;
  for (char c : *address) {
    if (c < 33 || c > 126) return std::nullopt;
  }
  if (address->rfind(kMovieUrlPrefix, 0) != 0) return std::nullopt;
  return address;
}

int ListPartOf(std::string_view lastToken) {
  const std::size_t query = lastToken.find('?');
  if (query == std::string_view::npos) return 1;
  for (std::size_t at = query; at != std::string_view::npos; at = lastToken.find('&', at + 1)) {
    std::string_view field = lastToken.substr(at + 1);
    if (field.substr(0, 5) != "part=") continue;
    int part = 0;
    for (std::size_t i = 5; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
      // Anything past the last part is the last part.
      part = std::min(part * 10 + (field[i] - '0'), 1 << 24);
    }
    return std::max(part, 1);
  }
  return 1;
}

std::string ListPartLink(int part) { return "?part=" + std::to_string(part); }

std::vector<std::string> TokenizeMovieAddress(std::string_view address) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  auto separator = [](char c) { return c == ',' || c == '[' || c == ']'; };
  while (i < address.size()) {
    while (i < address.size() && (address[i] == ' ' || address[i] == '\r' || address[i] == '\n')) ++i;
    std::string token;
    while (i < address.size() && !separator(address[i]) && address[i] != '\r' && address[i] != '\n') {
      char c = address[i];
      if (c == '"' || c == '\'') {
        std::size_t close = address.find(c, i + 1);
        std::size_t end = close == std::string_view::npos ? address.size() : close + 1;
        token.append(address.substr(i, end - i));
        i = end;
        continue;
      }
      token += c;
      ++i;
    }
    if (!token.empty()) tokens.push_back(std::move(token));
    if (i < address.size() && separator(address[i])) ++i;
  }
  return tokens;
}

std::optional<std::int64_t> ParseHandle(std::string_view token) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '-' || token[i] == '+')) negative = token[i++] == '-';
  if (i == token.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9') return std::nullopt;
    if (value > (std::numeric_limits<std::int64_t>::max() - 9) / 10) return std::nullopt;
    value = value * 10 + (token[i] - '0');
  }
  return negative ? -value : value;
}

std::string StatisticsPageAddress() { return std::string(kMovieUrlPrefix) + "moviestatistics[all].html"; }
