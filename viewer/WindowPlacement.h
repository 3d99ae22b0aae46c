#pragma once

class QWidget;
struct TViewerSettings;

// Where the main window sits and how: its stored place and size, maximised,
// or full screen (maximised without a border). The window's close panel is
// the window's own business.
namespace WindowPlacement {

// As the settings say, before the window is first shown.
void PlaceAtStart(QWidget& window, const TViewerSettings& settings);
// In or out of full screen after the settings changed; out of it the
// window is maximised again, or takes its stored place and size.
void ApplyFullScreen(QWidget& window, const TViewerSettings& settings);
// The same when the setting changed from `wasFullScreen`: going in, the
// window's place is kept first, so leaving returns there.
void SwitchFullScreen(QWidget& window, TViewerSettings& settings, bool wasFullScreen);
// The window's place into the settings, unless in full screen (which
// keeps the place it will come back to).
void Record(const QWidget& window, TViewerSettings& settings);
// The same whatever the settings say: before the window goes full screen.
void RecordNormal(const QWidget& window, TViewerSettings& settings);

}  // namespace WindowPlacement
