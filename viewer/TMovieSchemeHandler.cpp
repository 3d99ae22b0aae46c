#include "viewer/TMovieSchemeHandler.h"

#include "render/TMovieNameSpace.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

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
    if (request.Start(wide, nullptr) != MovieStatus::kOk || !request.DataReady()) {
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
