#include "viewer/TFormMain.h"

#include "browse/Grouping.h"
#include "browse/PlayTarget.h"
#include "browse/Search.h"
#include "browse/SideBarPlace.h"
#include "browse/UNulContainer.h"
#include "catalog/DisplayRules.h"
#include "config/PasswordCheck.h"
#include "config/SystemScheme.h"
#include "dialogs/DialogLook.h"
#include "dialogs/TFormOpen.h"
#include "dialogs/TFormPassword.h"
#include "render/MovieAddress.h"
#include "render/PathCheck.h"
#include "render/TPageSession.h"
#include "viewer/TCatalogWatcher.h"
#include "viewer/TDesktop.h"
#include "viewer/TMovieSchemeHandler.h"
#include "viewer/TSortMenuActions.h"
#include "viewer/TStripFiller.h"
#include "viewer/TTimingLog.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TWebView.h"
#include "viewer/WindowLook.h"
#include "viewer/WindowPlacement.h"
#include "widgets/QtBridge.h"
#include "widgets/TEncartaButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TNiceGallery.h"
#include "widgets/TNiceSideBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <filesystem>

namespace {

bool FileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::exists(path, error);
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

}  // namespace

TProgramPaths TProgramPaths::ForFolder(const std::string& programFolder) {
  return {programFolder, FindSettingsLocation(programFolder)};
}

TFormMain::TFormMain(TProgramPaths paths, TFormProgress* progress)
    : QWidget(nullptr),
      m_paths(std::move(paths)),
      m_progress(progress),
      m_session(std::make_unique<TPageSession>(m_paths.ProgramFolder)),
      m_schemes(m_paths.ProgramFolder) {
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(QStringLiteral("Elk Movie Catalog Viewer"));
  m_ui.Setup(this);
  WireComponents();
  // Key preview: the window sees every key before the control that has the
  // focus, the web view included.
  qApp->installEventFilter(this);
  FormCreate();
}

TFormMain::~TFormMain() {
  qApp->removeEventFilter(this);
  RunGuarded([this] { FormDestroy(); });
}

void TFormMain::SetDialogs(TFormOpen* open, TFormSettings* settings, TFormPassword* password) {
  m_formOpen = open;
  m_formSettings = settings;
  m_formPassword = password;
}

void TFormMain::WireComponents() {
  auto guarded = [this](void (TFormMain::*handler)()) {
    return [this, handler](QWidget&) { RunGuarded([&] { (this->*handler)(); }); };
  };
  m_ui.BtnOpen->OnClick = guarded(&TFormMain::BtnOpenClick);
  m_ui.BtnEdit->OnClick = guarded(&TFormMain::BtnEditClick);
  m_ui.BtnSettings->OnClick = guarded(&TFormMain::BtnSettingsClick);
  m_ui.BtnPlay->OnClick = guarded(&TFormMain::BtnPlayClick);
  m_ui.BtnBack->OnClick = guarded(&TFormMain::BtnBackClick);
  m_ui.BtnClose->OnClick = guarded(&TFormMain::BtnCloseClick);
  m_ui.BtnCateg->OnClick = guarded(&TFormMain::BtnCategClick);
  m_ui.BtnSearch->OnClick = guarded(&TFormMain::BtnSearchClick);
  QObject::connect(m_ui.EditSearch, &QLineEdit::returnPressed, this,
                   [this] { RunGuarded([this] { EditSearchKeyDown(Qt::Key_Return); }); });
  m_ui.NiceGallery1->OnClick = [this](TNiceGallery&, int index) { RunGuarded([&] { NiceGallery1Click(index); }); };
  m_ui.NiceSideBar1->OnSelect = [this](TNiceSideBar&, int index, int subIndex, const std::string& caption) {
    RunGuarded([&] { NiceSideBar1Select(index, subIndex, caption); });
  };
  m_ui.WebBrowser1->Page().OnOutsideLink = [](const QUrl& url) { ApplicationDesktop().OpenUrl(url); };
  QObject::connect(m_ui.WebBrowser1, &QWebEngineView::loadFinished, this, [this](bool) {
    TimingLog::Write("page", m_ui.WebBrowser1->url().toString(QUrl::FullyEncoded).toStdString());
  });

  m_strip = new TStripFiller(this, *m_ui.NiceGallery1, m_progress, Settings());
  m_strip->OnFilled = [this] {
    if (isVisible()) {
      raise();
      activateWindow();
    }
    m_ui.NiceGallery1->SetActive(Settings().ShowTopImages && Settings().AutoScroll);
  };
  m_watcher = new TCatalogWatcher(this);
  m_watcher->OnReloaded = [this](TMovieList& fresh) { CatalogReloaded(fresh); };
  m_watcher->OnUnreadable = [this] {
    m_ui.Label5->setText(ToQString(Settings().CatalogFile) + QStringLiteral("   ") +
                         TranslatedText("(changed on disk, but the new file could not be read)"));
    m_ui.PlaceStatusLabels();
  };
}

