#include "widgets/TCaptionButton.h"

#include "widgets/Canvas.h"
#include "widgets/QtBridge.h"

#include <QPainter>

namespace {

constexpr TColor kLightEdge = RgbColor(0xF8, 0xF4, 0xED);
constexpr TColor kDarkEdge = RgbColor(0x4F, 0x4F, 0x4F);

}  // namespace

TCaptionButton::TCaptionButton(QWidget* parent, const QString& name) : TOwnerDrawnButton(parent) {
  setObjectName(name);
  resize(86, 22);
  m_caption = FromQString(name);
}

void TCaptionButton::SetCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  ShowLook(TButtonLook::Normal);
}

void TCaptionButton::SetColor(TColor color) {
  if (color == m_color) return;
  m_color = color;
  ShowLook(TButtonLook::Normal);
}

void TCaptionButton::SetColorBorder(TColor color) {
  if (color == m_colorBorder) return;
  m_colorBorder = color;
  ShowLook(TButtonLook::Normal);
}

void TCaptionButton::SetGlyph(const QImage& glyph) {
  m_glyph = glyph;
  update();
}

void TCaptionButton::SetShowCaption(bool show) {
  if (show == m_showCaption) return;
  m_showCaption = show;
  ShowLook(TButtonLook::Normal);
}

void TCaptionButton::ShowLook(TButtonLook look) {
  // Drawn at once, as the state changes; a later repaint from the window
  // system shows the normal look again.
  m_lastLook = look;
  m_paintLook = look;
  repaint();
  m_paintLook = TButtonLook::Normal;
}

void TCaptionButton::paintEvent(QPaintEvent*) {
  QPainter canvas(this);
  DrawLook(canvas, m_paintLook);
  if (hasFocus()) DrawFocusMark(canvas, rect(), 3, ToQColor(Font.Color));
  m_lastLook = m_paintLook;
}

void TCaptionButton::DrawLook(QPainter& canvas, TButtonLook look) {
  const int w = width(), h = height();
  TColor fill = look == TButtonLook::Normal ? m_color : look == TButtonLook::Hover ? ColorOver : ColorDown;
  FillRect(canvas, 1, 1, w - 1, h - 1, fill);
  if (look == TButtonLook::Normal) m_captionColor = Font.Color;
  if (look == TButtonLook::Hover) m_captionColor = ColorOverCaption;

  const int d = look == TButtonLook::Pressed ? 1 : 0;
  QFont font = ToQFont(Font);
  QFontMetrics metrics(font);
  QString caption = ToQString(m_caption);
  const int tw = metrics.horizontalAdvance(caption), th = metrics.height();
  const bool glyph = !m_glyph.isNull() && m_glyph.width() > 0;
  // A glyph made for a dense screen carries its pixel ratio: it is placed
  // by its size in layout pixels and drawn from all of its own pixels.
  const QSize glyphSize = glyph ? m_glyph.deviceIndependentSize().toSize() : QSize();
  const int gw = glyphSize.width(), gh = glyphSize.height();
  auto drawCaption = [&](int x, int y) {
    FillRect(canvas, x, y, x + tw, y + th, fill);  // opaque text background
    DrawClippedText(canvas, x, y, rect(), caption, font, m_captionColor);
  };
  auto drawGlyph = [&](int left, int top, int right, int bottom) {
    FillRect(canvas, left, top, right, bottom, fill);
    canvas.drawImage(ToQRect(left, top, right, bottom), WithoutCornerColour(m_glyph));
  };
  if (glyph && m_showCaption) {
    const int x0 = w / 2 - (gw + tw) / 2, y0 = h / 2 - gh / 2;
    if (d == 0) {
      drawGlyph(x0 - 1, y0, x0 + gw, y0 + gh);
      drawCaption(w / 2 + (gw - tw) / 2 + 4, h / 2 - th / 2);
    } else {
      drawGlyph(x0, y0 + 1, x0 + gw + 1, y0 + gh + 1);
      drawCaption(w / 2 + (gw - tw) / 2 + 5, h / 2 - th / 2 + 1);
    }
  } else if (glyph) {
    int x = w / 2 - gw / 2 + d, y = h / 2 - gh / 2 + d;
    drawGlyph(x, y, x + gw, y + gh);
  } else if (m_showCaption) {
    drawCaption(w / 2 - tw / 2 + d, h / 2 - th / 2 + d);
  }
  FrameRect(canvas, 0, 0, w, h, m_colorBorder);
  if (look == TButtonLook::Normal) return;
  TColor raised = look == TButtonLook::Hover ? kLightEdge : kDarkEdge;
  TColor sunk = look == TButtonLook::Hover ? kDarkEdge : kLightEdge;
  Line(canvas, 0, h - 2, 0, 0, raised);
  Line(canvas, 0, 0, w - 1, 0, raised);
  Line(canvas, w - 1, 0, w - 1, h, sunk);
  Line(canvas, w, h - 1, -1, h - 1, sunk);
}

void TCaptionButton::ShowReleased(bool over) {
  if (over) ShowLook(TButtonLook::Hover);
}
