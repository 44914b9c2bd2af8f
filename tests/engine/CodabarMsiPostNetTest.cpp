#include "Barcode.h"
#include "Exception.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <set>
#include <string>

namespace {

TBarcode WithText(TBarcodeType typ, const std::string& text) {
    TBarcode barcode;
    barcode.SetTyp(typ);
    barcode.SetText(text);
    return barcode;
}

std::string BadDataMessage(const std::function<void()>& encode) {
    try {
        encode();
    } catch (const Exception& e) {
        return e.what();
    }
    return "no exception";
}

std::string EncodeCodabar(const std::string& text) {
    return WithText(TBarcodeType::bcCodeCodabar, text).EncodeCodabar();
}

TEST(Codabar, FramesTheDataWithAAndB) {
    const std::string A = "5061515";
    const std::string B = "5151506";
    const std::string C = "5051516";
    const std::string D = "5051615";
    EXPECT_EQ(EncodeCodabar("12"), "5061515050506150505150605151506");
    EXPECT_EQ(EncodeCodabar(""), "506151505151506");
    // Start and stop letters in the data are ordinary characters.
    EXPECT_EQ(EncodeCodabar("DCBA"), A + "0" + D + "0" + C + "0" + B + "0" + A + "0" + B);
    EXPECT_EQ(EncodeCodabar("0+"), A + "0" + "5050516" + "0" + "5060606" + "0" + B);
}

TEST(Codabar, TableHoldsTwentyRowsAndRefusesOtherCharacters) {
    std::set<int> rows;
    for (int code = 0; code < 256; ++code) {
        const int row = TBarcode::FindCodabarIndex(static_cast<char>(code));
        if (row >= 0) {
            rows.insert(row);
        }
    }
    EXPECT_EQ(rows.size(), 20u);
    EXPECT_EQ(*rows.rbegin(), 19);
    EXPECT_EQ(TBarcode::FindCodabarIndex('1'), 0);
    EXPECT_EQ(TBarcode::FindCodabarIndex('D'), 19);
    EXPECT_EQ(TBarcode::FindCodabarIndex('a'), -1);

    for (const std::string text : {"12x", "a", "*"}) {
        EXPECT_EQ(BadDataMessage([&] { EncodeCodabar(text); }),
                  "TBarcode:Codebar bad Data <" + text + ">");
    }
}

// The published MSI digits: four bits from the most significant, 0 as "51", 1 as "60".
const std::string MsiDigit[] = {"51515151", "51515160", "51516051", "51516060", "51605151",
                                "51605160", "51606051", "51606060", "60515151", "60515160"};

std::string MsiPattern(const std::string& digits, int check) {
    std::string pattern = "60";
    for (const char digit : digits) {
        pattern += MsiDigit[digit - '0'];
    }
    return pattern + MsiDigit[check] + "515";
}

TEST(Msi, AppendsTheModulo10CheckDigitDoublingFromTheRight) {
    struct TCase {
        std::string Text;
        int Check;
    };
    const TCase cases[] = {
        // 2 * 2 = 4, + 1 = 5 -> 5.
        {"12", 5},
        // 8 + 3 + 4 + 1 = 16 -> 4.
        {"1234", 4},
        // 14 -> 1 + 4 = 5 -> 5.
        {"7", 5},
        // 5 + 6 + 1 + 4 + 6 + 2 + 2 = 26 -> 4.
        {"1234567", 4},
        // 18 -> 9, + 9 = 18 -> 2.
        {"99", 2},
        {"", 0},
        // Each block "1234567890", from the right: doubled 0, 8, 6, 4, 2 give 0 + 7 + 3 + 8 + 4
        // = 22, the others 9 + 7 + 5 + 3 + 1 = 25; four blocks 188 -> 2.
        {"1234567890123456789012345678901234567890", 2},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(WithText(TBarcodeType::bcCodeMSI, c.Text).EncodeMsi(),
                  MsiPattern(c.Text, c.Check))
            << c.Text;
    }
    EXPECT_EQ(WithText(TBarcodeType::bcCodeMSI, "12").EncodeMsi(), "60515151605151605151605160515");
    EXPECT_EQ(WithText(TBarcodeType::bcCodeMSI, "").EncodeMsi(), "6051515151515");
}

TEST(Msi, RefusesNonDigits) {
    for (const std::string text : {"1-2", "a", "12 "}) {
        EXPECT_EQ(BadDataMessage([&] { WithText(TBarcodeType::bcCodeMSI, text).EncodeMsi(); }),
                  "TBarcode:MSI bad Data <" + text + ">");
    }
}

TEST(Msi, DigitSumAddsDecimalDigitsOfPositiveValues) {
    const std::pair<int, int> cases[] = {
        {0, 0}, {-5, 0}, {INT_MIN, 0}, {4, 4}, {18, 9}, {123456789, 45}, {INT_MAX, 46},
    };
    for (const auto& [value, sum] : cases) {
        EXPECT_EQ(TBarcode::DigitSum(value), sum) << value;
    }
}

TEST(PostNet, WritesTwoFullAndThreeShortBarsPerDigit) {
    EXPECT_EQ(WithText(TBarcodeType::bcCodePostNet, "12").EncodePostNet(),
              "51A1A1A15151A1A151A1515");
    // 0 "11000" and 9 "10100", full bars "5", short bars "A", each with a wide space.
    EXPECT_EQ(WithText(TBarcodeType::bcCodePostNet, "09").EncodePostNet(),
              std::string("51") + "5151A1A1A1" + "51A151A1A1" + "5");
    EXPECT_EQ(WithText(TBarcodeType::bcCodePostNet, "").EncodePostNet(), "515");
}

TEST(PostNet, RefusesNonDigits) {
    for (const std::string text : {"1 2", "-", "1a"}) {
        EXPECT_EQ(
            BadDataMessage([&] { WithText(TBarcodeType::bcCodePostNet, text).EncodePostNet(); }),
            "TBarcode:PostNet bad Data <" + text + ">");
    }
}

} // namespace
