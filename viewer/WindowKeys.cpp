#include "viewer/WindowKeys.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

TWindowCommand WindowCommandOf(int key, Qt::KeyboardModifiers modifiers, const TKeyContext& context) {
  // The keypad flag says where a key is, not what it means.
  modifiers &= ~Qt::KeypadModifier;
  const bool plain = modifiers == Qt::NoModifier;
  switch (key) {
    case Qt::Key_F10:
      if (context.OnOpenButton && modifiers == Qt::ShiftModifier) return TWindowCommand::RecentCatalogs;
      return TWindowCommand::Settings;
    case Qt::Key_Menu:
      return context.OnOpenButton ? TWindowCommand::RecentCatalogs : TWindowCommand::None;
    case Qt::Key_F11:
      return plain ? TWindowCommand::ToggleFullScreen : TWindowCommand::None;
    case Qt::Key_Escape:
      if (!plain) return TWindowCommand::None;
      if (context.Filtering) return TWindowCommand::ClearFilter;
      return context.FullScreen ? TWindowCommand::LeaveFullScreen : TWindowCommand::None;
    case Qt::Key_O:
      return modifiers == Qt::ControlModifier ? TWindowCommand::Open : TWindowCommand::None;
    case Qt::Key_F:
      if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) return TWindowCommand::FindInCollection;
      return modifiers == Qt::ControlModifier ? TWindowCommand::FindText : TWindowCommand::None;
    case Qt::Key_R:
      return modifiers == Qt::ControlModifier ? TWindowCommand::RandomMovie : TWindowCommand::None;
    case Qt::Key_T:
      return modifiers == Qt::ControlModifier ? TWindowCommand::MovieTable : TWindowCommand::None;
    case Qt::Key_Q:
      return modifiers == Qt::ControlModifier ? TWindowCommand::Close : TWindowCommand::None;
    case Qt::Key_I:
      return modifiers == Qt::ControlModifier ? TWindowCommand::Statistics : TWindowCommand::None;
    case Qt::Key_P:
      return modifiers == Qt::ControlModifier ? TWindowCommand::Print : TWindowCommand::None;
    case Qt::Key_S:
      return modifiers == Qt::ControlModifier ? TWindowCommand::SavePdf : TWindowCommand::None;
    case Qt::Key_E:
      return modifiers == Qt::ControlModifier ? TWindowCommand::ExportCsv : TWindowCommand::None;
    case Qt::Key_Left:
      return modifiers == Qt::AltModifier ? TWindowCommand::Back : TWindowCommand::None;
    case Qt::Key_Home:
      return modifiers == Qt::AltModifier ? TWindowCommand::FirstPart : TWindowCommand::None;
    case Qt::Key_PageUp:
      return modifiers == Qt::AltModifier ? TWindowCommand::PreviousPart : TWindowCommand::None;
    case Qt::Key_PageDown:
      return modifiers == Qt::AltModifier ? TWindowCommand::NextPart : TWindowCommand::None;
    case Qt::Key_End:
      return modifiers == Qt::AltModifier ? TWindowCommand::LastPart : TWindowCommand::None;
    case Qt::Key_Backspace:
      return plain && !context.InTextField ? TWindowCommand::Back : TWindowCommand::None;
    default:
      return TWindowCommand::None;
  }
}

bool TakesText(const QWidget* widget) {
  if (qobject_cast<const QLineEdit*>(widget) != nullptr || qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
      qobject_cast<const QAbstractSpinBox*>(widget) != nullptr) {
    return true;
  }
  const auto* combo = qobject_cast<const QComboBox*>(widget);
  return combo != nullptr && combo->isEditable();
}
