#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class TFilterIndex;
class TMovieList;

// Runs the filter as the user types, on a thread of its own: each catalog's
// filter index is made there as soon as the catalog is known, and each
// text typed is filtered there, the newest winning (an older one still
// running is stopped, and its result never shown). Results come back to
// the window's thread by OnFiltered.
class TFilterRunner : public QObject {
 public:
  explicit TFilterRunner(QObject* parent);
  ~TFilterRunner() override;

  // A new or reloaded catalog: its index is made now, in the background.
  void SetCatalog(std::shared_ptr<const TMovieList> catalog);
  // Filters the catalog with this text (Windows-1252); an empty text keeps
  // every movie.
  void Filter(const std::string& typed);
  // Forgets any text asked and any result still to come.
  void Stop();

  // Which movies (by place in the catalog) the text keeps, and how many,
  // for the catalog and text asked last.
  std::function<void(const std::vector<bool>& kept, int count)> OnFiltered;

 private:
  struct TJob {
    std::shared_ptr<const TMovieList> Catalog;
    std::string Typed;
    bool FilterIt = false;
    std::uint64_t Number = 0;
  };
  void Work();

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::optional<TJob> m_pending;
  bool m_ending = false;
  std::atomic<bool> m_cancelRunning{false};
  std::uint64_t m_asked = 0;  // the window's thread only
  std::thread m_thread;
};
