#include "Barcode.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::string EncodeCode39(const std::string& text, bool checksum) {
    TBarcode barcode;
    barcode.SetTyp(TBarcodeType::bcCode39);
    barcode.SetText(text);
    barcode.SetChecksum(checksum);
    return barcode.EncodeCode39();
}

// Character patterns as the published Code 39 table writes them, and the narrow gap.
const std::string Star = "515060605";
const std::string Zero = "505160605";
const std::string One = "605150506";
const std::string Eight = "605150605";
const std::string A = "605051506";
const std::string B = "506051506";
const std::string Plus = "515051515";
const std::string Percent = "505151515";
const std::string Gap = "0";

struct TCase {
    std::string Text;
    bool Checksum;
    std::string Expected;
};

TEST(Code39, EncodesTableCharactersBetweenStartAndStop) {
    const TCase cases[] = {
        {"A1", false, "515060605060505150606051505060515060605"},
        // Check value 10 + 1 = 11 selects "B".
        {"A1", true, "5150606050605051506060515050605060515060515060605"},
        {"A1", true, Star + Gap + A + Gap + One + Gap + B + Gap + Star},
        // Lower case is not in the table and is skipped.
        {"a1", false, Star + Gap + One + Gap + Star},
        {"1\xC8", false, Star + Gap + One + Gap + Star},
        // Sum 0 selects row 0, "0", not "*" which shares its check value.
        {"", true, Star + Gap + Zero + Gap + Star},
        {"", false, Star + Gap + Star},
        // 42 + 42 = 84 wraps to check value 41, "+".
        {"%%", true, Star + Gap + Percent + Gap + Percent + Gap + Plus + Gap + Star},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(EncodeCode39(c.Text, c.Checksum), c.Expected) << c.Text << " " << c.Checksum;
    }
}

TEST(Code39, TableHoldsFortyFourCaseSensitiveRows) {
    std::set<int> rows;
    for (int code = 0; code < 256; ++code) {
        const int row = TBarcode::FindCode39Index(static_cast<char>(code));
        if (row >= 0) {
            rows.insert(row);
        }
    }
    EXPECT_EQ(rows.size(), 44u);
    EXPECT_EQ(*rows.rbegin(), 43);
    EXPECT_EQ(TBarcode::FindCode39Index('0'), 0);
    EXPECT_EQ(TBarcode::FindCode39Index('*'), 39);
    EXPECT_EQ(TBarcode::FindCode39Index('%'), 43);
    EXPECT_EQ(TBarcode::FindCode39Index('a'), -1);
}

TEST(Code39Extended, ExpandsThenEncodesAndRestoresText) {
    TBarcode barcode;
    barcode.SetTyp(TBarcodeType::bcCode39Extended);
    barcode.SetText("a");
    EXPECT_EQ(barcode.EncodeCode39Extended(), "515060605051505151506050515060515060605");
    EXPECT_EQ(barcode.Text(), "a");

    // The check character covers the expansion "+A": 41 + 10 = 51 wraps to 8.
    barcode.SetChecksum(true);
    EXPECT_EQ(barcode.EncodeCode39Extended(),
              Star + Gap + Plus + Gap + A + Gap + Eight + Gap + Star);
    EXPECT_EQ(barcode.Text(), "a");
}

TEST(Code39Extended, FollowsTheFullAsciiTableAtEveryRangeBoundary) {
    struct TExpansion {
        std::string Text;
        std::string Expansion;
    };
    const TExpansion rows[] = {
        {std::string(1, '\0'), "%U"},
        {"\x01", "$A"},
        {"\x1A", "$Z"},
        {"\x1B", "%A"},
        {"\x1F", "%E"},
        {" ", " "},
        {"!", "/A"},
        {"-", "/M"},
        {".", "/N"},
        {"/", "/O"},
        {"09", "09"},
        {":", "/Z"},
        {";", "%F"},
        {"?", "%J"},
        {"@", "%V"},
        {"[", "%K"},
        {"_", "%O"},
        {"`", "%W"},
        {"a", "+A"},
        {"z", "+Z"},
        {"{", "%P"},
        {"\x7F", "%T"},
        {"A\xC8Z\xFF", "AZ"},
    };
    for (const TExpansion& row : rows) {
        TBarcode barcode;
        barcode.SetText(row.Text);
        barcode.SetChecksum(true);
        const std::string extended = barcode.EncodeCode39Extended();
        EXPECT_EQ(barcode.Text(), row.Text);
        barcode.SetText(row.Expansion);
        EXPECT_EQ(extended, barcode.EncodeCode39()) << row.Expansion;
    }
}

} // namespace
