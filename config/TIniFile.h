#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A text file in the "ini" layout: "[Section]" lines followed by
// "Key=Value" lines. The file is read once on construction and changed in
// memory; UpdateFile() replaces it on disk atomically, so the file is always
// a complete earlier or later state. Lines the program does not touch
// (comments, other sections, unknown keys, keys given their old value) are
// written back byte for byte, line breaks included; a line ends at CR LF,
// LF or a lone CR.
// Section and key names compare without regard to ASCII letter case; values
// are byte strings kept exactly.
class TIniFile {
 public:
  // Values read back are cut to this many characters.
  static constexpr std::size_t kMaxValueLength = 2047;
  // Larger files are not read (and therefore never rewritten).
  static constexpr std::size_t kMaxFileSize = 64u << 20;

  // A missing file reads as empty; an existing file that cannot be read also
  // reads as empty but refuses UpdateFile(), so its content is never lost.
  explicit TIniFile(std::string path);
  static TIniFile FromText(std::string path, std::string_view text);

  const std::string& Path() const { return m_path; }

  std::optional<std::string> Find(const std::string& section, const std::string& key) const;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSectionKeys(const std::string& section) const;
  // Every key line of the section in file order, with its key as spelled.
  std::vector<std::pair<std::string, std::string>> ReadSectionPairs(const std::string& section) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  void EraseSection(const std::string& section);

  // The whole file as it would be written.
  std::string Text() const;
  // Writes the file through a temporary file in the same folder and a
  // rename. Throws TViewerError "Unable to write to %s" when that fails.
  void UpdateFile() const;

 private:
  struct TLine {
    std::string Raw;    // without its line break
    std::string Break;  // as read: CR LF, LF, CR, or nothing at the end
    std::string Key;    // empty when the line holds no key
    std::string Value;
  };
  struct TSection {
    std::string Name;
    std::string HeaderRaw;
    std::string HeaderBreak;
    std::vector<TLine> Lines;
  };

  void Parse(std::string_view text);
  const TSection* FindSection(const std::string& name) const;
  TSection* FindSection(const std::string& name);

  std::string m_path;
  std::string m_lineBreak = "\r\n";
  std::vector<TLine> m_preamble;
  std::vector<TSection> m_sections;
  bool m_unreadable = false;
  bool m_byteOrderMark = false;
};

// Integer reading of the ini layout: optional sign, decimal digits, or
// hexadecimal after "0x", "0X" or "$". Nothing else is accepted.
std::optional<int> ParseIniInteger(std::string_view text);
