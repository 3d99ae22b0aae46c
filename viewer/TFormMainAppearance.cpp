// The main window's look: colour scheme, captions in the chosen language
// and the places of the caption bar's buttons.

#include "viewer/TFormMain.h"

#include "config/PageFrame.h"
#include "config/SystemScheme.h"
#include "config/TIniFile.h"
#include "config/Translation.h"
#include "dialogs/DialogLook.h"
#include "viewer/Glyphs.h"
#include "viewer/TWebView.h"
#include "widgets/QtBridge.h"
#include "widgets/TEncartaButton.h"
#include "widgets/TImageButton.h"
#include "widgets/TNiceGallery.h"
#include "widgets/TNiceSideBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <filesystem>

namespace {

constexpr int kButtonTop = 10;
constexpr int kButtonHeight = 25;
constexpr int kSearchButtonSize = 22;

void SetTextColor(QWidget* widget, TColor color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, ToQColor(color));
  widget->setPalette(palette);
}

}  // namespace

TIniFile TFormMain::ReadSchemes(const std::string& scheme) const {
  TIniFile schemes((std::filesystem::path(m_paths.ProgramFolder) / kSchemesFileName).string());
  if (IsSystemScheme(scheme)) WriteSystemScheme(schemes, DesktopPalette(QApplication::palette()));
  return schemes;
}

void TFormMain::ApplyColorScheme(const std::string& scheme) {
  const TIniFile schemes = ReadSchemes(scheme);
  auto color = [&](const char* key, const char* defaultText) {
    return ParseSchemeColor(schemes, scheme, key, defaultText);
  };
  NiceGallery1->SetColor(color("GalleryColor", "#808080"));
  SetPanelColor(Panel1, color("TopPanelColor", "#808080"));
  SetTextColor(Label1, color("Title1Color", "#000000"));
  SetTextColor(Label2, color("Title2Color", "#FFFFFF"));

  BtnOpen->SetColor(color("ButtonColor", "#808080"));
  BtnOpen->ColorOver = color("ButtonHoverColor", "#AAAAAA");
  BtnOpen->ColorDown = color("ButtonClickColor", "#AAAAAA");
  BtnOpen->Font.Color = color("ButtonTextColor", "#FFFFFF");
  BtnOpen->ColorOverCaption = color("ButtonTextHoverColor", "#FFFFFF");
  BtnOpen->SetColorBorder(color("ButtonBorderColor", "#C0C0C0"));
  for (TEncartaButton* button : {BtnEdit, BtnSettings, BtnPlay, BtnBack}) {
    button->SetColor(BtnOpen->Color());
    button->ColorOver = BtnOpen->ColorOver;
    button->ColorDown = BtnOpen->ColorDown;
    button->Font.Color = BtnOpen->Font.Color;
    button->ColorOverCaption = BtnOpen->ColorOverCaption;
    button->SetColorBorder(BtnOpen->ColorBorder());
  }
  SetPanelColor(PanelSearch, BtnOpen->Color());

  TSideBarModel& bar = NiceSideBar1->Model();
  NiceSideBar1->SetColor(color("SideBarColor", "#808080"));
  bar.ItemStyle.NormalColor = color("SideBarSectionColor", "#808080");
  bar.ItemStyle.HoverColor = color("SideBarSectionHoverColor", "#808080");
  bar.ItemStyle.SelectedColor = color("SideBarSectionSelectedColor", "#AAAAAA");
  bar.ItemStyle.NormalFont.Color = color("SideBarSectionTextColor", "#FFFFFF");
  bar.ItemStyle.HoverFont.Color = color("SideBarSectionTextHoverColor", "#FFFF00");
  bar.ItemStyle.SelectedFont.Color = color("SideBarSectionTextSelectedColor", "#000000");
  bar.ItemStyle.LineColor = color("SideBarSectionLineColor", "#FFFFFF");
  bar.SubItemStyle.NormalColor = color("SideBarItemColor", "#808080");
  bar.SubItemStyle.HoverColor = color("SideBarItemHoverColor", "#808080");
  bar.SubItemStyle.SelectedColor = color("SideBarItemSelectedColor", "#AAAAAA");
  bar.SubItemStyle.NormalFont.Color = color("SideBarItemTextColor", "#FFFFFF");
  bar.SubItemStyle.HoverFont.Color = color("SideBarItemTextHoverColor", "#FFFF00");
  bar.SubItemStyle.SelectedFont.Color = color("SideBarItemTextSelectedColor", "#000000");
  bar.SubItemStyle.LineColor = color("SideBarItemLineColor", "#C0C0C0");
  bar.Bullets.NormalColor = bar.Bullets.NormalPenColor = color("SideBarBulletColor", "#FFFFFF");
  bar.Bullets.HoverColor = bar.Bullets.HoverPenColor = color("SideBarBulletHoverColor", "#FFFF00");
  bar.Bullets.SelectedColor = bar.Bullets.SelectedPenColor = color("SideBarBulletSelectedColor", "#000000");
  bar.Scrollers.NormalColor = color("SideBarScrollerColor", "#000000");
  bar.Scrollers.NormalArrowColor = color("SideBarScrollerArrowColor", "#FFFFFF");
  bar.Scrollers.HoverColor = color("SideBarScrollerHoverColor", "#FFFFFF");
  bar.Scrollers.HoverArrowColor = color("SideBarScrollerArrowHoverColor", "#000000");
  NiceSideBar1->RedrawAll();
  Splitter1->setStyleSheet(QStringLiteral("QSplitter::handle { background-color: %1; }")
                               .arg(ToQColor(color("SplitterColor", "#FFFFFF")).name()));

  // The panels around the side bar and the status line have no keys of
  // their own: they follow the side bar and the caption bar.
  SetPanelColor(Panel2, NiceSideBar1->Color());
  SetPanelColor(Panel3, NiceSideBar1->Color());
  SetTextColor(LabelGroup, bar.ItemStyle.NormalFont.Color);
  SetPanelColor(Panel4, color("TopPanelColor", "#808080"));
  for (QLabel* label : {Label4, Label6, Label5}) SetTextColor(label, color("Title2Color", "#FFFFFF"));
  RefreshGlyphs();

  m_frame = BuildPageFrame(schemes, scheme);
}

