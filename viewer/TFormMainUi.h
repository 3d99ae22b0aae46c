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

// The main window's components, made and placed by Setup (their object
// names are their names here in lowerCamel). The window wires them;
// WindowPanels places the labels and buttons whose places follow their
// texts or the window's size.
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

  // Which parts of the caption bar show, as the settings said last.
  struct TShownParts {
    bool Open = true, Edit = true, Settings = true, Play = true, Search = true;
  } Shown;

  static constexpr int kButtonHeight = 25;
  static constexpr int kEditWidth = 150;
  static constexpr int kStatusBarHeight = 20;

  // Makes the components; the caption bar, the side bar's caption and the
  // status line place their contents again whenever their size changes.
  void Setup(QWidget* form);

 private:
  void MakeCaptionBar(QWidget* form);
  void MakeSidePane();
  void MakeStatusBar(QWidget* form);
  void MakeClosePanel(QWidget* form);
};
