#pragma once

#include "Bitmap.h"
#include "Graphics.h"
#include "Picture.h"
#include "sConst.h"
#include "sGradient.h"
#include "sStyleOwner.h"

#include <functional>
#include <memory>
#include <string>

// The styles of the skinned controls and the button family's sub-objects. Members are declared
// in the order of the published properties, the order in which stored values are set. Every
// sub-object keeps a reference to the style that owns it and invalidates it on a change.

class TsGenStyle;

class TsShadow {
public:
    explicit TsShadow(TsGenStyle& style) : FStyle(style) {}
    int Transparency() const { return FTransparency; }
    void SetTransparency(int v);
    bool DontUse() const { return FDontUse; }
    void SetDontUse(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int Offset() const { return FOffset; }
    void SetOffset(int v);
    int Blur() const { return FBlur; }
    void SetBlur(int v);

private:
    TsGenStyle& FStyle;
    int FTransparency = 60;
    bool FDontUse = true;
    bool FEnabled = false;
    TColor FColor = clBlack;
    int FOffset = 8;
    int FBlur = 4;
};

class TsEffects {
public:
    explicit TsEffects(TsGenStyle& style) : FShadow(style) {}
    TsShadow& Shadow() { return FShadow; }

private:
    TsShadow FShadow;
};

class TsHotBackground;

class TsBGImage {
public:
    explicit TsBGImage(TsHotBackground& owner) : FOwner(owner) {}
    TPicture& Image() { return FImage; }
    const TPicture& Image() const { return FImage; }
    // Call after changing the picture in place.
    void ImageChanged();
    const std::string& ImageName() const { return FImageName; }
    // The name of a built-in image also puts a copy of that image into the picture.
    void SetImageName(const std::string& v);
    TPercent Percent() const { return FPercent; }
    // Keeps the new share and lowers the gradient's so that both add up to 100 at most.
    void SetPercent(int v);

private:
    friend class TsBGGradient;
    TsHotBackground& FOwner;
    TPicture FImage;
    std::string FImageName;
    TPercent FPercent = 0;
};

class TsBGGradient {
public:
    explicit TsBGGradient(TsHotBackground& owner) : FOwner(owner) {}
    const std::string& Data() const { return FData; }
    // Stores the text (cut to 255 characters) and parses it into Segments(); a word that is
    // not an integer raises EConvertError after the text is stored.
    void SetData(const std::string& v);
    TPercent Percent() const { return FPercent; }
    // Keeps the new share and lowers the image's so that both add up to 100 at most.
    void SetPercent(int v);
    const TsGradArray& Segments() const { return FSegments; }

private:
    friend class TsBGImage;
    TsHotBackground& FOwner;
    std::string FData;
    TPercent FPercent = 70;
    TsGradArray FSegments;
};

class TsHotBackground {
public:
    explicit TsHotBackground(TsGenStyle& style) : FStyle(style), FImage(*this), FGradient(*this) {}
    virtual ~TsHotBackground() = default;
    TsBGImage& Image() { return FImage; }
    const TsBGImage& Image() const { return FImage; }
    TsBGGradient& Gradient() { return FGradient; }
    const TsBGGradient& Gradient() const { return FGradient; }
    TsGenStyle& Style() { return FStyle; }

private:
    friend class TsBGImage;
    friend class TsBGGradient;
    TsGenStyle& FStyle;
    TsBGImage FImage;
    TsBGGradient FGradient;
};

class TsBackground : public TsHotBackground {
public:
    using TsHotBackground::TsHotBackground;
    bool ListenMSG() const { return FListenMSG; }
    void SetListenMSG(bool v) { FListenMSG = v; }

private:
    bool FListenMSG = false;
};

class TsHotPainting {
public:
    explicit TsHotPainting(TsGenStyle& style) : FStyle(style) {}
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor v);
    std::uint8_t FontStyle() const { return FFontStyle; } // TFontStyle flags
    void SetFontStyle(std::uint8_t v);
    TPercent Transparency() const { return FTransparency; }
    void SetTransparency(int v);
    TsControlBevel Bevel() const { return FBevel; }
    void SetBevel(TsControlBevel v);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);

private:
    TsGenStyle& FStyle;
    TColor FColor = 13612943; // 0xCFB78F
    TColor FFontColor = clBlack;
    std::uint8_t FFontStyle = 0;
    TPercent FTransparency = 0;
    TsControlBevel FBevel = cbRaisedSoft;
    int FBevelWidth = 5;
};

