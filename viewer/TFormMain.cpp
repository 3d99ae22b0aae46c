#include "viewer/TFormMain.h"

#include "browse/Grouping.h"
#include "browse/PlayTarget.h"
#include "browse/Search.h"
#include "browse/RandomPick.h"
#include "browse/TablePages.h"
#include "browse/SideBarPlace.h"
#include "catalog/DisplayRules.h"
#include "catalog/TCatalogPreload.h"
#include "config/PasswordCheck.h"
#include "config/SystemScheme.h"
#include "config/TViewerError.h"
#include "dialogs/DialogLook.h"
#include "dialogs/TFormOpen.h"
#include "dialogs/TFormPassword.h"
#include "render/MovieAddress.h"
#include "render/PathCheck.h"
#include "render/StatisticsPage.h"
#include "render/TMovieRequestHandler.h"
#include "render/TPageSession.h"
#include "viewer/TCatalogDrop.h"
#include "config/FilePaths.h"
#include "viewer/TCatalogKeeper.h"
#include "viewer/TCatalogWatcher.h"
#include "viewer/TWindowCommands.h"
#include "viewer/TWindowEvents.h"
#include "viewer/TDesktop.h"
#include "viewer/TFilterRunner.h"
#include "viewer/TMovieSchemeHandler.h"
#include "viewer/TPageExports.h"
#include "viewer/TPageProcessGuard.h"
#include "viewer/TRecentMenu.h"
#include "viewer/TSortMenuActions.h"
#include "viewer/TStatusLine.h"
#include "viewer/TStripFiller.h"
#include "config/TimingLog.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TWebView.h"
#include "viewer/WindowLook.h"
#include "viewer/WindowPlacement.h"
#include "widgets/QtBridge.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWindow>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

TFormMain::TFormMain(TProgramPaths paths, TFormProgress* progress, std::string startCatalog,
                     TCatalogPreload* preload)
    : QWidget(nullptr),
      m_paths(std::move(paths)),
      m_progress(progress),
      m_session(std::make_unique<TPageSession>(m_paths.ProgramFolder, ResolveBrowsingPage)),
      m_schemes(m_paths.ProgramFolder),
      m_startCatalog(std::move(startCatalog)) {
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(QStringLiteral("Elk Movie Catalog Viewer"));
  m_ui.Setup(this);
  m_catalog = new TCatalogKeeper(*m_session, m_paths, preload, this);
  m_commands = std::make_unique<TWindowCommands>(*this);
  WireComponents();
  BindCommands();
  Start();
}

TFormMain::~TFormMain() {
  RunGuarded([this] { Finish(); });
}

void TFormMain::SetDialogs(TFormOpen* open, TFormSettings* settings, TFormPassword* password) {
  m_formOpen = open;
  m_formSettings = settings;
  m_formPassword = password;
}

