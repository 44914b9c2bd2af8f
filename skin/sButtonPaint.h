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
};

// Composes a button into its style's cache, which has the button's size: the face, the border
// mask of the state (pressed, hot or normal) and the caption. When the style's region-changed
// flag was set, returns the pixel runs to cut out of the window (and clears the flag).
std::optional<std::vector<TRect>> PaintButton(TsActiveBGStyle& style, const TsButtonLook& look);

// The caption: word-wrapped in the width less the margins, centred as a block, each line
// centred when there is more than one, moved one pixel right and down while pressed, embossed
// when disabled, in the hot font colour and style while hot; the focus frame around it.
void PaintButtonCaption(TBitmap& image, const TsButtonLook& look, bool hot, TColor hotFontColor,
                        std::uint8_t hotFontStyle);

// The focus frame of a button on the rectangle whose edges are the given rows and columns: a
// black dot every third pixel along each edge, each with a white dot one up and one left.
void DrawDottedFrame(TBitmap& image, const TRect& rect);