void TFormMain::FormCreate() {
  TViewerSettings& settings = Settings();
  settings.LastGroup = 0;
  settings.LastGroupDesc = false;
  settings.LastOrder = kDefaultOrderCode;
  settings.LastOrderDesc = false;
  m_sortMenus = std::make_unique<TSortMenuActions>(*m_ui.PopupMenu1, settings);
  m_sortMenus->OnRefresh = [this] { RefreshSideBar(); };

  m_browserHost = std::make_unique<TWBContainer>(*m_ui.WebBrowser1);
  m_browserHost->SetBorderVisible(false);
  m_ui.WebBrowser1->ApplyHostInfo();
  m_ui.PlaceTitleLabels();

  m_schemeServer = std::make_unique<TMovieSchemeServer>(m_ui.WebBrowser1->page()->profile(), *m_session, this);

  QRect screen(0, 0, 1024, 768);
  if (QScreen* primary = QGuiApplication::primaryScreen()) screen = primary->geometry();
  LoadSettings(settings, m_paths.Settings.ReadFolder, screen.width(), screen.height());
  m_sortMenus->CheckFromSettings();
  m_watcher->SetEnabled(settings.LiveReload);
  WindowPlacement::PlaceAtStart(*this, settings);
  m_ui.PanelClose->setVisible(settings.FullScreen);

  ApplyColorScheme(settings.ColorScheme);
  LanguageStep();
  LayoutToolbar();
  if (settings.AutoOpen) RunGuarded([this] { OpenCatalog(); });
}

void TFormMain::ShowWindow() {
  show();
  m_ui.PlaceClosePanel();
}

void TFormMain::FormDestroy() {
  if (m_destroyed) return;
  m_destroyed = true;
  m_strip->Cancel();
  WindowPlacement::Record(*this, Settings());
  // The scheme is served until the window is gone, even if saving fails.
  SaveSettingsTo(Settings(), m_paths.Settings);
  m_schemeServer.reset();
}

bool TFormMain::FormClose() {
  // The strip's fill reads the catalog until it ends.
  if (m_strip->Filling()) return false;
  return AskPassword();
}

void TFormMain::closeEvent(QCloseEvent* event) {
  bool close = false;
  RunGuarded([&] { close = FormClose(); });
  if (close) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TFormMain::FormKeyDown(int key) {
  if (key != Qt::Key_F10) return false;
  BtnSettingsClick();
  return true;
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget == nullptr || widget->window() != this) break;
      bool used = false;
      RunGuarded([&] { used = FormKeyDown(static_cast<QKeyEvent*>(event)->key()); });
      if (used) return true;
      break;
    }
    case QEvent::Expose:
      if (!m_shownOnce && watched == windowHandle() && windowHandle()->isExposed()) {
        m_shownOnce = true;
        TimingLog::Write("window-shown");
      }
      break;
    case QEvent::Resize:
      if (watched == m_ui.Panel1) m_ui.PlaceTitleLabels();
      if (watched == m_ui.Panel3) m_ui.PlaceGroupCaption(m_groupCaption);
      if (watched == m_ui.Panel4) m_ui.PlaceStatusLabels();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

bool TFormMain::event(QEvent* event) {
  const bool result = QWidget::event(event);
  switch (event->type()) {
    case QEvent::ApplicationPaletteChange:
      // The desktop turned light or dark: the "System" scheme follows it,
      // the page included. Other schemes keep their own colours.
      if (IsSystemScheme(Settings().ColorScheme)) {
        RunGuarded([this] {
          ApplyColorScheme(Settings().ColorScheme);
          if (!m_ui.WebBrowser1->url().isEmpty()) m_ui.WebBrowser1->reload();
        });
      }
      break;
    case QEvent::ScreenChangeInternal:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange:
#endif
      // Moved to a screen of another density: the glyphs are drawn again
      // for it.
      if (devicePixelRatioF() != m_glyphRatio) RefreshGlyphs();
      break;
    default:
      break;
  }
  return result;
}

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
  m_ui.PlaceGroupCaption(m_groupCaption);
}

void TFormMain::LanguageStep() {
  ApplyLanguage(m_language.Load(m_paths.ProgramFolder, Settings().Language));
}

void TFormMain::ApplyLanguage(bool rebuildSideBar) {
  WindowLook::ApplyCaptions(m_ui);
  ShowCatalogLabels();
  if (rebuildSideBar) RefreshSideBar();
  m_sortMenus->Translate();
}

