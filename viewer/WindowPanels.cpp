#include "viewer/WindowPanels.h"

#include "config/TViewerSettings.h"
#include "viewer/TFormMainUi.h"
#include "widgets/QtBridge.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace {

constexpr int kButtonTop = 10;
constexpr int kButtonHeight = TFormMainUi::kButtonHeight;
constexpr int kEditWidth = TFormMainUi::kEditWidth;
constexpr int kLeastEditWidth = 60;
constexpr int kTitleRightMargin = 20;
constexpr int kTitleGap = 10;

void LayoutButtons(TFormMainUi& ui) {
  const QFontMetrics metrics(ToQFont(ui.OpenButton->Font));
  for (TCaptionButton* button : {ui.OpenButton, ui.EditButton, ui.SettingsButton, ui.PlayButton, ui.BackButton}) {
    button->resize(metrics.horizontalAdvance(ToQString(button->Caption())) + 40, kButtonHeight);
  }
  int x = 5;
  ui.OpenButton->setVisible(ui.Shown.Open);
  if (ui.Shown.Open) {
    ui.OpenButton->move(5, kButtonTop);
    x = ui.OpenButton->width() + 10;
  }
  const std::pair<TCaptionButton*, bool> others[] = {{ui.EditButton, ui.Shown.Edit}, {ui.SettingsButton, ui.Shown.Settings},
                                                      {ui.PlayButton, ui.Shown.Play}};
  for (const auto& [button, visible] : others) {
    button->setVisible(visible);
    if (!visible) continue;
    button->move(x, kButtonTop);
    x += button->width() + 5;
  }
  ui.SearchPanel->setVisible(ui.Shown.Search);
  if (!ui.Shown.Search) return;
  ui.SearchPanel->move(x, kButtonTop);
  ui.BackButton->move(0, 0);
  const int comboLeft = ui.BackButton->width() + 5;
  const int editLeft = ui.BackButton->width() + ui.SearchField->width() + 10;
  const int wanted = x + editLeft + kEditWidth + 5 + ui.SearchButton->width() + 5;
  const int over = std::max(0, wanted - (ui.CaptionBar->width() - 5));
  ui.SearchBox->resize(std::max(kLeastEditWidth, kEditWidth - over), ui.SearchBox->height());
  const int searchLeft = editLeft + ui.SearchBox->width() + 5;
  ui.SearchField->move(comboLeft, (kButtonHeight - ui.SearchField->height()) / 2);
  ui.SearchBox->move(editLeft, (kButtonHeight - ui.SearchBox->height()) / 2);
  ui.SearchButton->move(searchLeft, (kButtonHeight - ui.SearchButton->height()) / 2);
  ui.SearchPanel->resize(searchLeft + ui.SearchButton->width() + 5, kButtonHeight);
}

// Places the contents of the caption bar, the side bar's caption and the
// status line again whenever their panel's size changes.
class TPanelPlacer : public QObject {
 public:
  TPanelPlacer(TFormMainUi& ui, QObject* parent) : QObject(parent), m_ui(ui) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Resize) return false;
    if (watched == m_ui.CaptionBar) WindowPanels::LayoutToolbar(m_ui);
    if (watched == m_ui.GroupBar) WindowPanels::PlaceGroupCaption(m_ui);
    if (watched == m_ui.StatusBar) WindowPanels::PlaceStatusLabels(m_ui);
    return false;
  }

 private:
  TFormMainUi& m_ui;
};

}  // namespace

namespace WindowPanels {

void PlaceTitleLabels(TFormMainUi& ui) {
  const int right = ui.CaptionBar->width() - kTitleRightMargin;
  int left = kTitleGap;
  for (QWidget* item : {static_cast<QWidget*>(ui.OpenButton), static_cast<QWidget*>(ui.EditButton),
                        static_cast<QWidget*>(ui.SettingsButton), static_cast<QWidget*>(ui.PlayButton), ui.SearchPanel}) {
    if (item->isVisibleTo(ui.CaptionBar)) left = std::max(left, item->x() + item->width() + kTitleGap);
  }
  const int room = right - left;
  const std::pair<QLabel*, const QString*> titles[] = {{ui.OwnerTitle, &ui.OwnerTitleText}, {ui.CollectionTitle, &ui.CollectionTitleText}};
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

void PlaceStatusLabels(TFormMainUi& ui) {
  int x = 5;
  for (QLabel* label : {ui.StatusCount, ui.StatusDivider, ui.StatusText}) {
    label->adjustSize();
    label->move(x, (TFormMainUi::kStatusBarHeight - label->height()) / 2);
    x += label->width() + 6;
  }
}

void PlaceGroupCaption(TFormMainUi& ui) {
  ui.SideBarMenuButton->move(ui.GroupBar->width() - ui.SideBarMenuButton->width() - 7, 7);
  const int room = std::max(0, ui.SideBarMenuButton->x() - ui.GroupLabel->x() - 4);
  QString shown = ui.GroupLabel->fontMetrics().elidedText(ui.GroupCaptionText, Qt::ElideRight, room);
  ui.GroupLabel->setText(shown);
  ui.GroupLabel->setToolTip(shown == ui.GroupCaptionText ? QString() : ui.GroupCaptionText);
  ui.GroupLabel->adjustSize();
}

void PlaceClosePanel(TFormMainUi& ui) {
  ui.ClosePanel->move(ui.ClosePanel->parentWidget()->width() - ui.ClosePanel->width(), 0);
  ui.ClosePanel->raise();
}

void LayoutToolbar(TFormMainUi& ui, const TViewerSettings& settings) {
  ui.Shown.Open = settings.ShowOpenButton;
  ui.Shown.Edit = settings.ShowEditButton;
  ui.Shown.Settings = settings.ShowSettingsButton;
  ui.Shown.Play = settings.ShowPlayButton;
  ui.Shown.Search = settings.ShowSearch;
  LayoutToolbar(ui);
}

void LayoutToolbar(TFormMainUi& ui) {
  LayoutButtons(ui);
  PlaceTitleLabels(ui);
}

void FollowSizes(TFormMainUi& ui, QObject& owner) {
  auto* placer = new TPanelPlacer(ui, &owner);
  for (QWidget* panel : {ui.CaptionBar, ui.GroupBar, ui.StatusBar}) panel->installEventFilter(placer);
}

}  // namespace WindowPanels
