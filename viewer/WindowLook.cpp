#include "viewer/WindowLook.h"

#include "config/ColorScheme.h"
#include "config/Translation.h"
#include "dialogs/DialogLook.h"
#include "viewer/Glyphs.h"
#include "viewer/TFormMainUi.h"
#include "widgets/QtBridge.h"
#include "widgets/TCaptionButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>

namespace {

constexpr int kSearchButtonSize = 22;

void SetTextColor(QWidget* widget, TColor color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, ToQColor(color));
  widget->setPalette(palette);
}

void SetPanelColor(QWidget* panel, TColor color) {
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  panel->setPalette(palette);
}

void ApplySideBarScheme(TSideBar& sideBar, const TColorScheme& s) {
  TSideBarModel& bar = sideBar.Model();
  sideBar.SetColor(s.SideBarColor);
  bar.ItemStyle.NormalColor = s.SideBarSectionColor;
  bar.ItemStyle.HoverColor = s.SideBarSectionHoverColor;
  bar.ItemStyle.SelectedColor = s.SideBarSectionSelectedColor;
  bar.ItemStyle.NormalFont.Color = s.SideBarSectionTextColor;
  bar.ItemStyle.HoverFont.Color = s.SideBarSectionTextHoverColor;
  bar.ItemStyle.SelectedFont.Color = s.SideBarSectionTextSelectedColor;
  bar.ItemStyle.LineColor = s.SideBarSectionLineColor;
  bar.SubItemStyle.NormalColor = s.SideBarItemColor;
  bar.SubItemStyle.HoverColor = s.SideBarItemHoverColor;
  bar.SubItemStyle.SelectedColor = s.SideBarItemSelectedColor;
  bar.SubItemStyle.NormalFont.Color = s.SideBarItemTextColor;
  bar.SubItemStyle.HoverFont.Color = s.SideBarItemTextHoverColor;
  bar.SubItemStyle.SelectedFont.Color = s.SideBarItemTextSelectedColor;
  bar.SubItemStyle.LineColor = s.SideBarItemLineColor;
  bar.Bullets.NormalColor = bar.Bullets.NormalPenColor = s.SideBarBulletColor;
  bar.Bullets.HoverColor = bar.Bullets.HoverPenColor = s.SideBarBulletHoverColor;
  bar.Bullets.SelectedColor = bar.Bullets.SelectedPenColor = s.SideBarBulletSelectedColor;
  bar.Scrollers.NormalColor = s.SideBarScrollerColor;
  bar.Scrollers.NormalArrowColor = s.SideBarScrollerArrowColor;
  bar.Scrollers.HoverColor = s.SideBarScrollerHoverColor;
  bar.Scrollers.HoverArrowColor = s.SideBarScrollerArrowHoverColor;
  sideBar.RedrawAll();
}

}  // namespace

