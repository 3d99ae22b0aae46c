#include "widgets/TSideBar.h"

#include "widgets/Accessibility.h"
#include "widgets/Canvas.h"
#include "widgets/QtBridge.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

struct TLook {
  TColor Brush;
  const TFontSpec* Font;
};

TLook ChooseLook(const TSideBarItemStyle& style, TSideBarStates states) {
  bool selected = (states & ssSelected) != 0;
  if (states & ssDisabled) return {style.NormalColor, &style.DisabledFont};
  if (states & ssHover) return {selected ? style.SelectedColor : style.HoverColor, &style.HoverFont};
  return selected ? TLook{style.SelectedColor, &style.SelectedFont} : TLook{style.NormalColor, &style.NormalFont};
}

int StartX(TSideBarAlign alignment, int left, int right, int contentWidth) {
  switch (alignment) {
    case TSideBarAlign::saCenter: return left + (right - left - contentWidth) / 2;
    case TSideBarAlign::saRight: return right - contentWidth;
    case TSideBarAlign::saLeft: break;
  }
  return left;
}

}  // namespace

TSideBar::TSideBar(QWidget* parent) : QWidget(parent) {
  InstallAccessibility();
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  resize(200, height());
  m_model.SetView(this);
  m_model.OnSelect = [this](TSideBarModel&, int index, int subIndex, const std::string& caption) {
    if (OnSelect) OnSelect(*this, index, subIndex, caption);
  };
  m_model.OnHover = [this](TSideBarModel&, int index, int subIndex, const std::string& caption) {
    if (OnHover) OnHover(*this, index, subIndex, caption);
  };
}

void TSideBar::SetColor(TColor color) {
  if (color == m_model.Color) return;
  m_model.Color = color;
  update();
}

QRect TSideBar::RowPaintRect(int rowOrCode) const {
  if (rowOrCode == UpScrollerCode) return ToQRect(m_model.UpRect());
  if (rowOrCode == DownScrollerCode) return ToQRect(m_model.DownRect());
  if (rowOrCode < 0 || rowOrCode >= static_cast<int>(m_model.Rows().size())) return {};
  TRect r = m_model.Rows()[static_cast<std::size_t>(rowOrCode)].Rect;
  // The row's bottom line and the indent band reach into the gap below it.
  return ToQRect(0, r.Top - m_model.ScrollOffset(), width(), r.Bottom - m_model.ScrollOffset() + 1);
}

void TSideBar::RedrawRow(int rowOrCode) {
  QRect rect = RowPaintRect(rowOrCode);
  if (!rect.isEmpty()) update(rect);
}

void TSideBar::RedrawAll() { update(); }

void TSideBar::paintEvent(QPaintEvent* event) {
  if (m_model.Updating()) return;
  QPainter canvas(this);
  const int cw = width(), ch = height(), margin = m_model.Margin();
  if (margin > 0) {
    FillRect(canvas, 0, 0, margin, ch, m_model.Color);
    FillRect(canvas, cw - margin, 0, cw, ch, m_model.Color);
  }
  if (!m_model.Rows().empty() && m_model.LastIndex() >= 0) {
    for (int row = m_model.TopIndex(); row <= m_model.LastIndex(); ++row) {
      if (RowPaintRect(row).intersects(event->rect())) DrawRow(canvas, row);
    }
  }
  int y0 = m_model.NonItemTop();
  if (y0 < ch) {
    QRect rc = ToQRect(0, y0, cw, ch);
    if (OnCustomDrawNonItem) {
      OnCustomDrawNonItem(*this, canvas, rc);
    } else {
      DrawNonItem(canvas, rc);
    }
  }
  DrawRow(canvas, UpScrollerCode);
  DrawRow(canvas, DownScrollerCode);
}

void TSideBar::DrawRow(QPainter& canvas, int rowOrCode) {
  auto drawScroller = [&](bool up) {
    if (up ? !m_model.CanScrollUp() : !m_model.CanScrollDown()) return;
    QRect rc = ToQRect(up ? m_model.UpRect() : m_model.DownRect());
    bool hover = m_model.HoverRow() == (up ? UpScrollerCode : DownScrollerCode);
    if (OnCustomDrawScroller) {
      OnCustomDrawScroller(*this, canvas, rc, up, hover);
    } else {
      DrawScroller(canvas, rc, up, hover);
    }
  };
  if (rowOrCode == UpScrollerCode || rowOrCode == DownScrollerCode) {
    drawScroller(rowOrCode == UpScrollerCode);
    return;
  }
  if (rowOrCode < 0 || rowOrCode >= static_cast<int>(m_model.Rows().size())) return;
  const TSideBarRow& row = m_model.Rows()[static_cast<std::size_t>(rowOrCode)];
  QRect rc = ToQRect(row.Rect.Left, row.Rect.Top - m_model.ScrollOffset(), row.Rect.Right,
                     row.Rect.Bottom - m_model.ScrollOffset());
  TSideBarStates states = m_model.RowStates(rowOrCode);
  if (row.IsSubItem) {
    if (OnCustomDrawSubItem) {
      OnCustomDrawSubItem(*this, canvas, rc, row.Caption, states);
    } else {
      DrawSubItem(canvas, rc, row.Caption, states);
    }
  } else {
    if (OnCustomDrawItem) {
      OnCustomDrawItem(*this, canvas, rc, row.Caption, states);
    } else {
      DrawItem(canvas, rc, row.Caption, states);
    }
  }
  // The keyboard's place, shown while the side bar has the focus.
  if (hasFocus() && rowOrCode == m_model.HoverRow()) DrawFocusMark(canvas, rc, row.IsSubItem ? m_model.SubItemStyle : m_model.ItemStyle);
  // The scroll buttons always stay on top of the rows.
  if (m_model.CanScrollUp() && rc.intersects(ToQRect(m_model.UpRect()))) drawScroller(true);
  if (m_model.CanScrollDown() && rc.intersects(ToQRect(m_model.DownRect()))) drawScroller(false);
}

