#pragma once

#include <QString>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QWidget;
class TEncartaButton;
class TImageButton;
class TNiceGallery;
class TNiceSideBar;
class TWebView;
struct TViewerSettings;

// The main window's components under their design names (also their Qt
// object names), made and placed by Setup as a form compiler would. The
// window wires them; the Place functions put the labels and buttons whose
// places follow their texts or the window's size.
struct TFormMainUi {
  TNiceGallery* NiceGallery1 = nullptr;
  QWidget* Panel1 = nullptr;
  TEncartaButton* BtnOpen = nullptr;
  TEncartaButton* BtnEdit = nullptr;
  TEncartaButton* BtnSettings = nullptr;
  TEncartaButton* BtnPlay = nullptr;
  QWidget* PanelSearch = nullptr;
  TEncartaButton* BtnBack = nullptr;
  QComboBox* ComboSearch = nullptr;
  QLineEdit* EditSearch = nullptr;
  TImageButton* BtnSearch = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QWidget* Panel2 = nullptr;
  QWidget* Panel3 = nullptr;
  QLabel* LabelGroup = nullptr;
  TImageButton* BtnCateg = nullptr;
  TNiceSideBar* NiceSideBar1 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QFrame* WebBrowserFrame = nullptr;
  TWebView* WebBrowser1 = nullptr;
  QWidget* Panel4 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label5 = nullptr;
  QWidget* PanelClose = nullptr;
  TEncartaButton* BtnClose = nullptr;
  QMenu* PopupMenu1 = nullptr;

  void Setup(QWidget* form);

  // The owner's name and "Movie Collection" at the right of the caption bar.
  void PlaceTitleLabels();
  // The count, the bar and the path from the left of the status line.
  void PlaceStatusLabels();
  // The caption above the side bar, shortened with "..." before its button
  // when it does not fit; the whole text is then its tooltip.
  void PlaceGroupCaption(const QString& caption);
  // The full-screen close panel in the window's top right corner.
  void PlaceClosePanel();
  // The caption bar's buttons sized to their captions, the visible ones
  // from the left, then the search panel.
  void LayoutToolbar(const TViewerSettings& settings);
};