void TFormMain::WireComponents() {
  const std::pair<TButtonEvents*, TWindowCommand> buttons[] = {
      {m_ui.OpenButton, TWindowCommand::Open},         {m_ui.EditButton, TWindowCommand::Edit},
      {m_ui.SettingsButton, TWindowCommand::Settings}, {m_ui.PlayButton, TWindowCommand::Play},
      {m_ui.BackButton, TWindowCommand::Back},         {m_ui.CloseButton, TWindowCommand::Close},
      {m_ui.SideBarMenuButton, TWindowCommand::SideBarMenu}, {m_ui.SearchButton, TWindowCommand::Search}};
  for (const auto& [button, command] : buttons) m_commands->Attach(*button, command);
  QObject::connect(m_ui.SearchBox, &QLineEdit::returnPressed, this, [this] { Run(TWindowCommand::Search); });
  m_ui.CoverStrip->OnClick = [this](TCoverStrip&, int index) { RunGuarded([&] { StripClicked(index); }); };
  m_ui.SideBar->OnSelect = [this](TSideBar&, int index, int subIndex, const std::string&) {
    RunGuarded([&] { SideBarChosen(index, subIndex); });
  };
  m_ui.PageView->Page().OnOutsideLink = [](const QUrl& url) { ApplicationDesktop().OpenUrl(url); };
  QObject::connect(m_ui.PageView, &QWebEngineView::loadFinished, this, [this](bool) {
    TimingLog::Write("page", m_ui.PageView->url().toString(QUrl::FullyEncoded).toStdString());
    // The strip's pictures wait for the page the user asked for.
    m_strip->Go();
  });
  QObject::connect(m_ui.PageView->page(), &QWebEnginePage::loadingChanged, this,
                   [this](const QWebEngineLoadingInfo& loading) {
                     if (loading.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
                       m_status->PageStarted(loading.url());
                     } else {
                       m_status->PageEnded(loading.url());
                     }
                   });

  m_status = new TStatusLine(m_ui, this);
  auto* pageProcess = new TPageProcessGuard(*m_ui.PageView, this);
  pageProcess->OnNote = [this](const QString& note) { m_status->ShowNote(note); };
  auto* drop = new TCatalogDrop(*this);
  drop->OnDropped = [this](const std::string& path) { OpenChosenCatalog(path); };
  m_recent = std::make_unique<TRecentMenu>(this);
  m_recent->OnChosen = [this](const std::string& path) { OpenChosenCatalog(path); };
  // The right click and the menu key on the Open button offer the recent catalogs.
  m_ui.OpenButton->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(m_ui.OpenButton, &QWidget::customContextMenuRequested, this,
                   [this] { Run(TWindowCommand::RecentCatalogs); });

  m_strip = new TStripFiller(this, *m_ui.CoverStrip, m_progress, Settings());
  m_strip->OnProgress = [this](int made, int total) { m_status->ShowWork(made, total); };
  m_strip->OnFilled = [this] {
    if (isVisible()) {
      raise();
      activateWindow();
    }
    m_ui.CoverStrip->SetActive(Settings().ShowTopImages && Settings().AutoScroll);
  };
  m_filter = new TFilterRunner(this);
  m_filter->OnFiltered = [this](const std::vector<bool>& kept, int count) {
    RunGuarded([&] { ShowFiltered(kept, count); });
  };
  QObject::connect(m_ui.FilterBox, &QLineEdit::textChanged, this,
                   [this](const QString& text) { RunGuarded([&] { FilterTyped(text); }); });
  m_catalog->OnLettingGo = [this] {
    m_strip->Clear();
    m_ui.SideBar->Items().Clear();
  };
  m_catalog->OnOpened = [this] { CatalogOpened(); };
  m_catalog->OnClosed = [this] { CatalogClosed(); };
  m_catalog->OnReloading = [this] {
    m_placeBeforeReload = TakeSideBarPlace(m_ui.SideBar->Model(), Catalog(), m_currentSelection);
    m_strip->Clear();
  };
  m_catalog->OnReloaded = [this] { CatalogReloaded(); };
  m_catalog->Watcher().OnUnreadable = [this] {
    m_status->ShowProblem("(changed on disk, but the new file could not be read)");
  };
  WireWindowEvents();
}

void TFormMain::WireWindowEvents() {
  auto* events = new TWindowEvents(*this);
  events->OnKey = [this](int key, Qt::KeyboardModifiers modifiers) { return KeyDown(key, modifiers); };
  // The desktop turned light or dark: the "System" scheme follows it, the
  // page included. Other schemes keep their own colours.
  events->OnPaletteChanged = [this] {
    if (!IsSystemScheme(Settings().ColorScheme)) return;
    ApplyColorScheme(Settings().ColorScheme);
    if (!m_ui.PageView->url().isEmpty()) m_ui.PageView->reload();
  };
  // Moved to a screen of another density: the glyphs are drawn again for it.
  events->OnDensityChanged = [this] {
    if (devicePixelRatioF() != m_glyphRatio) RefreshGlyphs();
  };
}

