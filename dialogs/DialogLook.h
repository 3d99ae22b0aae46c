#pragma once

#include <QFont>
#include <QString>
#include <string_view>

class QWidget;

// What the small windows share: their font and their translated texts.

// "MS Sans Serif", 8 point, as every dialog of the program is set.
QFont DialogFont();

// The chosen language's text for an English text, as Qt text.
QString TranslatedText(std::string_view english);
// The same with its "..." shown as the one ellipsis character, as menus
// and placeholders show it.
QString TranslatedEllipsisText(std::string_view english);

// A window with a fixed single border and only the close button.
void MakeFixedDialog(QWidget& window, int clientWidth, int clientHeight);
