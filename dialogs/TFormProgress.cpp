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
  MessageLabel = new QLabel(this);
  MessageLabel->setObjectName(QStringLiteral("MessageLabel"));
  MessageLabel->setGeometry(16, 12, 361, 16);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar->setGeometry(16, 36, 361, 20);
  ProgressBar->setTextVisible(false);
}

void TFormProgress::showEvent(QShowEvent* event) {
  PrepareToShow();
  QWidget::showEvent(event);
}

void TFormProgress::PrepareToShow() {
  setWindowTitle(TranslatedText("Loading ..."));
  MessageLabel->setText(TranslatedText("Loading catalog file ..."));
}

void TFormProgress::Start(int maximum, const QWidget* owner) {
  ProgressBar->setRange(0, maximum);
  ProgressBar->setValue(0);
  if (owner != nullptr && owner->isVisible()) {
    QRect frame = owner->frameGeometry();
    move(frame.center() - QPoint(width() / 2, height() / 2));
  }
  show();
}

void TFormProgress::SetPosition(int position) { ProgressBar->setValue(position); }

void TFormProgress::StepIt() {
  if (ProgressBar->value() < ProgressBar->maximum()) ProgressBar->setValue(ProgressBar->value() + 1);
}
