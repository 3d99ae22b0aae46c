#include "render/TPictureStore.h"

#include "config/AsciiText.h"

std::string TPictureStore::Key(std::string_view name) {
  return LowerAscii(name);
}

bool TPictureStore::Add(const std::string& name, std::string bytes) {
  std::lock_guard<std::mutex> lock(m_mutex);
  auto [at, added] = m_byName.emplace(Key(name), m_first + m_entries.size());
  if (!added) return false;
  m_totalBytes += bytes.size();
  m_entries.push_back({name, std::make_shared<const std::string>(std::move(bytes)), std::string()});
  return true;
}

std::shared_ptr<const std::string> TPictureStore::Find(std::string_view name) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  auto found = m_byName.find(Key(name));
  return found == m_byName.end() ? nullptr : m_entries[found->second - m_first].Bytes;
}

void TPictureStore::RememberMade(const std::string& key, const std::string& name) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_made[key] = name;
  auto found = m_byName.find(Key(name));
  if (found != m_byName.end()) m_entries[found->second - m_first].MadeFor = key;
}

void TPictureStore::StartPage(std::size_t keptBytes) {
  std::lock_guard<std::mutex> lock(m_mutex);
  while (m_totalBytes > keptBytes && !m_entries.empty()) {
    TEntry& oldest = m_entries.front();
    m_totalBytes -= oldest.Bytes->size();
    m_byName.erase(Key(oldest.Name));
    if (!oldest.MadeFor.empty()) m_made.erase(oldest.MadeFor);
    m_entries.pop_front();
    ++m_first;
  }
}

std::optional<std::string> TPictureStore::MadeName(const std::string& key) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  auto found = m_made.find(key);
  if (found == m_made.end()) return std::nullopt;
  return found->second;
}

void TPictureStore::Clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_entries.clear();
  m_first = 0;
  m_byName.clear();
  m_made.clear();
  m_totalBytes = 0;
}

void TPictureStore::ReleaseBytes() {
  std::lock_guard<std::mutex> lock(m_mutex);
  static const auto empty = std::make_shared<const std::string>();
  for (TEntry& entry : m_entries) entry.Bytes = empty;
  m_totalBytes = 0;
}

std::size_t TPictureStore::Count() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_entries.size();
}

std::size_t TPictureStore::TotalBytes() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_totalBytes;
}

std::string TPictureStore::NameAt(std::size_t index) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_entries.at(index).Name;
}
