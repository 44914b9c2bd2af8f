#include "Barcode.h"
#include "Bitmap.h"
#include "Canvas.h"
#include "Exception.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

// Input layout, one field after the other: flags, type, Modul, Ratio, Angle, Height, Left, Top,
// canvas attributes, pen colour, brush colour, font size; the rest is the Text. Each number is a
// selector byte that steps through a useful range, with the top selectors standing for the
// extremes or for raw bits that follow (see TInput). An input that ends early reads zero bytes,
// so every input is a complete case.

namespace {

enum Flag : std::uint8_t {
    flChecksum = 1,
    flShowText = 2,
    flPatternOnly = 4,
    flWrongType = 8,
};

enum CanvasBit : std::uint8_t {
    cbPenClear = 4,
    cbBrushClear = 8,
};

class TInput {
public:
    TInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

    std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }

    // selector - bias for the common selectors.
    int Int(int bias) {
        const std::uint8_t selector = Byte();
        switch (selector) {
        case 0xFC:
            return std::numeric_limits<int>::min();
        case 0xFD:
            return std::numeric_limits<int>::max();
        case 0xFE:
            return Raw<std::int16_t>();
        case 0xFF:
            return Raw<std::int32_t>();
        default:
            return selector - bias;
        }
    }

    // (selector - bias) * step for the common selectors.
    double Real(int bias, double step) {
        const std::uint8_t selector = Byte();
        switch (selector) {
        case 0xF9:
            return std::numeric_limits<double>::quiet_NaN();
        case 0xFA:
            return std::numeric_limits<double>::infinity();
        case 0xFB:
            return -std::numeric_limits<double>::infinity();
        case 0xFC:
            return std::numeric_limits<double>::max();
        case 0xFD:
            return std::numeric_limits<double>::lowest();
        case 0xFE:
            return std::numeric_limits<double>::denorm_min();
        case 0xFF:
            return Raw<double>();
        default:
            return (selector - bias) * step;
        }
    }

    // Zero bytes are dropped: Text carries the codes 1..255.
    std::string Rest() {
        std::string rest;
        for (; FPos < FSize; ++FPos) {
            if (FData[FPos] != 0) {
                rest += static_cast<char>(FData[FPos]);
            }
        }
        return rest;
    }

private:
    // The bytes that are left, zero-filled past the end of the input.
    template <typename T> T Raw() {
        std::array<std::uint8_t, sizeof(T)> bytes{};
        const std::size_t count = std::min(bytes.size(), FSize - FPos);
        std::copy_n(FData + FPos, count, bytes.begin());
        FPos += count;
        return std::bit_cast<T>(bytes);
    }

    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

// A trap rather than an exception, so no handler in the engine can swallow the failure.
void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "BarcodeFuzz: %s\n", what);
        __builtin_trap();
    }
}

bool IsPatternCharacter(char ch) {
    return std::string_view("01235678ABCD").find(ch) != std::string_view::npos;
}

void CheckPattern(TBarcode& barcode) {
    std::string pattern;
    try {
        pattern = barcode.BuildPattern();
    } catch (const Exception& e) {
        Require(*e.what() != '\0', "BuildPattern raised an empty message");
        return;
    }
    for (const char ch : pattern) {
        Require(IsPatternCharacter(ch), "pattern character outside the alphabet");
    }
}

// The caller's canvas attributes, unlike the defaults so that restoring the defaults instead of
// the caller's attributes is caught.
struct TCanvasSetup {
    std::uint8_t Bits;
    std::uint8_t PenColor;
    std::uint8_t BrushColor;
    std::uint8_t FontSize;

    void ApplyTo(TCanvas& canvas) const {
        canvas.Pen().Width = 1 + (Bits & 3);
        canvas.Pen().Style = (Bits & cbPenClear) != 0 ? TPenStyle::psClear : TPenStyle::psSolid;
        canvas.Brush().Style =
            (Bits & cbBrushClear) != 0 ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
        canvas.Font().Style = static_cast<std::uint8_t>(Bits >> 4);
        canvas.Pen().Color = static_cast<TColor>(PenColor * 0x010203);
        canvas.Brush().Color = static_cast<TColor>(BrushColor * 0x030201);
        canvas.Font().Size = 1 + FontSize % 32;
    }
};

void CheckRender(TBarcode& barcode, const TCanvasSetup& setup) {
    TBitmap image;
    image.SetWidth(64);
    image.SetHeight(48);
    TCanvas& canvas = image.Canvas();
    setup.ApplyTo(canvas);
    const TPen pen = canvas.Pen();
    const TBrush brush = canvas.Brush();
    const TFont font = canvas.Font();

    try {
        barcode.Render(canvas);
    } catch (const Exception& e) {
        Require(*e.what() != '\0', "Render raised an empty message");
    }
    Require(canvas.Pen() == pen, "Render left the pen changed");
    Require(canvas.Brush() == brush, "Render left the brush changed");
    Require(canvas.Font() == font, "Render left the font changed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const std::uint8_t type = input.Byte();
    TBarcode barcode;
    barcode.SetChecksum((flags & flChecksum) != 0);
    barcode.SetShowText((flags & flShowText) != 0);
    barcode.SetTyp(static_cast<TBarcodeType>(
        (flags & flWrongType) != 0 ? BarcodeTypeCount + type % (256 - BarcodeTypeCount)
                                   : type % BarcodeTypeCount));
    barcode.SetModul(input.Int(8));
    barcode.SetRatio(input.Real(64, 1.0 / 16));
    barcode.SetAngle(input.Real(124, 7.5));
    barcode.SetHeight(input.Int(16));
    barcode.SetLeft(input.Int(120));
    barcode.SetTop(input.Int(120));
    const TCanvasSetup setup{input.Byte(), input.Byte(), input.Byte(), input.Byte()};
    const std::string text = input.Rest();
    barcode.SetText(text);

    if ((flags & flPatternOnly) != 0) {
        CheckPattern(barcode);
    } else {
        CheckRender(barcode, setup);
    }
    Require(barcode.Text() == text, "Text changed");
    return 0;
}
