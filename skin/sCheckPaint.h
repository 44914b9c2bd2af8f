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

// The glyph to draw for the state at the scale; its bottom-left pixel is its transparent colour.
// An image list's image is drawn on the list's background colour, or on magenta when it has
// none. Own and listed glyphs have their pixels repeated at a scale, the built-in ones are
// drawn at it.
TBitmap CheckGlyphFor(const TsGlyphSources& sources, bool checked, bool hot, double scale);

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
    // Device pixels a pixel of the control: the screen's device pixel ratio.
    double Scale = 1;
};

// The glyph's place: vertically centred, at the left or, for calRight, from width - g - 3. At a
// scale every size is in device pixels, the glyph's and the 3 pixels too.
TRect CheckGlyphRect(int width, int height, int glyphSize, TCheckAreaLayout layout,
                     double scale = 1);
// The box the caption is laid out in, beside the glyph.
TRect CheckCaptionBox(int width, int height, int glyphSize, TCheckAreaLayout layout, double scale);

// Paints the check box into the image (its size, in device pixels at the look's scale):
// background, caption, glyph (drawn at the scale). A disabled check box embosses its caption and
// greys its glyph.
void PaintCheckBox(TBitmap& image, const TsCheckLook& look, const TBitmap& glyph);
