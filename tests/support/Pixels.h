#pragma once

#include "Bitmap.h"
#include "Types.h"

#include <algorithm>
#include <climits>

// How many pixels of the image hold the colour.
inline int CountPixels(const TBitmap& image, TColor color) {
    int count = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            count += image.Pixel(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

// The smallest rectangle holding every pixel of the colour; all zero when there is none.
inline TRect BoundsOf(const TBitmap& image, TColor color) {
    TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (image.Pixel(x, y) == color) {
                r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                     std::max(r.Bottom, y + 1)};
            }
        }
    }
    return r.Left == INT_MAX ? TRect{} : r;
}

// A white image of the given size.
inline TBitmap WhiteImage(int width, int height) {
    TBitmap image;
    image.SetWidth(width);
    image.SetHeight(height);
    return image;
}
