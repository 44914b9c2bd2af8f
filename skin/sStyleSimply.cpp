#include "sStyleSimply.h"

#include "sBuiltinImages.h"
#include "sGraphUtils.h"

namespace {

bool ValidPercent(int v) {
    return v >= 0 && v <= 100;
}

} // namespace

void TsShadow::SetTransparency(int v) {
    FStyle.Change(FTransparency, v);
}
void TsShadow::SetDontUse(bool v) {
    FStyle.Change(FDontUse, v);
}
void TsShadow::SetEnabled(bool v) {
    FStyle.Change(FEnabled, v);
}
void TsShadow::SetColor(TColor v) {
    FStyle.Change(FColor, v);
}
void TsShadow::SetOffset(int v) {
    FStyle.Change(FOffset, v);
}
void TsShadow::SetBlur(int v) {
    FStyle.Change(FBlur, v);
}

void TsBGImage::ImageChanged() {
    FOwner.FStyle.Invalidate();
}

void TsBGImage::SetImageName(const std::string& v) {
    if (v == FImageName) {
        return;
    }
    FImageName = v;
    if (const TBitmap* image = BuiltinImage(v)) {
        FImage.SetBitmap(*image);
    }
    FOwner.FStyle.Invalidate();
}

void TsBGImage::SetPercent(int v) {
    if (!ValidPercent(v) || v == FPercent) {
        return;
    }
    FPercent = static_cast<TPercent>(v);
    TsBGGradient& other = FOwner.FGradient;
    if (FPercent + other.FPercent > 100) {
        other.FPercent = static_cast<TPercent>(100 - FPercent);
    }
    FOwner.FStyle.Invalidate();
}

void TsBGGradient::SetData(const std::string& v) {
    const std::string text = v.substr(0, 255);
    if (text == FData) {
        return;
    }
    FData = text;
    ParseGradientData(FData, FSegments);
    FOwner.FStyle.Invalidate();
}

void TsBGGradient::SetPercent(int v) {
    if (!ValidPercent(v) || v == FPercent) {
        return;
    }
    FPercent = static_cast<TPercent>(v);
    TsBGImage& other = FOwner.FImage;
    if (FPercent + other.FPercent > 100) {
        other.FPercent = static_cast<TPercent>(100 - FPercent);
    }
    FOwner.FStyle.Invalidate();
}

void TsHotPainting::SetColor(TColor v) {
    FStyle.Change(FColor, v);
}
void TsHotPainting::SetFontColor(TColor v) {
    FStyle.Change(FFontColor, v);
}
void TsHotPainting::SetFontStyle(std::uint8_t v) {
    FStyle.Change(FFontStyle, v);
}
void TsHotPainting::SetTransparency(int v) {
    if (ValidPercent(v)) {
        FStyle.Change(FTransparency, static_cast<TPercent>(v));
    }
}
void TsHotPainting::SetBevel(TsControlBevel v) {
    FStyle.Change(FBevel, v);
}
void TsHotPainting::SetBevelWidth(int v) {
    FStyle.Change(FBevelWidth, v);
}

void TsFading::SetEnabled(bool v) {
    FEnabled = v;
}
void TsFading::SetIterations(int v) {
    if (ValidPercent(v)) {
        FIterations = static_cast<TPercent>(v);
    }
}
void TsFading::SetIntervalIn(int v) {
    if (ValidPercent(v)) {
        FIntervalIn = static_cast<TPercent>(v);
    }
}
void TsFading::SetIntervalOut(int v) {
    if (ValidPercent(v)) {
        FIntervalOut = static_cast<TPercent>(v);
    }
}

void TsMaskedBorders::MaskChanged() {
    FStyle.SetRegionChanged(true);
    FStyle.Invalidate();
}
void TsMaskedBorders::SetPredefined(TsPredefinedBorders v) {
    if (v != FPredefined && v <= pdCustom) {
        FPredefined = v;
        MaskChanged();
    }
}
void TsMaskedBorders::SetTransparentColor(TColor v) {
    if (v != FTransparentColor) {
        FTransparentColor = v;
        MaskChanged();
    }
}
void TsMaskedBorders::SetEnabled(bool v) {
    if (v != FEnabled) {
        FEnabled = v;
        MaskChanged();
    }
}

