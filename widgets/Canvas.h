#pragma once

#include "config/TColor.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <initializer_list>

class QPainter;

// Drawing with the rules the widgets are laid out by: rectangles are given
// as left, top, right, bottom with right and bottom excluded, lines include
// their start point and exclude their end point, shapes are filled with one
// colour and outlined with another, and nothing is antialiased except text.

void FillRect(QPainter& canvas, int left, int top, int right, int bottom, TColor color);
// A one-pixel frame just inside the rectangle.
void FrameRect(QPainter& canvas, int left, int top, int right, int bottom, TColor color);
// A horizontal or vertical line from (x1, y1) towards (x2, y2), the end excluded.
void Line(QPainter& canvas, int x1, int y1, int x2, int y2, TColor color);
void Ellipse(QPainter& canvas, int left, int top, int right, int bottom, TColor fill, TColor pen);
void Rectangle(QPainter& canvas, int left, int top, int right, int bottom, TColor fill, TColor pen);
void RoundRect(QPainter& canvas, int left, int top, int right, int bottom, int corner, TColor fill, TColor pen);
void Polygon(QPainter& canvas, std::initializer_list<QPoint> points, TColor fill, TColor pen);
void Polygon(QPainter& canvas, const QPoint* points, int count, TColor fill, TColor pen);

// Text with its top-left corner at (x, y), cut off at `clip`, background left alone.
void DrawClippedText(QPainter& canvas, int x, int y, const QRect& clip, const QString& text, const QFont& font,
                     TColor color);

// The image with every pixel of the colour of its top-left pixel left out.
QImage WithoutCornerColour(const QImage& image);
