#pragma once

#include "browse/TSortMenus.h"
#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/SettingsLocation.h"
#include "config/TViewerSettings.h"
#include "dialogs/TFormSettings.h"
#include "render/MoviePictures.h"
#include "render/TPictureStore.h"
#include "render/TThumbnailCache.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QFileSystemWatcher;
class QSplitter;
class QTimer;
class TEncartaButton;
class TFormOpen;
class TFormPassword;
class TFormSettings;
class TFormProgress;
class TImageButton;
class TMovieRequestHandler;
class TMovieSchemeHandler;
class TNiceGallery;
class TNiceSideBar;
class TThumbnailCache;
class TThumbnailFill;
class TWBContainer;
class TWebView;
class TIniFile;
struct TPageInput;

// Where the main window finds its files: the program folder (schemes,
// languages, files that pages name) and where the settings are kept.
struct TProgramPaths {
  std::string ProgramFolder;
  TSettingsLocation Settings;

  static TProgramPaths ForFolder(const std::string& programFolder);
};

// The program's only main window. It reads the settings, shows the open
// catalog in its side bar, picture strip and web view, turns clicks into
// page addresses and runs the caption bar's buttons. Pages and pictures are
// made by the "movie" request handler it registers; grouping, search and
// the widgets' behaviour live in their own classes.
class TFormMain : public QWidget, public TSettingsOwner {
 public:
  // Runs FormCreate. The dialogs are made afterwards, by SetDialogs, in the
  // program's creation order; until then the window uses none of them.
  TFormMain(TProgramPaths paths, TFormProgress* progress);
  ~TFormMain() override;

  void SetDialogs(TFormOpen* open, TFormSettings* settings, TFormPassword* password);
  // Shows the window as FormCreate placed it (normal, maximised, borderless).
  void ShowWindow();

  // Components, named as in the window design.
  TNiceGallery* NiceGallery1;
  QWidget* Panel1;
  TEncartaButton* BtnOpen;
  TEncartaButton* BtnEdit;
  TEncartaButton* BtnSettings;
  TEncartaButton* BtnPlay;
  QWidget* PanelSearch;
  TEncartaButton* BtnBack;
  QComboBox* ComboSearch;
  QLineEdit* EditSearch;
  TImageButton* BtnSearch;
  QLabel* Label1;
  QLabel* Label2;
  QWidget* Panel2;
  QWidget* Panel3;
  QLabel* LabelGroup;
  TImageButton* BtnCateg;
  TNiceSideBar* NiceSideBar1;
  QSplitter* Splitter1;
  QFrame* WebBrowserFrame;
  TWebView* WebBrowser1;
  QWidget* Panel4;
  QLabel* Label4;
  QLabel* Label6;
  QLabel* Label5;
  QWidget* PanelClose;
  TEncartaButton* BtnClose;
  QMenu* PopupMenu1;

  // Fields.
  TViewerSettings& Settings() override { return m_settings; }
  const TMovieList& Catalog() const { return m_catalog; }
  TWBContainer& BrowserHost() { return *m_browserHost; }
  const std::string& CurrentSelection() const { return m_currentSelection; }
  const std::string& CatalogFolder() const { return m_pictures.CatalogFolder; }
  bool GalleryFilled() const { return m_galleryFilled; }
  bool Filling() const { return m_fill != nullptr; }
  const TPageFrame& PageFrame() const { return m_frame; }
  TPictureStore& PictureStore() { return m_pictureStore; }
  const TProgramPaths& Paths() const { return m_paths; }
  TSortMenus& SortMenus() { return m_sortMenus; }
  // The whole caption above the side bar (LabelGroup may show it shortened).
  const QString& GroupCaption() const { return m_groupCaption; }
  // The menu actions of both submenus, parallel to the entries of SortMenus().
  QAction* GroupByAction(int index) const;
  QAction* OrderByAction(int index) const;

  // Operations used by the rest of the program.
  void OpenCatalog();
  void FillGallery();
  void ShowMovies(const std::string& handleList);
  void LayoutToolbar();
  void RefreshSideBar();
  void SearchMovies(const std::string& text);
  void ApplyColorScheme(const std::string& scheme);
  // "Schemes.ini" with the "System" scheme made from the desktop palette
  // when that is the one asked for.
  TIniFile ReadSchemes(const std::string& scheme) const;
  // Sets every caption; `rebuildSideBar` false keeps the side bar as it is
  // (its headings are already in this language).
  void ApplyLanguage(bool rebuildSideBar = true);
  // Loads the language file named by the settings, then ApplyLanguage. The
  // side bar is built again only when the translations differ from those
  // it was built with.
  void LanguageStep();
  bool AskPassword();
  // Takes every thumbnail that is ready; ends the fill after the last one.
  void ContinueFill();

