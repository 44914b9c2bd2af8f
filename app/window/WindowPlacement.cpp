#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <memory>

namespace {

// The top-left corner that brings the rectangle inside the area: its own where it fits, else
// moved back just far enough, at the area's edge where it is larger.
QPoint Inside(const QRect& rect, const QRect& area) {
    const int x =
        std::max(std::min(rect.left(), area.left() + area.width() - rect.width()), area.left());
    const int y =
        std::max(std::min(rect.top(), area.top() + area.height() - rect.height()), area.top());
    return {x, y};
}

// Once the window manager has framed the window, which moves the window down by the frame's
// title bar, brings the frame inside the area, and then leaves the window where the user puts it.
void KeepFrameInside(QWidget* window, const QRect& available) {
    window->winId();
    auto framed = std::make_shared<QMetaObject::Connection>();
    *framed = QObject::connect(
        window->windowHandle(), &QWindow::yChanged, window, [window, available, framed] {
            const QRect frame = window->frameGeometry();
            if (frame == window->geometry()) {
                return;
            }
            QObject::disconnect(*framed);
            if (const QPoint inside = Inside(frame, available); inside != frame.topLeft()) {
                window->move(inside);
            }
        });
}

} // namespace

std::vector<QPoint> PlaceWindows(std::span<const QRect> windows, const QRect& available) {
    QRect group;
    for (const QRect& window : windows) {
        group = group.united(window);
    }
    const QPoint shift = Inside(group, available) - group.topLeft();
    std::vector<QPoint> places;
    for (const QRect& window : windows) {
        places.push_back(Inside(window.translated(shift), available));
    }
    return places;
}

void PlaceOnScreen(std::span<QWidget* const> windows) {
    if (windows.empty()) {
        return;
    }
    std::vector<QRect> rects;
    for (QWidget* window : windows) {
        // A window with a fixed size knows it from its layout before it is shown.
        window->adjustSize();
        rects.push_back(window->frameGeometry());
    }
    const QRect available = windows.front()->screen()->availableGeometry();
    const std::vector<QPoint> places = PlaceWindows(rects, available);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        windows[i]->move(places[i]);
        KeepFrameInside(windows[i], available);
    }
}
