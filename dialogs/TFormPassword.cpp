#include "dialogs/TFormPassword.h"

#include "dialogs/DialogLook.h"
#include "widgets/QtBridge.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormPassword::TFormPassword(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormPassword"));
  MakeFixedDialog(*this, 239, 107);
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(16, 12, 207, 16);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setEchoMode(QLineEdit::Password);
  Edit1->setGeometry(16, 32, 207, 21);
  BtnOk = new QPushButton(this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnOk->setGeometry(40, 68, 75, 25);
  BtnCancel = new QPushButton(this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  BtnCancel->setGeometry(124, 68, 75, 25);
  // Enter is taken by the edit box alone, so one key press confirms once.
  BtnOk->setAutoDefault(false);
  BtnCancel->setAutoDefault(false);
  QObject::connect(Edit1, &QLineEdit::returnPressed, this, [this] { BtnOk->click(); });
  QObject::connect(BtnOk, &QPushButton::clicked, this, [this] { BtnOkClick(); });
  QObject::connect(BtnCancel, &QPushButton::clicked, this, [this] { BtnCancelClick(); });
  SetTimer(std::make_unique<TQtIntervalTimer>());
}

void TFormPassword::SetTimer(std::unique_ptr<TIntervalTimer> timer) {
  m_timer = std::move(timer);
  m_timer->OnTimer = [this] { Timer1Timer(); };
}

bool TFormPassword::ShowModal() {
  exec();
  return m_confirmed;
}

std::string TFormPassword::Text() const { return FromQString(Edit1->text()); }

void TFormPassword::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TFormPassword::FormShow() {
  setWindowTitle(TranslatedText("Password Required"));
  Label1->setText(TranslatedText("Enter Password"));
  BtnOk->setText(TranslatedText("&OK"));
  BtnCancel->setText(TranslatedText("&Cancel"));
  m_confirmed = false;
  Edit1->clear();
  Edit1->setFocus();
  // The 30 seconds count from the showing; typing does not restart them.
  m_timer->Start(kTimeoutMilliseconds);
}

void TFormPassword::BtnOkClick() {
  m_confirmed = true;
  accept();
}

void TFormPassword::BtnCancelClick() {
  m_confirmed = false;
  reject();
}

void TFormPassword::Timer1Timer() { BtnCancel->click(); }

void TFormPassword::done(int result) {
  // However the window closes, also by its title bar.
  m_timer->Stop();
  QDialog::done(result);
}
