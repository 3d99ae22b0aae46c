#include "viewer/TFormMainUi.h"

#include "config/TViewerSettings.h"
#include "viewer/TWebView.h"
#include "widgets/QtBridge.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"
#include "widgets/TSearchEdit.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kStripHeight = 100;
constexpr int kCaptionBarHeight = 44;
constexpr int kSideBarWidth = 249;
constexpr int kGroupCaptionHeight = 23;
constexpr int kStatusBarHeight = 20;
constexpr int kButtonTop = 10;
constexpr int kButtonHeight = 25;
constexpr int kComboWidth = 110;
constexpr int kEditWidth = 150;
constexpr int kLeastEditWidth = 60;
constexpr int kTitleRightMargin = 20;
constexpr int kTitleGap = 10;

constexpr TColor kGrey = RgbColor(0x80, 0x80, 0x80);
constexpr TColor kLightGrey = RgbColor(0xAA, 0xAA, 0xAA);

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int pixelHeight, bool bold) {
  auto* label = Named(new QLabel(QString::fromLatin1(text), parent), name);
  QFont font(MapFontName("Arial"));
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  label->setFont(font);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

QWidget* MakePanel(QWidget* parent, const char* name) {
  auto* panel = Named(new QWidget(parent), name);
  panel->setAutoFillBackground(true);
  return panel;
}

TCaptionButton* MakeCaptionButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new TCaptionButton(parent, QString::fromLatin1(name));
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

QVBoxLayout* StackedLayout(QWidget* parent) {
  auto* layout = new QVBoxLayout(parent);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  return layout;
}

// Places the contents of the caption bar, the side bar's caption and the
// status line again whenever their panel's size changes.
class TPanelPlacer : public QObject {
 public:
  TPanelPlacer(TFormMainUi& ui, QObject* parent) : QObject(parent), m_ui(ui) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Resize) return false;
    if (watched == m_ui.CaptionBar) m_ui.LayoutToolbar();
    if (watched == m_ui.GroupBar) m_ui.PlaceGroupCaption();
    if (watched == m_ui.StatusBar) m_ui.PlaceStatusLabels();
    return false;
  }

 private:
  TFormMainUi& m_ui;
};

}  // namespace

