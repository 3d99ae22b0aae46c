#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>
#include <string>

class QWebEnginePage;
class TIntervalTimer;
struct TFormMainUi;

// The status line under the page: how many movies the open catalog holds
// (and whether its file ended early), how many a search found, the
// catalog's path, a problem with the file, and short notes that go away
// after a few seconds, and that a page is being made when it takes long.
// It owns the texts of StatusCount and StatusText; the window tells it what
// happened and it shows that in the chosen language.
class TStatusLine : public QObject {
 public:
  static constexpr int kNoteMilliseconds = 5000;
  // A page that takes longer to show is said to be in the making.
  static constexpr int kPageWaitMilliseconds = 300;

  TStatusLine(TFormMainUi& ui, QObject* parent);
  ~TStatusLine() override;

  // Tests pass the note's and the page's time themselves.
  void SetNoteTimer(std::unique_ptr<TIntervalTimer> timer);
  void SetPageTimer(std::unique_ptr<TIntervalTimer> timer);

  // The open catalog: its count and path (empty: none open), and whether
  // its file was read to its end. Forgets a search's count and a problem.
  void ShowCatalog(int count, const std::string& path, bool complete);
  // A movie or list was shown: the count again.
  void ShowCount();
  // How many movies the filter keeps (nothing: no filter).
  void ShowFiltered(std::optional<int> kept);
  // Stays after the path until the catalog is shown again.
  void ShowProblem(const std::string& english);
  // Shown instead of the path for a few seconds.
  void ShowNote(const QString& note);
  // Quietly after the path: how many covers of the strip are made (all of
  // them: nothing).
  void ShowWork(int made, int total);
  // Everything again in the language now chosen.
  void Retranslate() { Render(); }

  // PageStarted and PageEnded as `page` loads.
  void FollowPage(QWebEnginePage& page);
  // The view began loading a page, or ended loading one (shown, failed or
  // given up for another).
  void PageStarted(const QUrl& url);
  void PageEnded(const QUrl& url);
  // The page at `url` is a search that found `found`: said when it is shown.
  void ExpectFound(const QUrl& url, int found);

 private:
  void Render();

  TFormMainUi& m_ui;
  std::unique_ptr<TIntervalTimer> m_noteTimer;
  std::unique_ptr<TIntervalTimer> m_pageTimer;
  QUrl m_loading;
  bool m_makingPage = false;
  QUrl m_foundPage;
  int m_foundThere = 0;
  int m_count = 0;
  std::string m_path;
  bool m_complete = true;
  std::optional<int> m_found;
  std::optional<int> m_filtered;
  std::string m_problem;
  QString m_note;
  int m_made = 0;
  int m_total = 0;
};
