#pragma once

#include <QPoint>
#include <QRect>

#include <span>
#include <vector>

class QWidget;

// The windows' places are designed for a screen of 96 pixels per inch; on a smaller or more
// scaled screen they are moved into its available area. The windows move as one group, keeping
// how they stand to each other (the code window below the main window), just as far left and up
// as the area needs, and to its top-left where the group is larger; then any window still
// reaching out of the area moves in on its own, to the area's top-left edge if it is larger
// itself. Returns each window's new top-left corner.
std::vector<QPoint> PlaceWindows(std::span<const QRect> windows, const QRect& available);

// Moves the windows, not yet shown, by PlaceWindows into the available area of the first one's
// screen. Their window manager's frames are not known until it has framed them; a window whose
// frame then reaches out of the area moves in once more, on its own.
void PlaceOnScreen(std::span<QWidget* const> windows);