void TSideBar::DrawItem(QPainter& canvas, const QRect& rc, const std::string& str, TSideBarStates states) {
  const TSideBarItemStyle& style = m_model.ItemStyle;
  const int left = rc.left(), top = rc.top(), right = rc.left() + rc.width(), bottom = rc.top() + rc.height();
  const int bodyTop = top + m_model.GroupSeparator();
  FillRect(canvas, left, top, right, bodyTop, m_model.Color);
  TLook look = ChooseLook(style, states);
  FillRect(canvas, left, bodyTop, right, bottom, look.Brush);
  Line(canvas, left, bottom - 1, right, bottom - 1, style.LineColor);
  Line(canvas, left, bottom, right, bottom, style.LineColor);

  const int areaLeft = left + 8, areaRight = right - 8;
  QFont font = ToQFont(*look.Font);
  QFontMetrics metrics(font);
  QString text = ToQString(str);
  const int x = StartX(m_model.Alignment(), areaLeft, areaRight, metrics.horizontalAdvance(text));
  int textY = bodyTop + (bottom - bodyTop - metrics.height()) / 2;
  DrawClippedText(canvas, x, textY, ToQRect(areaLeft, bodyTop, areaRight, bottom), text, font, look.Font->Color);
}

void TSideBar::DrawSubItem(QPainter& canvas, const QRect& rc, const std::string& str, TSideBarStates states) {
  const TSideBarItemStyle& style = m_model.SubItemStyle;
  const int left = rc.left(), top = rc.top(), right = rc.left() + rc.width(), bottom = rc.top() + rc.height();
  const int indent = m_model.Indent();
  int areaLeft = left, areaRight = right;
  switch (m_model.Alignment()) {
    case TSideBarAlign::saLeft:
      FillRect(canvas, left, top, left + indent, bottom + 1, m_model.Color);
      areaLeft = left + indent;
      break;
    case TSideBarAlign::saRight:
      FillRect(canvas, right - indent, top, right, bottom + 1, m_model.Color);
      areaRight = right - indent;
      break;
    case TSideBarAlign::saCenter:
      break;
  }
  TLook look = ChooseLook(style, states);
  FillRect(canvas, areaLeft, top, areaRight, bottom, look.Brush);
  Line(canvas, areaLeft, bottom, areaRight, bottom, style.LineColor);

  areaLeft += 8;
  areaRight -= 8;
  QFont font = ToQFont(*look.Font);
  QFontMetrics metrics(font);
  QString text = ToQString(str);
  const TSideBarBulletStyle& bullets = m_model.Bullets;
  int contentWidth = metrics.horizontalAdvance(text);
  if (bullets.Visible) contentWidth += bullets.Size + 7;
  int x = StartX(m_model.Alignment(), areaLeft, areaRight, contentWidth);
  if (bullets.Visible) {
    const int size = bullets.Size;
    int y = top + (m_model.SubItemHeight() - size) / 2;
    int boxLeft = m_model.Alignment() == TSideBarAlign::saRight ? areaRight - size : x;
    if (m_model.Alignment() != TSideBarAlign::saRight) x += size + 7;
    TColor fill, pen;
    if (states & ssDisabled) {
      fill = bullets.DisabledColor;
      pen = bullets.DisabledPenColor;
    } else if (states & ssHover) {
      fill = bullets.HoverColor;
      pen = bullets.HoverPenColor;
    } else if (states & ssSelected) {
      fill = bullets.SelectedColor;
      pen = bullets.SelectedPenColor;
    } else {
      fill = bullets.NormalColor;
      pen = bullets.NormalPenColor;
    }
    switch (bullets.Kind) {
      case TSideBarBullet::sbRound:
        Ellipse(canvas, boxLeft, y, boxLeft + size, y + size, fill, pen);
        break;
      case TSideBarBullet::sbRectangle:
        Rectangle(canvas, boxLeft, y, boxLeft + size, y + size, fill, pen);
        break;
      case TSideBarBullet::sbDiamond: {
        int h = size / 2;
        Polygon(canvas, {QPoint(boxLeft + h, y), QPoint(boxLeft, y + h), QPoint(boxLeft + h, y + 2 * h),
                         QPoint(boxLeft + 2 * h, y + h)},
                fill, pen);
        break;
      }
    }
  }
  int textY = top + (bottom - top - metrics.height()) / 2;
  DrawClippedText(canvas, x, textY, ToQRect(areaLeft, top, areaRight, bottom), text, font, look.Font->Color);
}

