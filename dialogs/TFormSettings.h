#pragma once

#include "render/PathCheck.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QFileInfo;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;
class TGrid;
struct TViewerSettings;

// What the settings window needs of the main window: the settings it edits,
// the folder of the schemes and language files, and the two actions of its
// buttons. The main window shows the errors of both itself.
class TSettingsOwner {
 public:
  virtual ~TSettingsOwner() = default;
  virtual TViewerSettings& Settings() = 0;
  virtual std::string SettingsProgramFolder() const = 0;
  // Brings the running window in line with the settings, which were
  // `before` until the dialog changed them.
  virtual void ApplySettings(const TViewerSettings& before) = 0;
  // Writes "Config.ini"; false when that failed (the error has been shown).
  virtual bool SaveSettings() = 0;
  // How many linked pictures and video paths of the open catalog name files
  // that exist, as stored and with `rules`.
  virtual TPathCounts CountPaths(const TPathMap& rules) = 0;
};

// The modal window that edits every setting, both page templates and the
// user variables. Each showing fills the controls from the settings; only
// Apply and OK change them. Its texts are never translated.
class TFormSettings : public QDialog {
 public:
  TFormSettings(QWidget* parent, TSettingsOwner& owner);

  // Shows the window modally until it is closed.
  void ShowModal();

  QTabWidget* Tabs;
  QWidget* TabGeneral;
  QWidget* TabSecurity;
  QWidget* TabTemplate;
  QWidget* TabListTemplate;
  QWidget* TabUserVars;
  QWidget* TabPaths;
  QWidget* TabAbout;

  QComboBox* ComboLanguages;
  QComboBox* ComboSchemes;
  QComboBox* ComboTitle;
  QCheckBox* CheckFullScreen;
  QCheckBox* CheckShowTopImages;
  QCheckBox* CheckAutoscroll;
  QSpinBox* SpinMaxImageWidth;
  QSpinBox* SpinMaxImageHeight;
  QComboBox* ComboDate;
  QLineEdit* EditDateSample;
  QLineEdit* EditExternalPlayer;
  QToolButton* ChoosePlayerButton;
  QComboBox* ComboVideoField;
  QCheckBox* CheckLiveReload;
  QCheckBox* CheckThumbnailCache;

  QCheckBox* CheckPassword;
  QLabel* LabelPassword1;
  QLineEdit* EditPassword1;
  QLabel* LabelPassword2;
  QLineEdit* EditPassword2;
  QCheckBox* CheckOpenButton;
  QCheckBox* CheckEditButton;
  QCheckBox* CheckPlayButton;
  QCheckBox* CheckSettingsButton;
  QCheckBox* CheckSearch;

  QPushButton* InsertInfoButton;
  QPlainTextEdit* MemoTemplate;
  QPushButton* ListInsertInfoButton;
  QPlainTextEdit* MemoListTemplate;
  TGrid* GridUserVars;
  TGrid* GridPathMap;
  QPushButton* CheckPathsButton;
  QLabel* LabelPathCounts;
  QLabel* LabelAbout;

  QPushButton* ApplyButton;
  QPushButton* OkButton;
  QPushButton* CancelButton;
  QMenu* InsertInfoMenu;

  // 0 when the Insert Info menu serves MemoTemplate, 1 for MemoListTemplate.
  int InsertTarget() const { return m_insertTarget; }

  void MakeInsertInfoMenu();
  void PrepareToShow();
  void Apply();
  void Confirm();
  void Cancel();
  void EnablePasswordFields();
  void ShowDateSample();
  void ChoosePlayer();
  void OfferInsertInfo();
  void OfferListInsertInfo();
  // Counts the open catalog's paths with the rules in the grid.
  void CheckPaths();
  // The rules as the grid holds them (rows without a prefix left out).
  TPathMap GridPathRules() const;
  // Inserts a variable into the menu's target box, over the selection.
  void InsertVariable(const QString& variable);

  // The chooser of the player program and the error box; tests replace
  // them.
  std::function<std::optional<std::string>(QWidget* parent, const std::string& proposed)> ChooseFile;
  std::function<void(QWidget* parent, const QString& message)> ErrorBox;

  // The Insert Info menu: captions and what they insert, in menu order.
  static const std::vector<std::pair<const char*, const char*>>& InsertInfoItems();
  // Whether the player chooser's first filter offers a file: folders to
  // walk through and files the user may run.
  static bool OfferedAsProgram(const QFileInfo& file);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TSettingsOwner& m_owner;
  int m_insertTarget = 0;
};