const TBitmap& TsMaskedBorders::CurrentMask(double scale) const {
    if (FPredefined == pdCustom) {
        if (FMask.Width() == 0) {
            return BorderMask(pdBorder1, scale);
        }
        if (scale == 1) {
            return FMask;
        }
        FScaledMask = ScaledCopy(FMask, scale);
        return FScaledMask;
    }
    return BorderMask(FPredefined, scale);
}

TsGenStyle::TsGenStyle(TsStyleOwner* owner) : FEffects(*this), FOwner(owner) {
    if (owner != nullptr && owner->Width() > 0 && owner->Height() > 0) {
        FCacheBmp.SetWidth(owner->Width());
        FCacheBmp.SetHeight(owner->Height());
    }
}

void TsGenStyle::SetSoftControl(bool v) {
    Change(FSoftControl, v);
}

void TsGenStyle::SetSkinSection(const std::string& v) {
    if (v == FSkinSection) {
        return;
    }
    FSkinSection = v;
    UpdateIndexes();
    FRegionChanged = true;
    Invalidate();
}

void TsGenStyle::UpdateIndexes() {
    if (FSkinSection.empty() && FOwner != nullptr) {
        FSkinSection = FOwner->ClassName();
    }
    FSkinIndex = -1;
    FBorderIndex = -1;
}

void TsGenStyle::Invalidate() {
    FBGChanged = true;
    if (FOwner != nullptr && !FOwner->Destroying() && FOwner->Visible()) {
        FOwner->Repaint();
    }
}

bool TsGenStyle::NeverHot(int kind) {
    return (kind >= 51 && kind <= 74) || kind == 110 || (kind >= 141 && kind <= 161);
}

bool TsGenStyle::IsHot() const {
    if (FOwner == nullptr || FOwner->Destroying()) {
        return false;
    }
    if (FOwner->ActiveDefault()) {
        return true;
    }
    if (!FOwner->Enabled()) {
        return false;
    }
    if (IsButtonKind(FControlKind) && FOwner->ButtonDown()) {
        return true;
    }
    if (NeverHot(FControlKind)) {
        return false;
    }
    return FFocused || FOwner->Focused() || FMouseAbove;
}

bool TsGenStyle::Notify(TsMessage message) {
    switch (message) {
    case TsMessage::MouseEnter:
    case TsMessage::MouseLeave: {
        const bool in = message == TsMessage::MouseEnter;
        if (!NeverHot(FControlKind)) {
            FMouseAbove = in;
        }
        if (FOwner == nullptr || FFocused || FOwner->Focused()) {
            return true;
        }
        if (!IsButtonKind(FControlKind) || !FOwner->Fade(in)) {
            Invalidate();
        }
        return true;
    }
    case TsMessage::SetFocus:
        FFocused = true;
        if (FControlKind < 1 || FControlKind > 15) {
            Invalidate();
        }
        return false;
    case TsMessage::KillFocus:
        FFocused = false;
        Invalidate();
        return false;
    case TsMessage::Move:
        FBGChanged = true;
        return false;
    case TsMessage::Size:
        FBGChanged = true;
        FRegionChanged = true;
        return false;
    }
    return false;
}

void TsPaintStyle::TsPainting::SetBevel(TsControlBevel v) {
    FStyle.Change(FBevel, v);
}

void TsPaintStyle::TsPainting::SetColor(TColor v) {
    if (v == FColor) {
        return;
    }
    FColor = v;
    FParentColor = false;
    if (FStyle.Owner() != nullptr) {
        FStyle.Owner()->SetOwnColor(v);
    }
    FStyle.Invalidate();
}