void TFormMain::BindCommands() {
  const auto partLink = [this](const char* id) { return [this, id] { m_ui.PageView->FollowPageLink(QString::fromLatin1(id)); }; };
  const std::pair<TWindowCommand, std::function<void()>> handlers[] = {
      {TWindowCommand::Open, [this] { ChooseCatalog(); }},
      {TWindowCommand::RecentCatalogs, [this] { ShowRecentCatalogs(); }},
      {TWindowCommand::Edit, [this] { EditCatalog(); }},
      {TWindowCommand::Settings, [this] { EditSettings(); }},
      {TWindowCommand::Play, [this] { PlayMovie(); }},
      {TWindowCommand::Back, [this] { m_ui.PageView->back(); }},
      {TWindowCommand::Search, [this] { SearchTyped(); }},
      {TWindowCommand::FindText, [this] { FindText(); }},
      {TWindowCommand::FindInCollection, [this] {
         m_ui.FilterBox->setFocus(Qt::ShortcutFocusReason);
         m_ui.FilterBox->selectAll();
       }},
      {TWindowCommand::ClearFilter, [this] { m_ui.FilterBox->clear(); }},
      {TWindowCommand::ToggleFullScreen, [this] { SetFullScreen(!Settings().FullScreen); }},
      {TWindowCommand::LeaveFullScreen, [this] { SetFullScreen(false); }},
      {TWindowCommand::Close, [this] { close(); }},
      {TWindowCommand::SideBarMenu, [this] {
         m_ui.SideBarMenu->popup(m_ui.SideBarMenuButton->mapToGlobal(QPoint(0, m_ui.SideBarMenuButton->height())));
       }},
      {TWindowCommand::Statistics, [this] { m_exports->ShowStatistics(); }},
      {TWindowCommand::Print, [this] { m_exports->Print(); }},
      {TWindowCommand::SavePdf, [this] { m_exports->SaveAsPdf(); }},
      {TWindowCommand::ExportCsv, [this] { m_exports->ExportCsv(); }},
      {TWindowCommand::MovieTable, [this] { ShowMovieTable(); }},
      {TWindowCommand::RandomMovie, [this] { ShowRandomMovie(); }},
      {TWindowCommand::FirstPart, partLink("elk-part-first")},
      {TWindowCommand::PreviousPart, partLink("elk-part-previous")},
      {TWindowCommand::NextPart, partLink("elk-part-next")},
      {TWindowCommand::LastPart, partLink("elk-part-last")},
  };
  for (const auto& [command, run] : handlers) m_commands->Bind(command, run);
}

void TFormMain::Start() {
  TViewerSettings& settings = Settings();
  settings.LastGroup = 0;
  settings.LastGroupDesc = false;
  settings.LastOrder = kDefaultOrderCode;
  settings.LastOrderDesc = false;
  m_sortMenus = std::make_unique<TSortMenuActions>(*m_ui.SideBarMenu, settings);
  m_sortMenus->OnRefresh = [this] { RefreshSideBar(); };
  m_exports = new TPageExports(*this, *m_ui.PageView, [this]() -> const TMovieList& { return Catalog(); });
  // The collection's commands follow the sort menus, shown with their keys.
  for (TWindowCommand command : {TWindowCommand::None, TWindowCommand::Statistics, TWindowCommand::Print,
                                 TWindowCommand::SavePdf, TWindowCommand::ExportCsv, TWindowCommand::None,
                                 TWindowCommand::MovieTable, TWindowCommand::RandomMovie}) {
    if (command == TWindowCommand::None) {
      m_ui.SideBarMenu->addSeparator();
    } else {
      m_ui.SideBarMenu->addAction(m_commands->Action(command));
    }
  }

  TPageViewOptions pageView;
  pageView.Border = false;
  m_ui.PageView->SetOptions(pageView);
  m_ui.PlaceTitleLabels();

  m_schemeServer = std::make_unique<TMovieSchemeServer>(m_ui.PageView->page()->profile(), *m_session);
  // A search's page says how many it found; the count shows with the page.
  m_schemeServer->Handler().OnPageAnswered = [this](const QUrl& url, const TMovieResponse& response) {
    if (response.Found) m_status->ExpectFound(url, *response.Found);
  };

  QRect screen(0, 0, kNominalScreenWidth, kNominalScreenHeight);
  if (QScreen* primary = QGuiApplication::primaryScreen()) screen = primary->geometry();
  LoadSettings(settings, m_paths.Settings.ReadFolder, screen.width(), screen.height());
  m_sortMenus->CheckFromSettings();
  m_catalog->Watcher().SetEnabled(settings.LiveReload);
  WindowPlacement::PlaceAtStart(*this, settings);
  m_ui.ClosePanel->setVisible(settings.FullScreen);

  ApplyColorScheme(settings.ColorScheme);
  LanguageStep();
  LayoutToolbar();
  // A catalog given to the program opens instead, once the dialogs exist.
  if (settings.AutoOpen && m_startCatalog.empty()) RunGuarded([this] { OpenCatalog(); });
}

