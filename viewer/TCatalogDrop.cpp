#include "viewer/TCatalogDrop.h"

#include "viewer/TViewerApplication.h"
#include "widgets/QtBridge.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>
#include <optional>

namespace {

std::optional<std::string> DroppedFile(const QMimeData* data) {
  if (data == nullptr || data->urls().size() != 1 || !data->urls().front().isLocalFile()) return std::nullopt;
  return FromQString(data->urls().front().toLocalFile());
}

}  // namespace

TCatalogDrop::TCatalogDrop(QWidget& window) : QObject(&window), m_window(window) {
  setObjectName(QStringLiteral("CatalogDrop"));
  m_window.setAcceptDrops(true);
  // Before any control: the web view would take the file as a page.
  qApp->installEventFilter(this);
}

bool TCatalogDrop::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  // Looked up, as for keys: the object may be one the engine is destroying.
  QWidget* widget = LiveWidget(watched);
  if (widget == nullptr || widget->window() != &m_window) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const std::optional<std::string> file = DroppedFile(drop->mimeData());
  if (!file) return false;
  // Taken as a copy, whatever the source proposed: the viewer never takes
  // a file away from where it was dragged.
  if (!(drop->possibleActions() & Qt::CopyAction)) return false;
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop) {
    QTimer::singleShot(0, this, [this, path = *file] {
      if (OnDropped) RunGuarded([&] { OnDropped(path); });
    });
  }
  return true;
}
