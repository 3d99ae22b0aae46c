#pragma once

#include "browse/PageProcessRestarts.h"

#include <QObject>
#include <QString>
#include <functional>

class QWebEngineView;

// Keeps the web view showing pages when its page process ends abnormally:
// the same page is loaded again at once (a new process starts for it) and
// OnNote tells the user; after the third end within a minute the view gets
// the viewer's own page instead, which links to the failed page. History,
// side bar and strip are the window's and stay as they were.
class TPageProcessGuard : public QObject {
 public:
  TPageProcessGuard(QWebEngineView& view, QObject* parent);

  std::function<void(const QString& note)> OnNote;
  // How many times the page process ended abnormally.
  int Ends() const { return m_ends; }

 private:
  void Ended();

  QWebEngineView& m_view;
  TPageProcessRestarts m_restarts;
  int m_ends = 0;
};
