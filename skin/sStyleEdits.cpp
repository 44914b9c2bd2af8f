#include "sStyleEdits.h"

#include <algorithm>

namespace {

bool HasWord(const std::string& words, const std::string& word) {
    std::size_t start = 0;
    while (start < words.size()) {
        const std::size_t end = std::min(words.find_first_of(" ,", start), words.size());
        if (words.compare(start, end - start, word) == 0 && end > start) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace

void TsEditorBorder::SetWidth(int v) {
    FStyle.Change(FWidth, v);
}
void TsEditorBorder::SetBevel(TsEditorBevel v) {
    FStyle.Change(FBevel, v);
}

void TsEditorSelection::SetColor(TColor v) {
    FStyle.Change(FColor, v);
}
void TsEditorSelection::SetMode(TModeSelection v) {
    FStyle.Change(FMode, static_cast<TModeSelection>(v & (msBorder | msColor)));
}

void TsStyleCaption::SetLayout(TsCaptionLayout v) {
    FStyle.Change(FLayout, v);
}
void TsStyleCaption::SetMaxWidth(int v) {
    FStyle.Change(FMaxWidth, v);
}
void TsStyleCaption::SetText(const std::string& v) {
    FStyle.Change(FText, v);
}
void TsStyleCaption::SetActive(bool v) {
    FStyle.Change(FActive, v);
}

void TsEditorStyle::TsPainting::SetBevel(TsEditorBevel v) {
    FStyle.Change(FBevel, v);
}
void TsEditorStyle::TsPainting::SetColorBorderTop(TColor v) {
    FStyle.Change(FColorBorderTop, v);
}
void TsEditorStyle::TsPainting::SetColorBorderBottom(TColor v) {
    FStyle.Change(FColorBorderBottom, v);
}
void TsEditorStyle::TsPainting::SetColor(TColor v) {
    FParentColor = false;
    FStyle.Change(FColor, v);
}
void TsEditorStyle::TsPainting::SetParentColor(bool v) {
    FParentColor = v;
    if (v && FStyle.Owner() != nullptr) {
        FStyle.Change(FColor, FStyle.Owner()->ParentColor());
    }
}
void TsEditorStyle::TsPainting::SetBorderWidth(int v) {
    FStyle.Change(FBorderWidth, v);
}

TColor TsEditorStyle::FieldColor() const {
    if (IsHot() && (FSelection.Mode() & msColor)) {
        return ColorToRGB(FSelection.Color());
    }
    return ColorToRGB(FPainting.Color());
}

TsNavigation TsCustomStyle::Navigation(int virtualKey) const {
    const std::string key = std::to_string(virtualKey);
    if (HasWord(FKeysNextControl, key)) {
        return snNext;
    }
    if (HasWord(FKeysPrevControl, key)) {
        return snPrev;
    }
    return snNone;
}
