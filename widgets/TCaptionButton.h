#pragma once

#include "config/TColor.h"
#include "widgets/TOwnerDrawnButton.h"

#include <QImage>
#include <string>

enum class TButtonLook { Normal, Hover, Pressed };

// A flat caption button with a one-pixel border, an optional glyph and a
// caption, drawn in three looks: normal, hover (raised edge) and pressed
// (sunken edge). It draws the new look at once when its state changes; any
// other repaint shows the normal look.
class TCaptionButton : public TOwnerDrawnButton {
 public:
  // The caption starts as the object name until the window gives it one.
  explicit TCaptionButton(QWidget* parent = nullptr, const QString& name = QString());

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);
  TColor Color() const { return m_color; }
  void SetColor(TColor color);
  TColor ColorBorder() const { return m_colorBorder; }
  void SetColorBorder(TColor color);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled) { m_enabled = enabled; }
  const QImage& Glyph() const { return m_glyph; }
  void SetGlyph(const QImage& glyph);
  void SetShowCaption(bool show);
  TFontSpec Font{"Arial", -11, false, clBlack};
  TColor ColorOverCaption = clBlack;
  TColor ColorOver = RgbColor(0xD8, 0xBE, 0x0A);
  TColor ColorDown = RgbColor(0xD8, 0xBE, 0x0A);

  // The look on screen: the one drawn at the last change of state, or the
  // normal look after any other repaint.
  TButtonLook LastLook() const { return m_lastLook; }
  // Draws a look onto a canvas of the button's size (used by painting and tests).
  void DrawLook(QPainter& canvas, TButtonLook look);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool Clickable() const override { return m_enabled; }
  void ShowHover() override { ShowLook(TButtonLook::Hover); }
  void ShowNormal() override { ShowLook(TButtonLook::Normal); }
  void ShowPressed() override { ShowLook(TButtonLook::Pressed); }
  void ShowClicked() override { ShowLook(TButtonLook::Normal); }
  void ShowReleased(bool over) override;

 private:
  void ShowLook(TButtonLook look);

  std::string m_caption;
  TColor m_color = clBtnFace;
  TColor m_colorBorder = RgbColor(0x99, 0x8F, 0x82);
  bool m_enabled = true;
  QImage m_glyph;
  bool m_showCaption = true;
  TColor m_captionColor = clBlack;
  TButtonLook m_paintLook = TButtonLook::Normal;
  TButtonLook m_lastLook = TButtonLook::Normal;
};