void TFormMain::ShowCatalogLabels() {
  WindowLook::ShowCatalog(m_ui, Catalog(), Catalog().Count() == 0 ? std::string() : Settings().CatalogFile);
  m_ui.PlaceTitleLabels();
  m_ui.PlaceStatusLabels();
}

void TFormMain::LayoutToolbar() { m_ui.LayoutToolbar(Settings()); }

// Opening a catalog.

void TFormMain::OpenCatalog() {
  m_strip->Clear();
  m_ui.NiceSideBar1->Items().Clear();
  m_session->CloseCatalog();
  // Nothing chosen in the earlier catalog may be played in this one.
  m_currentSelection.clear();
  m_watcher->Watch(std::string());
  const std::string& path = Settings().CatalogFile;
  if (!FileExists(path)) {
    ShowCatalogLabels();
    return;
  }
  m_session->OpenCatalog(path);
  m_watcher->Watch(path);
  WindowLook::ShowCatalog(m_ui, Catalog(), path);
  m_ui.PlaceTitleLabels();
  m_ui.PlaceStatusLabels();
  RefreshSideBar();

  m_ui.NiceGallery1->setVisible(Settings().ShowTopImages);
  if (Settings().ShowTopImages) FillGallery();
  SelectFirstMovie();
}

void TFormMain::SelectFirstMovie() {
  TSideBarItems& sections = m_ui.NiceSideBar1->Items();
  if (sections.Count() == 0 || sections[0].Items().Count() == 0) return;
  m_ui.NiceSideBar1->SetItemIndex(0);
  m_ui.NiceSideBar1->SetSubItemIndex(0);
  NiceSideBar1Select(0, 0, sections[0].Items().Strings(0));
}

void TFormMain::FillGallery() {
  // Thumbnails are 100 pixels of the screen high: more on a dense screen.
  const int box = static_cast<int>(std::lround(100 * std::max(1.0, devicePixelRatioF())));
  m_strip->Start(Catalog(), m_session->Pictures(), AbsolutePath(Settings().CatalogFile), box);
}

void TFormMain::CatalogReloaded(TMovieList& fresh) {
  TSideBarModel& bar = m_ui.NiceSideBar1->Model();
  const TSideBarPlace place = TakeSideBarPlace(bar, Catalog(), m_currentSelection);
  m_strip->Clear();
  m_session->ReplaceCatalog(fresh);
  TimingLog::Write("reload", std::to_string(Catalog().Count()));
  WindowLook::ShowCatalog(m_ui, Catalog(), Settings().CatalogFile);
  m_ui.PlaceTitleLabels();
  m_ui.PlaceStatusLabels();
  RefreshSideBar();
  const TRestoredPlace restored = RestoreSideBarPlace(bar, Catalog(), place);
  if (Settings().ShowTopImages) FillGallery();
  if (restored.Handles.empty()) {
    m_currentSelection.clear();
    SelectFirstMovie();
    return;
  }
  m_currentSelection = restored.Handles;
  if (restored.Section >= 0) {
    m_ui.NiceSideBar1->SetItemIndex(restored.Section);
    m_ui.NiceSideBar1->SetSubItemIndex(restored.Item);
  }
  ShowMovies(restored.Handles);
}

void TFormMain::ShowMovies(const std::string& handleList) {
  std::string address = MoviePageAddress(handleList);
  TimingLog::Write("navigate", address);
  m_ui.WebBrowser1->load(QUrl(ToQString(address)));
}

void TFormMain::RefreshSideBar() {
  const TViewerSettings& s = Settings();
  m_groupCaption = ToQString(BuildSideBar(Catalog(), m_ui.NiceSideBar1->Model(), s.TitleType, s.LastGroup,
                                          s.LastGroupDesc, s.LastOrder, s.LastOrderDesc));
  m_ui.PlaceGroupCaption(m_groupCaption);
}

void TFormMain::SearchMovies(const std::string& text) {
  std::optional<std::string> address =
      ::SearchMovies(text, m_ui.ComboSearch->currentIndex(), Catalog(), Settings().TitleType);
  if (!address) return;
  TimingLog::Write("navigate", *address);
  m_ui.WebBrowser1->load(QUrl(ToQString(*address)));
}

// Clicks.

void TFormMain::NiceSideBar1Select(int index, int subIndex, const std::string&) {
  if (index == -1 || subIndex == -1) return;
  m_currentSelection = SideBarItemHandles(m_ui.NiceSideBar1->Model(), index, subIndex);
  ShowMovies(m_currentSelection);
}