void TFormMainUi::Setup(QWidget* form) {
  QVBoxLayout* layout = StackedLayout(form);
  CoverStrip = Named(new TCoverStrip(form), "coverStrip");
  CoverStrip->setFixedHeight(kStripHeight);
  CoverStrip->SetColor(kGrey);
  CoverStrip->Model().ShowHint = true;
  layout->addWidget(CoverStrip);

  CaptionBar = MakePanel(form, "captionBar");
  CaptionBar->setFixedHeight(kCaptionBarHeight);
  layout->addWidget(CaptionBar);
  OpenButton = MakeCaptionButton(CaptionBar, "openButton", " Open");
  EditButton = MakeCaptionButton(CaptionBar, "editButton", " Edit");
  SettingsButton = MakeCaptionButton(CaptionBar, "settingsButton", " Settings");
  PlayButton = MakeCaptionButton(CaptionBar, "playButton", " Play");
  SearchPanel = MakePanel(CaptionBar, "searchPanel");
  BackButton = MakeCaptionButton(SearchPanel, "backButton", " Back");
  SearchField = Named(new QComboBox(SearchPanel), "searchField");
  SearchField->setEditable(false);
  SearchField->resize(kComboWidth, 21);
  SearchBox = Named(new TSearchEdit(QStringLiteral("Search ..."), SearchPanel), "searchBox");
  SearchBox->resize(kEditWidth, 21);
  SearchButton = Named(new TImageButton(SearchPanel), "searchButton");
  OwnerTitle = MakeLabel(CaptionBar, "ownerTitle", "My Private", 24, true);
  CollectionTitle = MakeLabel(CaptionBar, "collectionTitle", "Movie Collection", 16, false);
  OwnerTitleText = OwnerTitle->text();
  CollectionTitleText = CollectionTitle->text();

  Splitter = Named(new QSplitter(Qt::Horizontal, form), "splitter");
  Splitter->setHandleWidth(3);
  Splitter->setChildrenCollapsible(false);
  layout->addWidget(Splitter, 1);

  SidePane = MakePanel(Splitter, "sidePane");
  QVBoxLayout* sideLayout = StackedLayout(SidePane);
  GroupBar = MakePanel(SidePane, "groupBar");
  GroupBar->setFixedHeight(kGroupCaptionHeight);
  sideLayout->addWidget(GroupBar);
  GroupLabel = MakeLabel(GroupBar, "groupLabel", "", 11, false);
  // The tooltip of a shortened caption needs the pointer.
  GroupLabel->setAttribute(Qt::WA_TransparentForMouseEvents, false);
  GroupLabel->move(5, 5);
  SideBarMenuButton = Named(new TImageButton(GroupBar), "sideBarMenuButton");
  FilterBox = Named(new QLineEdit(SidePane), "filterBox");
  FilterBox->setClearButtonEnabled(true);
  sideLayout->addWidget(FilterBox);
  SideBar = Named(new TSideBar(SidePane), "sideBar");
  SetMainWindowLook(*SideBar);
  SideBar->setFocusPolicy(Qt::StrongFocus);
  sideLayout->addWidget(SideBar, 1);

  PageBorder = Named(new QFrame(Splitter), "pageBorder");
  StackedLayout(PageBorder);
  PageView = Named(new TWebView(PageBorder, PageBorder), "pageView");
  PageBorder->layout()->addWidget(PageView);
  Splitter->addWidget(SidePane);
  Splitter->addWidget(PageBorder);
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  Splitter->setSizes({kSideBarWidth, 600});

  StatusBar = MakePanel(form, "statusBar");
  StatusBar->setFixedHeight(kStatusBarHeight);
  layout->addWidget(StatusBar);
  StatusCount = MakeLabel(StatusBar, "statusCount", "No Movie", 11, false);
  StatusDivider = MakeLabel(StatusBar, "statusDivider", "|", 11, false);
  StatusText = MakeLabel(StatusBar, "statusText", "Open a catalog file first ...", 11, false);

  ClosePanel = MakePanel(form, "closePanel");
  ClosePanel->resize(61, 31);
  QPalette black = ClosePanel->palette();
  black.setColor(QPalette::Window, Qt::black);
  ClosePanel->setPalette(black);
  // A caption button in black, with a yellow caption under the pointer.
  CloseButton = MakeCaptionButton(ClosePanel, "closeButton", "Close");
  CloseButton->setGeometry(3, 3, 55, kButtonHeight);
  CloseButton->SetColor(clBlack);
  CloseButton->ColorOver = clBlack;
  CloseButton->ColorOverCaption = clYellow;
  ClosePanel->hide();

  SideBarMenu = Named(new QMenu(form), "sideBarMenu");

  auto* placer = new TPanelPlacer(*this, form);
  for (QWidget* panel : {CaptionBar, GroupBar, StatusBar}) panel->installEventFilter(placer);
}

void TFormMainUi::PlaceTitleLabels() {
  const int right = CaptionBar->width() - kTitleRightMargin;
  int left = kTitleGap;
  for (QWidget* item : {static_cast<QWidget*>(OpenButton), static_cast<QWidget*>(EditButton),
                        static_cast<QWidget*>(SettingsButton), static_cast<QWidget*>(PlayButton), SearchPanel}) {
    if (item->isVisibleTo(CaptionBar)) left = std::max(left, item->x() + item->width() + kTitleGap);
  }
  const int room = right - left;
  const std::pair<QLabel*, const QString*> titles[] = {{OwnerTitle, &OwnerTitleText}, {CollectionTitle, &CollectionTitleText}};
  const int tops[] = {-3, 23};
  for (int i = 0; i < 2; ++i) {
    QLabel* label = titles[i].first;
    const QString& text = *titles[i].second;
    const QString shown = room > 0 ? label->fontMetrics().elidedText(text, Qt::ElideRight, room) : QString();
    // Only the ellipsis left says nothing.
    label->setVisible(!shown.isEmpty() && shown != QString(QChar(0x2026)));
    label->setText(shown);
    label->setAccessibleName(text);
    label->adjustSize();
    label->move(right - label->width(), tops[i]);
  }
}

