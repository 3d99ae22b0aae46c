#pragma once

#include <QString>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QWidget;
class TCaptionButton;
class TImageButton;
class TCoverStrip;
class TSideBar;
class TWebView;
struct TViewerSettings;

// The main window's components under their design names (also their Qt
// object names), made and placed by Setup as a form compiler would. The
// window wires them; the Place functions put the labels and buttons whose
// places follow their texts or the window's size.
struct TFormMainUi {
  TCoverStrip* NiceGallery1 = nullptr;
  QWidget* Panel1 = nullptr;
  TCaptionButton* BtnOpen = nullptr;
  TCaptionButton* BtnEdit = nullptr;
  TCaptionButton* BtnSettings = nullptr;
  TCaptionButton* BtnPlay = nullptr;
  QWidget* PanelSearch = nullptr;
  TCaptionButton* BtnBack = nullptr;
  QComboBox* ComboSearch = nullptr;
  QLineEdit* EditSearch = nullptr;
  TImageButton* BtnSearch = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QWidget* Panel2 = nullptr;
  QWidget* Panel3 = nullptr;
  QLabel* LabelGroup = nullptr;
  TImageButton* BtnCateg = nullptr;
  QLineEdit* EditFilter = nullptr;
  TSideBar* NiceSideBar1 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QFrame* WebBrowserFrame = nullptr;
  TWebView* WebBrowser1 = nullptr;
  QWidget* Panel4 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label5 = nullptr;
  QWidget* PanelClose = nullptr;
  TCaptionButton* BtnClose = nullptr;
  QMenu* PopupMenu1 = nullptr;

  // The whole texts of Label1, Label2 and LabelGroup, which may show them
  // shortened.
  QString Title1Text;
  QString Title2Text;
  QString GroupCaptionText;
  // The search box's text before the user types (in the language shown).
  QString SearchStartText = QStringLiteral("Search ...");

  // Makes the components; the caption bar, the side bar's caption and the
  // status line place their contents again whenever their size changes.
  void Setup(QWidget* form);

  // The owner's name and "Movie Collection" at the right of the caption
  // bar. They give way to the buttons and the search box: shortened with
  // "...", or hidden where not even that fits.
  void PlaceTitleLabels();
  // The count, the bar and the path from the left of the status line.
  void PlaceStatusLabels();
  // The caption above the side bar, shortened with "..." before its button
  // when it does not fit; the whole text is then its tooltip.
  void PlaceGroupCaption();
  // The full-screen close panel in the window's top right corner.
  void PlaceClosePanel();
  // The caption bar's buttons sized to their captions, the visible ones
  // from the left, then the search panel, whose text box narrows (down to
  // a least width) where the bar is too narrow for all of it; then the
  // titles in the room left.
  void LayoutToolbar(const TViewerSettings& settings);
  // The same with the choices the settings made last (after a resize).
  void LayoutToolbar();

 private:
  void LayoutButtons();
  // Which parts of the caption bar show, as the settings said last.
  bool m_showOpen = true, m_showEdit = true, m_showSettings = true, m_showPlay = true, m_showSearch = true;
};
