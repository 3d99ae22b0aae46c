#pragma once

#include "catalog/TMovie.h"
#include "tests/support/TTestFolder.h"
#include "viewer/TDesktop.h"

#include <QObject>
#include <QSignalSpy>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TCatalogWatcher;
class TFormMain;
class TFormOpen;
class TFormPassword;
class TFormProgress;
class TFormSettings;
class TManualTimer;
class TStripFiller;

// Collects what the viewer asks of the desktop instead of doing it.
class TRecordingDesktop : public TDesktop {
 public:
  bool OpenUrl(const QUrl& url) override;
  bool StartProgram(const QString& program, const QStringList& arguments) override;
  void ShowError(const QString& message) override;
  QString DefaultProgramForType(const QString& mimeType) override;
  bool OpenWith(const QString& desktopEntry, const QString& path) override;

  std::vector<QUrl> Opened;
  // What the desktop says opens catalogs by default, and what it was given.
  QString DefaultProgram = QStringLiteral("editor.desktop");
  std::vector<std::pair<QString, QString>> OpenedWith;
  std::vector<std::pair<QString, QStringList>> Started;
  std::vector<QString> Errors;
};

// Runs the event loop until `done` holds, or gives up after `milliseconds`.
// Unlike a loop of short sleeps it never holds the web engine's tasks back.
bool WaitUntil(const std::function<bool()>& done, int milliseconds = 30000);

// Calls OnShow whenever the object it watches is shown.
class TShowWatcher : public QObject {
 public:
  std::function<void()> OnShow;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// A movie for hand-made catalogs.
TMovie TestMovie(int number, const std::string& title, const std::string& source = std::string());

// Writes a catalog of exactly these movies.
void WriteTestCatalog(const std::string& path, const std::string& owner, const std::vector<TMovie>& movies);

template <typename... T>
std::vector<TMovie> Movies(T&&... movies) {
  std::vector<TMovie> list;
  (list.push_back(std::forward<T>(movies)), ...);
  return list;
}

// A temporary program folder with the viewer's main window on it. The
// window is made by Start(), after the test has written its files.
class ViewerFixture {
 public:
  ViewerFixture();
  ~ViewerFixture();

  TTestFolder Folder;
  std::shared_ptr<TRecordingDesktop> Desktop;
  std::unique_ptr<TFormProgress> Progress;
  std::unique_ptr<TFormMain> Form;
  TFormOpen* Open = nullptr;
  TFormPassword* Password = nullptr;
  TFormSettings* SettingsForm = nullptr;
  // How often the settings window was shown; while AutoCloseSettings is on
  // each showing is cancelled at once.
  int SettingsShown = 0;
  bool AutoCloseSettings = true;
  std::vector<QString> SettingsErrors;
  TManualTimer* PasswordTimer = nullptr;
  // The catalog the program is given to open, if any.
  std::string StartCatalog;
  std::unique_ptr<QSignalSpy> Loads;

  // "Config.ini" opening `catalog` at start in an 800 x 600 window, plus
  // more lines of the [Config] section.
  void WriteConfig(const std::string& catalog, const std::string& moreLines = std::string());
  // A made-up catalog of `movies` movies with pictures beside it.
  std::string WriteSample(int movies, unsigned seed = 3);

  // Makes the window as the program does, shows it and waits until the
  // strip is filled and, when a catalog opened, the first page is shown.
  void Start();
  // Waits until the view has finished `count` page loads in all.
  bool WaitForLoads(int count);
  // Runs `action` and waits for the page load it starts.
  bool Navigate(const std::function<void()>& action);
  std::string PageUrl() const;
  QString PageHtml();
  QString PageText();
  QVariant RunScript(const QString& script);

  // The window's behaviours, found by their object names.
  TStripFiller& Strip();
  TCatalogWatcher& Watcher();

  void ClickSideBarItem(int section, int item);
  void ClickStripPicture(int index);
  // Answers the next password prompt with `text` (OK) or cancels it.
  void AnswerPassword(const QString& text, bool confirm = true);

 private:
  TShowWatcher m_settingsWatcher;
};