void TFormMain::ShowWindow() {
  show();
  m_ui.PlaceClosePanel();
}

void TFormMain::OpenStartCatalog() {
  if (m_startCatalog.empty()) return;
  const std::string path = std::exchange(m_startCatalog, std::string());
  bool opened = false;
  RunGuarded([&] { opened = OpenChosenCatalog(path); });
  // The configured catalog is the one shown when the given one cannot be
  // (unless the program was asked to end while the error was shown).
  if (!opened && Settings().AutoOpen && !TerminationRequested()) RunGuarded([this] { OpenCatalog(); });
}

void TFormMain::Finish() {
  if (m_destroyed) return;
  m_destroyed = true;
  m_strip->Cancel();
  WindowPlacement::Record(*this, Settings());
  // The scheme is served until the window is gone, even if saving fails.
  SaveSettingsTo(Settings(), m_paths.Settings);
  m_schemeServer.reset();
}

void TFormMain::closeEvent(QCloseEvent* event) {
  bool close = false;
  RunGuarded([&] { close = AskPassword(); });
  if (close) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TFormMain::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  const QWidget* focused = QApplication::focusWidget();
  const TKeyContext context{TakesText(focused), Settings().FullScreen, focused == m_ui.OpenButton,
                            !m_ui.FilterBox->text().isEmpty()};
  const TWindowCommand command = WindowCommandOf(key, modifiers, context);
  if (command == TWindowCommand::None) return false;
  Run(command);
  return true;
}

void TFormMain::Run(TWindowCommand command) { m_commands->Run(command); }

void TFormMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_ui.PlaceClosePanel();
}

// Fields.

TViewerSettings& TFormMain::Settings() { return m_session->Settings(); }
const TMovieList& TFormMain::Catalog() const { return m_session->Catalog(); }
const TPageFrame& TFormMain::PageFrame() const { return m_session->Frame(); }
TSortMenus& TFormMain::SortMenus() { return m_sortMenus->Menus(); }
QAction* TFormMain::GroupByAction(int index) const { return m_sortMenus->GroupByAction(index); }
QAction* TFormMain::OrderByAction(int index) const { return m_sortMenus->OrderByAction(index); }

// The look.

void TFormMain::ApplyColorScheme(const std::string& scheme) {
  const TDesktopPalette palette = DesktopPalette(QApplication::palette());
  const TColorScheme colors = m_schemes.Scheme(scheme, &palette);
  WindowLook::ApplyScheme(m_ui, colors);
  RefreshGlyphs();
  m_session->SetFrame(BuildPageFrame(colors));
}

void TFormMain::RefreshGlyphs() {
  // Drawn at the screen's pixel ratio, so they stay sharp on a dense one.
  m_glyphRatio = devicePixelRatioF();
  WindowLook::DrawGlyphs(m_ui, m_glyphRatio);
  m_ui.PlaceGroupCaption();
}

void TFormMain::LanguageStep() {
  const bool changed = m_language.Load(m_paths.ProgramFolder, Settings().Language);
  // Pages from now on speak the language loaded.
  m_session->Publish();
  ApplyLanguage(changed);
}

void TFormMain::ApplyLanguage(bool rebuildSideBar) {
  WindowLook::ApplyCaptions(m_ui);
  WindowLook::ShowOwner(m_ui, Catalog().Properties().OwnerName);
  m_ui.PlaceTitleLabels();
  m_status->Retranslate();
  if (rebuildSideBar) RefreshSideBar();
  m_sortMenus->Translate();
  m_commands->Translate();
}

void TFormMain::LayoutToolbar() { m_ui.LayoutToolbar(Settings()); }

// Opening a catalog.

void TFormMain::OpenCatalog() { m_catalog->OpenConfigured(); }

void TFormMain::CatalogClosed() {
  CatalogChanged();
  m_currentSelection.clear();
  m_status->ShowCatalog(0, std::string(), true);
}

void TFormMain::CatalogOpened() {
  CatalogChanged();
  // Nothing chosen in the earlier catalog may be played in this one.
  m_currentSelection.clear();
  ShowCatalogState();
  m_ui.CoverStrip->setVisible(Settings().ShowTopImages);
  if (Settings().ShowTopImages) FillGallery();
  SelectFirstMovie();
}

