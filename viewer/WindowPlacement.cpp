#include "viewer/WindowPlacement.h"

#include "config/TViewerSettings.h"

#include <QWidget>
#include <algorithm>

namespace {

// The smallest window a stored size gives.
constexpr int kMinimumWidth = 200;
constexpr int kMinimumHeight = 150;

void MoveToStoredPlace(QWidget& window, const TViewerSettings& settings) {
  window.move(settings.Left, settings.Top);
  window.resize(std::max(settings.Width, kMinimumWidth), std::max(settings.Height, kMinimumHeight));
}

}  // namespace

namespace WindowPlacement {

void PlaceAtStart(QWidget& window, const TViewerSettings& settings) {
  MoveToStoredPlace(window, settings);
  if (settings.FullScreen) window.setWindowFlag(Qt::FramelessWindowHint, true);
  if (settings.FullScreen || settings.Maximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void ApplyFullScreen(QWidget& window, const TViewerSettings& settings) {
  if (settings.FullScreen) {
    window.setWindowFlag(Qt::FramelessWindowHint, true);
    window.showMaximized();
  } else {
    window.setWindowFlag(Qt::FramelessWindowHint, false);
    // Back as it was before: maximised, or in its own place.
    if (settings.Maximized) {
      window.showMaximized();
    } else {
      window.showNormal();
      MoveToStoredPlace(window, settings);
    }
  }
}

void SwitchFullScreen(QWidget& window, TViewerSettings& settings, bool wasFullScreen) {
  if (!wasFullScreen && settings.FullScreen) RecordNormal(window, settings);
  ApplyFullScreen(window, settings);
}

void Record(const QWidget& window, TViewerSettings& settings) {
  if (!settings.FullScreen) RecordNormal(window, settings);
}

void RecordNormal(const QWidget& window, TViewerSettings& settings) {
  settings.Maximized = window.isMaximized();
  if (settings.Maximized) return;
  settings.Left = window.x();
  settings.Top = window.y();
  settings.Width = window.width();
  settings.Height = window.height();
}

}  // namespace WindowPlacement
