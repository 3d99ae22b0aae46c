#include "viewer/TFormMain.h"

#include "browse/Grouping.h"
#include "browse/Search.h"
#include "browse/UNulContainer.h"
#include "catalog/DisplayRules.h"
#include "config/PasswordCheck.h"
#include "config/SystemScheme.h"
#include "config/Translation.h"
#include "dialogs/DialogLook.h"
#include "dialogs/TFormOpen.h"
#include "dialogs/TFormPassword.h"
#include "dialogs/TFormProgress.h"
#include "config/TViewerError.h"
#include "render/MovieAddress.h"
#include "render/PathCheck.h"
#include "render/MoviePages.h"
#include "render/Resources.h"
#include "render/TMovieRequestHandler.h"
#include "viewer/TDesktop.h"
#include "viewer/TMovieSchemeHandler.h"
#include "viewer/TThumbnailFill.h"
#include "viewer/TTimingLog.h"
#include "viewer/TViewerApplication.h"
#include "viewer/TWebView.h"
#include "widgets/QtBridge.h"
#include "widgets/TEncartaButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TNiceGallery.h"
#include "widgets/TNiceSideBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileSystemWatcher>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWindow>
#include <cmath>
#include <filesystem>
#include <sys/stat.h>

namespace {

constexpr int kStripHeight = 100;
constexpr int kCaptionBarHeight = 44;
constexpr int kSideBarWidth = 249;
constexpr int kGroupCaptionHeight = 23;
constexpr int kStatusBarHeight = 20;
constexpr int kButtonHeight = 25;
constexpr int kComboWidth = 110;
constexpr int kEditWidth = 150;
constexpr int kTitleRightMargin = 20;
// How often the user-interface thread takes the thumbnails that are ready.
constexpr int kFillTickMilliseconds = 40;

constexpr TColor kGrey = RgbColor(0x80, 0x80, 0x80);
constexpr TColor kLightGrey = RgbColor(0xAA, 0xAA, 0xAA);

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int pixelHeight, bool bold) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font(MapFontName("Arial"));
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  label->setFont(font);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

QWidget* MakePanel(QWidget* parent, const char* name) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setAutoFillBackground(true);
  return panel;
}

TEncartaButton* MakeCaptionButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new TEncartaButton(parent, QString::fromLatin1(name));
  button->SetCaption(caption);
  button->Font = {"Arial", -11, false, clWhite};
  button->SetColor(kGrey);
  button->SetColorBorder(clSilver);
  button->ColorOver = kLightGrey;
  button->ColorDown = kLightGrey;
  button->ColorOverCaption = clWhite;
  button->resize(73, kButtonHeight);
  return button;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::exists(path, error);
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

// The folder part of a path, with its trailing separator.
std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A video path as the desktop opens it: addresses as they are, everything
// else as a local file.
QUrl VideoUrl(const std::string& path) {
  QString text = ToQString(path);
  if (IsUrl(path)) return QUrl(text);
  return QUrl::fromLocalFile(text);
}

}  // namespace

TProgramPaths TProgramPaths::ForFolder(const std::string& programFolder) {
  return {programFolder, FindSettingsLocation(programFolder)};
}