bool TFormMain::OpenChosenCatalog(const std::string& path) {
  if (!AskPassword()) return false;
  m_catalog->Open(path, Settings().AutoOpen);
  return true;
}

void TFormMain::ShowRecentCatalogs() {
  m_recent->Fill(Settings().RecentCatalogs);
  m_recent->PopupBelow(*m_ui.OpenButton);
}

void TFormMain::ShowCatalogState() {
  WindowLook::ShowOwner(m_ui, Catalog().Properties().OwnerName);
  m_ui.PlaceTitleLabels();
  m_status->ShowCatalog(Catalog().Count(), m_catalog->Path(), Catalog().LoadedCompletely());
  RefreshSideBar();
}

void TFormMain::SelectFirstMovie() {
  TSideBarItems& sections = m_ui.SideBar->Items();
  if (sections.Count() == 0 || sections[0].Items().Count() == 0) return;
  m_ui.SideBar->SetItemIndex(0);
  m_ui.SideBar->SetSubItemIndex(0);
  SideBarChosen(0, 0);
}

void TFormMain::FillGallery() {
  // Thumbnails are 100 pixels of the screen high: more on a dense screen.
  const int box = static_cast<int>(std::lround(100 * std::max(1.0, devicePixelRatioF())));
  m_strip->Start(Catalog(), m_session->Pictures(), AbsolutePath(m_catalog->Path()), box);
}

void TFormMain::CatalogReloaded() {
  TSideBarModel& bar = m_ui.SideBar->Model();
  CatalogChanged();
  ShowCatalogState();
  const TRestoredPlace restored = RestoreSideBarPlace(bar, Catalog(), *m_placeBeforeReload);
  if (Settings().ShowTopImages) FillGallery();
  if (restored.Handles.empty()) {
    m_currentSelection.clear();
    SelectFirstMovie();
    return;
  }
  m_currentSelection = restored.Handles;
  if (restored.Section >= 0) {
    m_ui.SideBar->SetItemIndex(restored.Section);
    m_ui.SideBar->SetSubItemIndex(restored.Item);
  }
  ShowMovies(restored.Handles);
}

void TFormMain::ShowMovies(const std::string& handleList) {
  std::string address = MoviePageAddress(handleList);
  TimingLog::Write("navigate", address);
  m_status->ShowCount();
  m_ui.PageView->load(QUrl(ToQString(address)));
}

void TFormMain::ShowPageAgain() {
  // The page shown, whatever it is (a list, a search, the statistics), in
  // the frame and settings now in force.
  const QUrl shown = m_ui.PageView->url();
  if (shown.scheme() != QLatin1String(kMovieScheme)) {
    ShowMovies(m_currentSelection);
    return;
  }
  TimingLog::Write("navigate", shown.toString(QUrl::FullyEncoded).toStdString());
  m_ui.PageView->load(shown);
}

void TFormMain::RefreshSideBar() {
  const TViewerSettings& s = Settings();
  m_sideBarPlan = ArrangeSideBar(Catalog(), s.LastGroup, s.LastGroupDesc, s.LastOrder, s.LastOrderDesc);
  FillSideBar(m_sideBarPlan, Catalog(), m_ui.SideBar->Model(), s.TitleType,
              m_filterKept ? &*m_filterKept : nullptr);
  m_ui.GroupCaptionText = ToQString(m_sideBarPlan.Caption);
  m_ui.PlaceGroupCaption();
}

// The filter.

void TFormMain::CatalogChanged() {
  // What was kept belongs to the catalog before; the text filters the new one.
  m_filterKept.reset();
  m_ui.CoverStrip->Model().SetFilter(nullptr);
  m_filter->SetCatalog(m_session->Snapshot()->Catalog);
  if (!m_ui.FilterBox->text().isEmpty()) m_filter->Filter(FromQString(m_ui.FilterBox->text()));
}

void TFormMain::FilterTyped(const QString& text) {
  if (!text.isEmpty()) {
    m_filter->Filter(FromQString(text));
    return;
  }
  m_filter->Stop();
  if (!m_filterKept) return;
  m_filterKept.reset();
  FillSideBar(m_sideBarPlan, Catalog(), m_ui.SideBar->Model(), Settings().TitleType, nullptr);
  if (m_placeBeforeFilter) RestoreSideBarPlace(m_ui.SideBar->Model(), Catalog(), *m_placeBeforeFilter);
  m_placeBeforeFilter.reset();
  MarkMovieShown();
  m_ui.CoverStrip->Model().SetFilter(nullptr);
  m_status->ShowFiltered(std::nullopt);
}

