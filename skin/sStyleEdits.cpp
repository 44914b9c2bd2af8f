#include "sStyleEdits.h"

#include <algorithm>

namespace {

template <class T> void Change(TsGenStyle& style, T& field, const T& value) {
    if (field != value) {
        field = value;
        style.Invalidate();
    }
}

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
    Change(FStyle, FWidth, v);
}
void TsEditorBorder::SetBevel(TsEditorBevel v) {
    Change(FStyle, FBevel, v);
}

void TsEditorSelection::SetColor(TColor v) {
    Change(FStyle, FColor, v);
}
void TsEditorSelection::SetMode(TModeSelection v) {
    Change(FStyle, FMode, static_cast<TModeSelection>(v & (msBorder | msColor)));
}

void TsStyleCaption::SetLayout(TsCaptionLayout v) {
    Change(FStyle, FLayout, v);
}
void TsStyleCaption::SetMaxWidth(int v) {
    Change(FStyle, FMaxWidth, v);
}
void TsStyleCaption::SetText(const std::string& v) {
    Change(FStyle, FText, v);
}
void TsStyleCaption::SetActive(bool v) {
    Change(FStyle, FActive, v);
}

void TsEditorStyle::TsPainting::SetBevel(TsEditorBevel v) {
    Change(FStyle, FBevel, v);
}
void TsEditorStyle::TsPainting::SetColorBorderTop(TColor v) {
    Change(FStyle, FColorBorderTop, v);
}
void TsEditorStyle::TsPainting::SetColorBorderBottom(TColor v) {
    Change(FStyle, FColorBorderBottom, v);
}
void TsEditorStyle::TsPainting::SetColor(TColor v) {
    FParentColor = false;
    Change(FStyle, FColor, v);
}
void TsEditorStyle::TsPainting::SetParentColor(bool v) {
    FParentColor = v;
    if (v && FStyle.Owner() != nullptr) {
        Change(FStyle, FColor, FStyle.Owner()->ParentColor());
    }
}
void TsEditorStyle::TsPainting::SetBorderWidth(int v) {
    Change(FStyle, FBorderWidth, v);
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