  // Live reload: the open catalog file changed on disk. The reload waits
  // until the file has been quiet for ReloadQuietMilliseconds.
  static constexpr int kReloadQuietMilliseconds = 1000;
  void CatalogFileChanged();
  // Reloads when the file is quiet and whole; keeps the old catalog and
  // says so in the status line when it is not readable. True when the
  // catalog was replaced.
  bool ReloadCatalog();
  QTimer& ReloadTimer() { return *m_reloadTimer; }
  int Reloads() const { return m_reloads; }
  // Strip pictures of the last fill that came from the thumbnail cache.
  int ThumbnailCacheHits() const { return m_fillHits; }

  // Event handlers.
  void FormCreate();
  void FormDestroy();
  // False when the window must stay open.
  bool FormClose();
  // True when the key was used.
  bool FormKeyDown(int key);
  void NiceSideBar1Select(int index, int subIndex, const std::string& caption);
  void NiceGallery1Click(int index);
  void BtnOpenClick();
  void BtnEditClick();
  void BtnPlayClick();
  void BtnBackClick();
  void BtnSettingsClick();
  void BtnCloseClick();
  void BtnCategClick();
  void EditSearchKeyDown(int key);
  void BtnSearchClick();
  void EditSearchClick() {}

  // TSettingsOwner: what the settings dialog's buttons run.
  std::string SettingsProgramFolder() const override { return m_paths.ProgramFolder; }
  void ApplySettings() override;
  bool SaveSettings() override;
  TPathCounts CountPaths(const TPathMap& rules) override;

  // The TitleType in force when the settings dialog was opened.
  int TitleTypeAtSettings() const { return m_titleTypeAtSettings; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void CreateComponents();
  void WireSortMenus();
  void SyncMenuChecks();
  void PlaceTitleLabels();
  void PlaceGroupCaption();
  void PlaceStatusLabels();
  void PlaceClosePanel();
  void SetCountLabel();
  void SetTitleLabel();
  void EndFill(bool completed);
  void RefreshGlyphs();
  void SetPanelColor(QWidget* panel, std::uint32_t color);
  void RetitleMovies();
  void WatchCatalogFile();
  struct TFileStamp {
    bool Exists = false;
    long long Size = 0, ModifiedNs = 0, Inode = 0;
    bool operator==(const TFileStamp&) const = default;
  };
  static TFileStamp StampOf(const std::string& path);

  TProgramPaths m_paths;
  TFormProgress* m_progress;
  TFormOpen* m_formOpen = nullptr;
  TFormPassword* m_formPassword = nullptr;
  TFormSettings* m_formSettings = nullptr;

  TViewerSettings m_settings;
  TMovieList m_catalog;
  TSortMenus m_sortMenus;
  std::unique_ptr<TWBContainer> m_browserHost;
  std::string m_currentSelection;
  bool m_galleryFilled = false;
  double m_glyphRatio = 1.0;  // the pixel ratio the glyphs were drawn at
  int m_titleTypeAtSettings = 0;
  std::array<std::string, 11> m_ratingImages;
  TPageFrame m_frame;
  TPictureContext m_pictures;
  TPictureStore m_pictureStore;
  std::unique_ptr<TPageInput> m_pageInput;
  std::unique_ptr<TMovieRequestHandler> m_requestHandler;
  TMovieSchemeHandler* m_schemeHandler = nullptr;
  std::unique_ptr<TThumbnailCache> m_thumbnailCache;
  std::unique_ptr<TThumbnailFill> m_fill;
  // What each strip picture was made from, parallel to the strip's items,
  // and how many came from the cache in the last fill.
  std::vector<TThumbnailKey> m_stripKeys;
  int m_fillHits = 0;
  QTimer* m_fillTimer = nullptr;
  std::vector<QAction*> m_groupActions;
  std::vector<QAction*> m_orderActions;
  QMenu* m_groupMenu = nullptr;
  QMenu* m_orderMenu = nullptr;
  QMenu* m_groupOthers = nullptr;
  QMenu* m_orderOthers = nullptr;
  QString m_groupCaption;
  QFileSystemWatcher* m_watcher = nullptr;
  QTimer* m_reloadTimer = nullptr;
  TFileStamp m_loadedStamp;
  TFileStamp m_lastSeenStamp;
  int m_reloads = 0;
  // The language file (name and contents) the side bar was last built in.
  std::string m_sideBarLanguage;
  bool m_sideBarLanguageKnown = false;
  bool m_destroyed = false;
  bool m_shownOnce = false;
};
