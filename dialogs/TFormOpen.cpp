#include "dialogs/TFormOpen.h"

#include "dialogs/DialogLook.h"
#include "widgets/QtBridge.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace {

std::optional<std::string> RunFileDialog(QWidget* parent, const std::string& proposed) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilters(TFormOpen::Filters());
  // The dialog starts in the proposed file's folder, with its name.
  if (!proposed.empty()) dialog.selectFile(ToQString(proposed));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQString(dialog.selectedFiles().front());
}

}  // namespace

TFormOpen::TFormOpen(QWidget* parent) : QDialog(parent), ChooseFile(RunFileDialog) {
  setObjectName(QStringLiteral("FormOpen"));
  MakeFixedDialog(*this, 334, 143);
  EditFileName = new QLineEdit(this);
  EditFileName->setObjectName(QStringLiteral("EditFileName"));
  EditFileName->setReadOnly(true);
  EditFileName->setGeometry(16, 20, 271, 23);
  BrowseButton = new QToolButton(this);
  BrowseButton->setObjectName(QStringLiteral("BrowseButton"));
  BrowseButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  BrowseButton->setGeometry(293, 20, 25, 23);
  CheckAutoOpen = new QCheckBox(this);
  CheckAutoOpen->setObjectName(QStringLiteral("CheckAutoOpen"));
  CheckAutoOpen->setGeometry(16, 56, 302, 20);
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(8, 92, 318, 2);
  OkButton = new QPushButton(this);
  OkButton->setObjectName(QStringLiteral("OkButton"));
  OkButton->setGeometry(162, 104, 75, 25);
  OkButton->setDefault(true);
  CancelButton = new QPushButton(this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  CancelButton->setGeometry(243, 104, 75, 25);
  QObject::connect(BrowseButton, &QToolButton::clicked, this, [this] { BrowseForFile(); });
  QObject::connect(OkButton, &QPushButton::clicked, this, [this] { Confirm(); });
  QObject::connect(CancelButton, &QPushButton::clicked, this, [this] { Cancel(); });
}

QStringList TFormOpen::Filters() {
  return {QStringLiteral("ELK Movie Catalog Files (*.qzt)"), QStringLiteral("All Files (*)")};
}

std::string TFormOpen::FileName() const { return FromQString(EditFileName->text()); }
void TFormOpen::SetFileName(const std::string& fileName) { EditFileName->setText(ToQString(fileName)); }
bool TFormOpen::AutoOpen() const { return CheckAutoOpen->isChecked(); }
void TFormOpen::SetAutoOpen(bool autoOpen) { CheckAutoOpen->setChecked(autoOpen); }

bool TFormOpen::ShowModal() {
  exec();
  return m_ok;
}

void TFormOpen::showEvent(QShowEvent* event) {
  PrepareToShow();
  QDialog::showEvent(event);
}

void TFormOpen::PrepareToShow() {
  setWindowTitle(TranslatedText("Open Movie Catalog"));
  CheckAutoOpen->setText(TranslatedText("Open this file on every program start"));
  OkButton->setText(TranslatedText("&OK"));
  CancelButton->setText(TranslatedText("&Cancel"));
  m_ok = false;
}

void TFormOpen::BrowseForFile() {
  if (!ChooseFile) return;
  // It starts where the file shown is: the open catalog's, or the one
  // chosen last.
  if (std::optional<std::string> chosen = ChooseFile(this, FileName())) EditFileName->setText(ToQString(*chosen));
}

void TFormOpen::Confirm() {
  m_ok = true;
  accept();
}

void TFormOpen::Cancel() { reject(); }
