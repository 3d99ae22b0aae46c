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
    if (watched == m_ui.Panel1) m_ui.LayoutToolbar();
    if (watched == m_ui.Panel3) m_ui.PlaceGroupCaption();
    if (watched == m_ui.Panel4) m_ui.PlaceStatusLabels();
    return false;
  }

 private:
  TFormMainUi& m_ui;
};

}  // namespace

void TFormMainUi::Setup(QWidget* form) {
  QVBoxLayout* layout = StackedLayout(form);
  NiceGallery1 = Named(new TCoverStrip(form), "NiceGallery1");
  NiceGallery1->setFixedHeight(kStripHeight);
  NiceGallery1->SetColor(kGrey);
  NiceGallery1->Model().ShowHint = true;
  layout->addWidget(NiceGallery1);

  Panel1 = MakePanel(form, "Panel1");
  Panel1->setFixedHeight(kCaptionBarHeight);
  layout->addWidget(Panel1);
  BtnOpen = MakeCaptionButton(Panel1, "BtnOpen", " Open");
  BtnEdit = MakeCaptionButton(Panel1, "BtnEdit", " Edit");
  BtnSettings = MakeCaptionButton(Panel1, "BtnSettings", " Settings");
  BtnPlay = MakeCaptionButton(Panel1, "BtnPlay", " Play");
  PanelSearch = MakePanel(Panel1, "PanelSearch");
  BtnBack = MakeCaptionButton(PanelSearch, "BtnBack", " Back");
  ComboSearch = Named(new QComboBox(PanelSearch), "ComboSearch");
  ComboSearch->setEditable(false);
  ComboSearch->resize(kComboWidth, 21);
  EditSearch = Named(new TSearchEdit(QStringLiteral("Search ..."), PanelSearch), "EditSearch");
  EditSearch->resize(kEditWidth, 21);
  BtnSearch = Named(new TImageButton(PanelSearch), "BtnSearch");
  Label1 = MakeLabel(Panel1, "Label1", "My Private", 24, true);
  Label2 = MakeLabel(Panel1, "Label2", "Movie Collection", 16, false);
  Title1Text = Label1->text();
  Title2Text = Label2->text();

  Splitter1 = Named(new QSplitter(Qt::Horizontal, form), "Splitter1");
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  layout->addWidget(Splitter1, 1);

  Panel2 = MakePanel(Splitter1, "Panel2");
  QVBoxLayout* sideLayout = StackedLayout(Panel2);
  Panel3 = MakePanel(Panel2, "Panel3");
  Panel3->setFixedHeight(kGroupCaptionHeight);
  sideLayout->addWidget(Panel3);
  LabelGroup = MakeLabel(Panel3, "LabelGroup", "", 11, false);
  // The tooltip of a shortened caption needs the pointer.
  LabelGroup->setAttribute(Qt::WA_TransparentForMouseEvents, false);
  LabelGroup->move(5, 5);
  BtnCateg = Named(new TImageButton(Panel3), "BtnCateg");
  EditFilter = Named(new QLineEdit(Panel2), "EditFilter");
  EditFilter->setClearButtonEnabled(true);
  sideLayout->addWidget(EditFilter);
  NiceSideBar1 = Named(new TSideBar(Panel2), "NiceSideBar1");
  SetMainWindowLook(*NiceSideBar1);
  NiceSideBar1->setFocusPolicy(Qt::StrongFocus);
  sideLayout->addWidget(NiceSideBar1, 1);

  WebBrowserFrame = Named(new QFrame(Splitter1), "WebBrowserFrame");
  StackedLayout(WebBrowserFrame);
  WebBrowser1 = Named(new TWebView(WebBrowserFrame, WebBrowserFrame), "WebBrowser1");
  WebBrowserFrame->layout()->addWidget(WebBrowser1);
  Splitter1->addWidget(Panel2);
  Splitter1->addWidget(WebBrowserFrame);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({kSideBarWidth, 600});

  Panel4 = MakePanel(form, "Panel4");
  Panel4->setFixedHeight(kStatusBarHeight);
  layout->addWidget(Panel4);
  Label4 = MakeLabel(Panel4, "Label4", "No Movie", 11, false);
  Label6 = MakeLabel(Panel4, "Label6", "|", 11, false);
  Label5 = MakeLabel(Panel4, "Label5", "Open a catalog file first ...", 11, false);

  PanelClose = MakePanel(form, "PanelClose");
  PanelClose->resize(61, 31);
  QPalette black = PanelClose->palette();
  black.setColor(QPalette::Window, Qt::black);
  PanelClose->setPalette(black);
  // A caption button in black, with a yellow caption under the pointer.
  BtnClose = MakeCaptionButton(PanelClose, "BtnClose", "Close");
  BtnClose->setGeometry(3, 3, 55, kButtonHeight);
  BtnClose->SetColor(clBlack);
  BtnClose->ColorOver = clBlack;
  BtnClose->ColorOverCaption = clYellow;
  PanelClose->hide();

  PopupMenu1 = Named(new QMenu(form), "PopupMenu1");

  auto* placer = new TPanelPlacer(*this, form);
  for (QWidget* panel : {Panel1, Panel3, Panel4}) panel->installEventFilter(placer);
}

