#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The window that counts while the picture strip is filled. The main window
// shows, advances and hides it; closing it only hides it.
class TFormProgress : public QWidget {
 public:
  explicit TFormProgress(QWidget* parent = nullptr);

  QLabel* MessageLabel;
  QProgressBar* ProgressBar;

  // Shows the window with the bar at 0 of `maximum`, centred on `owner`.
  void Start(int maximum, const QWidget* owner);
  void StepIt();
  void SetPosition(int position);
  void PrepareToShow();

 protected:
  void showEvent(QShowEvent* event) override;
};
