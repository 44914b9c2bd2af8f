#include "Barcode.h"
#include "Exception.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

namespace {

std::string W(std::string_view widths) {
    return TBarcode::WidthsToPattern(widths);
}

// Pieces in the width digits of the published Code 93 table.
const std::string Start = W("111141");
const std::string Stop = W("1111411");
const std::string Zero = W("131112");
const std::string Three = W("111411");
const std::string Six = W("121311");
const std::string Eight = W("131211");
const std::string Nine = W("141111");
const std::string A = W("211113");
const std::string E = W("221211");
const std::string M = W("111222");
const std::string P = W("131121");
const std::string S = W("211122");
const std::string T = W("211221");
const std::string V = W("222111");
const std::string Z = W("123111");
const std::string Plus = W("113121");
const std::string ShiftDollar = W("121221");
const std::string ShiftPlus = W("122211");

std::string EncodeCode93(const std::string& text) {
    TBarcode barcode;
    barcode.SetTyp(TBarcodeType::bcCode93);
    barcode.SetText(text);
    return barcode.EncodeCode93();
}

TEST(Code93, AppendsCheckCharactersCAndK) {
    struct TCase {
        std::string Text;
        std::string Expected;
    };
    const TCase cases[] = {
        // C = 21 ("L"), K = 6 ("6").
        {"A1", "5050806050525051525050625152505050805"},
        // C = 41 ("+"), K = 6 ("6").
        {"TEST93", Start + T + E + S + T + Nine + Three + Plus + Six + Stop},
        // C = 0, K = 0.
        {"", Start + Zero + Zero + Stop},
        // The ($) shift is an ordinary character: C = 43 ("["), K = 43 * 2 + 43 = 129 -> 35 ("Z").
        {"[", Start + ShiftDollar + ShiftDollar + Z + Stop},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(EncodeCode93(c.Text), c.Expected) << c.Text;
    }
}

TEST(Code93, WrapsBothWeightsOnLongData) {
    // 21 characters: C weights wrap after 20, K weights after 15. C = 31 ("V"), K = 22 ("M").
    const std::string pattern = EncodeCode93("ABCDEFGHIJKLMNOPQRSTU");
    ASSERT_EQ(pattern.size(), Start.size() + 21 * 6 + 12 + Stop.size());
    EXPECT_EQ(pattern.substr(Start.size() + 21 * 6), V + M + Stop);
}

TEST(Code93, RefusesCharactersOutsideItsTable) {
    for (const std::string text : {"a", "ab", "A*", "#1", "1\xC8"}) {
        try {
            EncodeCode93(text);
            ADD_FAILURE() << text << " was encoded";
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), "TBarcode:Code93 bad Data <" + text + ">");
        }
    }
}

TEST(Code93, TableHoldsFortySevenCaseSensitiveRows) {
    std::set<int> rows;
    for (int code = 0; code < 256; ++code) {
        const int row = TBarcode::FindCode93Index(static_cast<char>(code));
        if (row >= 0) {
            rows.insert(row);
        }
    }
    EXPECT_EQ(rows.size(), 47u);
    EXPECT_EQ(*rows.rbegin(), 46);
    EXPECT_EQ(TBarcode::FindCode93Index('0'), 0);
    EXPECT_EQ(TBarcode::FindCode93Index('%'), 42);
    EXPECT_EQ(TBarcode::FindCode93Index('}'), 46);
    EXPECT_EQ(TBarcode::FindCode93Index('a'), -1);
}

// A failing run would restore Text too, but no expansion can fail: every character of the
// full ASCII table is a Code 93 character.
TEST(Code93Extended, ExpandsThenEncodesAndRestoresText) {
    TBarcode barcode;
    barcode.SetTyp(TBarcodeType::bcCode93Extended);
    barcode.SetText("a");
    // "a" is (+)A: C = 8 ("8"), K = 25 ("P").
    EXPECT_EQ(barcode.EncodeCode93Extended(), Start + ShiftPlus + A + Eight + P + Stop);
    EXPECT_EQ(barcode.Text(), "a");
}

TEST(Code93Extended, FollowsTheFullAsciiTableAtEveryRangeBoundary) {
    struct TExpansion {
        std::string Text;
        std::string Expansion;
    };
    const TExpansion rows[] = {
        {std::string(1, '\0'), "]U"},
        {"\x01", "[A"},
        {"\x1A", "[Z"},
        {"\x1B", "]A"},
        {"\x1F", "]E"},
        {" ", " "},
        {"!", "{A"},
        {"-", "{M"},
        {".", "{N"},
        {"/", "{O"},
        {"09", "09"},
        {":", "{Z"},
        {";", "]F"},
        {"?", "]J"},
        {"@", "]V"},
        {"[", "]K"},
        {"_", "]O"},
        {"`", "]W"},
        {"a", "}A"},
        {"z", "}Z"},
        {"{", "]P"},
        {"\x7F", "]T"},
        {"A\xC8Z\xFF", "AZ"},
    };
    for (const TExpansion& row : rows) {
        TBarcode barcode;
        barcode.SetText(row.Text);
        const std::string extended = barcode.EncodeCode93Extended();
        EXPECT_EQ(barcode.Text(), row.Text);
        EXPECT_EQ(extended, EncodeCode93(row.Expansion)) << row.Expansion;
    }
}

} // namespace
