#pragma once

#include "render/TMovieRequestHandler.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

struct TPageSnapshot;

// Whether anybody still waits for a request: the one who asked cancels it,
// the worker making it looks.
class TPageTicket {
 public:
  void Cancel() { m_cancelled.store(true); }
  bool Cancelled() const { return m_cancelled.load(); }
  const std::atomic<bool>& Flag() const { return m_cancelled; }

 private:
  std::atomic<bool> m_cancelled{false};
};

// Answers "movie" requests on worker threads, so a page of thousands of
// movies or the statistics of a large catalog never hold the window. Each
// request is made from the snapshot it was asked with. A thread is added
// whenever every worker is busy (up to kMaxThreads), so a slow page never
// keeps a quick one waiting. A cancelled request is dropped if it has not
// begun; if it has, its maker sees the flag and stops, and it is never
// answered. Destroying the workers cancels everything and waits for the
// makers under way.
class TPageWorkers {
 public:
  static constexpr int kMaxThreads = 4;
  // Makes the response for a URL, or nothing when nothing answers it.
  using TMaker = std::function<std::optional<TMovieResponse>(std::u16string_view url, const TPageSnapshot& snapshot,
                                                             const std::atomic<bool>& cancelled)>;
  // Called on the worker with the response (nothing: not found).
  using TAnswer = std::function<void(std::optional<TMovieResponse> response)>;

  explicit TPageWorkers(TMaker maker, int maxThreads = kMaxThreads);
  ~TPageWorkers();
  TPageWorkers(const TPageWorkers&) = delete;
  TPageWorkers& operator=(const TPageWorkers&) = delete;

  std::shared_ptr<TPageTicket> Request(std::u16string url, std::shared_ptr<const TPageSnapshot> snapshot,
                                       TAnswer answer);

  // The viewer's maker: the handler's answer from the snapshot.
  static TMaker HandlerMaker(const TMovieRequestHandler& handler);

 private:
  struct TJob {
    std::u16string Url;
    std::shared_ptr<const TPageSnapshot> Snapshot;
    TAnswer Answer;
    std::shared_ptr<TPageTicket> Ticket;
  };
  void Work();

  TMaker m_maker;
  const int m_maxThreads;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<TJob> m_queue;
  std::vector<std::shared_ptr<TPageTicket>> m_running;
  int m_idle = 0;
  bool m_stopping = false;
  std::vector<std::thread> m_threads;
};
