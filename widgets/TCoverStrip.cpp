#include "widgets/TCoverStrip.h"

#include "widgets/Accessibility.h"
#include "widgets/Canvas.h"
#include "widgets/QtBridge.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>

namespace {

constexpr int kTimerInterval = 100;
// More than a wide screen's strip shows at once.
constexpr std::size_t kMaxConvertedImages = 256;

QRegion Circle(const TRect& square) { return QRegion(ToQRect(square), QRegion::Ellipse); }

QColor PlaceholderColor(TColor ground) {
  const QColor color = ToQColor(ground);
  return color.lightness() < 128 ? color.lighter(140) : color.darker(115);
}

}  // namespace

TCoverStrip::TCoverStrip(QWidget* parent) : QWidget(parent) {
  InstallAccessibility();
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Reachable with Tab, so the covers can be browsed without a mouse; a
  // click does not take the focus, so clicking keeps the strip drifting.
  setFocusPolicy(Qt::TabFocus);
  setMouseTracking(true);
  resize(width(), 130);
  m_timer.setInterval(kTimerInterval);
  QObject::connect(&m_timer, &QTimer::timeout, this, [this] { m_model.TimerTick(); });
  m_model.SetView(this);
  m_model.OnClick = [this](TCoverStripModel&, int index) {
    if (OnClick) OnClick(*this, index);
  };
  m_model.OnHover = [this](TCoverStripModel&, int index) {
    if (OnHover) OnHover(*this, index);
  };
}

void TCoverStrip::SetColor(TColor color) {
  if (color == m_model.Color) return;
  m_model.Color = color;
  update();
}

QRect TCoverStrip::EntryRect(int indexOrCode) const {
  if (indexOrCode == LeftScrollerCode) return ToQRect(m_model.LeftRect());
  if (indexOrCode == RightScrollerCode) return ToQRect(m_model.RightRect());
  if (indexOrCode < 0 || indexOrCode >= m_model.Items().Count()) return {};
  const TRect& r = m_model.Items()[indexOrCode].Rect;
  return ToQRect(r.Left - m_model.ScrollPos(), 0, r.Right - m_model.ScrollPos(), height());
}

void TCoverStrip::RedrawEntry(int indexOrCode) {
  QRect rect = EntryRect(indexOrCode);
  if (!rect.isEmpty()) update(rect);
}

void TCoverStrip::RedrawAll() {
  m_images.resize(static_cast<std::size_t>(m_model.Items().Count()));
  m_converted.erase(std::remove_if(m_converted.begin(), m_converted.end(),
                                   [&](int index) { return index >= static_cast<int>(m_images.size()); }),
                    m_converted.end());
  update();
}

void TCoverStrip::SetTimerRunning(bool running) {
  if (running) {
    m_timer.start();
  } else {
    m_timer.stop();
  }
}

void TCoverStrip::ShowHintAt(const std::string& hint, int x, int y) {
  QToolTip::showText(mapToGlobal(QPoint(x, y)), ToQString(hint), this);
}

void TCoverStrip::HideHint() { QToolTip::hideText(); }

void TCoverStrip::SetHandCursor(bool hand) { setCursor(hand ? Qt::PointingHandCursor : Qt::ArrowCursor); }

void TCoverStrip::PictureChanged(int index) {
  if (index >= 0 && index < static_cast<int>(m_images.size())) m_images[static_cast<std::size_t>(index)] = QImage();
  RedrawEntry(index);
}

std::pair<int, int> TCoverStrip::VisibleItems() const {
  const int first = std::max(0, m_model.FirstVisibleItem());
  int last = first;
  const int count = m_model.Items().Count();
  while (last < count && m_model.Items()[last].Rect.Left - m_model.ScrollPos() < width()) ++last;
  return {first, last};
}

const QImage& TCoverStrip::ImageOf(int index) {
  if (m_images.size() != static_cast<std::size_t>(m_model.Items().Count())) {
    m_images.assign(static_cast<std::size_t>(m_model.Items().Count()), QImage());
    m_converted.clear();
  }
  QImage& image = m_images[static_cast<std::size_t>(index)];
  const TCoverStripItem& item = m_model.Items()[index];
  if (image.isNull() && item.HasPicture()) {
    if (!item.Bitmap.Empty()) {
      image = ToQImage(item.Bitmap);
    } else if (std::optional<TBitmap> expanded = item.Compact->Expand()) {
      image = ToQImage(*expanded);
    }
    // Only the pictures around the visible ones stay converted: a strip of
    // thousands scrolling by itself would otherwise hold every picture twice.
    m_converted.push_back(index);
    if (m_converted.size() > kMaxConvertedImages) {
      int oldest = m_converted.front();
      m_converted.pop_front();
      if (oldest != index && oldest < static_cast<int>(m_images.size())) m_images[static_cast<std::size_t>(oldest)] = QImage();
    }
  }
  return image;
}

