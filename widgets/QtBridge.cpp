#include "widgets/QtBridge.h"

#include <QPainter>
#include <QPen>

#include "layout/TSideBarModel.h"
#include "config/SystemScheme.h"
#include "config/TextEncoding.h"
#include "render/TBitmap.h"

#include <QPalette>

QColor ToQColor(TColor color) {
  if (IsSystemColor(color)) {
    switch (color & 0xFF) {
      case 5: return QColor(0xFF, 0xFF, 0xFF);     // window
      case 8: return QColor(0x00, 0x00, 0x00);     // window text
      case 15: return QColor(0xF0, 0xF0, 0xF0);    // button face
      case 16: return QColor(0xA0, 0xA0, 0xA0);    // button shadow
      case 17: return QColor(0x6D, 0x6D, 0x6D);    // grey text
      case 20: return QColor(0xFF, 0xFF, 0xFF);    // button highlight
      default: return QColor(0x00, 0x00, 0x00);
    }
  }
  return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

QString MapFontName(const std::string& name) {
  if (name == "Arial" || name == "Helvetica") return QStringLiteral("Liberation Sans");
  if (name == "MS Sans Serif" || name == "Verdana" || name == "Tahoma") return QStringLiteral("DejaVu Sans");
  if (name == "Lucida Console" || name == "Courier New") return QStringLiteral("DejaVu Sans Mono");
  return QString::fromStdString(name);
}

QFont ToQFont(const TFontSpec& description) {
  QFont font(MapFontName(description.Name));
  // A cell height includes the internal leading, about a fifth of it.
  int pixels = description.Height < 0 ? -description.Height : description.Height * 4 / 5;
  font.setPixelSize(pixels > 0 ? pixels : 11);
  font.setBold(description.Bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

QString ToQString(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

std::string FromQString(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

QImage ToQImage(const TBitmap& bitmap) {
  if (bitmap.Empty()) return QImage();
  QImage image(bitmap.Pixels.data(), bitmap.Width, bitmap.Height, bitmap.Width * 4, QImage::Format_RGBA8888);
  return image.copy();  // own the pixels
}

QRect ToQRect(const TRect& rect) { return ToQRect(rect.Left, rect.Top, rect.Right, rect.Bottom); }

TColor FromQColor(const QColor& color) { return RgbColor(color.red(), color.green(), color.blue()); }

TDesktopPalette DesktopPalette(const QPalette& palette) {
  auto role = [&](QPalette::ColorRole r) { return FromQColor(palette.color(QPalette::Active, r)); };
  TDesktopPalette p;
  p.Window = role(QPalette::Window);
  p.WindowText = role(QPalette::WindowText);
  p.Base = role(QPalette::Base);
  p.Text = role(QPalette::Text);
  p.Button = role(QPalette::Button);
  p.ButtonText = role(QPalette::ButtonText);
  p.Highlight = role(QPalette::Highlight);
  p.HighlightedText = role(QPalette::HighlightedText);
  p.Link = role(QPalette::Link);
  p.Light = role(QPalette::Light);
  p.Mid = role(QPalette::Mid);
  p.Dark = role(QPalette::Dark);
  p.Shadow = role(QPalette::Shadow);
  return p;
}

TNavigationKey NavigationKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Left: return TNavigationKey::Left;
    case Qt::Key_Right: return TNavigationKey::Right;
    case Qt::Key_Up: return TNavigationKey::Up;
    case Qt::Key_Down: return TNavigationKey::Down;
    case Qt::Key_PageUp: return TNavigationKey::PageUp;
    case Qt::Key_PageDown: return TNavigationKey::PageDown;
    case Qt::Key_Home: return TNavigationKey::Home;
    case Qt::Key_End: return TNavigationKey::End;
    case Qt::Key_Return:
    case Qt::Key_Enter: return TNavigationKey::Enter;
    case Qt::Key_Space: return TNavigationKey::Space;
    case Qt::Key_Insert: return TNavigationKey::Insert;
    case Qt::Key_Delete: return TNavigationKey::Delete;
    case Qt::Key_Backspace: return TNavigationKey::Backspace;
    default: return TNavigationKey::Other;
  }
}

void DrawFocusMark(QPainter& canvas, const QRect& rect, int inset, const QColor& color) {
  canvas.save();
  canvas.setBrush(Qt::NoBrush);
  canvas.setPen(QPen(color, 1, Qt::DotLine));
  canvas.drawRect(rect.adjusted(inset, inset, -inset - 1, -inset - 1));
  canvas.restore();
}
