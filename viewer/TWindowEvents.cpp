#include "viewer/TWindowEvents.h"

#include "config/TimingLog.h"
#include "viewer/TViewerApplication.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

TWindowEvents::TWindowEvents(QWidget& window) : QObject(&window), m_window(window) {
  qApp->installEventFilter(this);
}

TWindowEvents::~TWindowEvents() { qApp->removeEventFilter(this); }

bool TWindowEvents::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      // When its page process ends, the engine sends keys to items it is
      // destroying: `watched` is looked up among the widgets, never asked.
      QWidget* widget = LiveWidget(watched);
      if (widget == nullptr || widget->window() != &m_window || !OnKey) break;
      const auto* key = static_cast<QKeyEvent*>(event);
      bool used = false;
      RunGuarded([&] { used = OnKey(key->key(), key->modifiers()); });
      return used;
    }
    case QEvent::Expose:
      if (!m_shownOnce && watched == m_window.windowHandle() && m_window.windowHandle()->isExposed()) {
        m_shownOnce = true;
        TimingLog::Write("window-shown");
      }
      break;
    case QEvent::ApplicationPaletteChange:
      if (watched == &m_window && OnPaletteChanged) RunGuarded(OnPaletteChanged);
      break;
    case QEvent::ScreenChangeInternal:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange:
#endif
      if (watched == &m_window && OnDensityChanged) RunGuarded(OnDensityChanged);
      break;
    default:
      break;
  }
  return false;
}