void TCoverStrip::paintEvent(QPaintEvent*) {
  QPainter canvas(this);
  const int count = m_model.Items().Count();
  // Tiles left of the view are skipped by a search, tiles right of it by
  // stopping at the first one past the edge.
  for (int i = m_model.FirstVisibleItem(); i < count; ++i) {
    if (m_model.Items()[i].Rect.Left - m_model.ScrollPos() >= width()) break;
    if (!m_model.Items()[i].Hidden) DrawEntry(canvas, i);
  }
  int end = count == 0 ? 0 : m_model.Items()[count - 1].Rect.Right - m_model.ScrollPos();
  if (end < width()) FillRect(canvas, std::max(end, 0), 0, width(), height(), m_model.Color);
  if (m_model.CanScrollLeft()) DrawEntry(canvas, LeftScrollerCode);
  if (m_model.CanScrollRight()) DrawEntry(canvas, RightScrollerCode);
}

void TCoverStrip::DrawEntry(QPainter& canvas, int indexOrCode) {
  if (indexOrCode == -1) return;
  if (indexOrCode == LeftScrollerCode || indexOrCode == RightScrollerCode) {
    bool left = indexOrCode == LeftScrollerCode;
    if (left ? !m_model.CanScrollLeft() : !m_model.CanScrollRight()) return;
    bool hover = m_model.HoverIndex() == indexOrCode;
    const TRect& square = left ? m_model.LeftRect() : m_model.RightRect();
    TColor body = hover ? m_model.ScrollerHoverColor : m_model.ScrollerColor;
    Ellipse(canvas, square.Left, square.Top, square.Right, square.Bottom, body, body);
    TColor arrow = hover ? m_model.ScrollerHoverArrowColor : m_model.ScrollerArrowColor;
    QPoint points[7];
    const auto& polygon = left ? m_model.LeftArrow() : m_model.RightArrow();
    for (int i = 0; i < 7; ++i) points[i] = QPoint(polygon[static_cast<std::size_t>(i)][0], polygon[static_cast<std::size_t>(i)][1]);
    Polygon(canvas, points, 7, arrow, arrow);
    return;
  }
  if (indexOrCode < 0 || indexOrCode >= m_model.Items().Count()) return;
  const TCoverStripItem& item = m_model.Items()[indexOrCode];
  const int left = item.Rect.Left - m_model.ScrollPos(), right = item.Rect.Right - m_model.ScrollPos();
  const int top = item.Rect.Top, bottom = item.Rect.Bottom, h = height();
  if (right <= 0 || left >= width() || right <= left) return;
  // The round buttons are never painted over.
  QRegion clip(ToQRect(left, top, right, h));
  if (m_model.CanScrollLeft() && clip.intersects(ToQRect(m_model.LeftRect()))) clip -= Circle(m_model.LeftRect());
  if (m_model.CanScrollRight() && clip.intersects(ToQRect(m_model.RightRect()))) clip -= Circle(m_model.RightRect());
  canvas.save();
  canvas.setClipRegion(clip, Qt::IntersectClip);
  FrameRect(canvas, left, top, right, bottom, m_model.Color);
  FillRect(canvas, left, bottom, right, h, m_model.Color);
  if (m_model.HoverIndex() == indexOrCode) FrameRect(canvas, left, top, right, bottom, m_model.SelectionColor);
  if (hasFocus() && m_model.CursorIndex() == indexOrCode) {
    // The keyboard's picture: a double frame that hover does not give.
    FrameRect(canvas, left, top, right, bottom, m_model.SelectionColor);
    FrameRect(canvas, left + 1, top + 1, right - 1, bottom - 1, m_model.SelectionColor);
  }
  canvas.setRenderHint(QPainter::SmoothPixmapTransform, true);
  if (right - left > 2 && bottom - top > 2) {
    const QImage& image = ImageOf(indexOrCode);
    if (image.isNull()) {
      // A picture still to come: a plain tile of its size, a shade off the
      // strip's own colour.
      canvas.fillRect(ToQRect(left + 1, top + 1, right - 1, bottom - 1), PlaceholderColor(m_model.Color));
    } else {
      canvas.drawImage(ToQRect(left + 1, top + 1, right - 1, bottom - 1), image);
    }
  }
  canvas.restore();
}

void TCoverStrip::resizeEvent(QResizeEvent*) { m_model.SetClientSize(width(), height()); }

void TCoverStrip::mousePressEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  m_model.MouseDown(at.x(), at.y());
  event->accept();
}

void TCoverStrip::mouseMoveEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  m_model.MouseMove(at.x(), at.y());
  event->accept();
}

void TCoverStrip::leaveEvent(QEvent* event) {
  m_model.MouseLeave();
  QWidget::leaveEvent(event);
}

void TCoverStrip::keyPressEvent(QKeyEvent* event) {
  if (m_model.KeyDown(NavigationKeyOf(event->key()))) {
    event->accept();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void TCoverStrip::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  m_model.SetFocused(true);
}

void TCoverStrip::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  m_model.SetFocused(false);
}