void TSideBar::DrawNonItem(QPainter& canvas, const QRect& rc) {
  FillRect(canvas, rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height(), m_model.Color);
}

void TSideBar::DrawScroller(QPainter& canvas, const QRect& rc, bool up, bool hover) {
  const TSideBarScrollerStyle& style = m_model.Scrollers;
  const int left = rc.left(), top = rc.top(), right = rc.left() + rc.width(), bottom = rc.top() + rc.height();
  TColor body = hover ? style.HoverColor : style.NormalColor;
  RoundRect(canvas, left, top, right, bottom, 3, body, body);
  TColor arrow = hover ? style.HoverArrowColor : style.NormalArrowColor;
  if (up) {
    Polygon(canvas, {QPoint(left + 3, bottom - 5), QPoint(right - 4, bottom - 5), QPoint(left + 5, top + 3)}, arrow,
            arrow);
  } else {
    Polygon(canvas, {QPoint(left + 3, top + 4), QPoint(right - 4, top + 4), QPoint(left + 5, bottom - 4)}, arrow,
            arrow);
  }
}

void TSideBar::resizeEvent(QResizeEvent*) { m_model.SetClientSize(width(), height()); }

void TSideBar::UpdateCursor() {
  if (m_model.HandPointCursor) setCursor(m_model.PointerOverRow() ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TSideBar::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  QPoint at = event->position().toPoint();
  m_model.MouseDown(at.x(), at.y());
  event->accept();
}

void TSideBar::mouseMoveEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  m_model.MouseMove(at.x(), at.y());
  UpdateCursor();
  event->accept();
}

void TSideBar::leaveEvent(QEvent* event) {
  m_model.MouseLeave();
  if (m_model.HandPointCursor) setCursor(Qt::ArrowCursor);
  QWidget::leaveEvent(event);
}

void TSideBar::wheelEvent(QWheelEvent* event) {
  int delta = event->angleDelta().y();
  if (delta != 0 && m_model.Wheel(delta)) {
    event->accept();
  } else {
    QWidget::wheelEvent(event);
  }
}

void TSideBar::DrawFocusMark(QPainter& canvas, const QRect& rc, const TSideBarItemStyle& style) {
  canvas.save();
  QPen pen(ToQColor(style.HoverFont.Color), 1, Qt::DotLine);
  canvas.setPen(pen);
  canvas.setBrush(Qt::NoBrush);
  canvas.drawRect(rc.adjusted(1, 1, -2, -2));
  canvas.restore();
}

void TSideBar::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  RedrawRow(m_model.HoverRow());
}

void TSideBar::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  RedrawRow(m_model.HoverRow());
}

void TSideBar::keyPressEvent(QKeyEvent* event) {
  // Letters and digits typed without Ctrl or Alt find rows by their start.
  const QString text = event->text();
  if (text.size() == 1 && text[0].isPrint() && !text[0].isSpace() &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    if (!m_typeClock.isValid()) m_typeClock.start();
    const std::string typed = FromQString(text);
    if (!typed.empty()) m_model.TypeAhead(typed[0], m_typeClock.elapsed());
    event->accept();
    return;
  }
  const TSideBarKey key = NavigationKeyOf(event->key());
  bool passOn = m_model.KeyDown(key);
  bool arrow = key == TSideBarKey::Up || key == TSideBarKey::Down || key == TSideBarKey::Left ||
               key == TSideBarKey::Right || key == TSideBarKey::Home || key == TSideBarKey::End;
  // The arrow keys belong to the side bar; they never move the focus away.
  if (passOn && !arrow) {
    QWidget::keyPressEvent(event);
  } else {
    event->accept();
  }
}

void SetMainWindowLook(TSideBar& bar) {
  constexpr TColor kGrey = RgbColor(0x80, 0x80, 0x80);
  constexpr TColor kLightGrey = RgbColor(0xAA, 0xAA, 0xAA);
  TSideBarModel& m = bar.Model();
  bar.SetColor(kGrey);
  m.SetAlwaysExpand(false);
  for (TSideBarItemStyle* style : {&m.ItemStyle, &m.SubItemStyle}) {
    bool bold = style == &m.ItemStyle;
    style->NormalFont = {"Arial", -11, bold, clWhite};
    style->HoverFont = {"Arial", -11, bold, clYellow};
    style->SelectedFont = {"Arial", -11, bold, clBlack};
    style->DisabledFont = {"Arial", -11, false, clGrayText};
    style->NormalColor = kGrey;
    style->HoverColor = kGrey;
    style->SelectedColor = kLightGrey;
    style->LineColor = bold ? clWhite : clSilver;
  }
  m.Bullets.NormalColor = m.Bullets.NormalPenColor = clWhite;
  m.Bullets.HoverColor = m.Bullets.HoverPenColor = clYellow;
  m.Bullets.SelectedColor = m.Bullets.SelectedPenColor = clBlack;
}