class TsHotStyle {
public:
    explicit TsHotStyle(TsGenStyle& style) : FHotBackground(style), FHotPainting(style) {}
    TsHotBackground& HotBackground() { return FHotBackground; }
    const TsHotBackground& HotBackground() const { return FHotBackground; }
    TsHotPainting& HotPainting() { return FHotPainting; }
    const TsHotPainting& HotPainting() const { return FHotPainting; }

private:
    TsHotBackground FHotBackground;
    TsHotPainting FHotPainting;
};

class TsFading {
public:
    explicit TsFading(TsGenStyle& style) : FStyle(style) {}
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    TPercent Iterations() const { return FIterations; }
    void SetIterations(int v);
    TPercent IntervalIn() const { return FIntervalIn; }
    void SetIntervalIn(int v);
    TPercent IntervalOut() const { return FIntervalOut; }
    void SetIntervalOut(int v);

private:
    TsGenStyle& FStyle;
    bool FEnabled = true;
    TPercent FIterations = 5;
    TPercent FIntervalIn = 5;
    TPercent FIntervalOut = 5;
};

class TsMaskedBorders {
public:
    explicit TsMaskedBorders(TsGenStyle& style) : FStyle(style) {}
    TBitmap& Mask() { return FMask; }
    // Call after changing the custom mask in place.
    void MaskChanged();
    TsPredefinedBorders Predefined() const { return FPredefined; }
    void SetPredefined(TsPredefinedBorders v);
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    // The mask image in use at the scale: the custom one for pdCustom when it has pixels (its
    // pixels repeated at another scale), else the chosen built-in one ("BORD1" for an empty
    // custom mask).
    const TBitmap& CurrentMask(double scale) const;

private:
    TsGenStyle& FStyle;
    TBitmap FMask;
    // The custom mask at the scale last asked for.
    mutable TBitmap FScaledMask;
    TsPredefinedBorders FPredefined = pdBorder1;
    TColor FTransparentColor = 16711935; // 0xFF00FF
    bool FEnabled = true;
};

class TsActiveEffects {
public:
    explicit TsActiveEffects(TsGenStyle& style) : FFading(style), FMaskedBorders(style) {}
    TsFading& Fading() { return FFading; }
    const TsFading& Fading() const { return FFading; }
    TsMaskedBorders& MaskedBorders() { return FMaskedBorders; }
    const TsMaskedBorders& MaskedBorders() const { return FMaskedBorders; }

private:
    TsFading FFading;
    TsMaskedBorders FMaskedBorders;
};

// The base of every style: the hot state, the notifications and the face cache.
class TsGenStyle {
public:
    using TsNotifyEvent = std::function<void(TsGenStyle& Sender)>;

    // The owner may be null (a style on its own is never hot and never asks for a repaint).
    explicit TsGenStyle(TsStyleOwner* owner);
    virtual ~TsGenStyle() = default;
    TsGenStyle(const TsGenStyle&) = delete;
    TsGenStyle& operator=(const TsGenStyle&) = delete;

