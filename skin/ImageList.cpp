#include "ImageList.h"

#include "sGraphUtils.h"

int TImageList::Add(const TBitmap& image, TColor maskColor) {
    FImages.push_back({image, maskColor});
    return Count() - 1;
}

void TImageList::Draw(TBitmap& target, int x, int y, int index) const {
    if (index < 0 || index >= Count()) {
        return;
    }
    const TEntry& entry = FImages[static_cast<std::size_t>(index)];
    CopyTransparent(target, x, y, entry.Image,
                    entry.Mask == clNone ? std::nullopt : std::optional<TColor>(entry.Mask));
}
