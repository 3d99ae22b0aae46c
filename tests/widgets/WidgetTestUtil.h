#pragma once

#include "config/TColor.h"
#include "widgets/QtBridge.h"

#include <QImage>
#include <QWidget>

// The widget as it paints itself, pixel for pixel.
inline QImage Paint(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  widget.render(&image);
  return image;
}

inline TColor PixelColor(const QImage& image, int x, int y) {
  QColor c = image.pixelColor(x, y);
  return RgbColor(c.red(), c.green(), c.blue());
}
