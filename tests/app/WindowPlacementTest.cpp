#include "WindowPlacement.h"

#include <gtest/gtest.h>

#include <QPoint>
#include <QRect>

namespace {

// The main window (523 × 203 with its menu bar) and the code window just below it, as designed.
// A screen of 1280 × 1024 pixels offers 640 × 512 at ratio 2 and 853 × 682 at 1.5.
TEST(WindowPlacement, TheWindowsMoveIntoTheAvailableArea) {
    const QRect windows[] = {{198, 102, 523, 203}, {200, 332, 525, 276}};
    const struct {
        const char* Screen;
        QRect Available;
        QPoint Main, Code;
    } rows[] = {
        {"1280 x 1024", {0, 0, 1280, 1024}, {198, 102}, {200, 332}},
        {"1280 x 1024 at 1.5", {0, 0, 853, 682}, {198, 102}, {200, 332}},
        // The pair moves left and up as one, the code window still below the main window.
        {"1280 x 1024 at 2", {0, 0, 640, 512}, {113, 6}, {115, 236}},
        {"a panel along the top", {0, 30, 800, 570}, {198, 94}, {200, 324}},
        {"a screen right of another", {1280, 0, 640, 512}, {1280, 6}, {1282, 236}},
        // Too high for the pair: it stands at the top, the code window then moves up over the
        // main window as far as the area needs.
        {"1280 x 800 at 2", {0, 0, 640, 400}, {113, 0}, {115, 124}},
        // Narrower than a window: at the area's left edge.
        {"400 x 300", {0, 0, 400, 300}, {0, 0}, {0, 24}},
    };
    for (const auto& row : rows) {
        const std::vector<QPoint> places = PlaceWindows(windows, row.Available);
        EXPECT_EQ(places, (std::vector<QPoint>{row.Main, row.Code})) << row.Screen;
    }
}

} // namespace
