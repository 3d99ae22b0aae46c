#include "config/Translation.h"

#include "config/TIniFile.h"

#include <filesystem>

TranslationTable::TranslationTable() = default;

TranslationTable::~TranslationTable() { Clear(); }

void TranslationTable::Clear() {
  // Unlink the chains iteratively so a long chain cannot exhaust the stack
  // through recursive destruction.
  for (auto& head : m_buckets) {
    while (head) head = std::move(head->Next);
  }
  m_active = false;
}

int TranslationTable::BucketOf(std::string_view text) {
  unsigned sum = 0;
  for (unsigned char c : text) sum = (sum + c) % kBucketCount;
  return static_cast<int>(sum);
}

void TranslationTable::Insert(std::string_view english, std::string_view translated) {
  if (english.empty() || translated.empty()) return;
  std::unique_ptr<TEntry>* link = &m_buckets[BucketOf(english)];
  while (*link) {
    if ((*link)->English == english) {
      (*link)->Translated = std::string(translated);
      return;
    }
    link = &(*link)->Next;
  }
  *link = std::make_unique<TEntry>(TEntry{std::string(english), std::string(translated), nullptr});
}

std::string TranslationTable::Translate(std::string_view english) const {
  if (!m_active || english.empty()) return std::string(english);
  for (const TEntry* entry = m_buckets[BucketOf(english)].get(); entry; entry = entry->Next.get()) {
    if (entry->English == english) return entry->Translated;
  }
  return std::string(english);
}

std::shared_ptr<const TranslationTable> TranslationTable::Copy() const {
  auto copy = std::make_shared<TranslationTable>();
  for (const auto& head : m_buckets) {
    for (const TEntry* entry = head.get(); entry; entry = entry->Next.get()) {
      copy->Insert(entry->English, entry->Translated);
    }
  }
  copy->m_active = m_active;
  return copy;
}

namespace {

thread_local const TranslationTable* t_scopedTable = nullptr;

}  // namespace

TTranslationScope::TTranslationScope(const TranslationTable* table) : m_outer(t_scopedTable) {
  if (table != nullptr) t_scopedTable = table;
}

TTranslationScope::~TTranslationScope() { t_scopedTable = m_outer; }

TranslationTable& GlobalTranslationTable() {
  static TranslationTable table;
  return table;
}

void LoadLanguage(const std::string& path) {
  GlobalTranslationTable().Clear();
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return;
  LoadLanguage(TIniFile(path));
}

void LoadLanguage(const TIniFile& file) {
  TranslationTable& table = GlobalTranslationTable();
  table.Clear();
  std::size_t listBytes = 0;
  // Pairs are taken in file order with their own key spelling, so a text
  // given twice takes the later translation.
  for (const auto& [key, value] : file.ReadSectionPairs("Translations")) {
    listBytes += key.size() + 1;
    if (listBytes > TranslationTable::kKeyListLimit) break;
    table.Insert(key, value);
  }
  table.SetActive(true);
}

std::string Translate(std::string_view english) {
  const TranslationTable* table = t_scopedTable;
  return (table != nullptr ? *table : GlobalTranslationTable()).Translate(english);
}

bool TLanguageLoader::Load(const std::string& folder, const std::string& language) {
  const std::string path = (std::filesystem::path(folder) / (language + ".lng")).string();
  std::string loaded;
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) {
    const TIniFile file(path);
    LoadLanguage(file);
    loaded = path + '\n' + file.Text();
  } else {
    LoadLanguage(path);  // none: English
  }
  const bool changed = !m_known || loaded != m_loaded;
  m_loaded = std::move(loaded);
  m_known = true;
  return changed;
}