    TsEffects& Effects() { return FEffects; }
    const TsNotifyEvent& OnMouseEnter() const { return FOnMouseEnter; }
    void SetOnMouseEnter(TsNotifyEvent v) { FOnMouseEnter = std::move(v); }
    bool SoftControl() const { return FSoftControl; }
    void SetSoftControl(bool v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    const std::string& SkinSection() const { return FSkinSection; }
    // Stores a different name, looks the section up again, marks the region changed and
    // invalidates.
    void SetSkinSection(const std::string& v);

    // Stores a value that differs into a field of this style, of one of its parts or of its
    // control, and invalidates the style.
    template <class T> void Change(T& field, const T& value) {
        if (field != value) {
            field = value;
            Invalidate();
        }
    }

    // No skin catalogue is ever loaded, so the lookup finds nothing; an empty section name
    // first becomes the owning control's class name.
    void UpdateIndexes();
    int SkinIndex() const { return FSkinIndex; }
    int BorderIndex() const { return FBorderIndex; }

    bool RegionChanged() const { return FRegionChanged; }
    void SetRegionChanged(bool v) { FRegionChanged = v; }
    bool BGChanged() const { return FBGChanged; }
    void SetBGChanged(bool v) { FBGChanged = v; }
    TsStyleOwner* Owner() const { return FOwner; }
    TBitmap& CacheBmp() { return FCacheBmp; }
    int ControlKind() const { return FControlKind; }
    void SetControlKind(int v) { FControlKind = v; }
    bool Focused() const { return FFocused; }
    bool MouseAbove() const { return FMouseAbove; }

    // Sets the background-changed flag and asks a visible control to repaint.
    void Invalidate();
    // Handles one notification of the owning control; true when the control should not
    // process it further (mouse enter and leave).
    bool Notify(TsMessage message);
    bool IsHot() const;

private:
    static bool NeverHot(int kind);

    TsEffects FEffects;
    TsNotifyEvent FOnMouseEnter;
    bool FSoftControl = true;
    int FGroupIndex = 0;
    std::string FSkinSection;

    int FBorderIndex = -1;
    int FSkinIndex = -1;
    bool FRegionChanged = true;
    bool FBGChanged = true;
    TsStyleOwner* FOwner;
    TBitmap FCacheBmp;
    int FControlKind = 0;
    bool FFocused = false;
    bool FMouseAbove = false;
};

class TsPaintStyle : public TsGenStyle {
public:
    // Painting settings of the button family.
    class TsPainting {
    public:
        explicit TsPainting(TsGenStyle& style) : FStyle(style) {}
        TsControlBevel Bevel() const { return FBevel; }
        void SetBevel(TsControlBevel v);
        int Transparency() const { return FTransparency; }
        void SetTransparency(int v) { FTransparency = v; }
        TColor Color() const { return FColor; }
        // A new colour also clears ParentColor and becomes the control's own colour.
        void SetColor(TColor v);
        bool ParentColor() const { return FParentColor; }
        // True copies the parent's colour.
        void SetParentColor(bool v);
        int BevelWidth() const { return FBevelWidth; }
        void SetBevelWidth(int v);

    private:
        TsGenStyle& FStyle;
        TsControlBevel FBevel = cbRaisedSoft;
        int FTransparency = 0;
        TColor FColor = 13288119; // 0xCAC2B7
        bool FParentColor = true;
        int FBevelWidth = 0;
    };

    explicit TsPaintStyle(TsStyleOwner* owner) : TsGenStyle(owner), FPainting(*this) {}
    TsPainting& Painting() { return FPainting; }
    const TsPainting& Painting() const { return FPainting; }

private:
    TsPainting FPainting;
};

class TsPassiveBGStyle : public TsPaintStyle {
public:
    explicit TsPassiveBGStyle(TsStyleOwner* owner) : TsPaintStyle(owner), FBackground(*this) {}
    TsBackground& Background() { return FBackground; }
    const TsBackground& Background() const { return FBackground; }

    // The painter's view of the style; the active style answers with the hot values while hot.
    // Colours come back as RGB.
    virtual TColor GetColor() const;
    virtual TsControlBevel GetBevel() const;
    virtual int GetBevelWidth() const;
    virtual int GetGradientPercent() const;
    virtual const TsGradArray& GetGradientData() const;
    virtual int GetImagePercent() const;
    // The background picture's image, or null.
    virtual const TBitmap* GetImage() const;

    // Composes the face into the image over the rectangle: picture, gradient, colour by their
    // shares.
    void PaintBG(TBitmap& image, const TRect& rect) const;

private:
    TsBackground FBackground;
};

class TsActiveBGStyle : public TsPassiveBGStyle {
public:
    explicit TsActiveBGStyle(TsStyleOwner* owner)
        : TsPassiveBGStyle(owner), FHotStyle(*this), FBtnEffects(*this) {}
    TsHotStyle& HotStyle() { return FHotStyle; }
    const TsHotStyle& HotStyle() const { return FHotStyle; }
    TsActiveEffects& BtnEffects() { return FBtnEffects; }
    const TsActiveEffects& BtnEffects() const { return FBtnEffects; }

    TColor GetColor() const override;
    TsControlBevel GetBevel() const override;
    int GetBevelWidth() const override;
    int GetGradientPercent() const override;
    const TsGradArray& GetGradientData() const override;
    int GetImagePercent() const override;
    const TBitmap* GetImage() const override;
    // The caption colour of the hot state, as RGB.
    TColor GetFontColor() const;
    bool GetFadingEnabled() const { return FBtnEffects.Fading().Enabled(); }
    int GetFadingIntervalIn() const { return FBtnEffects.Fading().IntervalIn(); }
    int GetFadingIterations() const { return FBtnEffects.Fading().Iterations(); }
    int GetFadingIntervalOut() const { return FBtnEffects.Fading().IntervalOut(); }

private:
    TsHotStyle FHotStyle;
    TsActiveEffects FBtnEffects;
};
