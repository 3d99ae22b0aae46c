#include "config/TIniFile.h"

#include "config/AsciiText.h"

#include "config/TFileLayer.h"
#include "config/TViewerError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A stored value: blanks around it are not part of it, and one pair of
// double quotes around it is removed, so values with outer blanks survive.
std::string DecodeValue(std::string_view raw) {
  std::string_view value = Trim(raw);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::string EncodeValue(const std::string& value) {
  std::string safe = value;
  // A line break would split the line and damage the file's layout.
  for (char& c : safe) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  bool quote = !safe.empty() && (IsBlank(safe.front()) || IsBlank(safe.back()) ||
                                 (safe.size() >= 2 && safe.front() == '"' && safe.back() == '"'));
  return quote ? "\"" + safe + "\"" : safe;
}

// Writes `bytes` to a new file beside `target` and renames it over `target`.
// A crash or a full disk therefore leaves either the old or the new file.
void ReplaceFileAtomically(const std::string& target, const std::string& bytes) {
  namespace fs = std::filesystem;
  TFileLayer& files = CurrentFileLayer();
  fs::path path(target);
  std::error_code error;
  // Follow a link so that the link itself survives and its target is updated.
  if (fs::is_symlink(path, error)) {
    fs::path resolved = fs::weakly_canonical(path, error);
    if (!error) path = resolved;
  }
  mode_t mode = 0666;
  struct stat info {};
  bool existed = ::stat(path.c_str(), &info) == 0;
  if (existed) {
    mode = info.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  std::string pattern = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
  if (path.parent_path().empty()) pattern = "." + path.filename().string() + ".XXXXXX";
  int fd = files.CreateTemporary(pattern);
  if (fd < 0) throw std::system_error(errno, std::generic_category());
  try {
    if (!WriteFully(files, fd, bytes.data(), bytes.size())) throw std::system_error(errno, std::generic_category());
    if (files.ChangeMode(fd, mode) != 0 || files.Sync(fd) != 0) throw std::system_error(errno, std::generic_category());
    int closed = files.Close(fd);
    fd = -1;
    if (closed != 0) throw std::system_error(errno, std::generic_category());
    if (files.Rename(pattern, path.string()) != 0) throw std::system_error(errno, std::generic_category());
  } catch (...) {
    if (fd >= 0) files.Close(fd);
    files.Remove(pattern);
    throw;
  }
  // Make the rename itself durable; failing here does not undo the write.
  files.SyncFolder(path.parent_path().empty() ? std::string(".") : path.parent_path().string());
}

// The end of the line that starts at `start`: the position of its line
// break (CR LF, LF or a lone CR) and the break's length; a last line
// without a break ends at the end of the text.
std::pair<std::size_t, std::size_t> LineEnd(std::string_view text, std::size_t start) {
  for (std::size_t i = start; i < text.size(); ++i) {
    if (text[i] == '\n') return {i, 1};
    if (text[i] == '\r') return {i, i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1};
  }
  return {text.size(), 0};
}

}  // namespace

std::optional<int> ParseIniInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    int digit = HexDigitValue(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 16) {
    // Hexadecimal spells the 32 bits, so $FFFFFFFF is -1.
    auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return negative ? static_cast<int>(-static_cast<std::int64_t>(bits)) : bits;
  }
  std::int64_t signedValue = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
  if (signedValue < INT_MIN || signedValue > INT_MAX) return std::nullopt;
  return static_cast<int>(signedValue);
}

TIniFile::TIniFile(std::string path) : m_path(std::move(path)) {
  std::error_code error;
  if (!std::filesystem::exists(m_path, error)) return;
  std::ifstream in(m_path, std::ios::binary);
  auto size = std::filesystem::file_size(m_path, error);
  if (!in || error || size > kMaxFileSize) {
    m_unreadable = true;
    return;
  }
  std::string text(size, '\0');
  in.read(text.data(), static_cast<std::streamsize>(size));
  text.resize(static_cast<std::size_t>(in.gcount()));
  Parse(text);
}

TIniFile TIniFile::FromText(std::string path, std::string_view text) {
  TIniFile file("");
  file.m_path = std::move(path);
  file.Parse(text);
  return file;
}

