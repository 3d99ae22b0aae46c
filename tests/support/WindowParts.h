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
class TCoverStrip;
class TImageButton;
class TSideBar;
class TWebView;

// The main window's components as a user's tools find them: by object name.
// The title labels may show their texts shortened; their accessible names
// hold them whole.
struct TWindowParts {
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
  QString OwnerTitleText;
  QString CollectionTitleText;
};

// Fails the calling test (through an exception) when a part is missing.
TWindowParts Parts(const QWidget& window);

// A click on the side bar's row (`item` of `section`) or on the strip's
// picture `index`, as the user's.
void ChooseInSideBar(QWidget& window, int section, int item);
void ClickStrip(QWidget& window, int index);