void TFormMain::ShowFiltered(const std::vector<bool>& kept, int count) {
  if (kept.size() != static_cast<std::size_t>(Catalog().Count())) return;
  // The user's sections come back when the filter is cleared.
  if (!m_filterKept) m_placeBeforeFilter = TakeSideBarPlace(m_ui.SideBar->Model(), Catalog(), m_currentSelection);
  m_filterKept = kept;
  FillSideBar(m_sideBarPlan, Catalog(), m_ui.SideBar->Model(), Settings().TitleType, &*m_filterKept);
  MarkMovieShown();
  const TMovieList& catalog = Catalog();
  m_ui.CoverStrip->Model().SetFilter([&catalog, kept](std::int64_t handle) {
    const int place = catalog.PlaceOf(handle);
    return place >= 0 && kept[static_cast<std::size_t>(place)];
  });
  m_status->ShowFiltered(count);
}

void TFormMain::ShowRandomMovie() {
  // Among the movies the side bar shows, filtered or not.
  std::vector<std::int64_t> offered;
  for (int i = 0; i < Catalog().Count(); ++i) {
    if (!m_filterKept || (*m_filterKept)[static_cast<std::size_t>(i)]) offered.push_back(Catalog().Items(i).Handle);
  }
  const std::int64_t handle = PickRandomMovie(offered, m_lastRandom, m_random);
  if (handle < 0) return;
  m_lastRandom = handle;
  m_currentSelection = std::to_string(handle);
  MarkMovieShown();
  TCoverStripModel& strip = m_ui.CoverStrip->Model();
  for (int i = 0; i < strip.Items().Count(); ++i) {
    if (strip.Items()[i].Tag == handle) strip.ShowItem(i);
  }
  ShowMovies(m_currentSelection);
}

void TFormMain::ShowMovieTable() {
  // The list on screen, or else the movies the side bar shows.
  const QUrl shown = m_ui.PageView->url();
  std::string name;
  if (shown.scheme() == QLatin1String(kMovieScheme)) {
    const QString url = shown.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery).toString(QUrl::FullyEncoded);
    name = TMovieRequestHandler::RequestName(TMovieRequestHandler::DecodeRequestUrl(url.toStdU16String()));
  }
  const std::vector<std::string> tokens = TokenizeMovieAddress(name);
  const bool list = (tokens.size() > 3 && tokens[0] == "movie") ||
                    (tokens.size() >= 3 && (tokens[0] == kFindPageName || tokens[0] == kStatisticsBarPageName));
  const std::string address =
      list ? ListTableAddress(name) : SideBarTableAddress(FromQString(m_ui.FilterBox->text()));
  TimingLog::Write("navigate", address);
  m_status->ShowCount();
  m_ui.PageView->load(QUrl(ToQString(address)));
}

void TFormMain::MarkMovieShown() {
  // The movie on screen stays chosen where the side bar still lists it.
  TSideBarModel& bar = m_ui.SideBar->Model();
  const std::optional<std::int64_t> handle = ParseHandle(m_currentSelection);
  for (int section = 0; handle && section < bar.Items().Count(); ++section) {
    for (int item = 0; item < bar.Items()[section].Items().Count(); ++item) {
      const TMovie* movie = SideBarItemMovie(bar, section, item);
      if (movie == nullptr || movie->Handle != *handle) continue;
      m_ui.SideBar->SetItemIndex(section);
      m_ui.SideBar->SetSubItemIndex(item);
      return;
    }
  }
}

void TFormMain::SearchMovies(const std::string& text) {
  if (text.empty()) return;
  // The search runs with its page, on a page worker.
  const std::string address = FindPageAddress(text, m_ui.SearchField->currentIndex());
  TimingLog::Write("navigate", address);
  m_ui.PageView->load(QUrl(ToQString(address)));
}

void TFormMain::FindText() {
  m_ui.SearchBox->setFocus(Qt::ShortcutFocusReason);
  m_ui.SearchBox->selectAll();
}

