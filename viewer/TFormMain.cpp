#include "viewer/TFormMain.h"

#include "browse/PlayTarget.h"
#include "browse/TablePages.h"
#include "config/FilePaths.h"
#include "config/PasswordCheck.h"
#include "config/SystemScheme.h"
#include "config/TimingLog.h"
#include "dialogs/DialogLook.h"
#include "dialogs/TFormOpen.h"
#include "dialogs/TFormPassword.h"
#include "render/MovieAddress.h"
#include "render/PathCheck.h"
#include "render/TPageSession.h"
#include "viewer/TCatalogDrop.h"
#include "viewer/TCatalogKeeper.h"
#include "viewer/TCatalogWatcher.h"
#include "viewer/TDesktop.h"
#include "viewer/TMovieSchemeHandler.h"
#include "viewer/TPageExports.h"
#include "viewer/TPageProcessGuard.h"
#include "viewer/TRecentMenu.h"
#include "viewer/TSideBarContent.h"
#include "viewer/TSortMenuActions.h"
#include "viewer/TStatusLine.h"
#include "viewer/TStripFiller.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TWebView.h"
#include "viewer/TWindowCommands.h"
#include "viewer/TWindowEvents.h"
#include "viewer/WindowLook.h"
#include "viewer/WindowPanels.h"
#include "viewer/WindowPlacement.h"
#include "widgets/QtBridge.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TImageButton.h"
#include "widgets/TSearchEdit.h"
#include "widgets/TSideBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <cmath>

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
  m_status = new TStatusLine(m_ui, this);
  m_content = new TSideBarContent(m_ui, *m_session, *m_status, this);
  m_exports = new TPageExports(*this, *m_ui.PageView, [this]() -> const TMovieList& { return Catalog(); });
  WireComponents();
  WireCatalog();
  WireWindowEvents();
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
  // The right click and the menu key on the Open button offer the recent catalogs.
  m_ui.OpenButton->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(m_ui.OpenButton, &QWidget::customContextMenuRequested, this,
                   [this] { Run(TWindowCommand::RecentCatalogs); });
  m_content->OnShow = [this](const std::string& handles) { ShowMovies(handles); };

  m_ui.PageView->Page().OnOutsideLink = [](const QUrl& url) { ApplicationDesktop().OpenUrl(url); };
  QObject::connect(m_ui.PageView, &QWebEngineView::loadFinished, this, [this](bool) {
    TimingLog::Write("page", m_ui.PageView->url().toString(QUrl::FullyEncoded).toStdString());
    // The strip's pictures wait for the page the user asked for.
    m_strip->Go();
  });
  m_status->FollowPage(*m_ui.PageView->page());
  auto* pageProcess = new TPageProcessGuard(*m_ui.PageView, this);
  pageProcess->OnNote = [this](const QString& note) { m_status->ShowNote(note); };

  m_strip = new TStripFiller(this, *m_ui.CoverStrip, m_progress, Settings());
  m_strip->OnProgress = [this](int made, int total) { m_status->ShowWork(made, total); };
  m_strip->OnFilled = [this] {
    if (isVisible()) {
      raise();
      activateWindow();
    }
  };
}