void TIniFile::Parse(std::string_view text) {
  // Editors may start the file with a UTF-8 byte order mark; it is kept
  // for writing but must not hide the first section.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    m_byteOrderMark = true;
    text.remove_prefix(kByteOrderMark.size());
  }
  // New lines get the break the file uses most plainly.
  if (text.find("\r\n") != std::string_view::npos) {
    m_lineBreak = "\r\n";
  } else if (text.find('\n') != std::string_view::npos) {
    m_lineBreak = "\n";
  } else if (text.find('\r') != std::string_view::npos) {
    m_lineBreak = "\r";
  }
  // Every line keeps its own break, so a file read and written back
  // unchanged keeps every byte, whatever mix of breaks it has.
  std::size_t start = 0;
  while (start < text.size()) {
    auto [end, breakLength] = LineEnd(text, start);
    std::string_view line = text.substr(start, end - start);
    std::string lineBreak(text.substr(end, breakLength));
    start = end + breakLength;
    std::string_view trimmed = Trim(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      std::string_view name = trimmed.substr(1);
      name = name.substr(0, name.find(']'));
      m_sections.push_back(TSection{std::string(Trim(name)), std::string(line), std::move(lineBreak), {}});
      continue;
    }
    TLine entry{std::string(line), std::move(lineBreak), {}, {}};
    std::size_t equals = line.find('=');
    if (equals != std::string_view::npos && !trimmed.empty() && trimmed.front() != ';') {
      entry.Key = std::string(Trim(line.substr(0, equals)));
      entry.Value = DecodeValue(line.substr(equals + 1));
    }
    if (m_sections.empty()) {
      m_preamble.push_back(std::move(entry));
    } else {
      m_sections.back().Lines.push_back(std::move(entry));
    }
  }
}

const TIniFile::TSection* TIniFile::FindSection(const std::string& name) const {
  for (const TSection& section : m_sections) {
    if (SameTextAscii(section.Name, name)) return &section;
  }
  return nullptr;
}

TIniFile::TSection* TIniFile::FindSection(const std::string& name) {
  return const_cast<TSection*>(static_cast<const TIniFile*>(this)->FindSection(name));
}

std::optional<std::string> TIniFile::Find(const std::string& section, const std::string& key) const {
  const TSection* found = FindSection(section);
  if (!found) return std::nullopt;
  for (const TLine& line : found->Lines) {
    if (!line.Key.empty() && SameTextAscii(line.Key, key)) return line.Value.substr(0, kMaxValueLength);
  }
  return std::nullopt;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  return Find(section, key).value_or(defaultValue);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
  std::optional<std::string> text = Find(section, key);
  if (!text) return defaultValue;
  return ParseIniInteger(*text).value_or(defaultValue);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const TSection& section : m_sections) {
    bool seen = false;
    for (const std::string& name : names) seen = seen || SameTextAscii(name, section.Name);
    if (!seen) names.push_back(section.Name);
  }
  return names;
}

std::vector<std::string> TIniFile::ReadSectionKeys(const std::string& section) const {
  std::vector<std::string> keys;
  for (const auto& pair : ReadSectionPairs(section)) keys.push_back(pair.first);
  return keys;
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionPairs(const std::string& section) const {
  std::vector<std::pair<std::string, std::string>> pairs;
  const TSection* found = FindSection(section);
  if (!found) return pairs;
  for (const TLine& line : found->Lines) {
    if (!line.Key.empty()) pairs.emplace_back(line.Key, line.Value.substr(0, kMaxValueLength));
  }
  return pairs;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (key.empty()) return;
  TLine line{key + "=" + EncodeValue(value), m_lineBreak, key, value};
  TSection* found = FindSection(section);
  if (!found) {
    m_sections.push_back(TSection{section, "[" + section + "]", m_lineBreak, {std::move(line)}});
    return;
  }
  std::size_t lastKey = 0;
  bool anyKey = false;
  for (std::size_t i = 0; i < found->Lines.size(); ++i) {
    TLine& existing = found->Lines[i];
    if (existing.Key.empty()) continue;
    if (SameTextAscii(existing.Key, key)) {
      // The same value stays as the user wrote it (spacing, quotes).
      if (existing.Value == value) return;
      line.Break = existing.Break;
      existing = std::move(line);
      return;
    }
    lastKey = i;
    anyKey = true;
  }
  // New keys go right after the section's last key, so blank lines and
  // comments that separate it from the next section stay where they were.
  found->Lines.insert(found->Lines.begin() + static_cast<std::ptrdiff_t>(anyKey ? lastKey + 1 : 0), std::move(line));
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(const std::string& section) {
  std::erase_if(m_sections, [&](const TSection& s) { return SameTextAscii(s.Name, section); });
}

std::string TIniFile::Text() const {
  std::string text = m_byteOrderMark ? "\xEF\xBB\xBF" : "";
  // A line that had no break (the file's last) gets one when something
  // now follows it.
  std::size_t unbroken = std::string::npos;
  auto add = [&](const std::string& raw, const std::string& lineBreak) {
    if (unbroken != std::string::npos) text.insert(unbroken, m_lineBreak);
    text += raw;
    unbroken = lineBreak.empty() ? text.size() : std::string::npos;
    text += lineBreak;
  };
  for (const TLine& line : m_preamble) add(line.Raw, line.Break);
  for (const TSection& section : m_sections) {
    add(section.HeaderRaw, section.HeaderBreak);
    for (const TLine& line : section.Lines) add(line.Raw, line.Break);
  }
  return text;
}

void TIniFile::UpdateFile() const {
  std::string message = FormatMessage("Unable to write to %s", m_path);
  if (m_unreadable) throw TViewerError(message);
  try {
    ReplaceFileAtomically(m_path, Text());
  } catch (const std::exception&) {
    throw TViewerError(message);
  }
}
