#include "widgets/TGrid.h"

#include "widgets/Canvas.h"
#include "widgets/QtBridge.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr TColor kGridLine = clBtnFace;

Qt::Alignment TextAlignment(const TNiceColumn& column) {
  Qt::Alignment horizontal = column.HorzAlign == THorzAlign::haCenter ? Qt::AlignHCenter
                             : column.HorzAlign == THorzAlign::haRight ? Qt::AlignRight
                                                                        : Qt::AlignLeft;
  Qt::Alignment vertical = column.VertAlign == TVertAlign::vaTop      ? Qt::AlignTop
                           : column.VertAlign == TVertAlign::vaBottom ? Qt::AlignBottom
                                                                      : Qt::AlignVCenter;
  return horizontal | vertical;
}

}  // namespace

TNiceInplace::TNiceInplace(TGrid* grid) : QLineEdit(grid->viewport()), m_grid(grid) {
  setFrame(false);
  hide();
  QObject::connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
    TGridModel& model = m_grid->Model();
    model.UserWrite(model.CurrentCol(), model.CurrentRow(), FromQString(text));
  });
}

void TNiceInplace::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Up:
    case Qt::Key_Down:
      // What was typed is already in the cell; Escape does not undo it.
      hide();
      m_grid->setFocus();
      event->accept();
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}

void TNiceInplace::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  hide();
}

TGrid::TGrid(QWidget* parent) : QAbstractScrollArea(parent), m_editor(new TNiceInplace(this)) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  m_model.SetView(this);
}

QPoint TGrid::Offset() const { return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()); }

void TGrid::RedrawAll() {
  UpdateScrollBars();
  viewport()->update();
}

void TGrid::HideEditor() { m_editor->hide(); }

void TGrid::ScrollIntoView(int col, int row) {
  if (col < 0 || row < 0 || col >= m_model.ColCount()) return;
  UpdateScrollBars();
  TRect cell = m_model.CellRect(col, row);
  QScrollBar* vertical = verticalScrollBar();
  int visibleTop = vertical->value() + m_model.HeaderPixels();
  int visibleBottom = vertical->value() + viewport()->height();
  if (cell.Top < visibleTop) vertical->setValue(cell.Top - m_model.HeaderPixels());
  if (cell.Bottom > visibleBottom) vertical->setValue(cell.Bottom - viewport()->height());
  QScrollBar* horizontal = horizontalScrollBar();
  if (cell.Left - m_model.GutterPixels() < horizontal->value()) horizontal->setValue(cell.Left - m_model.GutterPixels());
  if (cell.Right > horizontal->value() + viewport()->width()) horizontal->setValue(cell.Right - viewport()->width());
}

void TGrid::UpdateScrollBars() {
  m_model.FitColumns(viewport()->width());
  verticalScrollBar()->setRange(0, std::max(0, m_model.ContentHeight() - viewport()->height()));
  verticalScrollBar()->setSingleStep(m_model.DefRowHeight);
  horizontalScrollBar()->setRange(0, std::max(0, m_model.ContentWidth() - viewport()->width()));
}

void TGrid::ShowEditor() {
  int col = m_model.CurrentCol(), row = m_model.CurrentRow();
  if (col < 0 || row < 0 || m_model.CellReadOnly(col)) return;
  const TNiceColumn& column = m_model.Columns()[static_cast<std::size_t>(col)];
  QFont font = ToQFont(column.Font);
  m_editor->setFont(font);
  TRect rect = m_model.EditorRect(col, row, QFontMetrics(font).boundingRect(QStringLiteral("gM")).height());
  QPoint offset = Offset();
  m_editor->setGeometry(ToQRect(rect.Left - offset.x(), rect.Top - offset.y(), rect.Right - offset.x(),
                                rect.Bottom - offset.y()));
  QPalette palette = m_editor->palette();
  palette.setColor(QPalette::Base, ToQColor(column.Color));
  m_editor->setPalette(palette);
  m_editor->setText(ToQString(m_model.Cells(col, row)));
  m_editor->show();
  m_editor->setFocus();
}