void TFormMainUi::PlaceTitleLabels() {
  const int right = Panel1->width() - kTitleRightMargin;
  int left = kTitleGap;
  for (QWidget* item : {static_cast<QWidget*>(BtnOpen), static_cast<QWidget*>(BtnEdit),
                        static_cast<QWidget*>(BtnSettings), static_cast<QWidget*>(BtnPlay), PanelSearch}) {
    if (item->isVisibleTo(Panel1)) left = std::max(left, item->x() + item->width() + kTitleGap);
  }
  const int room = right - left;
  const std::pair<QLabel*, const QString*> titles[] = {{Label1, &Title1Text}, {Label2, &Title2Text}};
  const int tops[] = {-3, 23};
  for (int i = 0; i < 2; ++i) {
    QLabel* label = titles[i].first;
    const QString& text = *titles[i].second;
    const QString shown = room > 0 ? label->fontMetrics().elidedText(text, Qt::ElideRight, room) : QString();
    // Only the ellipsis left says nothing.
    label->setVisible(!shown.isEmpty() && shown != QString(QChar(0x2026)));
    label->setText(shown);
    label->adjustSize();
    label->move(right - label->width(), tops[i]);
  }
}

void TFormMainUi::PlaceStatusLabels() {
  int x = 5;
  for (QLabel* label : {Label4, Label6, Label5}) {
    label->adjustSize();
    label->move(x, (kStatusBarHeight - label->height()) / 2);
    x += label->width() + 6;
  }
}

void TFormMainUi::PlaceGroupCaption() {
  BtnCateg->move(Panel3->width() - BtnCateg->width() - 7, 7);
  const int room = std::max(0, BtnCateg->x() - LabelGroup->x() - 4);
  QString shown = LabelGroup->fontMetrics().elidedText(GroupCaptionText, Qt::ElideRight, room);
  LabelGroup->setText(shown);
  LabelGroup->setToolTip(shown == GroupCaptionText ? QString() : GroupCaptionText);
  LabelGroup->adjustSize();
}

void TFormMainUi::PlaceClosePanel() {
  PanelClose->move(PanelClose->parentWidget()->width() - PanelClose->width(), 0);
  PanelClose->raise();
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
  const QFontMetrics metrics(ToQFont(BtnOpen->Font));
  for (TCaptionButton* button : {BtnOpen, BtnEdit, BtnSettings, BtnPlay, BtnBack}) {
    button->resize(metrics.horizontalAdvance(ToQString(button->Caption())) + 40, kButtonHeight);
  }
  int x = 5;
  BtnOpen->setVisible(m_showOpen);
  if (m_showOpen) {
    BtnOpen->move(5, kButtonTop);
    x = BtnOpen->width() + 10;
  }
  const std::pair<TCaptionButton*, bool> others[] = {{BtnEdit, m_showEdit}, {BtnSettings, m_showSettings},
                                                      {BtnPlay, m_showPlay}};
  for (const auto& [button, visible] : others) {
    button->setVisible(visible);
    if (!visible) continue;
    button->move(x, kButtonTop);
    x += button->width() + 5;
  }
  PanelSearch->setVisible(m_showSearch);
  if (!m_showSearch) return;
  PanelSearch->move(x, kButtonTop);
  BtnBack->move(0, 0);
  const int comboLeft = BtnBack->width() + 5;
  const int editLeft = BtnBack->width() + ComboSearch->width() + 10;
  const int wanted = x + editLeft + kEditWidth + 5 + BtnSearch->width() + 5;
  const int over = std::max(0, wanted - (Panel1->width() - 5));
  EditSearch->resize(std::max(kLeastEditWidth, kEditWidth - over), EditSearch->height());
  const int searchLeft = editLeft + EditSearch->width() + 5;
  ComboSearch->move(comboLeft, (kButtonHeight - ComboSearch->height()) / 2);
  EditSearch->move(editLeft, (kButtonHeight - EditSearch->height()) / 2);
  BtnSearch->move(searchLeft, (kButtonHeight - BtnSearch->height()) / 2);
  PanelSearch->resize(searchLeft + BtnSearch->width() + 5, kButtonHeight);
}