void TsPaintStyle::TsPainting::SetParentColor(bool v) {
    FParentColor = v;
    if (v && FStyle.Owner() != nullptr) {
        FStyle.Change(FColor, FStyle.Owner()->ParentColor());
    }
}

void TsPaintStyle::TsPainting::SetBevelWidth(int v) {
    FStyle.Change(FBevelWidth, v);
}

TColor TsPassiveBGStyle::GetColor() const {
    return ColorToRGB(Painting().Color());
}
TsControlBevel TsPassiveBGStyle::GetBevel() const {
    return Painting().Bevel();
}
int TsPassiveBGStyle::GetBevelWidth() const {
    return Painting().BevelWidth();
}
int TsPassiveBGStyle::GetGradientPercent() const {
    return FBackground.Gradient().Percent();
}
const TsGradArray& TsPassiveBGStyle::GetGradientData() const {
    return FBackground.Gradient().Segments();
}
int TsPassiveBGStyle::GetImagePercent() const {
    return FBackground.Image().Percent();
}
const TBitmap* TsPassiveBGStyle::GetImage() const {
    return FBackground.Image().Image().Bitmap();
}

void TsPassiveBGStyle::PaintBG(TBitmap& image, const TRect& rect) const {
    const int imagePercent = GetImagePercent();
    const int gradientPercent = GetGradientPercent();
    const TColor color = GetColor();
    const TBitmap* picture = GetImage();
    bool imageDrawn = false;
    if (imagePercent > 0 && picture != nullptr && picture->Width() > 0 && picture->Height() > 0) {
        TileBitmap(image, rect, *picture);
        imageDrawn = true;
    }
    if (gradientPercent > 0) {
        const TsGradArray& segments = GetGradientData();
        if (imageDrawn) {
            TBitmap gradient;
            gradient.SetWidth(image.Width());
            gradient.SetHeight(image.Height());
            if (segments.empty()) {
                FillDC(gradient, {0, 0, image.Width(), image.Height()}, color);
            } else {
                PaintGrad(gradient, rect, segments);
            }
            BlendBitmap(image, gradient, imagePercent * 255 / 100);
        } else if (segments.empty()) {
            FillDC(image, rect, color);
        } else {
            PaintGrad(image, rect, segments);
        }
    }
    const int shares = imagePercent + gradientPercent;
    if (shares == 0 || shares > 100) {
        FillDC(image, rect, color);
    } else if (shares < 100) {
        BlendColor(image, {0, 0, image.Width() - 1, image.Height() - 1}, shares, color);
    }
}

TColor TsActiveBGStyle::GetColor() const {
    return IsHot() ? ColorToRGB(FHotStyle.HotPainting().Color()) : TsPassiveBGStyle::GetColor();
}
TsControlBevel TsActiveBGStyle::GetBevel() const {
    return IsHot() ? FHotStyle.HotPainting().Bevel() : TsPassiveBGStyle::GetBevel();
}
int TsActiveBGStyle::GetBevelWidth() const {
    return IsHot() ? FHotStyle.HotPainting().BevelWidth() : TsPassiveBGStyle::GetBevelWidth();
}
int TsActiveBGStyle::GetGradientPercent() const {
    return IsHot() ? FHotStyle.HotBackground().Gradient().Percent()
                   : TsPassiveBGStyle::GetGradientPercent();
}
const TsGradArray& TsActiveBGStyle::GetGradientData() const {
    return IsHot() ? FHotStyle.HotBackground().Gradient().Segments()
                   : TsPassiveBGStyle::GetGradientData();
}
int TsActiveBGStyle::GetImagePercent() const {
    return IsHot() ? FHotStyle.HotBackground().Image().Percent()
                   : TsPassiveBGStyle::GetImagePercent();
}
const TBitmap* TsActiveBGStyle::GetImage() const {
    return IsHot() ? FHotStyle.HotBackground().Image().Image().Bitmap()
                   : TsPassiveBGStyle::GetImage();
}
TColor TsActiveBGStyle::GetFontColor() const {
    return ColorToRGB(FHotStyle.HotPainting().FontColor());
}
