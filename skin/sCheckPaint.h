#pragma once

#include "Graphics.h"
#include "Types.h"
#include "sConst.h"

#include <string>

class TBitmap;
class TImageList;

// Where a check box's glyph comes from: its own bitmaps when they have pixels, else the image
// list by index, else the built-in glyphs of its kind.
struct TsGlyphSources {
    const TBitmap* GlyphChecked = nullptr;
    const TBitmap* GlyphUnChecked = nullptr;
    const TImageList* Images = nullptr;
    int ImgChecked = 0;
    int ImgUnchecked = 0;
    int ImgCheckedHot = 0;
    int ImgUncheckedHot = 0;
    int Kind = ckCheckBox;
};

// The glyph to draw for the state; its bottom-left pixel is its transparent colour. An image
// list's image is drawn on the list's background colour, or on magenta when it has none.
TBitmap CheckGlyphFor(const TsGlyphSources& sources, bool checked, bool hot);

// What a check box shows.
struct TsCheckLook {
    std::string Caption;
    TFont Font;
    TAlignment Alignment = taLeftJustify;
    bool MultiLine = false;
    TCheckAreaLayout Layout = calLeft;
    bool Enabled = true;
    bool FocusFrame = false; // focused with ShowFocus
    TColor Color = clBtnFace;
};

// The glyph's place: vertically centred, at the left or, for calRight, from width - g - 3.
TRect CheckGlyphRect(int width, int height, int glyphSize, TCheckAreaLayout layout);
// The box the caption is laid out in, beside the glyph.
TRect CheckCaptionBox(int width, int height, int glyphSize, TCheckAreaLayout layout);

// Paints the check box into the image (its size): background, caption, glyph.
void PaintCheckBox(TBitmap& image, const TsCheckLook& look, const TBitmap& glyph);