TFormMain::TFormMain(TProgramPaths paths, TFormProgress* progress)
    : QWidget(nullptr), m_paths(std::move(paths)), m_progress(progress) {
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(QStringLiteral("Elk Movie Catalog Viewer"));
  CreateComponents();
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

void TFormMain::CreateComponents() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  NiceGallery1 = new TNiceGallery(this);
  NiceGallery1->setObjectName(QStringLiteral("NiceGallery1"));
  NiceGallery1->setFixedHeight(kStripHeight);
  NiceGallery1->SetColor(kGrey);
  NiceGallery1->Model().ShowHint = true;
  NiceGallery1->OnClick = [this](TNiceGallery&, int index) { RunGuarded([&] { NiceGallery1Click(index); }); };
  layout->addWidget(NiceGallery1);

  Panel1 = MakePanel(this, "Panel1");
  Panel1->setFixedHeight(kCaptionBarHeight);
  layout->addWidget(Panel1);
  BtnOpen = MakeCaptionButton(Panel1, "BtnOpen", " Open");
  BtnEdit = MakeCaptionButton(Panel1, "BtnEdit", " Edit");
  BtnSettings = MakeCaptionButton(Panel1, "BtnSettings", " Settings");
  BtnPlay = MakeCaptionButton(Panel1, "BtnPlay", " Play");
  PanelSearch = MakePanel(Panel1, "PanelSearch");
  BtnBack = MakeCaptionButton(PanelSearch, "BtnBack", " Back");
  ComboSearch = new QComboBox(PanelSearch);
  ComboSearch->setObjectName(QStringLiteral("ComboSearch"));
  ComboSearch->setEditable(false);
  ComboSearch->resize(kComboWidth, 21);
  EditSearch = new QLineEdit(QStringLiteral("Search ..."), PanelSearch);
  EditSearch->setObjectName(QStringLiteral("EditSearch"));
  EditSearch->resize(kEditWidth, 21);
  BtnSearch = new TImageButton(PanelSearch);
  BtnSearch->setObjectName(QStringLiteral("BtnSearch"));
  Label1 = MakeLabel(Panel1, "Label1", "My Private", 24, true);
  Label2 = MakeLabel(Panel1, "Label2", "Movie Collection", 16, false);

  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  layout->addWidget(Splitter1, 1);

  Panel2 = MakePanel(Splitter1, "Panel2");
  auto* sideLayout = new QVBoxLayout(Panel2);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  sideLayout->setSpacing(0);
  Panel3 = MakePanel(Panel2, "Panel3");
  Panel3->setFixedHeight(kGroupCaptionHeight);
  sideLayout->addWidget(Panel3);
  LabelGroup = MakeLabel(Panel3, "LabelGroup", "", 11, false);
  // The tooltip of a shortened caption needs the pointer.
  LabelGroup->setAttribute(Qt::WA_TransparentForMouseEvents, false);
  LabelGroup->move(5, 5);
  BtnCateg = new TImageButton(Panel3);
  BtnCateg->setObjectName(QStringLiteral("BtnCateg"));
  NiceSideBar1 = new TNiceSideBar(Panel2);
  NiceSideBar1->setObjectName(QStringLiteral("NiceSideBar1"));
  SetMainWindowLook(*NiceSideBar1);
  NiceSideBar1->setFocusPolicy(Qt::StrongFocus);
  NiceSideBar1->OnSelect = [this](TNiceSideBar&, int index, int subIndex, const std::string& caption) {
    RunGuarded([&] { NiceSideBar1Select(index, subIndex, caption); });
  };
  sideLayout->addWidget(NiceSideBar1, 1);

  WebBrowserFrame = new QFrame(Splitter1);
  WebBrowserFrame->setObjectName(QStringLiteral("WebBrowserFrame"));
  auto* webLayout = new QVBoxLayout(WebBrowserFrame);
  webLayout->setContentsMargins(0, 0, 0, 0);
  WebBrowser1 = new TWebView(WebBrowserFrame, WebBrowserFrame);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  webLayout->addWidget(WebBrowser1);
  WebBrowser1->Page().OnOutsideLink = [](const QUrl& url) { ApplicationDesktop().OpenUrl(url); };
  QObject::connect(WebBrowser1, &QWebEngineView::loadFinished, this, [this](bool) {
    TimingLog::Write("page", WebBrowser1->url().toString(QUrl::FullyEncoded).toStdString());
  });
  Splitter1->addWidget(Panel2);
  Splitter1->addWidget(WebBrowserFrame);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({kSideBarWidth, 600});

  Panel4 = MakePanel(this, "Panel4");
  Panel4->setFixedHeight(kStatusBarHeight);
  layout->addWidget(Panel4);
  Label4 = MakeLabel(Panel4, "Label4", "No Movie", 11, false);
  Label6 = MakeLabel(Panel4, "Label6", "|", 11, false);
  Label5 = MakeLabel(Panel4, "Label5", "Open a catalog file first ...", 11, false);

  PanelClose = MakePanel(this, "PanelClose");
  PanelClose->resize(61, 31);
  SetPanelColor(PanelClose, clBlack);
  // A caption button in black, with a yellow caption under the pointer.
  BtnClose = MakeCaptionButton(PanelClose, "BtnClose", "Close");
  BtnClose->setGeometry(3, 3, 55, kButtonHeight);
  BtnClose->SetColor(clBlack);
  BtnClose->ColorOver = clBlack;
  BtnClose->ColorOverCaption = clYellow;
  PanelClose->hide();

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));

  auto guarded = [this](void (TFormMain::*handler)()) {
    return [this, handler](QWidget&) { RunGuarded([&] { (this->*handler)(); }); };
  };
  BtnOpen->OnClick = guarded(&TFormMain::BtnOpenClick);
  BtnEdit->OnClick = guarded(&TFormMain::BtnEditClick);
  BtnSettings->OnClick = guarded(&TFormMain::BtnSettingsClick);
  BtnPlay->OnClick = guarded(&TFormMain::BtnPlayClick);
  BtnBack->OnClick = guarded(&TFormMain::BtnBackClick);
  BtnClose->OnClick = guarded(&TFormMain::BtnCloseClick);
  BtnCateg->OnClick = guarded(&TFormMain::BtnCategClick);
  BtnSearch->OnClick = guarded(&TFormMain::BtnSearchClick);
  QObject::connect(EditSearch, &QLineEdit::returnPressed, this,
                   [this] { RunGuarded([this] { EditSearchKeyDown(Qt::Key_Return); }); });

  m_watcher = new QFileSystemWatcher(this);
  QObject::connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { CatalogFileChanged(); });
  QObject::connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { CatalogFileChanged(); });
  m_reloadTimer = new QTimer(this);
  m_reloadTimer->setSingleShot(true);
  m_reloadTimer->setInterval(kReloadQuietMilliseconds);
  QObject::connect(m_reloadTimer, &QTimer::timeout, this, [this] { RunGuarded([this] { ReloadCatalog(); }); });

  m_fillTimer = new QTimer(this);
  m_fillTimer->setInterval(kFillTickMilliseconds);
  QObject::connect(m_fillTimer, &QTimer::timeout, this, [this] { RunGuarded([this] { ContinueFill(); }); });
}

