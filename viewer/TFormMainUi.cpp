#include "viewer/TFormMainUi.h"

#include "viewer/WindowPanels.h"
#include "viewer/TWebView.h"
#include "widgets/QtBridge.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"
#include "widgets/TSearchEdit.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

constexpr int kStripHeight = 100;
constexpr int kCaptionBarHeight = 44;
constexpr int kSideBarWidth = 249;
constexpr int kGroupCaptionHeight = 23;
constexpr int kComboWidth = 110;
constexpr int kButtonHeight = TFormMainUi::kButtonHeight;

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

}  // namespace

void TFormMainUi::Setup(QWidget* form) {
  QVBoxLayout* layout = StackedLayout(form);
  CoverStrip = Named(new TCoverStrip(form), "coverStrip");
  CoverStrip->setFixedHeight(kStripHeight);
  CoverStrip->SetColor(kGrey);
  CoverStrip->Model().ShowHint = true;
  layout->addWidget(CoverStrip);
  MakeCaptionBar(form);
  layout->addWidget(CaptionBar);

  Splitter = Named(new QSplitter(Qt::Horizontal, form), "splitter");
  Splitter->setHandleWidth(3);
  Splitter->setChildrenCollapsible(false);
  layout->addWidget(Splitter, 1);
  MakeSidePane();
  PageBorder = Named(new QFrame(Splitter), "pageBorder");
  StackedLayout(PageBorder);
  PageView = Named(new TWebView(PageBorder, PageBorder), "pageView");
  PageBorder->layout()->addWidget(PageView);
  Splitter->addWidget(SidePane);
  Splitter->addWidget(PageBorder);
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  Splitter->setSizes({kSideBarWidth, 600});

  MakeStatusBar(form);
  layout->addWidget(StatusBar);
  MakeClosePanel(form);
  SideBarMenu = Named(new QMenu(form), "sideBarMenu");
  WindowPanels::FollowSizes(*this, *form);
}

void TFormMainUi::MakeCaptionBar(QWidget* form) {
  CaptionBar = MakePanel(form, "captionBar");
  CaptionBar->setFixedHeight(kCaptionBarHeight);
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
}

void TFormMainUi::MakeSidePane() {
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
}

void TFormMainUi::MakeStatusBar(QWidget* form) {
  StatusBar = MakePanel(form, "statusBar");
  StatusBar->setFixedHeight(kStatusBarHeight);
  StatusCount = MakeLabel(StatusBar, "statusCount", "No Movie", 11, false);
  StatusDivider = MakeLabel(StatusBar, "statusDivider", "|", 11, false);
  StatusText = MakeLabel(StatusBar, "statusText", "Open a catalog file first ...", 11, false);
}

void TFormMainUi::MakeClosePanel(QWidget* form) {
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
}
