#pragma once

#include "Graphics.h"
#include "Types.h"

#include <optional>
#include <string>
#include <vector>

class TBitmap;
class TsActiveBGStyle;

// What a button's face shows besides its style.
struct TsButtonLook {
    std::string Caption;
    TFont Font;
    int Margin = 0;
    bool ShowCaption = true;
    bool Down = false;
    bool Enabled = true;
    // A focused TsButton with ShowFocus: the dotted frame round the caption.
    bool FocusFrame = false;
    int FocusMargin = 1;
    // Device pixels a pixel of the button: the screen's device pixel ratio.
    double Scale = 1;
};

// Composes a button into its style's cache, which has the button's size in device pixels: the
// face, the border mask of the state (pressed, hot or normal) and the caption, all drawn at the
// look's scale. When the style's region-changed flag was set, returns the device pixel runs to
// cut out of the window (and clears the flag). At a scale other than 1 the cut-out pixels are
// painted in the parent's colour, as the window's region cannot cut every one of them.
std::optional<std::vector<TRect>> PaintButton(TsActiveBGStyle& style, const TsButtonLook& look);

// The caption: word-wrapped in the width less the margins, centred as a block, each line
// centred when there is more than one, moved one pixel right and down while pressed, embossed
// when disabled, in the hot font colour and style while hot; the focus frame around it. Sizes
// are the button's pixels at the look's scale, the font's too.
void PaintButtonCaption(TBitmap& image, const TsButtonLook& look, bool hot, TColor hotFontColor,
                        std::uint8_t hotFontStyle);

// The focus frame of a button on the rectangle whose edges are the given rows and columns: a
// black dot every third pixel along each edge, each with a white dot one up and one left. A dot
// is `dot` × `dot` pixels, the steps `dot` times as long, so the frame keeps its look at a scale.
void DrawDottedFrame(TBitmap& image, const TRect& rect, int dot = 1);
