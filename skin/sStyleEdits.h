#pragma once

#include "sStyleSimply.h"

#include <string>

// The editor family of styles: the edit's and the check box's.

class TsEditorBorder {
public:
    explicit TsEditorBorder(TsGenStyle& style) : FStyle(style) {}
    int Width() const { return FWidth; }
    void SetWidth(int v);
    TsEditorBevel Bevel() const { return FBevel; }
    void SetBevel(TsEditorBevel v);

private:
    TsGenStyle& FStyle;
    int FWidth = 2;
    TsEditorBevel FBevel = ebAsBottomBorder;
};

class TsEditorSelection {
public:
    explicit TsEditorSelection(TsGenStyle& style) : FStyle(style), FBorder(style) {}
    TsEditorBorder& Border() { return FBorder; }
    const TsEditorBorder& Border() const { return FBorder; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TModeSelection Mode() const { return FMode; }
    void SetMode(TModeSelection v);

private:
    TsGenStyle& FStyle;
    TsEditorBorder FBorder;
    TColor FColor = clWindow;
    TModeSelection FMode = msBorder | msColor;
};

// A caption an edit's style can draw beside it. Every value is stored; the forms keep it off.
class TsStyleCaption {
public:
    explicit TsStyleCaption(TsGenStyle& style) : FStyle(style) {}
    TsCaptionLayout Layout() const { return FLayout; }
    void SetLayout(TsCaptionLayout v);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int v);
    TFont& Font() { return FFont; }
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);
    bool Active() const { return FActive; }
    void SetActive(bool v);

private:
    TsGenStyle& FStyle;
    TsCaptionLayout FLayout = sclLeft;
    int FMaxWidth = 0;
    TFont FFont;
    std::string FText;
    bool FActive = false;
};

class TsEditorStyle : public TsGenStyle {
public:
    // Painting settings of the editor family.
    class TsPainting {
    public:
        explicit TsPainting(TsGenStyle& style) : FStyle(style) {}
        TsEditorBevel Bevel() const { return FBevel; }
        void SetBevel(TsEditorBevel v);
        TColor ColorBorderTop() const { return FColorBorderTop; }
        void SetColorBorderTop(TColor v);
        TColor ColorBorderBottom() const { return FColorBorderBottom; }
        void SetColorBorderBottom(TColor v);
        TColor Color() const { return FColor; }
        // A new colour also clears ParentColor.
        void SetColor(TColor v);
        bool ParentColor() const { return FParentColor; }
        // True copies the parent's colour.
        void SetParentColor(bool v);
        // Lines of the frame while not hot; nothing in this program sets it.
        int BorderWidth() const { return FBorderWidth; }
        void SetBorderWidth(int v);

    private:
        TsGenStyle& FStyle;
        TsEditorBevel FBevel = ebAsBottomBorder;
        TColor FColorBorderTop = clBtnHighlight;
        TColor FColorBorderBottom = 8287595; // 0x7E756B
        TColor FColor = 15532031;            // 0xECFFFF
        bool FParentColor = false;
        int FBorderWidth = 0;
    };

    explicit TsEditorStyle(TsStyleOwner* owner)
        : TsGenStyle(owner), FPainting(*this), FSelection(*this) {}
    TsPainting& Painting() { return FPainting; }
    const TsPainting& Painting() const { return FPainting; }
    TsEditorSelection& Selection() { return FSelection; }
    const TsEditorSelection& Selection() const { return FSelection; }

    // The field colour as RGB: the selection colour while hot (with msColor), else the
    // painting colour.
    TColor FieldColor() const;

private:
    TsPainting FPainting;
    TsEditorSelection FSelection;
};

enum TsNavigation { snNone, snNext, snPrev };

class TsCustomStyle : public TsEditorStyle {
public:
    explicit TsCustomStyle(TsStyleOwner* owner) : TsEditorStyle(owner), FCaption(*this) {}
    TsStyleCaption& Caption() { return FCaption; }
    const std::string& KeysNextControl() const { return FKeysNextControl; }
    void SetKeysNextControl(const std::string& v) { FKeysNextControl = v; }
    const std::string& KeysPrevControl() const { return FKeysPrevControl; }
    void SetKeysPrevControl(const std::string& v) { FKeysPrevControl = v; }

    // Where a key without Shift, Ctrl or Alt moves the focus: its virtual-key number, in
    // decimal, among the words (separated by spaces or commas) of KeysNextControl, then of
    // KeysPrevControl.
    TsNavigation Navigation(int virtualKey) const;

private:
    TsStyleCaption FCaption;
    std::string FKeysNextControl;
    std::string FKeysPrevControl;
};

class TsStyle : public TsCustomStyle {
public:
    using TsCustomStyle::TsCustomStyle;
};
