#include "render/TPageWorkers.h"

#include "render/TMovieRequestHandler.h"
#include "render/TPageSnapshot.h"

#include <algorithm>
#include <pthread.h>

TPageWorkers::TPageWorkers(TMaker maker, int maxThreads)
    : m_maker(std::move(maker)), m_maxThreads(std::max(1, maxThreads)) {}

TPageWorkers::~TPageWorkers() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
    for (TJob& job : m_queue) job.Ticket->Cancel();
    for (const std::shared_ptr<TPageTicket>& ticket : m_running) ticket->Cancel();
    m_queue.clear();
  }
  m_wake.notify_all();
  for (std::thread& thread : m_threads) thread.join();
}

std::shared_ptr<TPageTicket> TPageWorkers::Request(std::u16string url, std::shared_ptr<const TPageSnapshot> snapshot,
                                                   TAnswer answer) {
  auto ticket = std::make_shared<TPageTicket>();
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.push_back({std::move(url), std::move(snapshot), std::move(answer), ticket});
    if (m_queue.size() > static_cast<std::size_t>(m_idle) && static_cast<int>(m_threads.size()) < m_maxThreads) {
      m_threads.emplace_back([this] { Work(); });
    }
  }
  m_wake.notify_one();
  return ticket;
}

void TPageWorkers::Work() {
  pthread_setname_np(pthread_self(), "elk-pages");
  for (;;) {
    TJob job;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      ++m_idle;
      m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
      --m_idle;
      if (m_stopping) return;
      job = std::move(m_queue.front());
      m_queue.pop_front();
      if (job.Ticket->Cancelled()) continue;
      m_running.push_back(job.Ticket);
    }
    std::optional<TMovieResponse> response;
    try {
      response = m_maker(job.Url, *job.Snapshot, job.Ticket->Flag());
    } catch (...) {
      // Nothing a page raises may end the worker: it is simply not found.
      response.reset();
    }
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_running.erase(std::find(m_running.begin(), m_running.end(), job.Ticket));
    }
    if (!job.Ticket->Cancelled()) job.Answer(std::move(response));
  }
}

TPageWorkers::TMaker TPageWorkers::HandlerMaker(const TMovieRequestHandler& handler) {
  return [&handler](std::u16string_view url, const TPageSnapshot& snapshot, const std::atomic<bool>& cancelled) {
    return handler.Answer(url, snapshot.Input(&cancelled));
  };
}