void TFormMain::NiceGallery1Click(int index) {
  if (index < 0 || index >= m_ui.NiceGallery1->Items().Count()) return;
  m_ui.NiceSideBar1->SetItemIndex(-1);
  m_ui.NiceSideBar1->SetSubItemIndex(-1);
  m_currentSelection = std::to_string(m_ui.NiceGallery1->Items()[index].Tag);
  ShowMovies(m_currentSelection);
}

bool TFormMain::AskPassword() {
  if (!Settings().Protected) return true;
  if (m_formPassword == nullptr) return false;
  if (!m_formPassword->ShowModal()) return false;
  return PasswordMatches(m_formPassword->Text(), Settings().Password);
}

void TFormMain::BtnOpenClick() {
  if (m_strip->Filling() || !AskPassword() || m_formOpen == nullptr) return;
  TViewerSettings& settings = Settings();
  m_formOpen->SetFileName(settings.CatalogFile);
  m_formOpen->SetAutoOpen(settings.AutoOpen);
  if (!m_formOpen->ShowModal()) return;
  settings.CatalogFile = m_formOpen->FileName();
  settings.AutoOpen = m_formOpen->AutoOpen();
  OpenCatalog();
  SaveSettingsTo(settings, m_paths.Settings);
}

void TFormMain::BtnEditClick() {
  if (m_strip->Filling() || !AskPassword()) return;
  if (!FileExists(Settings().CatalogFile)) return;
  ApplicationDesktop().OpenUrl(QUrl::fromLocalFile(ToQString(Settings().CatalogFile)));
}

void TFormMain::BtnPlayClick() {
  const TPlayTarget target = FindPlayTarget(Catalog(), m_currentSelection, Settings());
  if (target.Path.empty()) return;
  const QString path = ToQString(target.Path);
  if (!Settings().ExternalPlayer.empty()) {
    ApplicationDesktop().StartProgram(ToQString(Settings().ExternalPlayer), {path});
  } else {
    ApplicationDesktop().OpenUrl(target.IsAddress ? QUrl(path) : QUrl::fromLocalFile(path));
  }
}

void TFormMain::BtnBackClick() { m_ui.WebBrowser1->back(); }

void TFormMain::BtnSettingsClick() {
  if (m_strip->Filling() || !AskPassword()) return;
  if (m_formSettings != nullptr) m_formSettings->ShowModal();
}

void TFormMain::BtnCloseClick() { close(); }

void TFormMain::BtnCategClick() {
  m_ui.PopupMenu1->popup(m_ui.BtnCateg->mapToGlobal(QPoint(0, m_ui.BtnCateg->height())));
}

void TFormMain::EditSearchKeyDown(int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) BtnSearchClick();
}

void TFormMain::BtnSearchClick() {
  if (!m_ui.EditSearch->text().isEmpty()) SearchMovies(FromQString(m_ui.EditSearch->text()));
}

// Applying edited settings.

void TFormMain::ApplySettings(const TViewerSettings& before) {
  const TViewerSettings& settings = Settings();
  m_watcher->SetEnabled(settings.LiveReload);
  WindowPlacement::ApplyFullScreen(*this, settings);
  m_ui.PanelClose->setVisible(settings.FullScreen);
  m_ui.PlaceClosePanel();
  // Pictures found (or not) under the old path rules are made again.
  if (m_session->TakePathRules() && !m_strip->Filling()) m_strip->Clear();
  ApplyColorScheme(settings.ColorScheme);
  LanguageStep();
  LayoutToolbar();
  if (settings.ShowTopImages && !m_strip->Filled()) FillGallery();
  m_ui.NiceGallery1->setVisible(settings.ShowTopImages);
  // A fill still running sets the scrolling when it ends.
  if (!m_strip->Filling()) m_ui.NiceGallery1->SetActive(settings.ShowTopImages && settings.AutoScroll);
  ShowMovies(m_currentSelection);
  if (settings.TitleType != before.TitleType) RetitleMovies();
}

void TFormMain::RetitleMovies() {
  // The strip's pictures carry their movie's handle; pictures still to come
  // get the new title when they are added.
  TGalleryItems& pictures = m_ui.NiceGallery1->Items();
  for (int i = 0; i < pictures.Count(); ++i) {
    if (const TMovie* movie = Catalog().FindByHandle(pictures[i].Tag)) {
      pictures.SetHint(i, GetMovieTitle(*movie, Settings().TitleType));
    }
  }
  RetitleSideBar(m_ui.NiceSideBar1->Model(), Settings().TitleType);
}

TPathCounts TFormMain::CountPaths(const TPathMap& rules) {
  return CountResolvedPaths(Catalog(), m_session->Pictures().CatalogFolder, Settings().VideoPathField, rules);
}

bool TFormMain::SaveSettings() {
  return RunGuarded([this] { SaveSettingsTo(Settings(), m_paths.Settings); });
}
