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
  ui.NiceGallery1->SetColor(s.GalleryColor);
  SetPanelColor(ui.Panel1, s.TopPanelColor);
  SetTextColor(ui.Label1, s.Title1Color);
  SetTextColor(ui.Label2, s.Title2Color);

  TCaptionButton& open = *ui.BtnOpen;
  open.SetColor(s.ButtonColor);
  open.ColorOver = s.ButtonHoverColor;
  open.ColorDown = s.ButtonClickColor;
  open.Font.Color = s.ButtonTextColor;
  open.ColorOverCaption = s.ButtonTextHoverColor;
  open.SetColorBorder(s.ButtonBorderColor);
  for (TCaptionButton* button : {ui.BtnEdit, ui.BtnSettings, ui.BtnPlay, ui.BtnBack}) {
    button->SetColor(open.Color());
    button->ColorOver = open.ColorOver;
    button->ColorDown = open.ColorDown;
    button->Font.Color = open.Font.Color;
    button->ColorOverCaption = open.ColorOverCaption;
    button->SetColorBorder(open.ColorBorder());
  }
  SetPanelColor(ui.PanelSearch, open.Color());

  ApplySideBarScheme(*ui.NiceSideBar1, s);
  ui.Splitter1->setStyleSheet(
      QStringLiteral("QSplitter::handle { background-color: %1; }").arg(ToQColor(s.SplitterColor).name()));

  SetPanelColor(ui.Panel2, s.SideBarColor);
  SetPanelColor(ui.Panel3, s.SideBarColor);
  SetTextColor(ui.LabelGroup, s.SideBarSectionTextColor);
  SetPanelColor(ui.Panel4, s.TopPanelColor);
  for (QLabel* label : {ui.Label4, ui.Label6, ui.Label5}) SetTextColor(label, s.Title2Color);
}

void DrawGlyphs(TFormMainUi& ui, double ratio) {
  const TCaptionButton& open = *ui.BtnOpen;
  const QColor text = ToQColor(open.Font.Color);
  ui.BtnOpen->SetGlyph(OpenGlyph(text, ratio));
  ui.BtnEdit->SetGlyph(EditGlyph(text, ratio));
  ui.BtnSettings->SetGlyph(SettingsGlyph(text, ratio));
  ui.BtnPlay->SetGlyph(PlayGlyph(text, ratio));
  ui.BtnBack->SetGlyph(BackGlyph(text, ratio));
  for (TCaptionButton* button : {ui.BtnOpen, ui.BtnEdit, ui.BtnSettings, ui.BtnPlay, ui.BtnBack}) button->update();

  const TSideBarModel& bar = ui.NiceSideBar1->Model();
  const QColor ground = ToQColor(ui.NiceSideBar1->Color());
  ui.BtnCateg->SetBitmap(CategoryArrow(ToQColor(bar.ItemStyle.NormalFont.Color), ground, ratio));
  ui.BtnCateg->SetBitmapOver(CategoryArrow(ToQColor(bar.ItemStyle.HoverFont.Color), ground, ratio));
  ui.BtnCateg->SetBitmapUp(CategoryArrow(ToQColor(bar.ItemStyle.HoverFont.Color), ground, ratio));

  const QColor searchGround = ToQColor(open.Color());
  const QColor hoverText = ToQColor(open.ColorOverCaption);
  ui.BtnSearch->SetBitmap(SearchPicture(text, searchGround, kSearchButtonSize, ratio));
  ui.BtnSearch->SetBitmapOver(SearchPicture(hoverText, ToQColor(open.ColorOver), kSearchButtonSize, ratio));
  ui.BtnSearch->SetBitmapDown(SearchPicture(hoverText, ToQColor(open.ColorDown), kSearchButtonSize, ratio));
}

void ApplyCaptions(TFormMainUi& ui) {
  ui.BtnClose->SetCaption(Translate("Close"));
  ui.BtnOpen->SetCaption(" " + Translate("Open"));
  ui.BtnEdit->SetCaption(" " + Translate("Edit"));
  ui.BtnSettings->SetCaption(" " + Translate("Settings"));
  ui.BtnPlay->SetCaption(" " + Translate("Play"));
  ui.BtnBack->SetCaption(" " + Translate("Back"));
  ui.Title2Text = TranslatedText("Movie Collection");

  ui.ComboSearch->clear();
  for (const char* field : {"Title", "Actors", "Director", "Producer", "Description", "Comments", "Original Title",
                            "Translated Title"}) {
    ui.ComboSearch->addItem(TranslatedText(field));
  }
  ui.ComboSearch->setCurrentIndex(0);
  ui.EditFilter->setPlaceholderText(TranslatedText("Filter ...").replace(QStringLiteral("..."), QChar(0x2026)));
  // The starting text follows the language until the user replaced it.
  const QString searchStart = TranslatedText("Search ...");
  if (ui.EditSearch->text() == ui.SearchStartText) ui.EditSearch->setText(searchStart);
  ui.SearchStartText = searchStart;

  // Screen readers name the picture-only controls by these.
  ui.BtnCateg->setAccessibleName(TranslatedText("Group by"));
  ui.BtnSearch->setAccessibleName(TranslatedText("Search"));
  ui.EditSearch->setAccessibleName(TranslatedText("Search"));
  ui.ComboSearch->setAccessibleName(TranslatedText("Search in"));
  ui.EditFilter->setAccessibleName(TranslatedText("Filter"));
  ui.NiceSideBar1->setAccessibleName(TranslatedText("Movies"));
  ui.NiceGallery1->setAccessibleName(TranslatedText("Covers"));
}

void ShowOwner(TFormMainUi& ui, const std::string& owner) {
  // The "'s" stays English under every language.
  ui.Title1Text = owner.empty() ? TranslatedText("My Private") : ToQString(owner + "'s");
}

}  // namespace WindowLook
