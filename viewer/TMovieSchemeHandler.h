#pragma once

#include "render/TMovieRequestHandler.h"

#include <QPointer>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

class QWebEngineProfile;
class QWebEngineUrlRequestJob;
class TPageSession;
class TPageTicket;
class TPageWorkers;

// Where the web view meets the "movie" protocol. Every request of the
// scheme is made by a page worker from the session's snapshot of the
// moment; its finished response (status, content type, bytes) is copied
// into the engine's job on the window's thread. A job the engine lets go
// (the user went elsewhere) cancels its request. Nothing is written to
// disk.
class TMovieSchemeHandler : public QWebEngineUrlSchemeHandler {
 public:
  TMovieSchemeHandler(TPageSession& session, QObject* parent);
  ~TMovieSchemeHandler() override;
  void requestStarted(QWebEngineUrlRequestJob* job) override;

  // A page ("movie..." address) was answered; on the window's thread.
  std::function<void(const QUrl& url, const TMovieResponse& response)> OnPageAnswered;

 private:
  struct TPending {
    QPointer<QWebEngineUrlRequestJob> Job;
    std::shared_ptr<TPageTicket> Ticket;
  };
  void Answer(quint64 id, std::optional<TMovieResponse> response);

  TPageSession& m_session;
  std::unordered_map<quint64, TPending> m_pending;
  quint64 m_nextId = 0;
  // Last, so its makers stop before anything they answer to goes.
  std::unique_ptr<TPageWorkers> m_workers;
};

// While it lives, the web engine's "movie" requests of a profile are
// answered by a page session.
class TMovieSchemeServer {
 public:
  TMovieSchemeServer(QWebEngineProfile* profile, TPageSession& session);
  ~TMovieSchemeServer();
  TMovieSchemeServer(const TMovieSchemeServer&) = delete;
  TMovieSchemeServer& operator=(const TMovieSchemeServer&) = delete;

  TMovieSchemeHandler& Handler() { return *m_handler; }

 private:
  QWebEngineProfile* m_profile;
  // Owned here, not by a Qt parent: its workers must stop while the
  // session they read still exists.
  std::unique_ptr<TMovieSchemeHandler> m_handler;
};

// Declares the "movie" scheme to the engine. Must run before the
// application object exists. The scheme has a host, so a relative picture
// address in a page resolves to movie://localhost/NAME.
void RegisterMovieUrlScheme();

// The name of the page a "movie" URL shows ("movie[12,13].html"), without
// its query; empty for a URL of another scheme.
std::string MoviePageName(const QUrl& url);

// The name of the scheme, as the engine spells it.
inline constexpr const char* kMovieScheme = "movie";
