#include "dialogs/TFormPassword.h"

#include "dialogs/DialogLook.h"
#include "widgets/QtBridge.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormPassword::TFormPassword(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormPassword"));
  MakeFixedDialog(*this, 239, 107);
  PromptLabel = new QLabel(this);
  PromptLabel->setObjectName(QStringLiteral("PromptLabel"));
  PromptLabel->setGeometry(16, 12, 207, 16);
  PasswordBox = new QLineEdit(this);
  PasswordBox->setObjectName(QStringLiteral("PasswordBox"));
  PasswordBox->setEchoMode(QLineEdit::Password);
  PasswordBox->setGeometry(16, 32, 207, 21);
  OkButton = new QPushButton(this);
  OkButton->setObjectName(QStringLiteral("OkButton"));
  OkButton->setGeometry(40, 68, 75, 25);
  CancelButton = new QPushButton(this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  CancelButton->setGeometry(124, 68, 75, 25);
  // Enter is taken by the edit box alone, so one key press confirms once.
  OkButton->setAutoDefault(false);
  CancelButton->setAutoDefault(false);
  QObject::connect(PasswordBox, &QLineEdit::returnPressed, this, [this] { OkButton->click(); });
  QObject::connect(OkButton, &QPushButton::clicked, this, [this] { Confirm(); });
  QObject::connect(CancelButton, &QPushButton::clicked, this, [this] { Cancel(); });
  SetTimer(std::make_unique<TQtIntervalTimer>());
}

void TFormPassword::SetTimer(std::unique_ptr<TIntervalTimer> timer) {
  m_timer = std::move(timer);
  m_timer->OnTimer = [this] { TimedOut(); };
}

bool TFormPassword::ShowModal() {
  exec();
  return m_confirmed;
}

std::string TFormPassword::Text() const { return FromQString(PasswordBox->text()); }

void TFormPassword::showEvent(QShowEvent* event) {
  PrepareToShow();
  QDialog::showEvent(event);
}

void TFormPassword::PrepareToShow() {
  setWindowTitle(TranslatedText("Password Required"));
  PromptLabel->setText(TranslatedText("Enter Password"));
  OkButton->setText(TranslatedText("&OK"));
  CancelButton->setText(TranslatedText("&Cancel"));
  m_confirmed = false;
  PasswordBox->clear();
  PasswordBox->setFocus();
  // The 30 seconds count from the showing; typing does not restart them.
  m_timer->Start(kTimeoutMilliseconds);
}

void TFormPassword::Confirm() {
  m_confirmed = true;
  accept();
}

void TFormPassword::Cancel() {
  m_confirmed = false;
  reject();
}

void TFormPassword::TimedOut() { CancelButton->click(); }

void TFormPassword::done(int result) {
  // However the window closes, also by its title bar.
  m_timer->Stop();
  QDialog::done(result);
}
