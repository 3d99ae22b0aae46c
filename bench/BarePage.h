#pragma once

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlSchemeHandler>

// The floor the viewer's pages are measured against: a page of one line
// from a scheme of its own, answered at once.
class TBarePage : public QWebEngineUrlSchemeHandler {
 public:
  void requestStarted(QWebEngineUrlRequestJob* job) override {
    auto* buffer = new QBuffer(job);
    buffer->setData("<html><body><p>A page of its own scheme.</p></body></html>");
    buffer->open(QIODevice::ReadOnly);
    job->reply("text/html", buffer);
  }
};