namespace WindowLook {

void ApplyScheme(TFormMainUi& ui, const TColorScheme& s) {
  ui.CoverStrip->SetColor(s.GalleryColor);
  SetPanelColor(ui.CaptionBar, s.TopPanelColor);
  SetTextColor(ui.OwnerTitle, s.Title1Color);
  SetTextColor(ui.CollectionTitle, s.Title2Color);

  TCaptionButton& open = *ui.OpenButton;
  open.SetColor(s.ButtonColor);
  open.ColorOver = s.ButtonHoverColor;
  open.ColorDown = s.ButtonClickColor;
  open.Font.Color = s.ButtonTextColor;
  open.ColorOverCaption = s.ButtonTextHoverColor;
  open.SetColorBorder(s.ButtonBorderColor);
  for (TCaptionButton* button : {ui.EditButton, ui.SettingsButton, ui.PlayButton, ui.BackButton}) {
    button->SetColor(open.Color());
    button->ColorOver = open.ColorOver;
    button->ColorDown = open.ColorDown;
    button->Font.Color = open.Font.Color;
    button->ColorOverCaption = open.ColorOverCaption;
    button->SetColorBorder(open.ColorBorder());
  }
  SetPanelColor(ui.SearchPanel, open.Color());

  ApplySideBarScheme(*ui.SideBar, s);
  ui.Splitter->setStyleSheet(
      QStringLiteral("QSplitter::handle { background-color: %1; }").arg(ToQColor(s.SplitterColor).name()));

  SetPanelColor(ui.SidePane, s.SideBarColor);
  SetPanelColor(ui.GroupBar, s.SideBarColor);
  SetTextColor(ui.GroupLabel, s.SideBarSectionTextColor);
  SetPanelColor(ui.StatusBar, s.TopPanelColor);
  for (QLabel* label : {ui.StatusCount, ui.StatusDivider, ui.StatusText}) SetTextColor(label, s.Title2Color);
}

void DrawGlyphs(TFormMainUi& ui, double ratio) {
  const TCaptionButton& open = *ui.OpenButton;
  const QColor text = ToQColor(open.Font.Color);
  ui.OpenButton->SetGlyph(OpenGlyph(text, ratio));
  ui.EditButton->SetGlyph(EditGlyph(text, ratio));
  ui.SettingsButton->SetGlyph(SettingsGlyph(text, ratio));
  ui.PlayButton->SetGlyph(PlayGlyph(text, ratio));
  ui.BackButton->SetGlyph(BackGlyph(text, ratio));
  for (TCaptionButton* button : {ui.OpenButton, ui.EditButton, ui.SettingsButton, ui.PlayButton, ui.BackButton}) button->update();

  const TSideBarModel& bar = ui.SideBar->Model();
  const QColor ground = ToQColor(ui.SideBar->Color());
  ui.SideBarMenuButton->SetBitmap(CategoryArrow(ToQColor(bar.ItemStyle.NormalFont.Color), ground, ratio));
  ui.SideBarMenuButton->SetBitmapOver(CategoryArrow(ToQColor(bar.ItemStyle.HoverFont.Color), ground, ratio));
  ui.SideBarMenuButton->SetBitmapUp(CategoryArrow(ToQColor(bar.ItemStyle.HoverFont.Color), ground, ratio));

  const QColor searchGround = ToQColor(open.Color());
  const QColor hoverText = ToQColor(open.ColorOverCaption);
  ui.SearchButton->SetBitmap(SearchPicture(text, searchGround, kSearchButtonSize, ratio));
  ui.SearchButton->SetBitmapOver(SearchPicture(hoverText, ToQColor(open.ColorOver), kSearchButtonSize, ratio));
  ui.SearchButton->SetBitmapDown(SearchPicture(hoverText, ToQColor(open.ColorDown), kSearchButtonSize, ratio));
}

void ApplyCaptions(TFormMainUi& ui) {
  ui.CloseButton->SetCaption(Translate("Close"));
  ui.OpenButton->SetCaption(" " + Translate("Open"));
  ui.EditButton->SetCaption(" " + Translate("Edit"));
  ui.SettingsButton->SetCaption(" " + Translate("Settings"));
  ui.PlayButton->SetCaption(" " + Translate("Play"));
  ui.BackButton->SetCaption(" " + Translate("Back"));
  ui.CollectionTitleText = TranslatedText("Movie Collection");

  ui.SearchField->clear();
  for (const char* field : {"Title", "Actors", "Director", "Producer", "Description", "Comments", "Original Title",
                            "Translated Title"}) {
    ui.SearchField->addItem(TranslatedText(field));
  }
  ui.SearchField->setCurrentIndex(0);
  ui.FilterBox->setPlaceholderText(TranslatedEllipsisText("Filter ..."));
  // The starting text follows the language until the user replaced it.
  const QString searchStart = TranslatedText("Search ...");
  if (ui.SearchBox->text() == ui.SearchStartText) ui.SearchBox->setText(searchStart);
  ui.SearchStartText = searchStart;

  // Screen readers name the picture-only controls by these.
  ui.SideBarMenuButton->setAccessibleName(TranslatedText("Group by"));
  ui.SearchButton->setAccessibleName(TranslatedText("Search"));
  ui.SearchBox->setAccessibleName(TranslatedText("Search"));
  ui.SearchField->setAccessibleName(TranslatedText("Search in"));
  ui.FilterBox->setAccessibleName(TranslatedText("Filter"));
  ui.SideBar->setAccessibleName(TranslatedText("Movies"));
  ui.CoverStrip->setAccessibleName(TranslatedText("Covers"));
}

void ShowOwner(TFormMainUi& ui, const std::string& owner) {
  // The "'s" stays English under every language.
  ui.OwnerTitleText = owner.empty() ? TranslatedText("My Private") : ToQString(owner + "'s");
}

}  // namespace WindowLook
