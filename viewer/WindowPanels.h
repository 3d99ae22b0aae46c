#pragma once

class QObject;
struct TFormMainUi;
struct TViewerSettings;

// Places what the main window's panels hold where it follows their texts
// or the window's size.
namespace WindowPanels {

// The owner's name and "Movie Collection" at the right of the caption
// bar. They give way to the buttons and the search box: shortened with
// "...", or hidden where not even that fits.
void PlaceTitleLabels(TFormMainUi& ui);
// The count, the bar and the path from the left of the status line.
void PlaceStatusLabels(TFormMainUi& ui);
// The caption above the side bar, shortened with "..." before its button
// when it does not fit; the whole text is then its tooltip.
void PlaceGroupCaption(TFormMainUi& ui);
// The full-screen close panel in the window's top right corner.
void PlaceClosePanel(TFormMainUi& ui);
// The caption bar's buttons sized to their captions, the visible ones
// from the left, then the search panel, whose text box narrows (down to
// a least width) where the bar is too narrow for all of it; then the
// titles in the room left.
void LayoutToolbar(TFormMainUi& ui, const TViewerSettings& settings);
// The same with the choices the settings made last (after a resize).
void LayoutToolbar(TFormMainUi& ui);
// The caption bar, the side bar's caption and the status line place their
// contents again whenever their size changes, for as long as `owner` lives.
void FollowSizes(TFormMainUi& ui, QObject& owner);

}  // namespace WindowPanels
