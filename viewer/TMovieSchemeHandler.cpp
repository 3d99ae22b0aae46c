#include "viewer/TMovieSchemeHandler.h"

#include "render/TPageSession.h"
#include "render/TPageWorkers.h"

#include <QBuffer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

TMovieSchemeHandler::TMovieSchemeHandler(TPageSession& session, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent),
      m_session(session),
      m_workers(std::make_unique<TPageWorkers>(TPageWorkers::HandlerMaker(session.Handler()))) {
  setObjectName(QStringLiteral("MovieSchemeHandler"));
}

TMovieSchemeHandler::~TMovieSchemeHandler() {
  // The workers are waited for before the pending jobs are let go: no
  // answer can come for a handler that is gone.
  m_workers.reset();
}

void TMovieSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  // The fragment belongs to the page, not to the request.
  const QString url = job->requestUrl().adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded);
  std::u16string wide(reinterpret_cast<const char16_t*>(url.utf16()), static_cast<std::size_t>(url.size()));
  const quint64 id = ++m_nextId;
  auto answer = [this, id](std::optional<TMovieResponse> response) {
    // On the worker: back to the window's thread, where the job lives.
    QMetaObject::invokeMethod(
        this, [this, id, response = std::move(response)]() mutable { Answer(id, std::move(response)); },
        Qt::QueuedConnection);
  };
  std::shared_ptr<TPageTicket> ticket = m_workers->Request(std::move(wide), m_session.Snapshot(), std::move(answer));
  m_pending[id] = {job, ticket};
  // The engine lets a job go when nobody waits for its answer any more.
  QObject::connect(job, &QObject::destroyed, this, [this, id] {
    auto pending = m_pending.find(id);
    if (pending == m_pending.end()) return;
    pending->second.Ticket->Cancel();
    m_pending.erase(pending);
  });
}

void TMovieSchemeHandler::Answer(quint64 id, std::optional<TMovieResponse> response) {
  auto pending = m_pending.find(id);
  if (pending == m_pending.end()) return;
  QPointer<QWebEngineUrlRequestJob> job = pending->second.Job;
  m_pending.erase(pending);
  if (!job) return;
  if (!response) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  auto* buffer = new QBuffer(job);
  buffer->setData(QByteArray(response->Bytes.data(), static_cast<qsizetype>(response->Bytes.size())));
  buffer->open(QIODevice::ReadOnly);
  const QUrl url = job->requestUrl();
  job->reply(QByteArray::fromStdString(response->ContentType), buffer);
  if (OnPageAnswered && response->ContentType.rfind("text/html", 0) == 0 &&
      url.path().startsWith(QLatin1String("/movie"))) {
    response->Bytes.clear();
    OnPageAnswered(url, *response);
  }
}

TMovieSchemeServer::TMovieSchemeServer(QWebEngineProfile* profile, TPageSession& session)
    : m_profile(profile), m_handler(std::make_unique<TMovieSchemeHandler>(session, nullptr)) {
  m_profile->installUrlSchemeHandler(kMovieScheme, m_handler.get());
}

TMovieSchemeServer::~TMovieSchemeServer() { m_profile->removeUrlSchemeHandler(m_handler.get()); }

void RegisterMovieUrlScheme() {
  QWebEngineUrlScheme scheme(kMovieScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // No flags: not a local scheme, so pages of catalogs that other people
  // wrote cannot reach the user's files.
  QWebEngineUrlScheme::registerScheme(scheme);
}

std::string MoviePageName(const QUrl& url) {
  if (url.scheme() != QLatin1String(kMovieScheme)) return {};
  const QString bare = url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery).toString(QUrl::FullyEncoded);
  return TMovieRequestHandler::RequestName(TMovieRequestHandler::DecodeRequestUrl(bare.toStdU16String()));
}
