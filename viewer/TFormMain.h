#pragma once

#include "config/ColorScheme.h"
#include "config/ProgramPaths.h"
#include "viewer/WindowCommands.h"
#include "browse/Grouping.h"
#include "browse/SideBarPlace.h"
#include "config/Translation.h"
#include "dialogs/TFormSettings.h"
#include "viewer/TFormMainUi.h"

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <random>
#include <string>

class QAction;
class TCatalogKeeper;
class TFilterRunner;
class TFormOpen;
class TFormPassword;
class TFormProgress;
class TMovieList;
class TMovieSchemeServer;
class TPageSession;
class TRecentMenu;
class TWindowCommands;
class TStatusLine;
class TSortMenuActions;
class TCatalogPreload;
class TSortMenus;
class TPageExports;
class TStripFiller;
struct TPageFrame;

// The program's only main window. It wires its components to the classes
// that do the work: the page session answers the web view's "movie"
// requests for the open catalog, the strip filler makes the strip's
// pictures, the catalog watcher reloads a catalog an editor saved, and the
// side bar, search and sort menus have models of their own. The window
// keeps the handlers and the operations that tie them together.
class TFormMain : public QWidget, public TSettingsOwner {
 public:
  // The dialogs are made afterwards, by SetDialogs, in the
  // program's creation order; until then the window uses none of them.
  // A start catalog (the program's argument) is opened by OpenStartCatalog
  // instead of the configured one. A preload reading the first catalog
  // (see CatalogAtStart) spares the window that read.
  TFormMain(TProgramPaths paths, TFormProgress* progress, std::string startCatalog = {},
            TCatalogPreload* preload = nullptr);
  ~TFormMain() override;

  void SetDialogs(TFormOpen* open, TFormSettings* settings, TFormPassword* password);
  // Shows the window as it was placed at start (normal, maximised, borderless).
  void ShowWindow();
  // Opens the start catalog as Open would (asking the password first);
  // when it cannot, the configured catalog opens and the error is shown.
  void OpenStartCatalog();

  // Fields.
  TViewerSettings& Settings() override;
  const TMovieList& Catalog() const;
  // The handle list of the page chosen last in the side bar or the strip.
  const std::string& CurrentSelection() const { return m_currentSelection; }
  const TPageFrame& PageFrame() const;
  TSortMenus& SortMenus();
  // The menu actions of both submenus, parallel to the entries of SortMenus().
  QAction* GroupByAction(int index) const;
  QAction* OrderByAction(int index) const;
  // Statistics, printing, PDF and CSV.
  TPageExports& Exports() { return *m_exports; }
  // The whole caption above the side bar (GroupLabel may show it shortened).
  const QString& GroupCaption() const { return m_ui.GroupCaptionText; }

  // Operations.
  void OpenCatalog();
  void FillGallery();
  void ShowMovies(const std::string& handleList);
  void LayoutToolbar();
  void RefreshSideBar();
  void SearchMovies(const std::string& text);
  void ApplyColorScheme(const std::string& scheme);
  // Sets every caption; `rebuildSideBar` false keeps the side bar as it is
  // (its headings are already in this language).
  void ApplyLanguage(bool rebuildSideBar = true);
  // Loads the language file named by the settings, then ApplyLanguage. The
  // side bar is built again only when the translations differ from those
  // it was built with.
  void LanguageStep();
  bool AskPassword();
  // A catalog chosen outside the open dialog (the recent list, a drop, the
  // program's argument): opened as Open would, the password asked first.
  // False when it was not tried (the password was refused).
  bool OpenChosenCatalog(const std::string& path);
  // Full screen on or off, kept in the settings as the settings window would.
  void SetFullScreen(bool on);

  // Runs a command as its button, menu entry or key does.
  void Run(TWindowCommand command);
  // A key typed anywhere in the window, before the control with the focus
  // sees it; true when it ran a command.
  bool KeyDown(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

  // TSettingsOwner: what the settings dialog's buttons run.
  std::string SettingsProgramFolder() const override { return m_paths.ProgramFolder; }
  void ApplySettings(const TViewerSettings& before) override;
  bool SaveSettings() override;
  TPathCounts CountPaths(const TPathMap& rules) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void WireComponents();
  // The key preview, and the desktop's palette and density.
  void WireWindowEvents();
  void BindCommands();
  // Settings loaded, the look, the language and the first catalog.
  void Start();
  // Records the window's place and saves the settings, once.
  void Finish();
  // The handlers of the commands, the side bar and the strip.
  void ChooseCatalog();
  void EditCatalog();
  void PlayMovie();
  void EditSettings();
  void SearchTyped();
  void SideBarChosen(int index, int subIndex);
  void StripClicked(int index);
  void CatalogOpened();
  void CatalogClosed();
  void ShowRecentCatalogs();
  // The owner, the count, the path and the side bar of the catalog now open.
  void ShowCatalogState();
  void FindText();
  void ApplyFullScreen(bool wasFullScreen);
  void RefreshGlyphs();
  void SelectFirstMovie();
  // Shows a catalog read again, in the place the side bar had.
  void CatalogReloaded();
  void RetitleMovies();
  // The page shown loaded again (after the settings changed).
  void ShowPageAgain();
  // The filter: a catalog opened or read again, a text typed, its result.
  void CatalogChanged();
  void FilterTyped(const QString& text);
  void ShowFiltered(const std::vector<bool>& kept, int count);
  void MarkMovieShown();
  // A random movie of those the side bar shows; a table of the list shown
  // (or of the side bar's movies).
  void ShowRandomMovie();
  void ShowMovieTable();

  TProgramPaths m_paths;
  TFormProgress* m_progress;
  TFormOpen* m_formOpen = nullptr;
  TFormPassword* m_formPassword = nullptr;
  TFormSettings* m_formSettings = nullptr;

  TFormMainUi m_ui;
  std::unique_ptr<TPageSession> m_session;
  TSchemeFile m_schemes;
  TLanguageLoader m_language;
  std::unique_ptr<TSortMenuActions> m_sortMenus;
  std::unique_ptr<TMovieSchemeServer> m_schemeServer;
  TStripFiller* m_strip = nullptr;
  TCatalogKeeper* m_catalog = nullptr;
  std::unique_ptr<TWindowCommands> m_commands;
  std::optional<TSideBarPlace> m_placeBeforeReload;
  TFilterRunner* m_filter = nullptr;
  // The side bar's arrangement, and what the filter keeps of it.
  TSideBarPlan m_sideBarPlan;
  std::optional<std::vector<bool>> m_filterKept;
  std::optional<TSideBarPlace> m_placeBeforeFilter;
  std::mt19937 m_random{std::random_device{}()};
  std::int64_t m_lastRandom = -1;
  TStatusLine* m_status = nullptr;
  TPageExports* m_exports = nullptr;
  std::unique_ptr<TRecentMenu> m_recent;
  std::string m_startCatalog;
  std::string m_currentSelection;
  double m_glyphRatio = 1.0;  // the pixel ratio the glyphs were drawn at
  bool m_destroyed = false;
};
