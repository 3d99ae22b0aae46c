#pragma once

#include <cstdint>
#include <string>

// A colour value laid out 0x00BBGGRR (red in the lowest byte). A value whose
// top byte is 0xFF names a system colour by the index in its lowest byte;
// the toolkit layer turns those into the desktop's colours.
using TColor = std::uint32_t;

constexpr TColor RgbColor(int r, int g, int b) {
  return static_cast<TColor>(r & 0xFF) | static_cast<TColor>(g & 0xFF) << 8 | static_cast<TColor>(b & 0xFF) << 16;
}
constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr bool IsSystemColor(TColor c) { return (c >> 24) == 0xFF; }

constexpr TColor clWindow = 0xFF000005;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clBtnShadow = 0xFF000010;
constexpr TColor clGrayText = 0xFF000011;
constexpr TColor clBtnHighlight = 0xFF000014;

constexpr TColor clBlack = RgbColor(0, 0, 0);
constexpr TColor clWhite = RgbColor(255, 255, 255);
constexpr TColor clRed = RgbColor(255, 0, 0);
constexpr TColor clYellow = RgbColor(255, 255, 0);
constexpr TColor clGray = RgbColor(128, 128, 128);
constexpr TColor clSilver = RgbColor(192, 192, 192);

// A font as the widgets keep it: name, height in pixels (negative: the
// character height without internal leading, as the desktop measures it),
// weight and colour.
struct TFontSpec {
  std::string Name = "Arial";
  int Height = -11;
  bool Bold = false;
  TColor Color = clWindowText;
  bool operator==(const TFontSpec&) const = default;
};
