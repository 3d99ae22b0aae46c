#include "dialogs/TFormProgress.h"

#include "dialogs/DialogLook.h"

#include <QLabel>
#include <QProgressBar>

TFormProgress::TFormProgress(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FormProgress"));
  MakeFixedDialog(*this, 393, 81);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  // Closing it only hides it; it never ends the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(16, 12, 361, 16);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setGeometry(16, 36, 361, 20);
  ProgressBar1->setTextVisible(false);
}

void TFormProgress::showEvent(QShowEvent* event) {
  FormShow();
  QWidget::showEvent(event);
}

void TFormProgress::FormShow() {
  setWindowTitle(TranslatedText("Loading ..."));
  Label1->setText(TranslatedText("Loading catalog file ..."));
}

void TFormProgress::Start(int maximum, const QWidget* owner) {
  ProgressBar1->setRange(0, maximum);
  ProgressBar1->setValue(0);
  if (owner != nullptr && owner->isVisible()) {
    QRect frame = owner->frameGeometry();
    move(frame.center() - QPoint(width() / 2, height() / 2));
  }
  show();
}

void TFormProgress::SetPosition(int position) { ProgressBar1->setValue(position); }

void TFormProgress::StepIt() {
  if (ProgressBar1->value() < ProgressBar1->maximum()) ProgressBar1->setValue(ProgressBar1->value() + 1);
}
