#pragma once

#include "Bitmap.h"

#include <memory>
#include <string>

// Holds one image or none.
class TPicture {
public:
    // The picture's own image, or nullptr when it holds none.
    TBitmap* Bitmap() const { return FBitmap.get(); }
    // Stores a copy of the image; the caller's may be freed afterwards.
    void SetBitmap(const TBitmap& bitmap) { FBitmap = std::make_unique<TBitmap>(bitmap); }
    // Hands over an image the picture keeps from now on.
    void SetBitmap(std::unique_ptr<TBitmap> bitmap) { FBitmap = std::move(bitmap); }
    void Clear() { FBitmap.reset(); }

    // Writes the image as BMP; a picture without an image writes no file at all.
    void SaveToFile(const std::string& name) const {
        if (FBitmap) {
            FBitmap->SaveToFile(name);
        }
    }

private:
    std::unique_ptr<TBitmap> FBitmap;
};
