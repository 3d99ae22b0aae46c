#include "viewer/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kGlyph = 16;

// A picture of `size` layout pixels at `ratio` device pixels each; a
// painter on it works in layout pixels.
QImage Sized(int size, double ratio, QImage::Format format) {
  ratio = ratio >= 1.0 ? std::min(ratio, 8.0) : 1.0;  // NaN too
  const int side = static_cast<int>(std::lround(size * ratio));
  QImage image(side, side, format);
  image.setDevicePixelRatio(static_cast<double>(side) / size);
  return image;
}

QImage Blank(int size, double ratio = 1.0) {
  QImage image = Sized(size, ratio, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void Prepare(QPainter& painter) { painter.setRenderHint(QPainter::Antialiasing, true); }

}  // namespace

QImage OpenGlyph(QColor color, double ratio) {
  QImage glyph = Blank(kGlyph, ratio);
  QPainter p(&glyph);
  Prepare(p);
  p.setPen(QPen(color, 1.2));
  p.setBrush(Qt::NoBrush);
  // A folder with its flap open.
  QPainterPath back;
  back.moveTo(1.5, 13.5);
  back.lineTo(1.5, 3.5);
  back.lineTo(5.5, 3.5);
  back.lineTo(7, 5);
  back.lineTo(12.5, 5);
  back.lineTo(12.5, 7);
  p.drawPath(back);
  QPainterPath flap;
  flap.moveTo(1.5, 13.5);
  flap.lineTo(4, 7.5);
  flap.lineTo(15, 7.5);
  flap.lineTo(12.5, 13.5);
  flap.closeSubpath();
  p.setBrush(color);
  p.drawPath(flap);
  return glyph;
}

QImage EditGlyph(QColor color, double ratio) {
  QImage glyph = Blank(kGlyph, ratio);
  QPainter p(&glyph);
  Prepare(p);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  // A pencil lying from the lower left to the upper right.
  QPainterPath body;
  body.moveTo(2, 14);
  body.lineTo(3, 10.5);
  body.lineTo(11, 2.5);
  body.lineTo(13.5, 5);
  body.lineTo(5.5, 13);
  body.closeSubpath();
  p.drawPath(body);
  p.drawRect(QRectF(0, 15, 16, 1));
  return glyph;
}

QImage SettingsGlyph(QColor color, double ratio) {
  QImage glyph = Blank(kGlyph, ratio);
  QPainter p(&glyph);
  Prepare(p);
  // A cog: eight teeth round a ring.
  p.translate(8, 8);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  for (int i = 0; i < 8; ++i) {
    p.drawRect(QRectF(-1.4, -7.5, 2.8, 3.5));
    p.rotate(45);
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(color, 2.2));
  p.drawEllipse(QPointF(0, 0), 4.2, 4.2);
  return glyph;
}

QImage PlayGlyph(QColor color, double ratio) {
  QImage glyph = Blank(kGlyph, ratio);
  QPainter p(&glyph);
  Prepare(p);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  QPainterPath triangle;
  triangle.moveTo(4, 2);
  triangle.lineTo(14, 8);
  triangle.lineTo(4, 14);
  triangle.closeSubpath();
  p.drawPath(triangle);
  return glyph;
}

QImage BackGlyph(QColor color, double ratio) {
  QImage glyph = Blank(kGlyph, ratio);
  QPainter p(&glyph);
  Prepare(p);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  QPainterPath arrow;
  arrow.moveTo(1, 8);
  arrow.lineTo(8, 2);
  arrow.lineTo(8, 5.5);
  arrow.lineTo(15, 5.5);
  arrow.lineTo(15, 10.5);
  arrow.lineTo(8, 10.5);
  arrow.lineTo(8, 14);
  arrow.closeSubpath();
  p.drawPath(arrow);
  return glyph;
}

QImage CategoryArrow(QColor arrow, QColor background, double ratio) {
  // Drawn in whole rows without smoothing: at 9 x 9 smoothing only blurs
  // the point.
  QImage image = Sized(9, ratio, QImage::Format_RGB32);
  image.fill(background);
  QPainter p(&image);
  for (int row = 0; row < 5; ++row) p.fillRect(QRectF(row, 2 + row, 9 - 2 * row, 1), arrow);
  return image;
}

QImage SearchPicture(QColor glass, QColor background, int size, double ratio) {
  QImage image = Sized(size, ratio, QImage::Format_RGB32);
  image.fill(background);
  QPainter p(&image);
  Prepare(p);
  const double s = size / 22.0;
  p.setPen(QPen(glass, 2.2 * s));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(9.5 * s, 9.5 * s), 5.5 * s, 5.5 * s);
  p.setPen(QPen(glass, 3.2 * s, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(13.8 * s, 13.8 * s), QPointF(18.5 * s, 18.5 * s));
  return image;
}

QImage ProgramIcon(int size) {
  QImage icon = Blank(size);
  QPainter p(&icon);
  Prepare(p);
  p.scale(size / 64.0, size / 64.0);
  // A strip of film with an elk's antlers above it.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0x30, 0x30));
  p.drawRoundedRect(QRectF(6, 26, 52, 32), 4, 4);
  p.setBrush(QColor(0xF2, 0xF2, 0xF2));
  for (int i = 0; i < 6; ++i) {
    p.drawRect(QRectF(10 + i * 8.2, 29, 4, 4));
    p.drawRect(QRectF(10 + i * 8.2, 51, 4, 4));
  }
  p.setBrush(QColor(0xE0, 0xA0, 0x30));
  p.drawRect(QRectF(11, 35, 42, 14));
  QPen antler(QColor(0x8B, 0x5A, 0x2B), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(antler);
  p.setBrush(Qt::NoBrush);
  for (int side : {-1, 1}) {
    QPainterPath path;
    path.moveTo(32 + side * 4, 24);
    path.cubicTo(32 + side * 10, 18, 32 + side * 20, 16, 32 + side * 26, 6);
    p.drawPath(path);
    p.drawLine(QPointF(32 + side * 14, 17.5), QPointF(32 + side * 13, 7));
    p.drawLine(QPointF(32 + side * 21, 14), QPointF(32 + side * 22, 4));
  }
  return icon;
}