void TGrid::paintEvent(QPaintEvent*) {
  QPainter canvas(viewport());
  const QPoint offset = Offset();
  const int w = viewport()->width(), h = viewport()->height();
  FillRect(canvas, 0, 0, w, h, clWindow);
  canvas.translate(-offset.x(), 0);
  const int header = m_model.HeaderPixels();
  const int firstRow = std::max(0, offset.y() / m_model.DefRowHeight);
  const int lastRow = std::min(m_model.RowCount() - 1, (offset.y() + h) / m_model.DefRowHeight);
  for (int col = 0; col < m_model.ColCount(); ++col) {
    const TNiceColumn& column = m_model.Columns()[static_cast<std::size_t>(col)];
    if (!column.Visible) continue;
    QFont font = ToQFont(column.Font);
    for (int row = firstRow; row <= lastRow; ++row) {
      TRect cell = m_model.CellRect(col, row);
      int top = cell.Top - offset.y(), bottom = cell.Bottom - offset.y();
      bool current = col == m_model.CurrentCol() && row == m_model.CurrentRow();
      FillRect(canvas, cell.Left, top, cell.Right, bottom, current ? m_model.SelectionColor : column.Color);
      Line(canvas, cell.Right - 1, top, cell.Right - 1, bottom, kGridLine);
      Line(canvas, cell.Left, bottom - 1, cell.Right, bottom - 1, kGridLine);
      QRect textRect = ToQRect(cell.Left + 2, top, cell.Right - 3, bottom - 1);
      canvas.setFont(font);
      canvas.setPen(ToQColor(column.Font.Color));
      QString text = ToQString(m_model.Cells(col, row));
      canvas.drawText(textRect, static_cast<int>(TextAlignment(column)) | Qt::TextSingleLine, text);
      if (current && hasFocus() && !m_model.TypedText().empty()) {
        // The caret after what was typed.
        int x = textRect.left() + QFontMetrics(font).horizontalAdvance(text);
        Line(canvas, x, top + 3, x, bottom - 3, clWindowText);
      }
    }
    // Header cells on top of the scrolled rows.
    TRect title = m_model.CellRect(col, 0);
    FillRect(canvas, title.Left, 0, title.Right, header, clBtnFace);
    Line(canvas, title.Left, 0, title.Right, 0, clBtnHighlight);
    Line(canvas, title.Left, 0, title.Left, header, clBtnHighlight);
    Line(canvas, title.Right - 1, 0, title.Right - 1, header, clBtnShadow);
    Line(canvas, title.Left, header - 1, title.Right, header - 1, clBtnShadow);
    canvas.setFont(font);
    canvas.setPen(ToQColor(clWindowText));
    canvas.drawText(ToQRect(title.Left + 2, 0, title.Right - 3, header), Qt::AlignCenter | Qt::TextSingleLine,
                    ToQString(column.Title));
  }
  canvas.translate(offset.x(), 0);
  if (m_model.GutterPixels() > 0) {
    FillRect(canvas, 0, 0, m_model.GutterPixels(), h, clBtnFace);
    Line(canvas, m_model.GutterPixels() - 1, 0, m_model.GutterPixels() - 1, h, clBtnShadow);
  }
}

void TGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void TGrid::scrollContentsBy(int, int) {
  HideEditor();
  viewport()->update();
}

void TGrid::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  QPoint at = event->position().toPoint() + Offset();
  int col = 0, row = 0;
  if (!m_model.CellAt(at.x(), at.y(), col, row)) return;
  if (col == m_model.CurrentCol() && row == m_model.CurrentRow()) {
    ShowEditor();
  } else {
    m_model.SetCurrentCell(col, row);
  }
}

void TGrid::mouseMoveEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  bool header = at.y() < m_model.HeaderPixels();
  bool gutter = at.x() < m_model.GutterPixels();
  Qt::CursorShape shape = header && gutter ? Qt::SizeFDiagCursor
                          : header         ? Qt::SizeVerCursor
                          : gutter         ? Qt::SizeHorCursor
                                           : Qt::CrossCursor;
  viewport()->setCursor(shape);
}

void TGrid::keyPressEvent(QKeyEvent* event) {
  bool shift = event->modifiers() & Qt::ShiftModifier;
  bool control = event->modifiers() & Qt::ControlModifier;
  const TGridKey key = NavigationKeyOf(event->key());
  // A space is typed into the cell like any other character.
  if (key != TGridKey::Other && key != TGridKey::Space) {
    m_model.KeyDown(key, shift, control);
    event->accept();
    return;
  }
  if (!event->text().isEmpty() && !control) {
    for (char c : FromQString(event->text())) m_model.TypeChar(c);
    event->accept();
    return;
  }
  // Not the scroll area's own key handling: keys move the current cell here.
  QWidget::keyPressEvent(event);
}
