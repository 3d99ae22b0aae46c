#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

// The window in which the user picks the catalog to show and whether it
// opens at every start. It checks nothing about the file; reading it is
// the main window's task.
class TFormOpen : public QDialog {
 public:
  explicit TFormOpen(QWidget* parent = nullptr);

  QLineEdit* EditFileName;
  QToolButton* BrowseButton;
  QCheckBox* CheckAutoOpen;
  QPushButton* OkButton;
  QPushButton* CancelButton;

  // The file and the check box the main window hands in and reads back.
  std::string FileName() const;
  void SetFileName(const std::string& fileName);
  bool AutoOpen() const;
  void SetAutoOpen(bool autoOpen);

  // Shows the window modally; true when OK was pressed.
  bool ShowModal();

  // Runs the file-open dialog with a proposed file name; nothing on cancel.
  // Tests replace it.
  std::function<std::optional<std::string>(QWidget* parent, const std::string& proposed)> ChooseFile;
  // The filter of the file-open dialog, catalogs first.
  static QStringList Filters();

  void PrepareToShow();
  void BrowseForFile();
  void Confirm();
  void Cancel();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool m_ok = false;
};
