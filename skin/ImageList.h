#pragma once

#include "Bitmap.h"
#include "Color.h"

#include <vector>

// "No colour": an image list without a background colour.
inline constexpr TColor clNone = 0x1FFFFFFF;

// A list of equally sized images, drawn by index.
class TImageList {
public:
    TImageList(int width = 16, int height = 16) : FWidth(width), FHeight(height) {}
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return static_cast<int>(FImages.size()); }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor v) { FBkColor = v; }
    // Adds a copy of the image; pixels of the mask colour are left out when it is drawn.
    // Returns its index.
    int Add(const TBitmap& image, TColor maskColor = clNone);
    // Draws image `index` with its top-left corner at (x, y); an index out of range draws
    // nothing.
    void Draw(TBitmap& target, int x, int y, int index) const;

private:
    struct TEntry {
        TBitmap Image;
        TColor Mask;
    };
    int FWidth;
    int FHeight;
    TColor FBkColor = clNone;
    std::vector<TEntry> FImages;
};
