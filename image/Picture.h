#pragma once

#include "Bitmap.h"

#include <functional>
#include <memory>
#include <string>

// Holds one image or none, and tells whoever shows it when it changes: a new image, none, or a
// drawing on the image it holds.
class TPicture {
public:
    TPicture() = default;
    // The image is watched through a pointer to this picture, so a picture stays where it is;
    // Assign copies another picture's image.
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // The picture's own image, or nullptr when it holds none.
    TBitmap* Bitmap() const { return FBitmap.get(); }
    // Stores a copy of the image; the caller's may be freed afterwards.
    void SetBitmap(const TBitmap& bitmap) { Adopt(std::make_unique<TBitmap>(bitmap)); }
    // Hands over an image the picture keeps from now on.
    void SetBitmap(std::unique_ptr<TBitmap> bitmap) { Adopt(std::move(bitmap)); }
    void Clear() { Adopt(nullptr); }
    // A copy of the other picture's image, or none when it holds none.
    void Assign(const TPicture& source) {
        if (source.FBitmap) {
            SetBitmap(*source.FBitmap);
        } else {
            Clear();
        }
    }

    // Writes the image in the format the name's extension asks for (TBitmap::SaveToFile); a
    // picture without an image writes no file at all.
    void SaveToFile(const std::string& name) const {
        if (FBitmap) {
            FBitmap->SaveToFile(name);
        }
    }

    std::function<void()> OnChange;

private:
    void Adopt(std::unique_ptr<TBitmap> bitmap) {
        FBitmap = std::move(bitmap);
        if (FBitmap) {
            FBitmap->OnChange = [this] { Changed(); };
        }
        Changed();
    }
    void Changed() const {
        if (OnChange) {
            OnChange();
        }
    }

    std::unique_ptr<TBitmap> FBitmap;
};
