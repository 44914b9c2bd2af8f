#pragma once

#include "Bitmap.h"

#include <string>
#include <utility>
#include <vector>

using ArtRows = std::vector<std::string>;

// A small image as a picture to compare with: a row of letters per pixel row, '.' white,
// '#' black, 'r' red, 'g' lime, 'b' blue, 'y' yellow, '?' any other colour.
inline ArtRows Art(const TBitmap& image) {
    constexpr std::pair<TColor, char> letters[] = {{clWhite, '.'}, {clBlack, '#'}, {clRed, 'r'},
                                                   {clLime, 'g'},  {clBlue, 'b'},  {clYellow, 'y'}};
    ArtRows rows(image.Height(), std::string(image.Width(), '?'));
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            for (const auto& [color, letter] : letters) {
                rows[y][x] = image.Pixel(x, y) == color ? letter : rows[y][x];
            }
        }
    }
    return rows;
}
