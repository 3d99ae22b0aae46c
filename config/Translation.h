#pragma once

#include <memory>
#include <string>
#include <string_view>

// The table of the chosen language: English texts (byte for byte) to their
// translations. One table serves the whole program; Translate() reads it.
class TranslationTable {
 public:
  static constexpr int kBucketCount = 100;
  // Only the key names that fit in this many bytes of the section's key list,
  // each name followed by one zero byte, are seen.
  static constexpr std::size_t kKeyListLimit = 16384;

  TranslationTable();
  ~TranslationTable();
  TranslationTable(const TranslationTable&) = delete;
  TranslationTable& operator=(const TranslationTable&) = delete;

  // A copy that later changes of this table do not touch, for pages made
  // on other threads.
  std::shared_ptr<const TranslationTable> Copy() const;

  // Frees every entry and switches the table off.
  void Clear();
  // Adds a pair; empty texts add nothing, a repeated English text replaces
  // the translation in place.
  void Insert(std::string_view english, std::string_view translated);
  void SetActive(bool active) { m_active = active; }
  bool Active() const { return m_active; }

  std::string Translate(std::string_view english) const;

  static int BucketOf(std::string_view text);

 private:
  struct TEntry {
    std::string English;
    std::string Translated;
    std::unique_ptr<TEntry> Next;
  };
  std::unique_ptr<TEntry> m_buckets[kBucketCount];
  bool m_active = false;
};

TranslationTable& GlobalTranslationTable();

// While it lives, Translate() on this thread reads `table` instead of the
// global one: a page worker keeps the language its page began with while
// the window's thread loads another.
class TTranslationScope {
 public:
  explicit TTranslationScope(const TranslationTable* table);
  ~TTranslationScope();
  TTranslationScope(const TTranslationScope&) = delete;
  TTranslationScope& operator=(const TTranslationScope&) = delete;

 private:
  const TranslationTable* m_outer;
};

// Empties the global table and, when the file exists, fills it from the
// section "Translations" and switches it on.
void LoadLanguage(const std::string& path);
// The same from a language file already read.
class TIniFile;
void LoadLanguage(const TIniFile& file);

// The chosen language's text for an English text, or the text itself.
std::string Translate(std::string_view english);

// Loads the chosen language for a window that shows translated texts, and
// tells whether they may now read differently: rebuilding what shows them
// (the side bar forgets the user's place in it) is needed only when the
// file, or its bytes, changed since the last load.
class TLanguageLoader {
 public:
  // Loads `folder`/`language`.lng, or English when there is no such file.
  // True on the first load and whenever the translations changed.
  bool Load(const std::string& folder, const std::string& language);

 private:
  std::string m_loaded;
  bool m_known = false;
};
