#include "viewer/TMovieSchemeHandler.h"

#include "render/TMovieNameSpace.h"
#include "render/TPageSession.h"

#include <QBuffer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

TMovieSchemeServer::TMovieSchemeServer(QWebEngineProfile* profile, TPageSession& session, QObject* parent)
    : m_profile(profile), m_handler(new TMovieSchemeHandler(parent)) {
  RegisterMovieNameSpace([&session](TMovieNameSpace& sender, std::u16string_view url, TMovieResponse& response,
                                    bool& handled) { session.Handler().HandleMovieRequest(sender, url, response, handled); });
  m_profile->installUrlSchemeHandler(kMovieScheme, m_handler);
}

TMovieSchemeServer::~TMovieSchemeServer() {
  UnregisterMovieNameSpace();
  m_profile->removeUrlSchemeHandler(m_handler);
}

void RegisterMovieUrlScheme() {
  QWebEngineUrlScheme scheme(kMovieScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // No flags: not a local scheme, so pages of catalogs that other people
  // wrote cannot reach the user's files.
  QWebEngineUrlScheme::registerScheme(scheme);
}

void TMovieSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  try {
    // The fragment belongs to the page, not to the request.
    QString url = job->requestUrl().adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded);
    std::u16string wide(reinterpret_cast<const char16_t*>(url.utf16()), static_cast<std::size_t>(url.size()));
    TMovieNameSpace request;
    if (request.Start(wide) != ResultCode::kOk || !request.DataReady()) {
      job->fail(QWebEngineUrlRequestJob::UrlNotFound);
      return;
    }
    auto* buffer = new QBuffer(job);
    buffer->setData(QByteArray(request.ResponseBytes().data(), static_cast<qsizetype>(request.ResponseBytes().size())));
    buffer->open(QIODevice::ReadOnly);
    job->reply(QByteArray::fromStdString(request.ContentType()), buffer);
  } catch (...) {
    // Nothing raised here may reach the engine.
    job->fail(QWebEngineUrlRequestJob::RequestFailed);
  }
}
