#include "CodeImage.h"

#include "Barcode.h"
#include "Bitmap.h"
#include "Canvas.h"
#include "SymbologyNames.h"
#include "Utf8.h"

#include <algorithm>
#include <climits>

namespace {

struct CopyPlace {
    int Top;
    TRect Band;
    TPoint TextOrigin;
};

// The band is fixed: it does not follow the symbol's width; the text starts one row above it.
constexpr CopyPlace FirstCopy{5, {15, 95, 185, 107}, {20, 94}};
constexpr CopyPlace SecondCopy{125, {15, 215, 185, 227}, {20, 214}};
constexpr int CopyLeft = 5;

void DrawCopy(TBarcode& barcode, TCanvas& canvas, const TCodeImageInputs& inputs,
              const CopyPlace& place, const std::string& line) {
    barcode.SetTop(place.Top);
    barcode.SetLeft(CopyLeft);
    barcode.SetText(inputs.Data);
    barcode.Render(canvas);
    if (inputs.ShowText) {
        canvas.TextRect(place.Band, place.TextOrigin.x, place.TextOrigin.y, line);
    }
}

} // namespace

void ConfigureMainBarcode(TBarcode& barcode) {
    barcode.SetHeight(100);
    barcode.SetText("7803213792");
    barcode.SetTop(168);
    barcode.SetLeft(24);
    barcode.SetModul(2);
    barcode.SetRatio(2.0);
    barcode.SetTyp(TBarcodeType::bcCodeEAN13);
    barcode.SetChecksum(true);
}

void InitCodeImage(TBitmap& image) {
    image.SetWidth(CodeImageWidth);
    image.SetHeight(CodeImageHeight);
}

std::string HumanReadableLine(std::string_view data) {
    // Byte offset of character k (counting from 0), or the end of the data beyond it.
    const auto offsetOf = [&](std::size_t k) {
        std::size_t i = 0;
        for (; i < data.size() && k > 0; --k) {
            i += Utf8CharLength(data, i);
        }
        return i;
    };
    const std::size_t cuts[5] = {0, offsetOf(1), offsetOf(7), offsetOf(13), data.size()};
    std::string line;
    for (int g = 0; g < 4; ++g) {
        if (g > 0) {
            line += "    ";
        }
        line.append(data.substr(cuts[g], cuts[g + 1] - cuts[g]));
    }
    return line;
}

void ClearCodeImage(TBitmap& image) {
    image.Canvas().Clear();
}

void ComposeCodeImage(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs) {
    ClearCodeImage(image);
    DrawCodeImage(barcode, image, inputs);
}

void DrawCodeImage(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs) {
    TCanvas& canvas = image.Canvas();
    if (const auto typ = FindSymbology(inputs.TypeText)) {
        barcode.SetTyp(*typ);
    }
    const std::string line = HumanReadableLine(inputs.Data);
    DrawCopy(barcode, canvas, inputs, FirstCopy, line);
    if (inputs.DualCode) {
        DrawCopy(barcode, canvas, inputs, SecondCopy, line);
    }
}

TRect ComposedBarsBounds(const TBarcode& barcode, const TCodeImageInputs& inputs) {
    TBarcode copy = barcode;
    if (const auto typ = FindSymbology(inputs.TypeText)) {
        copy.SetTyp(*typ);
    }
    copy.SetText(inputs.Data);
    copy.ComputeElementWidths();
    const TRect frame = copy.BarsExtent(copy.BuildPattern());
    if (frame.Right <= frame.Left) {
        return {};
    }
    const CopyPlace* places[] = {&FirstCopy, &SecondCopy};
    TRect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int i = 0; i < (inputs.DualCode ? 2 : 1); ++i) {
        copy.SetTop(places[i]->Top);
        copy.SetLeft(CopyLeft);
        // The corners land where Render puts them, turned by Angle as the painter turns them.
        for (const TPoint corner :
             {copy.PlacePoint(frame.Left, frame.Top), copy.PlacePoint(frame.Right, frame.Top),
              copy.PlacePoint(frame.Left, frame.Bottom),
              copy.PlacePoint(frame.Right, frame.Bottom)}) {
            bounds = {std::min(bounds.Left, corner.x), std::min(bounds.Top, corner.y),
                      std::max(bounds.Right, corner.x), std::max(bounds.Bottom, corner.y)};
        }
    }
    return bounds;
}

std::string CutOffWarning(const TBarcode& barcode, const TCodeImageInputs& inputs) {
    const TRect bars = ComposedBarsBounds(barcode, inputs);
    if (bars.Right <= CodeImageWidth && bars.Bottom <= CodeImageHeight) {
        return {};
    }
    return "the symbol is cut off: its bars need " + std::to_string(bars.Right) + " x " +
           std::to_string(bars.Bottom) + " pixels, the code image has " +
           std::to_string(CodeImageWidth) + " x " + std::to_string(CodeImageHeight) +
           ", so it may not scan";
}
