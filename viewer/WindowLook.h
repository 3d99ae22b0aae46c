#pragma once

#include <string>

struct TColorScheme;
struct TFormMainUi;

// How the main window's components look: a scheme's colours, the glyphs
// drawn in them, the captions of the chosen language and the labels that
// describe the open catalog. Places nothing; the window places afterwards.
namespace WindowLook {

// Widget colours in the scheme's order; the Open button's six colours go
// to the other caption buttons and the search panel, the close button
// keeps its own. The panels around the side bar and the status line have
// no keys of their own: they follow the side bar and the caption bar.
void ApplyScheme(TFormMainUi& ui, const TColorScheme& scheme);

// The caption buttons' glyphs, the group arrow and the search picture in
// the colours now applied, drawn at the screen's pixel ratio.
void DrawGlyphs(TFormMainUi& ui, double ratio);

// Every fixed text of the window in the chosen language: buttons, the
// search field list (its first entry chosen) and the screen-reader names.
void ApplyCaptions(TFormMainUi& ui);

// The caption bar's title for the catalog's owner (none: "My Private").
void ShowOwner(TFormMainUi& ui, const std::string& owner);

}  // namespace WindowLook
