#pragma once

#include <QColor>
#include <QImage>

// The main window's small pictures, drawn by the program itself: 16 x 16
// glyphs of the caption buttons, the 9 x 9 arrow of the group button, the
// search button's magnifier and the program's icon. Glyphs are drawn in one
// colour on a transparent ground, so they follow the buttons' text colour.
// Sizes are in the layout's pixels; each picture is drawn at `ratio` times
// that many device pixels (and carries the ratio), so it stays sharp on
// a dense screen.

QImage OpenGlyph(QColor color, double ratio = 1.0);
QImage EditGlyph(QColor color, double ratio = 1.0);
QImage SettingsGlyph(QColor color, double ratio = 1.0);
QImage PlayGlyph(QColor color, double ratio = 1.0);
QImage BackGlyph(QColor color, double ratio = 1.0);

// The downward arrow of the group-by button, 9 x 9, on `background`.
QImage CategoryArrow(QColor arrow, QColor background, double ratio = 1.0);

// The search button's picture: a magnifier, `size` pixels square.
QImage SearchPicture(QColor glass, QColor background, int size, double ratio = 1.0);

// The program's icon at a given size.
QImage ProgramIcon(int size);
