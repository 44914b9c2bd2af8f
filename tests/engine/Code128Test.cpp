#include "Barcode.h"
#include "Exception.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace {

std::string W(std::string_view widths) {
    return TBarcode::WidthsToPattern(widths);
}

const std::string StartA = W("211412");
const std::string StartB = W("211214");
const std::string StartC = W("211232");
const std::string Stop = W("2331112");
constexpr std::size_t SymbolSize = 6;

std::string EncodeCode128(TBarcodeType typ, const std::string& text) {
    TBarcode barcode;
    barcode.SetTyp(typ);
    barcode.SetText(text);
    return barcode.EncodeCode128();
}

struct TCase {
    TBarcodeType Typ;
    std::string Text;
    std::string Expected;
};

TEST(Code128, EncodesInTheSetTypNamesWithModulo103Check) {
    const TCase cases[] = {
        // 104 + 33 * 1 + 66 * 2 = 269, check 63.
        {TBarcodeType::bcCode128B, "Ab", "6051535052625153605051636270506"},
        // 103 + 33 * 1 + 34 * 2 = 204, check 101.
        {TBarcodeType::bcCode128A, "AB", "6053515052625250627050806270506"},
        // "a" is missing from set A and becomes a space; 103, check 0.
        {TBarcodeType::bcCode128A, "a", StartA + W("212222") + W("212222") + Stop},
        // 104, check 1.
        {TBarcodeType::bcCode128B, "", StartB + W("222122") + Stop},
        // Comma is value 12; 104 + 12 = 116, check 13.
        {TBarcodeType::bcCode128B, ",", StartB + W("112232") + W("122132") + Stop},
        // Above "~" nothing is in set B, so a byte of 200 is a space; 104, check 1.
        {TBarcodeType::bcCode128B, "\xC8", StartB + W("212222") + W("222122") + Stop},
        // 105 + 12 * 1 + 34 * 2 = 185, check 82.
        {TBarcodeType::bcCode128C, "1234", "6051715061715250625151806270506"},
        // The unpaired last character is left out, digit or not.
        {TBarcodeType::bcCode128C, "12345", "6051715061715250625151806270506"},
        // 105 + 12 = 117, check 14.
        {TBarcodeType::bcCode128C, "12a", StartC + W("112232") + W("122231") + Stop},
        // 105, check 2.
        {TBarcodeType::bcCode128C, "", StartC + W("222221") + Stop},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(EncodeCode128(c.Typ, c.Text), c.Expected) << c.Text;
    }
}

TEST(Code128, SetsAAndBHoldTheCharactersFromTheSpaceOn) {
    TBarcode barcode;
    barcode.SetTyp(TBarcodeType::bcCode128A);
    EXPECT_EQ(barcode.FindCode128Index(' '), 0);
    EXPECT_EQ(barcode.FindCode128Index(','), 12);
    EXPECT_EQ(barcode.FindCode128Index('_'), 63);
    EXPECT_EQ(barcode.FindCode128Index('`'), -1);
    EXPECT_EQ(barcode.FindCode128Index('\x1F'), -1);
    barcode.SetTyp(TBarcodeType::bcCode128B);
    EXPECT_EQ(barcode.FindCode128Index('`'), 64);
    EXPECT_EQ(barcode.FindCode128Index('~'), 94);
    EXPECT_EQ(barcode.FindCode128Index('\x7F'), -1);
    EXPECT_EQ(barcode.FindCode128Index('\xC8'), -1);
}

TEST(Code128, RefusesASetCPairThatIsNotTwoDigits) {
    for (const std::string text : {"1a", "123a", " 1", "12 3"}) {
        try {
            EncodeCode128(TBarcodeType::bcCode128C, text);
            ADD_FAILURE() << text << " was encoded";
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), "TBarcode:Code128C bad Data <" + text + ">");
        }
    }
}

// Set B data whose check character is the given value: one character of value v - 1 reaches
// 1..95; value v1 followed by "~" (94) gives 104 + v1 + 188, which reaches 96..102 and 0.
std::string CheckSymbol(int value) {
    std::string text;
    if (value >= 1 && value <= 95) {
        text = std::string(1, static_cast<char>(' ' + value - 1));
    } else {
        text = std::string(1, static_cast<char>(' ' + (value == 0 ? 17 : value - 86))) + "~";
    }
    const std::string pattern = EncodeCode128(TBarcodeType::bcCode128B, text);
    return pattern.substr(pattern.size() - Stop.size() - SymbolSize, SymbolSize);
}

TEST(Code128, SymbolCharactersMatchThePublishedTable) {
    const std::pair<int, std::string_view> rows[] = {
        {0, "212222"},   {1, "222122"},   {12, "112232"},  {33, "111323"}, {63, "111224"},
        {64, "111422"},  {94, "131141"},  {95, "114113"},  {96, "114311"}, {99, "113141"},
        {100, "114131"}, {101, "311141"}, {102, "411131"},
    };
    for (const auto& [value, widths] : rows) {
        EXPECT_EQ(CheckSymbol(value), W(widths)) << value;
    }
}

TEST(Code128, AllOneHundredThreeSymbolCharactersAreDistinctAndWellFormed) {
    std::set<std::string> symbols;
    for (int value = 0; value < 103; ++value) {
        const std::string symbol = CheckSymbol(value);
        int modules = 0;
        int barModules = 0;
        for (std::size_t i = 0; i < symbol.size(); ++i) {
            const char narrow = i % 2 == 0 ? '5' : '0';
            const int width = symbol[i] - narrow + 1;
            ASSERT_TRUE(width >= 1 && width <= 4) << value;
            modules += width;
            barModules += i % 2 == 0 ? width : 0;
        }
        EXPECT_EQ(modules, 11) << value;
        EXPECT_EQ(barModules % 2, 0) << value;
        symbols.insert(symbol);
    }
    EXPECT_EQ(symbols.size(), 103u);
}

} // namespace