void TFormMain::WireCatalog() {
  auto* drop = new TCatalogDrop(*this);
  drop->OnDropped = [this](const std::string& path) { OpenChosenCatalog(path); };
  m_recent = std::make_unique<TRecentMenu>(this);
  m_recent->OnChosen = [this](const std::string& path) { OpenChosenCatalog(path); };
  m_catalog->OnLettingGo = [this] {
    m_strip->Clear();
    m_ui.SideBar->Items().Clear();
  };
  m_catalog->OnOpened = [this] { CatalogOpened(); };
  m_catalog->OnClosed = [this] {
    m_content->CatalogChanged();
    m_status->ShowCatalog(0, std::string(), true);
  };
  m_catalog->OnReloading = [this] {
    m_content->KeepPlace();
    m_strip->Clear();
  };
  m_catalog->OnReloaded = [this] { CatalogReloaded(); };
  m_catalog->Watcher().OnUnreadable = [this] {
    m_status->ShowProblem("(changed on disk, but the new file could not be read)");
  };
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
  const auto partLink = [this](const char* id) {
    return [this, id] { m_ui.PageView->FollowPageLink(QString::fromLatin1(id)); };
  };
  const std::pair<TWindowCommand, std::function<void()>> handlers[] = {
      {TWindowCommand::Open, [this] { ChooseCatalog(); }},
      {TWindowCommand::RecentCatalogs, [this] { m_recent->PopupBelow(Settings().RecentCatalogs, *m_ui.OpenButton); }},
      {TWindowCommand::Edit, [this] { EditCatalog(); }},
      {TWindowCommand::Settings, [this] {
         if (AskPassword() && m_formSettings != nullptr) m_formSettings->ShowModal();
       }},
      {TWindowCommand::Play, [this] { PlayMovie(); }},
      {TWindowCommand::Back, [this] { m_ui.PageView->back(); }},
      {TWindowCommand::Search, [this] { SearchMovies(FromQString(m_ui.SearchBox->text())); }},
      {TWindowCommand::FindText, [this] { FocusForTyping(*m_ui.SearchBox); }},
      {TWindowCommand::ToggleFullScreen, [this] { SetFullScreen(!Settings().FullScreen); }},
      {TWindowCommand::LeaveFullScreen, [this] { SetFullScreen(false); }},
      {TWindowCommand::Close, [this] { close(); }},
      {TWindowCommand::SideBarMenu, [this] {
         m_ui.SideBarMenu->popup(m_ui.SideBarMenuButton->mapToGlobal(QPoint(0, m_ui.SideBarMenuButton->height())));
       }},
      {TWindowCommand::MovieTable, [this] { ShowMovieTable(); }},
      {TWindowCommand::FirstPart, partLink("elk-part-first")},
      {TWindowCommand::PreviousPart, partLink("elk-part-previous")},
      {TWindowCommand::NextPart, partLink("elk-part-next")},
      {TWindowCommand::LastPart, partLink("elk-part-last")},
  };
  for (const auto& [command, run] : handlers) m_commands->Bind(command, run);
  m_exports->BindCommands(*m_commands);
  m_content->BindCommands(*m_commands);
}

void TFormMain::Start() {
  TViewerSettings& settings = Settings();
  m_sortMenus = std::make_unique<TSortMenuActions>(*m_ui.SideBarMenu, settings);
  m_sortMenus->OnRefresh = [this] { m_content->Refresh(); };
  // The collection's commands follow the sort menus, shown with their keys.
  m_commands->AddToMenu(*m_ui.SideBarMenu,
                        {TWindowCommand::None, TWindowCommand::Statistics, TWindowCommand::Print,
                         TWindowCommand::SavePdf, TWindowCommand::ExportCsv, TWindowCommand::None,
                         TWindowCommand::MovieTable, TWindowCommand::RandomMovie});
  TPageViewOptions pageView;
  pageView.Border = false;
  m_ui.PageView->SetOptions(pageView);
  WindowPanels::PlaceTitleLabels(m_ui);

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
  WindowPanels::PlaceClosePanel(m_ui);
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
  event->setAccepted(close);
}

void TFormMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  WindowPanels::PlaceClosePanel(m_ui);
}

bool TFormMain::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  const QWidget* focused = QApplication::focusWidget();
  const TKeyContext context{TakesText(focused), Settings().FullScreen, focused == m_ui.OpenButton,
                            !m_ui.FilterBox->text().isEmpty()};
  return m_commands->Run(WindowCommandOf(key, modifiers, context));
}

void TFormMain::Run(TWindowCommand command) { m_commands->Run(command); }

TViewerSettings& TFormMain::Settings() { return m_session->Settings(); }
const TMovieList& TFormMain::Catalog() const { return m_session->Catalog(); }
const std::string& TFormMain::CurrentSelection() const { return m_content->Selection(); }
const TPageFrame& TFormMain::PageFrame() const { return m_session->Frame(); }
TSortMenus& TFormMain::SortMenus() { return m_sortMenus->Menus(); }
QAction* TFormMain::GroupByAction(int index) const { return m_sortMenus->GroupByAction(index); }
QAction* TFormMain::OrderByAction(int index) const { return m_sortMenus->OrderByAction(index); }

// The look and the language.

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
  WindowPanels::PlaceGroupCaption(m_ui);
}

void TFormMain::LanguageStep() {
  const bool changed = m_language.Load(m_paths.ProgramFolder, Settings().Language);
  // Pages from now on speak the language loaded; the side bar's headings
  // are built again only when the translations changed.
  m_session->Publish();
  WindowLook::ApplyCaptions(m_ui);
  ShowOwner();
  m_status->Retranslate();
  if (changed) m_content->Refresh();
  m_sortMenus->Translate();
  m_commands->Translate();
}

void TFormMain::ShowOwner() {
  WindowLook::ShowOwner(m_ui, Catalog().Properties().OwnerName);
  WindowPanels::PlaceTitleLabels(m_ui);
}