void TFormMain::RefreshGlyphs() {
  // Drawn at the screen's pixel ratio, so they stay sharp on a dense one.
  const double ratio = devicePixelRatioF();
  m_glyphRatio = ratio;
  const QColor text = ToQColor(BtnOpen->Font.Color);
  BtnOpen->SetGlyph(OpenGlyph(text, ratio));
  BtnEdit->SetGlyph(EditGlyph(text, ratio));
  BtnSettings->SetGlyph(SettingsGlyph(text, ratio));
  BtnPlay->SetGlyph(PlayGlyph(text, ratio));
  BtnBack->SetGlyph(BackGlyph(text, ratio));
  for (TEncartaButton* button : {BtnOpen, BtnEdit, BtnSettings, BtnPlay, BtnBack}) button->update();

  const QColor ground = ToQColor(NiceSideBar1->Color());
  BtnCateg->SetBitmap(CategoryArrow(ToQColor(NiceSideBar1->Model().ItemStyle.NormalFont.Color), ground, ratio));
  BtnCateg->SetBitmapOver(CategoryArrow(ToQColor(NiceSideBar1->Model().ItemStyle.HoverFont.Color), ground, ratio));
  BtnCateg->SetBitmapUp(CategoryArrow(ToQColor(NiceSideBar1->Model().ItemStyle.HoverFont.Color), ground, ratio));
  PlaceGroupCaption();

  const QColor searchGround = ToQColor(BtnOpen->Color());
  BtnSearch->SetBitmap(SearchPicture(text, searchGround, kSearchButtonSize, ratio));
  BtnSearch->SetBitmapOver(SearchPicture(ToQColor(BtnOpen->ColorOverCaption), ToQColor(BtnOpen->ColorOver), kSearchButtonSize, ratio));
  BtnSearch->SetBitmapDown(SearchPicture(ToQColor(BtnOpen->ColorOverCaption), ToQColor(BtnOpen->ColorDown), kSearchButtonSize, ratio));
}

void TFormMain::LanguageStep() {
  const std::string path = (std::filesystem::path(m_paths.ProgramFolder) / (m_settings.Language + ".lng")).string();
  // Rebuilding the side bar forgets the user's place in it (the open
  // sections, the selection, the scroll position); it is needed only when
  // its headings would read differently: when the file, or its bytes, did.
  std::string language;
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) {
    const TIniFile file(path);
    LoadLanguage(file);
    language = path + '\n' + file.Text();
  } else {
    LoadLanguage(path);  // none: English
  }
  const bool changed = !m_sideBarLanguageKnown || language != m_sideBarLanguage;
  m_sideBarLanguage = std::move(language);
  m_sideBarLanguageKnown = true;
  ApplyLanguage(changed);
}

void TFormMain::SetTitleLabel() {
  const std::string& owner = m_catalog.Properties().OwnerName;
  // The "'s" stays English under every language.
  Label1->setText(owner.empty() ? TranslatedText("My Private") : ToQString(owner + "'s"));
  PlaceTitleLabels();
}

