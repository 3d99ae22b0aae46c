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
  TCoverStrip* CoverStrip = nullptr;
  QWidget* CaptionBar = nullptr;
  TCaptionButton* OpenButton = nullptr;
  TCaptionButton* EditButton = nullptr;
  TCaptionButton* SettingsButton = nullptr;
  TCaptionButton* PlayButton = nullptr;
  QWidget* SearchPanel = nullptr;
  TCaptionButton* BackButton = nullptr;
  QComboBox* SearchField = nullptr;
  QLineEdit* SearchBox = nullptr;
  TImageButton* SearchButton = nullptr;
  QLabel* OwnerTitle = nullptr;
  QLabel* CollectionTitle = nullptr;
  QWidget* SidePane = nullptr;
  QWidget* GroupBar = nullptr;
  QLabel* GroupLabel = nullptr;
  TImageButton* SideBarMenuButton = nullptr;
  QLineEdit* FilterBox = nullptr;
  TSideBar* SideBar = nullptr;
  QSplitter* Splitter = nullptr;
  QFrame* PageBorder = nullptr;
  TWebView* PageView = nullptr;
  QWidget* StatusBar = nullptr;
  QLabel* StatusCount = nullptr;
  QLabel* StatusDivider = nullptr;
  QLabel* StatusText = nullptr;
  QWidget* ClosePanel = nullptr;
  TCaptionButton* CloseButton = nullptr;
  QMenu* SideBarMenu = nullptr;

  // The whole texts of OwnerTitle, CollectionTitle and GroupLabel, which may show them
  // shortened.
  QString OwnerTitleText;
  QString CollectionTitleText;
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
