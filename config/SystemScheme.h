#pragma once

#include "config/TColor.h"

#include <string>
#include <string_view>

struct TColorScheme;

// The colour scheme named "System" is not read from "Schemes.ini": its
// colours come from the desktop's palette, light or dark, and follow it
// when it changes. The name is recognised without regard to letter case.
constexpr const char* kSystemSchemeName = "System";

bool IsSystemScheme(std::string_view scheme);

// The desktop palette's colour roles the scheme is made from, as the
// toolkit layer reads them.
struct TDesktopPalette {
  TColor Window = clWhite;
  TColor WindowText = clBlack;
  TColor Base = clWhite;
  TColor Text = clBlack;
  TColor Button = clSilver;
  TColor ButtonText = clBlack;
  TColor Highlight = RgbColor(0x30, 0x8C, 0xC6);
  TColor HighlightedText = clWhite;
  TColor Link = RgbColor(0, 0, 0xFF);
  TColor Light = clWhite;
  TColor Mid = clGray;
  TColor Dark = RgbColor(0x60, 0x60, 0x60);
  TColor Shadow = clBlack;
};

// The "System" scheme: every key a scheme has (widget, scroll bar and page
// colours, the page's text and link colours included) from the palette.
TColorScheme SystemColorScheme(const TDesktopPalette& palette);

// "#RRGGBB" of a colour.
std::string HtmlColor(TColor color);
