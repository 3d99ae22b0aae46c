#include "widgets/Canvas.h"

#include "widgets/QtBridge.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

namespace {

// Pens are one layout pixel wide, not one device pixel: on a dense screen
// a hairline would leave the rest of the layout pixel unpainted.
QPen LayoutPen(TColor color) {
  QPen pen(ToQColor(color), 1);
  pen.setCosmetic(false);
  return pen;
}

void SetShape(QPainter& canvas, TColor fill, TColor pen) {
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.setPen(LayoutPen(pen));
  canvas.setBrush(ToQColor(fill));
}

}  // namespace

void FillRect(QPainter& canvas, int left, int top, int right, int bottom, TColor color) {
  if (right > left && bottom > top) canvas.fillRect(ToQRect(left, top, right, bottom), ToQColor(color));
}

void FrameRect(QPainter& canvas, int left, int top, int right, int bottom, TColor color) {
  if (right <= left || bottom <= top) return;
  Line(canvas, left, top, right, top, color);
  Line(canvas, left, bottom - 1, right, bottom - 1, color);
  Line(canvas, left, top, left, bottom, color);
  Line(canvas, right - 1, top, right - 1, bottom, color);
}

void Line(QPainter& canvas, int x1, int y1, int x2, int y2, TColor color) {
  if (x1 == x2 && y1 == y2) return;
  int endX = x2 == x1 ? x2 : (x2 > x1 ? x2 - 1 : x2 + 1);
  int endY = y2 == y1 ? y2 : (y2 > y1 ? y2 - 1 : y2 + 1);
  if (x1 == x2 || y1 == y2) {
    // Straight lines fill whole layout pixels, at any pixel ratio.
    FillRect(canvas, std::min(x1, endX), std::min(y1, endY), std::max(x1, endX) + 1, std::max(y1, endY) + 1, color);
    return;
  }
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.setPen(LayoutPen(color));
  canvas.drawLine(x1, y1, endX, endY);
}

void Ellipse(QPainter& canvas, int left, int top, int right, int bottom, TColor fill, TColor pen) {
  if (right - left < 2 || bottom - top < 2) {
    FillRect(canvas, left, top, right, bottom, fill);
    return;
  }
  SetShape(canvas, fill, pen);
  canvas.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

void Rectangle(QPainter& canvas, int left, int top, int right, int bottom, TColor fill, TColor pen) {
  FillRect(canvas, left, top, right, bottom, fill);
  FrameRect(canvas, left, top, right, bottom, pen);
}

void RoundRect(QPainter& canvas, int left, int top, int right, int bottom, int corner, TColor fill, TColor pen) {
  SetShape(canvas, fill, pen);
  canvas.drawRoundedRect(QRect(left, top, right - left - 1, bottom - top - 1), corner / 2.0, corner / 2.0);
}

void Polygon(QPainter& canvas, std::initializer_list<QPoint> points, TColor fill, TColor pen) {
  Polygon(canvas, points.begin(), static_cast<int>(points.size()), fill, pen);
}

void Polygon(QPainter& canvas, const QPoint* points, int count, TColor fill, TColor pen) {
  SetShape(canvas, fill, pen);
  canvas.drawPolygon(points, count);
}

void DrawClippedText(QPainter& canvas, int x, int y, const QRect& clip, const QString& text, const QFont& font,
                     TColor color) {
  if (text.isEmpty() || clip.isEmpty()) return;
  canvas.save();
  canvas.setClipRect(clip, Qt::IntersectClip);
  canvas.setFont(font);
  canvas.setPen(ToQColor(color));
  canvas.drawText(QPoint(x, y + QFontMetrics(font).ascent()), text);
  canvas.restore();
}

QImage WithoutCornerColour(const QImage& image) {
  if (image.isNull()) return image;
  QImage result = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = result.pixel(0, 0);
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      if (line[x] == key) line[x] = 0;
    }
  }
  return result;
}
