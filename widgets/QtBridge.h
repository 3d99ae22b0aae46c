#pragma once

#include "layout/TNavigationKey.h"
#include "config/TColor.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <string>

struct TBitmap;
struct TDesktopPalette;
struct TRect;
class QPalette;

// Where the program's own types meet Qt: colours, fonts, texts (Windows-1252
// inside the program, Unicode in Qt) and pictures.

// A colour value as a QColor; system colours take the classic desktop
// values so that every widget looks the same on every desktop theme.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// The colour roles of a desktop palette the "System" scheme is made from.
TDesktopPalette DesktopPalette(const QPalette& palette);

// The installed font that stands in for a font name of the catalog world
// ("Arial", "MS Sans Serif", "Lucida Console", "Verdana").
QString MapFontName(const std::string& name);

// A font of the given description; negative heights are character heights
// in pixels, positive ones cell heights.
QFont ToQFont(const TFontSpec& font);

QString ToQString(const std::string& cp1252);
std::string FromQString(const QString& text);

QImage ToQImage(const TBitmap& bitmap);

// The keyboard's mark on a focused button: a dotted frame `inset` pixels
// inside `rect`.
class QPainter;
void DrawFocusMark(QPainter& canvas, const QRect& rect, int inset, const QColor& color);

// The key of a toolkit key code, Other for any key the widgets leave alone.
TNavigationKey NavigationKeyOf(int qtKey);

inline QRect ToQRect(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }
QRect ToQRect(const TRect& rect);
