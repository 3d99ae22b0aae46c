#include "viewer/TFilterRunner.h"

#include "browse/MovieFilter.h"
#include "catalog/TMovieList.h"

#include <pthread.h>

TFilterRunner::TFilterRunner(QObject* parent) : QObject(parent), m_thread([this] { Work(); }) {
  setObjectName(QStringLiteral("FilterRunner"));
}

TFilterRunner::~TFilterRunner() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ending = true;
    m_pending.reset();
  }
  m_cancelRunning = true;
  m_wake.notify_one();
  m_thread.join();
}

void TFilterRunner::SetCatalog(std::shared_ptr<const TMovieList> catalog) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_cancelRunning = true;
  m_pending = TJob{std::move(catalog), std::string(), false, ++m_asked};
  m_wake.notify_one();
}

void TFilterRunner::Filter(const std::string& typed) {
  std::lock_guard<std::mutex> lock(m_mutex);
  // A catalog asked for and not yet taken goes with the text.
  std::shared_ptr<const TMovieList> catalog = m_pending ? m_pending->Catalog : nullptr;
  m_cancelRunning = true;
  m_pending = TJob{std::move(catalog), typed, true, ++m_asked};
  m_wake.notify_one();
}

void TFilterRunner::Stop() {
  std::lock_guard<std::mutex> lock(m_mutex);
  ++m_asked;
  m_cancelRunning = true;
  if (m_pending) m_pending->FilterIt = false;
}

void TFilterRunner::Work() {
  pthread_setname_np(pthread_self(), "elk-filter");
  std::shared_ptr<const TMovieList> catalog;
  std::unique_ptr<TFilterIndex> index;
  TMovieFilter filter;
  for (;;) {
    TJob job;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_wake.wait(lock, [this] { return m_ending || m_pending.has_value(); });
      if (m_ending) return;
      job = std::move(*m_pending);
      m_pending.reset();
      m_cancelRunning = false;
    }
    if (job.Catalog && job.Catalog != catalog) {
      catalog = std::move(job.Catalog);
      index = std::make_unique<TFilterIndex>(*catalog);
      filter.Forget();
    }
    if (!job.FilterIt || !index) continue;
    TMovieFilter::TResult result = filter.Apply(*index, job.Typed, &m_cancelRunning);
    if (m_cancelRunning) continue;
    QMetaObject::invokeMethod(
        this,
        [this, number = job.Number, result = std::move(result)] {
          if (number == m_asked && OnFiltered) OnFiltered(result.Kept, result.Count);
        },
        Qt::QueuedConnection);
  }
}