void TFormMain::FormCreate() {
  m_settings.LastGroup = 0;
  m_settings.LastGroupDesc = false;
  m_settings.LastOrder = kDefaultOrderCode;
  m_settings.LastOrderDesc = false;
  WireSortMenus();

  m_browserHost = std::make_unique<TWBContainer>(*WebBrowser1);
  m_browserHost->SetBorderVisible(false);
  WebBrowser1->ApplyHostInfo();

  PlaceTitleLabels();

  m_ratingImages = LoadRatingImages();
  m_pictures.BlankImage = LoadResourceStream("blank").value_or(std::string());

  m_pageInput = std::make_unique<TPageInput>(TPageInput{m_catalog, m_settings, m_frame, m_pictures, m_pictureStore});
  m_requestHandler = std::make_unique<TMovieRequestHandler>(*m_pageInput, m_ratingImages, m_paths.ProgramFolder);
  RegisterMovieNameSpace([this](TMovieNameSpace& sender, std::u16string_view url, TMovieResponse& response,
                                bool& handled) { m_requestHandler->HandleMovieRequest(sender, url, response, handled); });
  m_schemeHandler = new TMovieSchemeHandler(this);
  WebBrowser1->page()->profile()->installUrlSchemeHandler(kMovieScheme, m_schemeHandler);

  QRect screen(0, 0, 1024, 768);
  if (QScreen* primary = QGuiApplication::primaryScreen()) screen = primary->geometry();
  LoadSettings(m_settings, m_paths.Settings.ReadFolder, screen.width(), screen.height());
  m_sortMenus.CheckFromSettings(m_settings);
  SyncMenuChecks();

  move(m_settings.Left, m_settings.Top);
  resize(std::max(m_settings.Width, 200), std::max(m_settings.Height, 150));
  if (m_settings.FullScreen) setWindowFlag(Qt::FramelessWindowHint, true);
  PanelClose->setVisible(m_settings.FullScreen);
  if (m_settings.FullScreen || m_settings.Maximized) setWindowState(windowState() | Qt::WindowMaximized);

  ApplyColorScheme(m_settings.ColorScheme);
  LanguageStep();
  LayoutToolbar();
  if (m_settings.AutoOpen) RunGuarded([this] { OpenCatalog(); });
}

void TFormMain::ShowWindow() {
  show();
  PlaceClosePanel();
}

void TFormMain::FormDestroy() {
  if (m_destroyed) return;
  m_destroyed = true;
  m_fillTimer->stop();
  m_fill.reset();
  if (!m_settings.FullScreen) {
    m_settings.Maximized = isMaximized();
    if (!m_settings.Maximized) {
      m_settings.Left = x();
      m_settings.Top = y();
      m_settings.Width = width();
      m_settings.Height = height();
    }
  }
  struct TUnregister {
    TFormMain* Form;
    ~TUnregister() {
      UnregisterMovieNameSpace();
      if (Form->m_schemeHandler != nullptr) {
        Form->WebBrowser1->page()->profile()->removeUrlSchemeHandler(Form->m_schemeHandler);
      }
    }
  } unregister{this};
  SaveSettingsTo(m_settings, m_paths.Settings);
}

