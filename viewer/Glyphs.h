#pragma once

#include <QColor>
#include <QImage>

// The main window's small pictures, drawn by the program itself: 16 x 16
// glyphs of the caption buttons, the 9 x 9 arrow of the group button, the
// search button's magnifier and the program's icon. Glyphs are drawn in one
// colour on a transparent ground, so they follow the buttons' text colour.

QImage OpenGlyph(QColor color);
QImage EditGlyph(QColor color);
QImage SettingsGlyph(QColor color);
QImage PlayGlyph(QColor color);
QImage BackGlyph(QColor color);

// The downward arrow of the group-by button, 9 x 9, on `background`.
QImage CategoryArrow(QColor arrow, QColor background);

// The search button's picture: a magnifier, `size` pixels square.
QImage SearchPicture(QColor glass, QColor background, int size);

// The program's icon at a given size.
QImage ProgramIcon(int size);
