#include "dialogs/DialogLook.h"

#include "config/Translation.h"
#include "widgets/QtBridge.h"

#include <QWidget>

QFont DialogFont() {
  QFont font(MapFontName("MS Sans Serif"));
  font.setPointSize(8);
  return font;
}

QString TranslatedText(std::string_view english) { return ToQString(Translate(english)); }

QString TranslatedEllipsisText(std::string_view english) {
  return TranslatedText(english).replace(QStringLiteral("..."), QChar(0x2026));
}

void MakeFixedDialog(QWidget& window, int clientWidth, int clientHeight) {
  window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  window.setFixedSize(clientWidth, clientHeight);
  window.setFont(DialogFont());
}