bool TFormMain::FormClose() {
  // The strip's fill reads the catalog until it ends.
  if (Filling()) return false;
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
      if (watched == Panel1) PlaceTitleLabels();
      if (watched == Panel3) PlaceGroupCaption();
      if (watched == Panel4) PlaceStatusLabels();
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
      if (IsSystemScheme(m_settings.ColorScheme)) {
        RunGuarded([this] {
          ApplyColorScheme(m_settings.ColorScheme);
          if (!WebBrowser1->url().isEmpty()) WebBrowser1->reload();
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
  PlaceClosePanel();
}

void TFormMain::PlaceClosePanel() {
  PanelClose->move(width() - PanelClose->width(), 0);
  PanelClose->raise();
}

void TFormMain::PlaceTitleLabels() {
  for (QLabel* label : {Label1, Label2}) label->adjustSize();
  const int right = Panel1->width() - kTitleRightMargin;
  Label1->move(right - Label1->width(), -3);
  Label2->move(right - Label2->width(), 23);
}

void TFormMain::PlaceStatusLabels() {
  int x = 5;
  for (QLabel* label : {Label4, Label6, Label5}) {
    label->adjustSize();
    label->move(x, (kStatusBarHeight - label->height()) / 2);
    x += label->width() + 6;
  }
}

void TFormMain::SetPanelColor(QWidget* panel, TColor color) {
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  panel->setPalette(palette);
}

// Opening a catalog.

void TFormMain::OpenCatalog() {
  NiceGallery1->SetActive(false);
  NiceGallery1->Items().Clear();
  m_stripKeys.clear();
  NiceSideBar1->Items().Clear();
  m_catalog.Clear();
  m_galleryFilled = false;
  // Nothing chosen in the earlier catalog may be played in this one, and
  // its pictures are never shown again.
  m_currentSelection.clear();
  m_pictureStore.Clear();
  m_reloadTimer->stop();
  m_loadedStamp = m_lastSeenStamp = TFileStamp();
  if (!m_watcher->files().isEmpty()) m_watcher->removePaths(m_watcher->files());
  if (!m_watcher->directories().isEmpty()) m_watcher->removePaths(m_watcher->directories());
  if (!FileExists(m_settings.CatalogFile)) {
    Label4->setText(TranslatedText("No Movie"));
    Label5->setText(TranslatedText("Open a catalog file first ..."));
    PlaceStatusLabels();
    return;
  }
  m_catalog.LoadFromFile(m_settings.CatalogFile);
  m_pictures.CatalogFolder = FolderOf(m_settings.CatalogFile);
  m_pictures.PathMap = m_settings.PathMap;
  m_loadedStamp = StampOf(m_settings.CatalogFile);
  m_lastSeenStamp = m_loadedStamp;
  WatchCatalogFile();
  SetTitleLabel();
  SetCountLabel();
  Label5->setText(ToQString(m_settings.CatalogFile));
  PlaceStatusLabels();
  RefreshSideBar();

  NiceGallery1->setVisible(m_settings.ShowTopImages);
  if (m_settings.ShowTopImages) FillGallery();

  TSideBarItems& sections = NiceSideBar1->Items();
  if (sections.Count() > 0 && sections[0].Items().Count() > 0) {
    NiceSideBar1->SetItemIndex(0);
    NiceSideBar1->SetSubItemIndex(0);
    NiceSideBar1Select(0, 0, sections[0].Items().Strings(0));
  }
}

void TFormMain::FillGallery() {
  if (m_fill) return;
  std::vector<const TMovie*> movies;
  movies.reserve(static_cast<std::size_t>(m_catalog.Count()));
  for (int i = 0; i < m_catalog.Count(); ++i) movies.push_back(&m_catalog.Items(i));
  TimingLog::Write("strip-started", std::to_string(m_catalog.Count()));
  if (m_progress != nullptr) m_progress->Start(m_catalog.Count(), this);
  NiceGallery1->Items().BeginUpdate();
  m_stripKeys.clear();
  m_fillHits = 0;
  // Thumbnails are 100 pixels of the screen high: more on a dense screen.
  const int box = static_cast<int>(std::lround(100 * std::max(1.0, devicePixelRatioF())));
  m_thumbnailCache.reset();
  if (m_settings.ThumbnailCache) m_thumbnailCache = std::make_unique<TThumbnailCache>(UserCacheFolder());
  // The pictures are made on worker threads and taken here in catalog
  // order, so the window keeps painting and taking clicks meanwhile.
  // When the last picture is ready the strip takes them at once, without
  // waiting for the next tick.
  auto allReady = [this] { QMetaObject::invokeMethod(this, [this] { RunGuarded([this] { ContinueFill(); }); }, Qt::QueuedConnection); };
  m_fill = std::make_unique<TThumbnailFill>(std::move(movies), m_pictures.CatalogFolder, m_pictures.PathMap, box,
                                            m_thumbnailCache.get(), AbsolutePath(m_settings.CatalogFile), 0, allReady);
  m_fillTimer->start();
  // Even an empty catalog ends its fill from the event loop, so whoever
  // started it sees one consistent state until then.
}

void TFormMain::ContinueFill() {
  if (!m_fill) return;
  std::vector<TThumbnailFill::TResult> ready = m_fill->TakeReady();
  for (TThumbnailFill::TResult& result : ready) {
    if (result.Thumbnail) {
      NiceGallery1->Items().Add(result.Movie->Handle, GetMovieTitle(*result.Movie, m_settings.TitleType),
                                std::move(*result.Thumbnail));
      m_stripKeys.push_back(result.Key);
      if (result.FromCache) ++m_fillHits;
    }
    if (m_progress != nullptr) m_progress->StepIt();
  }
  if (!ready.empty() && !m_fill->Finished()) {
    // Shows the pictures made so far.
    NiceGallery1->Items().EndUpdate();
    NiceGallery1->Items().BeginUpdate();
  }
  if (m_fill->Finished()) EndFill(true);
}

void TFormMain::EndFill(bool completed) {
  m_fillTimer->stop();
  // The cache file is written again only when it did not hold exactly the
  // pictures of this strip; a failure to write only costs speed next time.
  if (completed && m_thumbnailCache && m_fill &&
      (!m_fill->CacheWasSound() || m_fill->CacheEntries() != static_cast<std::size_t>(m_fillHits) ||
       m_fillHits != NiceGallery1->Items().Count())) {
    std::vector<std::pair<TThumbnailKey, const TBitmap*>> entries;
    for (int i = 0; i < NiceGallery1->Items().Count() && i < static_cast<int>(m_stripKeys.size()); ++i) {
      entries.emplace_back(m_stripKeys[static_cast<std::size_t>(i)], &NiceGallery1->Items()[i].Bitmap);
    }
    m_thumbnailCache->Save(AbsolutePath(m_settings.CatalogFile), entries);
  }
  m_fill.reset();
  m_thumbnailCache.reset();
  NiceGallery1->Items().EndUpdate();
  if (m_progress != nullptr) m_progress->hide();
  if (!completed) return;
  if (isVisible()) {
    raise();
    activateWindow();
  }
  m_galleryFilled = true;
  NiceGallery1->SetActive(m_settings.ShowTopImages && m_settings.AutoScroll);
  TimingLog::Write("strip-filled", std::to_string(NiceGallery1->Items().Count()));
}

void TFormMain::ShowMovies(const std::string& handleList) {
  std::string address = MoviePageAddress(handleList);
  TimingLog::Write("navigate", address);
  WebBrowser1->load(QUrl(ToQString(address)));
}

void TFormMain::RefreshSideBar() {
  m_groupCaption = ToQString(BuildSideBar(m_catalog, NiceSideBar1->Model(), m_settings.TitleType, m_settings.LastGroup,
                                          m_settings.LastGroupDesc, m_settings.LastOrder, m_settings.LastOrderDesc));
  PlaceGroupCaption();
}

void TFormMain::PlaceGroupCaption() {
  BtnCateg->move(Panel3->width() - BtnCateg->width() - 7, 7);
  // A long caption (in some languages) ends in "..." before the button
  // rather than running under it; the whole text is its tooltip.
  const int room = std::max(0, BtnCateg->x() - LabelGroup->x() - 4);
  QString shown = LabelGroup->fontMetrics().elidedText(m_groupCaption, Qt::ElideRight, room);
  LabelGroup->setText(shown);
  LabelGroup->setToolTip(shown == m_groupCaption ? QString() : m_groupCaption);
  LabelGroup->adjustSize();
}

void TFormMain::SearchMovies(const std::string& text) {
  std::optional<std::string> address = ::SearchMovies(text, ComboSearch->currentIndex(), m_catalog, m_settings.TitleType);
  if (!address) return;
  TimingLog::Write("navigate", *address);
  WebBrowser1->load(QUrl(ToQString(*address)));
}

// Clicks.

void TFormMain::NiceSideBar1Select(int index, int subIndex, const std::string&) {
  if (index == -1 || subIndex == -1) return;
  std::string handles = SideBarItemHandles(NiceSideBar1->Model(), index, subIndex);
  m_currentSelection = handles;
  ShowMovies(handles);
}

void TFormMain::NiceGallery1Click(int index) {
  if (index < 0 || index >= NiceGallery1->Items().Count()) return;
  NiceSideBar1->SetItemIndex(-1);
  NiceSideBar1->SetSubItemIndex(-1);
  std::string handle = std::to_string(NiceGallery1->Items()[index].Tag);
  m_currentSelection = handle;
  ShowMovies(handle);
}

bool TFormMain::AskPassword() {
  if (!m_settings.Protected) return true;
  if (m_formPassword == nullptr) return false;
  if (!m_formPassword->ShowModal()) return false;
  return PasswordMatches(m_formPassword->Text(), m_settings.Password);
}

void TFormMain::BtnOpenClick() {
  if (Filling() || !AskPassword() || m_formOpen == nullptr) return;
  m_formOpen->SetFileName(m_settings.CatalogFile);
  m_formOpen->SetAutoOpen(m_settings.AutoOpen);
  if (!m_formOpen->ShowModal()) return;
  m_settings.CatalogFile = m_formOpen->FileName();
  m_settings.AutoOpen = m_formOpen->AutoOpen();
  OpenCatalog();
  SaveSettingsTo(m_settings, m_paths.Settings);
}

void TFormMain::BtnEditClick() {
  if (Filling() || !AskPassword()) return;
  if (!FileExists(m_settings.CatalogFile)) return;
  ApplicationDesktop().OpenUrl(QUrl::fromLocalFile(ToQString(m_settings.CatalogFile)));
}

void TFormMain::BtnPlayClick() {
  std::optional<std::int64_t> handle = ParseHandle(m_currentSelection);
  if (!handle) return;
  // Only a movie of the loaded catalog is ever played.
  const TMovie* movie = m_catalog.FindByHandle(*handle);
  if (movie == nullptr) return;
  std::string stored = GetVideoPath(movie, m_settings.VideoPathField);
  if (stored.empty()) return;
  // A path of the machine the catalog was written on, carried over here.
  std::string path = MapPathOrKeep(m_settings.PathMap, stored);
  if (!IsUrl(path) && !RegularFileExists(path)) {
    // Starting a player on a missing file used to do nothing visible.
    throw TViewerError(FormatMessage(Translate("The video file \"%s\" does not exist."), path));
  }
  if (!m_settings.ExternalPlayer.empty()) {
    ApplicationDesktop().StartProgram(ToQString(m_settings.ExternalPlayer), {ToQString(path)});
  } else {
    ApplicationDesktop().OpenUrl(VideoUrl(path));
  }
}

void TFormMain::BtnBackClick() { WebBrowser1->back(); }

void TFormMain::BtnSettingsClick() {
  if (Filling() || !AskPassword()) return;
  m_titleTypeAtSettings = m_settings.TitleType;
  if (m_formSettings != nullptr) m_formSettings->ShowModal();
}

void TFormMain::BtnCloseClick() { close(); }

// Live reload.

TFormMain::TFileStamp TFormMain::StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {true, static_cast<long long>(info.st_size),
          static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec,
          static_cast<long long>(info.st_ino)};
}

void TFormMain::WatchCatalogFile() {
  if (!m_settings.LiveReload || m_settings.CatalogFile.empty()) return;
  // The file itself for writes in place, its folder for editors that
  // write a new file and rename it over the old one.
  const QString file = ToQString(m_settings.CatalogFile);
  const QString folder = ToQString(FolderOf(m_settings.CatalogFile));
  if (FileExists(m_settings.CatalogFile) && !m_watcher->files().contains(file)) m_watcher->addPath(file);
  if (!folder.isEmpty() && !m_watcher->directories().contains(folder)) m_watcher->addPath(folder);
}

void TFormMain::CatalogFileChanged() {
  if (!m_settings.LiveReload || m_loadedStamp == TFileStamp()) return;
  TFileStamp now = StampOf(m_settings.CatalogFile);
  // Other files of the folder changing are no concern of ours.
  if (now == m_lastSeenStamp) return;
  m_lastSeenStamp = now;
  // Restarted by every change: the reload waits for a quiet file.
  m_reloadTimer->start();
  WatchCatalogFile();
}

bool TFormMain::ReloadCatalog() {
  if (!m_settings.LiveReload) return false;
  TFileStamp now = StampOf(m_settings.CatalogFile);
  if (now == m_loadedStamp) return false;
  if (now != m_lastSeenStamp) {
    // Still being written.
    m_lastSeenStamp = now;
    m_reloadTimer->start();
    return false;
  }
  auto keepOld = [this] {
    Label5->setText(ToQString(m_settings.CatalogFile) + QStringLiteral("   ") +
                    TranslatedText("(changed on disk, but the new file could not be read)"));
    PlaceStatusLabels();
    return false;
  };
  if (!now.Exists) return keepOld();
  TMovieList fresh;
  try {
    fresh.LoadFromFile(m_settings.CatalogFile);
  } catch (const std::exception&) {
    return keepOld();
  }
  // A file caught half-written reads as a shorter catalog: never shown.
  if (!fresh.LoadedCompletely()) return keepOld();

  // What the user was looking at, by what identifies a movie across loads.
  struct TIdentity {
    std::int32_t Number;
    std::string Title;
  };
  std::vector<TIdentity> shown;
  if (!m_currentSelection.empty()) {
    for (const std::string& token : TokenizeMovieAddress("[" + m_currentSelection + "]")) {
      if (std::optional<std::int64_t> handle = ParseHandle(token)) {
        if (const TMovie* movie = m_catalog.FindByHandle(*handle)) shown.push_back({movie->Number, movie->OriginalTitle});
      }
    }
  }
  TSideBarModel& bar = NiceSideBar1->Model();
  const int topIndex = bar.TopIndex();
  const bool fromSideBar = NiceSideBar1->ItemIndex() >= 0;
  std::vector<std::string> openSections;
  auto sectionName = [](const std::string& caption) { return caption.substr(0, caption.rfind(" (")); };
  for (int i = 0; i < bar.Items().Count(); ++i) {
    if (bar.Items()[i].Expanded()) openSections.push_back(sectionName(bar.Items()[i].Caption()));
  }

  if (m_fill) EndFill(false);
  NiceGallery1->SetActive(false);
  NiceGallery1->Items().Clear();
  m_stripKeys.clear();
  m_galleryFilled = false;
  m_pictureStore.Clear();
  m_catalog.Swap(fresh);
  m_loadedStamp = now;
  ++m_reloads;
  TimingLog::Write("reload", std::to_string(m_catalog.Count()));
  SetTitleLabel();
  SetCountLabel();
  Label5->setText(ToQString(m_settings.CatalogFile));
  PlaceStatusLabels();
  RefreshSideBar();

  // The same sections open, the same place in the list.
  bar.Items().BeginUpdate();
  for (int i = 0; i < bar.Items().Count(); ++i) {
    const std::string name = sectionName(bar.Items()[i].Caption());
    if (std::find(openSections.begin(), openSections.end(), name) != openSections.end()) {
      bar.Items()[i].SetExpanded(true);
    }
  }
  bar.Items().EndUpdate();
  bar.SetTopIndex(topIndex);

  // The movies shown before, under their new handles.
  std::string handles;
  for (const TIdentity& identity : shown) {
    for (int i = 0; i < m_catalog.Count(); ++i) {
      const TMovie& movie = m_catalog.Items(i);
      if (movie.Number == identity.Number && movie.OriginalTitle == identity.Title) {
        handles += (handles.empty() ? "" : ",") + MovieHandleText(movie);
        break;
      }
    }
  }
  if (m_settings.ShowTopImages) FillGallery();
  if (!handles.empty()) {
    m_currentSelection = handles;
    if (fromSideBar) {
      // Mark the item again without raising the selection event.
      for (int s = 0; s < bar.Items().Count(); ++s) {
        for (int i = 0; i < bar.Items()[s].Items().Count(); ++i) {
          if (SideBarItemHandles(bar, s, i) != handles) continue;
          NiceSideBar1->SetItemIndex(s);
          NiceSideBar1->SetSubItemIndex(i);
          s = bar.Items().Count();
          break;
        }
      }
    }
    ShowMovies(handles);
  } else {
    m_currentSelection.clear();
    TSideBarItems& sections = NiceSideBar1->Items();
    if (sections.Count() > 0 && sections[0].Items().Count() > 0) {
      NiceSideBar1->SetItemIndex(0);
      NiceSideBar1->SetSubItemIndex(0);
      NiceSideBar1Select(0, 0, sections[0].Items().Strings(0));
    }
  }
  return true;
}

// Applying edited settings.

void TFormMain::ApplySettings() {
  if (m_settings.LiveReload) {
    WatchCatalogFile();
  } else {
    m_reloadTimer->stop();
  }
  if (m_settings.FullScreen) {
    setWindowFlag(Qt::FramelessWindowHint, true);
    showMaximized();
  } else {
    setWindowFlag(Qt::FramelessWindowHint, false);
    showNormal();
    move(m_settings.Left, m_settings.Top);
    resize(std::max(m_settings.Width, 200), std::max(m_settings.Height, 150));
  }
  PanelClose->setVisible(m_settings.FullScreen);
  PlaceClosePanel();
  if (m_pictures.PathMap != m_settings.PathMap) {
    // Pictures found (or not) under the old rules are made again.
    m_pictures.PathMap = m_settings.PathMap;
    m_pictureStore.Clear();
    if (!Filling()) {
      NiceGallery1->SetActive(false);
      NiceGallery1->Items().Clear();
      m_stripKeys.clear();
      m_galleryFilled = false;
    }
  }
  ApplyColorScheme(m_settings.ColorScheme);
  LanguageStep();
  LayoutToolbar();
  if (m_settings.ShowTopImages && !m_galleryFilled) FillGallery();
  NiceGallery1->setVisible(m_settings.ShowTopImages);
  // A fill still running sets the scrolling when it ends.
  if (!Filling()) NiceGallery1->SetActive(m_settings.ShowTopImages && m_settings.AutoScroll);
  ShowMovies(m_currentSelection);
  if (m_settings.TitleType != m_titleTypeAtSettings) RetitleMovies();
}

void TFormMain::RetitleMovies() {
  // The strip's pictures carry their movie's handle; pictures still to come
  // get the new title when they are added.
  TGalleryItems& pictures = NiceGallery1->Items();
  for (int i = 0; i < pictures.Count(); ++i) {
    if (const TMovie* movie = m_catalog.FindByHandle(pictures[i].Tag)) {
      pictures.SetHint(i, GetMovieTitle(*movie, m_settings.TitleType));
    }
  }
  // Names of people mode carry no movie and keep their text; the sections
  // themselves are not rebuilt.
  TSideBarModel& bar = NiceSideBar1->Model();
  if (bar.Tag == 1) return;
  // One layout at the end; the selection and the scroll position stay.
  bar.Items().BeginUpdate();
  for (int section = 0; section < bar.Items().Count(); ++section) {
    TSideBarStrings& items = bar.Items()[section].Items();
    for (int item = 0; item < items.Count(); ++item) {
      if (const auto* movie = static_cast<const TMovie*>(items.Objects(item))) {
        items.SetString(item, SideBarTitle(*movie, m_settings.TitleType));
      }
    }
  }
  bar.Items().EndUpdate();
}

TPathCounts TFormMain::CountPaths(const TPathMap& rules) {
  return CountResolvedPaths(m_catalog, m_pictures.CatalogFolder, m_settings.VideoPathField, rules);
}

bool TFormMain::SaveSettings() {
  return RunGuarded([this] { SaveSettingsTo(m_settings, m_paths.Settings); });
}

void TFormMain::BtnCategClick() { PopupMenu1->popup(BtnCateg->mapToGlobal(QPoint(0, BtnCateg->height()))); }

void TFormMain::EditSearchKeyDown(int key) {
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !EditSearch->text().isEmpty()) {
    SearchMovies(FromQString(EditSearch->text()));
  }
}

void TFormMain::BtnSearchClick() {
  if (!EditSearch->text().isEmpty()) SearchMovies(FromQString(EditSearch->text()));
}

// The sort menus.

void TFormMain::WireSortMenus() {
  m_groupMenu = PopupMenu1->addMenu(QString());
  m_orderMenu = PopupMenu1->addMenu(QString());
  auto build = [this](QMenu* menu, QMenu*& others, const TSortMenu& entries, std::vector<QAction*>& actions,
                      bool group) {
    others = nullptr;
    actions.clear();
    for (std::size_t i = 0; i < entries.Entries.size(); ++i) {
      const TSortMenuEntry& entry = entries.Entries[i];
      QMenu* target = menu;
      if (entry.InOthers) {
        if (others == nullptr) others = menu->addMenu(QString());
        target = others;
      }
      if (entry.IsDirection && entry.Tag == 0) menu->addSeparator();
      QAction* action = target->addAction(QString());
      action->setCheckable(true);
      int index = static_cast<int>(i);
      QObject::connect(action, &QAction::triggered, this, [this, index, group] {
        RunGuarded([&] {
          if (group) {
            m_sortMenus.ClickGroupBy(index, m_settings);
          } else {
            m_sortMenus.ClickOrderBy(index, m_settings);
          }
          SyncMenuChecks();
        });
      });
      actions.push_back(action);
    }
  };
  build(m_groupMenu, m_groupOthers, m_sortMenus.GroupBy, m_groupActions, true);
  build(m_orderMenu, m_orderOthers, m_sortMenus.OrderBy, m_orderActions, false);
  m_sortMenus.OnRefresh = [this] { RefreshSideBar(); };
}

void TFormMain::SyncMenuChecks() {
  for (std::size_t i = 0; i < m_groupActions.size(); ++i) m_groupActions[i]->setChecked(m_sortMenus.GroupBy.Entries[i].Checked);
  for (std::size_t i = 0; i < m_orderActions.size(); ++i) m_orderActions[i]->setChecked(m_sortMenus.OrderBy.Entries[i].Checked);
}

QAction* TFormMain::GroupByAction(int index) const { return m_groupActions.at(static_cast<std::size_t>(index)); }
QAction* TFormMain::OrderByAction(int index) const { return m_orderActions.at(static_cast<std::size_t>(index)); }
