#pragma once

#include "widgets/TIntervalTimer.h"

#include <QDialog>
#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// The password prompt. It asks once, gives up after 30 seconds as if
// Cancel had been pressed, and hands back whether the user confirmed and
// what was typed; comparing with the stored password is the caller's task.
class TFormPassword : public QDialog {
 public:
  explicit TFormPassword(QWidget* parent = nullptr);

  static constexpr int kTimeoutMilliseconds = 30000;

  // Shows the window modally; true when the user confirmed.
  bool ShowModal();
  bool Confirmed() const { return m_confirmed; }
  // What was typed, as single-byte text.
  std::string Text() const;

  // Replaces the 30-second timer (tests fire it themselves).
  void SetTimer(std::unique_ptr<TIntervalTimer> timer);

  QLabel* PromptLabel;
  QLineEdit* PasswordBox;
  QPushButton* OkButton;
  QPushButton* CancelButton;

  void PrepareToShow();
  void Confirm();
  void Cancel();
  void TimedOut();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  std::unique_ptr<TIntervalTimer> m_timer;
  bool m_confirmed = false;
};