void TFormMain::SetCountLabel() {
  const int count = m_catalog.Count();
  if (count == 0) {
    Label4->setText(TranslatedText("No Movie"));
  } else if (count == 1) {
    Label4->setText(TranslatedText("1 Movie"));
  } else {
    Label4->setText(QString::number(count) + QLatin1Char(' ') + TranslatedText("Movies"));
  }
  PlaceStatusLabels();
}

void TFormMain::ApplyLanguage(bool rebuildSideBar) {
  BtnClose->SetCaption(Translate("Close"));
  BtnOpen->SetCaption(" " + Translate("Open"));
  BtnEdit->SetCaption(" " + Translate("Edit"));
  BtnSettings->SetCaption(" " + Translate("Settings"));
  BtnPlay->SetCaption(" " + Translate("Play"));
  BtnBack->SetCaption(" " + Translate("Back"));
  SetTitleLabel();
  Label2->setText(TranslatedText("Movie Collection"));
  PlaceTitleLabels();
  SetCountLabel();
  Label5->setText(m_catalog.Count() == 0 ? TranslatedText("Open a catalog file first ...")
                                         : ToQString(m_settings.CatalogFile));
  PlaceStatusLabels();

  ComboSearch->clear();
  for (const char* field : {"Title", "Actors", "Director", "Producer", "Description", "Comments", "Original Title",
                            "Translated Title"}) {
    ComboSearch->addItem(TranslatedText(field));
  }
  ComboSearch->setCurrentIndex(0);

  // Screen readers name the picture-only controls by these.
  BtnCateg->setAccessibleName(TranslatedText("Group by"));
  BtnSearch->setAccessibleName(TranslatedText("Search"));
  EditSearch->setAccessibleName(TranslatedText("Search"));
  ComboSearch->setAccessibleName(TranslatedText("Search in"));
  NiceSideBar1->setAccessibleName(TranslatedText("Movies"));
  NiceGallery1->setAccessibleName(TranslatedText("Covers"));

  if (rebuildSideBar) RefreshSideBar();

  m_groupMenu->setTitle(TranslatedText(m_sortMenus.GroupBy.Caption));
  m_orderMenu->setTitle(TranslatedText(m_sortMenus.OrderBy.Caption));
  for (QMenu* others : {m_groupOthers, m_orderOthers}) {
    if (others != nullptr) others->setTitle(TranslatedText("Others"));
  }
  for (std::size_t i = 0; i < m_groupActions.size(); ++i) {
    m_groupActions[i]->setText(TranslatedText(m_sortMenus.GroupBy.Entries[i].Caption));
  }
  for (std::size_t i = 0; i < m_orderActions.size(); ++i) {
    m_orderActions[i]->setText(TranslatedText(m_sortMenus.OrderBy.Entries[i].Caption));
  }
}

void TFormMain::LayoutToolbar() {
  const QFontMetrics metrics(ToQFont(BtnOpen->Font));
  for (TEncartaButton* button : {BtnOpen, BtnEdit, BtnSettings, BtnPlay, BtnBack}) {
    button->resize(metrics.horizontalAdvance(ToQString(button->Caption())) + 40, kButtonHeight);
  }
  int x = 5;
  BtnOpen->setVisible(m_settings.ShowOpenButton);
  if (m_settings.ShowOpenButton) {
    BtnOpen->move(5, kButtonTop);
    x = BtnOpen->width() + 10;
  }
  const std::pair<TEncartaButton*, bool> others[] = {{BtnEdit, m_settings.ShowEditButton},
                                                      {BtnSettings, m_settings.ShowSettingsButton},
                                                      {BtnPlay, m_settings.ShowPlayButton}};
  for (const auto& [button, visible] : others) {
    button->setVisible(visible);
    if (!visible) continue;
    button->move(x, kButtonTop);
    x += button->width() + 5;
  }
  PanelSearch->setVisible(m_settings.ShowSearch);
  if (!m_settings.ShowSearch) return;
  PanelSearch->move(x, kButtonTop);
  BtnBack->move(0, 0);
  const int comboLeft = BtnBack->width() + 5;
  const int editLeft = BtnBack->width() + ComboSearch->width() + 10;
  const int searchLeft = editLeft + EditSearch->width() + 5;
  ComboSearch->move(comboLeft, (kButtonHeight - ComboSearch->height()) / 2);
  EditSearch->move(editLeft, (kButtonHeight - EditSearch->height()) / 2);
  BtnSearch->move(searchLeft, (kButtonHeight - BtnSearch->height()) / 2);
  PanelSearch->resize(searchLeft + BtnSearch->width() + 5, kButtonHeight);
}