void TFormMain::LayoutToolbar() { WindowPanels::LayoutToolbar(m_ui, Settings()); }

// The catalog.

void TFormMain::OpenCatalog() { m_catalog->OpenConfigured(); }

bool TFormMain::OpenChosenCatalog(const std::string& path) {
  if (!AskPassword()) return false;
  m_catalog->Open(path, Settings().AutoOpen);
  return true;
}

void TFormMain::CatalogOpened() {
  ShowNewCatalog();
  m_ui.CoverStrip->setVisible(Settings().ShowTopImages);
  if (Settings().ShowTopImages) FillCoverStrip();
  m_content->SelectFirst();
}

void TFormMain::CatalogReloaded() {
  ShowNewCatalog();
  if (Settings().ShowTopImages) FillCoverStrip();
  m_content->RestorePlace();
}

void TFormMain::ShowNewCatalog() {
  m_content->CatalogChanged();
  ShowOwner();
  m_status->ShowCatalog(Catalog().Count(), m_catalog->Path(), Catalog().LoadedCompletely());
  m_content->Refresh();
}

void TFormMain::FillCoverStrip() {
  // Thumbnails are 100 pixels of the screen high: more on a dense screen.
  const int box = static_cast<int>(std::lround(100 * std::max(1.0, devicePixelRatioF())));
  m_strip->Start(Catalog(), m_session->Pictures(), AbsolutePath(m_catalog->Path()), box);
}

// Pages.

void TFormMain::ShowMovies(const std::string& handleList) {
  m_status->ShowCount();
  Navigate(MoviePageAddress(handleList));
}

void TFormMain::Navigate(const std::string& address) {
  TimingLog::Write("navigate", address);
  m_ui.PageView->load(QUrl(ToQString(address)));
}

void TFormMain::ShowPageAgain() {
  // The page shown, whatever it is (a list, a search, the statistics), in
  // the frame and settings now in force.
  const QUrl shown = m_ui.PageView->url();
  if (shown.scheme() != QLatin1String(kMovieScheme)) {
    ShowMovies(CurrentSelection());
    return;
  }
  TimingLog::Write("navigate", shown.toString(QUrl::FullyEncoded).toStdString());
  m_ui.PageView->load(shown);
}

void TFormMain::ShowMovieTable() {
  // The list on screen, or else the movies the side bar shows.
  m_status->ShowCount();
  Navigate(MovieTableAddress(MoviePageName(m_ui.PageView->url()), FromQString(m_ui.FilterBox->text())));
}

void TFormMain::SearchMovies(const std::string& text) {
  // The search runs with its page, on a page worker.
  if (!text.empty()) Navigate(FindPageAddress(text, m_ui.SearchField->currentIndex()));
}

// The commands that ask the password.

bool TFormMain::AskPassword() {
  if (!Settings().Protected) return true;
  if (m_formPassword == nullptr || !m_formPassword->ShowModal()) return false;
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
  const TPlayTarget target = FindPlayTarget(Catalog(), CurrentSelection(), Settings());
  if (target.Path.empty() && !target.Why.empty()) m_status->ShowNote(TranslatedText(target.Why));
  if (!target.Path.empty()) PlayVideo(target, Settings().ExternalPlayer);
}

// Settings.

void TFormMain::SetFullScreen(bool on) {
  if (Settings().FullScreen == on) return;
  Settings().FullScreen = on;
  ApplyFullScreen(!on);
}

void TFormMain::ApplyFullScreen(bool wasFullScreen) {
  WindowPlacement::SwitchFullScreen(*this, Settings(), wasFullScreen);
  m_ui.ClosePanel->setVisible(Settings().FullScreen);
  WindowPanels::PlaceClosePanel(m_ui);
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
  if (settings.ShowTopImages && !m_strip->Filled()) FillCoverStrip();
  m_ui.CoverStrip->setVisible(settings.ShowTopImages);
  m_strip->ApplyScrolling();
  m_session->Publish();
  ShowPageAgain();
  if (settings.TitleType != before.TitleType) {
    m_strip->Retitle(Catalog());
    RetitleSideBar(m_ui.SideBar->Model(), settings.TitleType);
  }
}

TPathCounts TFormMain::CountPaths(const TPathMap& rules) {
  return CountResolvedPaths(Catalog(), m_session->Pictures().CatalogFolder, Settings().VideoPathField, rules);
}

bool TFormMain::SaveSettings() {
  return RunGuarded([this] { SaveSettingsTo(Settings(), m_paths.Settings); });
}
