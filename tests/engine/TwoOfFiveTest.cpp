#include "Barcode.h"
#include "Exception.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Encode(TBarcodeType typ, const std::string& text) {
    TBarcode barcode;
    barcode.SetTyp(typ);
    barcode.SetText(text);
    switch (typ) {
    case TBarcodeType::bcCode_2_5_interleaved:
        return barcode.EncodeInterleaved2of5();
    case TBarcodeType::bcCode_2_5_industrial:
        return barcode.EncodeIndustrial2of5();
    default:
        return barcode.EncodeMatrix2of5();
    }
}

constexpr auto Interleaved = TBarcodeType::bcCode_2_5_interleaved;
constexpr auto Industrial = TBarcodeType::bcCode_2_5_industrial;
constexpr auto Matrix = TBarcodeType::bcCode_2_5_matrix;

const std::string InterleavedStart = "5050";
const std::string InterleavedStop = "605";
const std::string IndustrialStart = "606050";
const std::string IndustrialStop = "605060";
const std::string MatrixStart = "705050";
const std::string MatrixStop = "70505";

struct TCase {
    TBarcodeType Typ;
    std::string Text;
    std::string Expected;
};

TEST(TwoOfFive, EncodesDigitsBetweenStartAndStop) {
    const TCase cases[] = {
        {Interleaved, "12", "50506051505061605"},
        // The unpaired last digit is left out.
        {Interleaved, "123", "50506051505061605"},
        {Interleaved, "1", "5050605"},
        {Interleaved, "", "5050605"},
        // 9 "01010" sets the bars, 0 "00110" the spaces.
        {Interleaved, "90", InterleavedStart + "5060516150" + InterleavedStop},
        {Industrial, "1", "6060506050505060605060"},
        // 9 "01010", then 0 "00110".
        {Industrial, "90", IndustrialStart + "5060506050" + "5050606050" + IndustrialStop},
        {Industrial, "", "606050605060"},
        {Matrix, "1", "70505060506070505"},
        {Matrix, "90", MatrixStart + "51515" + "0" + "50615" + "0" + MatrixStop},
        {Matrix, "", "70505070505"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Encode(c.Typ, c.Text), c.Expected) << c.Text;
    }
}

TEST(TwoOfFive, RefusesAnyNonDigitIncludingAnUnpairedLastOne) {
    const TCase cases[] = {
        {Interleaved, "12a", "TBarcode:2_5_interleaved bad Data <12a>"},
        {Interleaved, "a1", "TBarcode:2_5_interleaved bad Data <a1>"},
        {Industrial, "1 2", "TBarcode:2_5_industrial bad Data <1 2>"},
        {Matrix, "x", "TBarcode:2_5_matrix bad Data <x>"},
        {Matrix, "1\xC8", "TBarcode:2_5_matrix bad Data <1\xC8>"},
    };
    for (const TCase& c : cases) {
        try {
            Encode(c.Typ, c.Text);
            ADD_FAILURE() << c.Text << " was encoded";
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.Expected);
        }
    }
}

} // namespace