void TFormMainUi::PlaceStatusLabels() {
  int x = 5;
  for (QLabel* label : {StatusCount, StatusDivider, StatusText}) {
    label->adjustSize();
    label->move(x, (kStatusBarHeight - label->height()) / 2);
    x += label->width() + 6;
  }
}

void TFormMainUi::PlaceGroupCaption() {
  SideBarMenuButton->move(GroupBar->width() - SideBarMenuButton->width() - 7, 7);
  const int room = std::max(0, SideBarMenuButton->x() - GroupLabel->x() - 4);
  QString shown = GroupLabel->fontMetrics().elidedText(GroupCaptionText, Qt::ElideRight, room);
  GroupLabel->setText(shown);
  GroupLabel->setToolTip(shown == GroupCaptionText ? QString() : GroupCaptionText);
  GroupLabel->adjustSize();
}

void TFormMainUi::PlaceClosePanel() {
  ClosePanel->move(ClosePanel->parentWidget()->width() - ClosePanel->width(), 0);
  ClosePanel->raise();
}

void TFormMainUi::LayoutToolbar(const TViewerSettings& settings) {
  m_showOpen = settings.ShowOpenButton;
  m_showEdit = settings.ShowEditButton;
  m_showSettings = settings.ShowSettingsButton;
  m_showPlay = settings.ShowPlayButton;
  m_showSearch = settings.ShowSearch;
  LayoutToolbar();
}

void TFormMainUi::LayoutToolbar() {
  LayoutButtons();
  PlaceTitleLabels();
}

void TFormMainUi::LayoutButtons() {
  const QFontMetrics metrics(ToQFont(OpenButton->Font));
  for (TCaptionButton* button : {OpenButton, EditButton, SettingsButton, PlayButton, BackButton}) {
    button->resize(metrics.horizontalAdvance(ToQString(button->Caption())) + 40, kButtonHeight);
  }
  int x = 5;
  OpenButton->setVisible(m_showOpen);
  if (m_showOpen) {
    OpenButton->move(5, kButtonTop);
    x = OpenButton->width() + 10;
  }
  const std::pair<TCaptionButton*, bool> others[] = {{EditButton, m_showEdit}, {SettingsButton, m_showSettings},
                                                      {PlayButton, m_showPlay}};
  for (const auto& [button, visible] : others) {
    button->setVisible(visible);
    if (!visible) continue;
    button->move(x, kButtonTop);
    x += button->width() + 5;
  }
  SearchPanel->setVisible(m_showSearch);
  if (!m_showSearch) return;
  SearchPanel->move(x, kButtonTop);
  BackButton->move(0, 0);
  const int comboLeft = BackButton->width() + 5;
  const int editLeft = BackButton->width() + SearchField->width() + 10;
  const int wanted = x + editLeft + kEditWidth + 5 + SearchButton->width() + 5;
  const int over = std::max(0, wanted - (CaptionBar->width() - 5));
  SearchBox->resize(std::max(kLeastEditWidth, kEditWidth - over), SearchBox->height());
  const int searchLeft = editLeft + SearchBox->width() + 5;
  SearchField->move(comboLeft, (kButtonHeight - SearchField->height()) / 2);
  SearchBox->move(editLeft, (kButtonHeight - SearchBox->height()) / 2);
  SearchButton->move(searchLeft, (kButtonHeight - SearchButton->height()) / 2);
  SearchPanel->resize(searchLeft + SearchButton->width() + 5, kButtonHeight);
}
