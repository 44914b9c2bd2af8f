#pragma once

#include "Types.h"

#include <string>
#include <string_view>

class TBarcode;
class TBitmap;

inline constexpr int CodeImageWidth = 525;
inline constexpr int CodeImageHeight = 276;

// What the main window's inputs hold when one code image is composed.
struct TCodeImageInputs {
    std::string TypeText = "Code EAN13"; // a symbology list text; another text keeps Typ
    std::string Data = "1234567890128";
    bool ShowText = true;
    bool DualCode = true;
};

// Sets a barcode component up as the main window's: 100 px bars, 2 px modules, ratio 2.0,
// check characters on.
void ConfigureMainBarcode(TBarcode& barcode);

// An empty code image: 525 × 276, white.
void InitCodeImage(TBitmap& image);

// The line printed under the bars: character 1, characters 2–7, 8–13 and 14 onwards, joined by
// four spaces. Characters, not bytes, are counted.
std::string HumanReadableLine(std::string_view data);

// Starts the image's recording and clears the whole image with its canvas's brush, so that
// everything drawn from here on can be written as a vector drawing too. After a composition
// only what it drew is painted over (TCanvas::Clear).
void ClearCodeImage(TBitmap& image);

// ClearCodeImage, then the copies as DrawCodeImage draws them.
void ComposeCodeImage(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs);

// Draws over the image as it stands: the first copy at (5, 5) and, with DualCode, the second at
// (5, 125), each with its line in a white band when ShowText is on. Exceptions of the barcode
// component end the drawing where they occur.
void DrawCodeImage(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs);

// What to say when the code image cuts off the bars of ComposeCodeImage's copies ("the symbol is
// cut off: its bars need W x H pixels, the code image has 525 x 276, so it may not scan"), or
// an empty text when they fit. The component is left as it is; its exceptions propagate.
std::string CutOffWarning(const TBarcode& barcode, const TCodeImageInputs& inputs);

// The rectangle that the bars of ComposeCodeImage's copies cover for these inputs, worked out
// from the component's own pattern and element widths without drawing anything (right and
// bottom exclusive). Whatever lies beyond the code image's size is cut off by the image. The
// component itself is left as it is; its exceptions propagate.
TRect ComposedBarsBounds(const TBarcode& barcode, const TCodeImageInputs& inputs);
