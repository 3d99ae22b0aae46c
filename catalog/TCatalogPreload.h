#pragma once

#include "catalog/TMovieList.h"
#include "config/FileStamp.h"

#include <string>
#include <thread>

// Reads the catalog the program will open on a thread of its own while the
// window and the web engine start, so a large catalog's read does not delay
// the first page. The window takes the result when it opens that catalog;
// any doubt (another path, a file saved again since, a read that failed)
// makes it read the file itself, which also reports the failure as usual.
class TCatalogPreload {
 public:
  TCatalogPreload() = default;
  // Starts reading path; an empty path reads nothing.
  explicit TCatalogPreload(std::string path);
  ~TCatalogPreload();
  TCatalogPreload(const TCatalogPreload&) = delete;
  TCatalogPreload& operator=(const TCatalogPreload&) = delete;

  // Waits for the read and, if it was of this path and the file is still
  // the one read, swaps the catalog into target and returns true. The read
  // is used once: every later call returns false.
  bool TakeInto(const std::string& path, TMovieList& target);
  // Waits until the read has ended.
  void Finish();

 private:

  std::string m_path;
  TFileStamp m_stamp;
  TMovieList m_list;
  bool m_read = false;
  bool m_taken = false;
  std::thread m_thread;
};
