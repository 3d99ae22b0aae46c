#include "catalog/TCatalogPreload.h"

#include <exception>
#include <utility>

TCatalogPreload::TCatalogPreload(std::string path) : m_path(std::move(path)) {
  if (m_path.empty()) return;
  m_thread = std::thread([this] {
    // The stamp is taken before the read: a save during the read then
    // shows as a changed stamp when the result is taken.
    m_stamp = StampOf(m_path);
    try {
      m_list.LoadFromFile(m_path);
      m_read = true;
    } catch (const std::exception&) {
      // The window reads the file again and reports what is wrong with it.
      m_list.Clear();
    }
  });
}

TCatalogPreload::~TCatalogPreload() { Finish(); }

void TCatalogPreload::Finish() {
  if (m_thread.joinable()) m_thread.join();
}

bool TCatalogPreload::TakeInto(const std::string& path, TMovieList& target) {
  Finish();
  const bool usable = !m_taken && m_read && path == m_path && StampOf(path) == m_stamp;
  m_taken = true;
  if (usable) target.Swap(m_list);
  // Whatever was not taken is let go at once.
  TMovieList().Swap(m_list);
  return usable;
}
