#pragma once

#include "config/ColorScheme.h"
#include "config/ProgramPaths.h"
#include "config/Translation.h"
#include "dialogs/TFormSettings.h"
#include "viewer/TFormMainUi.h"
#include "viewer/WindowCommands.h"

#include <QWidget>
#include <memory>
#include <string>

class QAction;
class TCatalogKeeper;
class TCatalogPreload;
class TFormOpen;
class TFormPassword;
class TFormProgress;
class TMovieList;
class TMovieSchemeServer;
class TPageExports;
class TPageSession;
class TRecentMenu;
class TSideBarContent;
class TSortMenuActions;
class TSortMenus;
class TStatusLine;
class TStripFiller;
class TWindowCommands;
struct TPageFrame;

// The program's only main window. It makes its components and wires them
// to the rooms that do the work: the page session answers the web view's
// "movie" requests, the catalog keeper opens, watches and reloads the
// catalog, the side bar's content arranges and filters it, the strip
// filler makes the strip's pictures, and every command is an action of
// the command table.
class TFormMain : public QWidget, public TSettingsOwner {
 public:
  // The dialogs are made afterwards, by SetDialogs, in the program's
  // creation order; until then the window uses none of them. A start
  // catalog (the program's argument) is opened by OpenStartCatalog instead
  // of the configured one. A preload reading the first catalog spares the
  // window that read.
  TFormMain(TProgramPaths paths, TFormProgress* progress, std::string startCatalog = {},
            TCatalogPreload* preload = nullptr);
  ~TFormMain() override;

  void SetDialogs(TFormOpen* open, TFormSettings* settings, TFormPassword* password);
  // Shows the window as it was placed at start (normal, maximised, borderless).
  void ShowWindow();
  // Opens the start catalog as Open would (asking the password first);
  // when it cannot, the configured catalog opens and the error is shown.
  void OpenStartCatalog();

  TViewerSettings& Settings() override;
  const TMovieList& Catalog() const;
  // The handle list of the page chosen last in the side bar or the strip.
  const std::string& CurrentSelection() const;
  const TPageFrame& PageFrame() const;
  TSortMenus& SortMenus();
  // The menu actions of both submenus, parallel to the entries of SortMenus().
  QAction* GroupByAction(int index) const;
  QAction* OrderByAction(int index) const;
  // Statistics, printing, PDF and CSV.
  TPageExports& Exports() { return *m_exports; }
  // The whole caption above the side bar (its label may show it shortened).
  const QString& GroupCaption() const { return m_ui.GroupCaptionText; }

  void OpenCatalog();
  // A catalog chosen outside the open dialog (the recent list, a drop, the
  // program's argument): opened as Open would, the password asked first.
  // False when it was not tried (the password was refused).
  bool OpenChosenCatalog(const std::string& path);
  void FillCoverStrip();
  void ShowMovies(const std::string& handleList);
  void LayoutToolbar();
  void ApplyColorScheme(const std::string& scheme);
  // Loads the language file named by the settings and sets every caption.
  void LanguageStep();
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
  void WireCatalog();
  void WireWindowEvents();
  void BindCommands();
  // Settings loaded, the look, the language and the first catalog.
  void Start();
  // Records the window's place and saves the settings, once.
  void Finish();
  void ChooseCatalog();
  void EditCatalog();
  void PlayMovie();
  bool AskPassword();
  void CatalogOpened();
  void CatalogReloaded();
  // The owner, the count, the path and the side bar of the catalog now
  // open (or read again), nothing chosen in it yet.
  void ShowNewCatalog();
  void ShowOwner();
  void RefreshGlyphs();
  void ApplyFullScreen(bool wasFullScreen);
  void Navigate(const std::string& address);
  // The page shown loaded again (after the settings changed).
  void ShowPageAgain();
  // A table of the list shown (or of the side bar's movies).
  void ShowMovieTable();
  void SearchMovies(const std::string& text);

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
  std::unique_ptr<TWindowCommands> m_commands;
  std::unique_ptr<TRecentMenu> m_recent;
  TCatalogKeeper* m_catalog = nullptr;
  TSideBarContent* m_content = nullptr;
  TStripFiller* m_strip = nullptr;
  TStatusLine* m_status = nullptr;
  TPageExports* m_exports = nullptr;
  std::string m_startCatalog;
  double m_glyphRatio = 1.0;  // the pixel ratio the glyphs were drawn at
  bool m_destroyed = false;
};
