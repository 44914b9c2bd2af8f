#include "Barcode.h"
#include "Exception.h"

#include <gtest/gtest.h>

namespace {

std::string Encode(TBarcodeType typ, const std::string& text, bool checksum) {
    TBarcode barcode;
    barcode.SetTyp(typ);
    barcode.SetText(text);
    barcode.SetChecksum(checksum);
    return barcode.BuildPattern();
}

std::string Message(TBarcodeType typ, const std::string& text, bool checksum) {
    try {
        Encode(typ, text, checksum);
    } catch (const Exception& e) {
        return e.what();
    }
    return "(no exception)";
}

constexpr auto EAN13 = TBarcodeType::bcCodeEAN13;
constexpr auto EAN8 = TBarcodeType::bcCodeEAN8;

} // namespace

TEST(Ean, CheckDigitIsWeightedThreeFromTheRight) {
    EXPECT_EQ(TBarcode::AppendEanCheckDigit("0078032137920"), "0078032137926");
    EXPECT_EQ(TBarcode::AppendEanCheckDigit("4006381333930"), "4006381333931");
    EXPECT_EQ(TBarcode::AppendEanCheckDigit("1234567890120"), "1234567890128");
    EXPECT_EQ(TBarcode::AppendEanCheckDigit("12345670"), "12345670");
    EXPECT_EQ(TBarcode::AppendEanCheckDigit("00000000"), "00000000");
}

TEST(Ean, Ean13Patterns) {
    // Start-up data: padded to "007803213792", check digit 6.
    EXPECT_EQ(Encode(EAN13, "7803213792", true),
              "50526050706060726050805151605050616053505251705160615053505");
    // First digit 4 selects the left-half sets ABAABB.
    const std::string ean4006381333931 =
        "50526050517050808052515061605050535053505350705153506160505";
    EXPECT_EQ(Encode(EAN13, "400638133393", true), ean4006381333931);
    // Without check digits the thirteen digits are drawn as they stand, a wrong one too.
    EXPECT_EQ(Encode(EAN13, "4006381333931", false), ean4006381333931);
    EXPECT_EQ(Encode(EAN13, "4006381333930", false).substr(0, 52), ean4006381333931.substr(0, 52));
    EXPECT_NE(Encode(EAN13, "4006381333930", false), ean4006381333931);
    // Thirteen digits with check digit on: only the last twelve count, giving 0063813339316.
    EXPECT_EQ(Encode(EAN13, "4006381333931", true), Encode(EAN13, "0063813339316", false));
    // Characters after the thirteenth are not drawn.
    EXPECT_EQ(Encode(EAN13, "4006381333931999", false), ean4006381333931);
    EXPECT_EQ(Encode(EAN13, "7803213792", true).size(), 59u);
}

TEST(Ean, Ean8Patterns) {
    EXPECT_EQ(Encode(EAN8, "1234567", true), "5051615151608050526050505170505352517150505");
    EXPECT_EQ(Encode(EAN8, "", true), "505" + std::string("2605") + "2605" + "2605" + "2605" +
                                          "05050" + "7150" + "7150" + "7150" + "7150" + "505");
    EXPECT_EQ(Encode(EAN8, "12345670", false), Encode(EAN8, "1234567", true));
    // Only the last seven data digits are kept.
    EXPECT_EQ(Encode(EAN8, "991234567", true), Encode(EAN8, "1234567", true));
    EXPECT_EQ(Encode(EAN8, "1234567", true).size(), 43u);
}

TEST(Ean, RefusedData) {
    EXPECT_EQ(Message(EAN13, "12A4", true), "'A' is not a valid integer value");
    EXPECT_EQ(Message(EAN13, "A23456789012", true), "'A' is not a valid integer value");
    EXPECT_EQ(Message(EAN8, "12-4", true), "'-' is not a valid integer value");
    EXPECT_EQ(Message(EAN13,
                      "12\xC3\xA9"
                      "4",
                      true),
              "'\xC3\xA9' is not a valid integer value");
    // Without check digits the data must be the full length of digits.
    EXPECT_EQ(Message(EAN13, "123", false), "TBarcode:EAN13 bad Data <123>");
    EXPECT_EQ(Message(EAN13, "", false), "TBarcode:EAN13 bad Data <>");
    EXPECT_EQ(Message(EAN13, "A234567890123", false), "TBarcode:EAN13 bad Data <A234567890123>");
    EXPECT_EQ(Message(EAN13, "123456789012x", false), "TBarcode:EAN13 bad Data <123456789012x>");
    EXPECT_EQ(Message(EAN8, "1234567", false), "TBarcode:EAN8 bad Data <1234567>");
    EXPECT_EQ(Message(EAN8, "1234 678", false), "TBarcode:EAN8 bad Data <1234 678>");
    // Beyond the data length nothing is checked, as nothing is drawn.
    EXPECT_EQ(Message(EAN8, "12345670abc", false), "(no exception)");
}
