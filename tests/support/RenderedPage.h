#pragma once

#include "Testing.h"

#include <sstream>

// A PDF's first page as pdftoppm renders it in grey levels: one byte a pixel, dark below half.
struct TRenderedPage {
    int Width = 0;
    int Height = 0;
    Bytes Pixels;

    bool Dark(int x, int y) const { return Pixels[std::size_t(y) * Width + x] < 128; }
    // The smallest rectangle that holds every dark pixel.
    TRect Ink() const {
        TRect ink{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                if (Dark(x, y)) {
                    ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                           std::max(ink.Bottom, y + 1)};
                }
            }
        }
        return ink;
    }
};

inline TRenderedPage RenderedPage(const fs::path& pdf, int dpi) {
    const std::string base = pdf.string() + ".page";
    const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -gray -singlefile '" +
                                pdf.string() + "' '" + base + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const Bytes file = ReadFile(base + ".pgm");
    std::istringstream header(std::string(file.begin(), file.begin() + 32));
    std::string magic;
    int maximum = 0;
    TRenderedPage page;
    header >> magic >> page.Width >> page.Height >> maximum;
    const auto start = static_cast<std::ptrdiff_t>(header.tellg()) + 1;
    page.Pixels.assign(file.begin() + start, file.end());
    return page;
}
