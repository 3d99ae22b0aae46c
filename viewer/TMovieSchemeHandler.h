#pragma once

#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

// Where the web view meets the "movie" protocol: every request of the
// scheme goes to the registered request callback through a TMovieNameSpace,
// and its finished response (status, content type, bytes) is copied into
// the engine's job. Nothing is written to disk.
class TMovieSchemeHandler : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  void requestStarted(QWebEngineUrlRequestJob* job) override;
};

class TPageSession;

// While it lives, the web engine's "movie" requests of a profile are
// answered by a page session.
class TMovieSchemeServer {
 public:
  TMovieSchemeServer(QWebEngineProfile* profile, TPageSession& session, QObject* parent);
  ~TMovieSchemeServer();
  TMovieSchemeServer(const TMovieSchemeServer&) = delete;
  TMovieSchemeServer& operator=(const TMovieSchemeServer&) = delete;

 private:
  QWebEngineProfile* m_profile;
  TMovieSchemeHandler* m_handler;
};

// Declares the "movie" scheme to the engine. Must run before the
// application object exists. The scheme has a host, so a relative picture
// address in a page resolves to movie://localhost/NAME.
void RegisterMovieUrlScheme();

// The name of the scheme, as the engine spells it.
inline constexpr const char* kMovieScheme = "movie";