// Clicks.

void TFormMain::SideBarChosen(int index, int subIndex) {
  if (index == -1 || subIndex == -1) return;
  m_currentSelection = SideBarItemHandles(m_ui.SideBar->Model(), index, subIndex);
  ShowMovies(m_currentSelection);
}

void TFormMain::StripClicked(int index) {
  if (index < 0 || index >= m_ui.CoverStrip->Items().Count()) return;
  m_ui.SideBar->SetItemIndex(-1);
  m_ui.SideBar->SetSubItemIndex(-1);
  m_currentSelection = std::to_string(m_ui.CoverStrip->Items()[index].Tag);
  ShowMovies(m_currentSelection);
}

bool TFormMain::AskPassword() {
  if (!Settings().Protected) return true;
  if (m_formPassword == nullptr) return false;
  if (!m_formPassword->ShowModal()) return false;
  return PasswordMatches(m_formPassword->Text(), Settings().Password);
}

void TFormMain::ChooseCatalog() {
  if (!AskPassword() || m_formOpen == nullptr) return;
  m_formOpen->SetFileName(m_catalog->Path());
  m_formOpen->SetAutoOpen(Settings().AutoOpen);
  if (!m_formOpen->ShowModal()) return;
  m_catalog->Open(m_formOpen->FileName(), m_formOpen->AutoOpen());
}

void TFormMain::EditCatalog() {
  if (!AskPassword()) return;
  const std::string path = m_catalog->Path();
  if (PathExists(path)) OpenCatalogInEditor(path);
}

void TFormMain::PlayMovie() {
  const TPlayTarget target = FindPlayTarget(Catalog(), m_currentSelection, Settings());
  if (target.Path.empty() && !target.Why.empty()) m_status->ShowNote(TranslatedText(target.Why));
  if (!target.Path.empty()) PlayVideo(target, Settings().ExternalPlayer);
}

void TFormMain::EditSettings() {
  if (!AskPassword()) return;
  if (m_formSettings != nullptr) m_formSettings->ShowModal();
}

void TFormMain::SearchTyped() {
  if (!m_ui.SearchBox->text().isEmpty()) SearchMovies(FromQString(m_ui.SearchBox->text()));
}

// Applying edited settings.

void TFormMain::SetFullScreen(bool on) {
  if (Settings().FullScreen == on) return;
  Settings().FullScreen = on;
  ApplyFullScreen(!on);
}

void TFormMain::ApplyFullScreen(bool wasFullScreen) {
  WindowPlacement::SwitchFullScreen(*this, Settings(), wasFullScreen);
  m_ui.ClosePanel->setVisible(Settings().FullScreen);
  m_ui.PlaceClosePanel();
}

void TFormMain::ApplySettings(const TViewerSettings& before) {
  const TViewerSettings& settings = Settings();
  m_catalog->Watcher().SetEnabled(settings.LiveReload);
  // A maximised or resized window keeps its place unless full screen changed.
  if (settings.FullScreen != before.FullScreen) ApplyFullScreen(before.FullScreen);
  // Pictures found (or not) under the old path rules are made again.
  if (m_session->TakePathRules()) m_strip->Clear();
  ApplyColorScheme(settings.ColorScheme);
  LanguageStep();
  LayoutToolbar();
  if (settings.ShowTopImages && !m_strip->Filled()) FillGallery();
  m_ui.CoverStrip->setVisible(settings.ShowTopImages);
  // A fill still running sets the scrolling when it ends.
  if (!m_strip->Filling()) m_ui.CoverStrip->SetActive(settings.ShowTopImages && settings.AutoScroll);
  m_session->Publish();
  ShowPageAgain();
  if (settings.TitleType != before.TitleType) RetitleMovies();
}

void TFormMain::RetitleMovies() {
  m_strip->Retitle(Catalog());
  RetitleSideBar(m_ui.SideBar->Model(), Settings().TitleType);
}

TPathCounts TFormMain::CountPaths(const TPathMap& rules) {
  return CountResolvedPaths(Catalog(), m_session->Pictures().CatalogFolder, Settings().VideoPathField, rules);
}

bool TFormMain::SaveSettings() {
  return RunGuarded([this] { SaveSettingsTo(Settings(), m_paths.Settings); });
}
