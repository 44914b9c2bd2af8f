#include "EngineCases.h"

#include <tuple>

using enum TBarcodeType;
using namespace std::literals;

namespace {

// Character patterns as the published Code 39 table writes them, and the narrow gap.
const std::string Star = "515060605", Zero = "505160605", One = "605150506", Eight = "605150605",
                  A = "605051506", Plus = "515051515", Percent = "505151515", Gap = "0";

} // namespace

TEST(Code39, PatternsAndModulo43CheckCharacters) {
    ExpectEncodings({
        {bcCode39, "A1", "515060605060505150606051505060515060605"},
        // Check value 10 + 1 = 11 selects "B".
        {bcCode39, "A1", "5150606050605051506060515050605060515060515060605", true},
        // Lower case and bytes above 127 are not in the table and are skipped.
        {bcCode39, "a1", Star + Gap + One + Gap + Star},
        {bcCode39, "1\xC8", Star + Gap + One + Gap + Star},
        {bcCode39, "", Star + Gap + Star},
        // Sum 0 selects row 0, "0", not "*" which shares its check value.
        {bcCode39, "", Star + Gap + Zero + Gap + Star, true},
        // 42 + 42 = 84 wraps to check value 41, "+".
        {bcCode39, "%%", Star + Gap + Percent + Gap + Percent + Gap + Plus + Gap + Star, true},
        // "a" is "+A"; the check character covers the expansion: 41 + 10 = 51 wraps to 8.
        {bcCode39Extended, "a", "515060605051505151506050515060515060605"},
        {bcCode39Extended, "a", Star + Gap + Plus + Gap + A + Gap + Eight + Gap + Star, true},
    });
}

TEST(Code39, TableHoldsFortyFourCaseSensitiveRows) {
    EXPECT_TRUE(FindsEachRowOnce(TBarcode::FindCode39Index, 44));
    EXPECT_EQ(TBarcode::FindCode39Index('0'), 0);
    EXPECT_EQ(TBarcode::FindCode39Index('*'), 39);
    EXPECT_EQ(TBarcode::FindCode39Index('%'), 43);
}

// Both extended symbologies encode a character as its expansion in the base symbology, with
// the check characters over the expansion; codes above 127 are dropped.
TEST(FullAscii, Code39AndCode93ExpansionsAtEveryRangeBoundary) {
    const std::tuple<std::string_view, std::string, std::string> rows[] = {
        {"\0"sv, "%U", "]U"}, {"\x01", "$A", "[A"}, {"\x1A", "$Z", "[Z"},      {"\x1B", "%A", "]A"},
        {"\x1F", "%E", "]E"}, {" ", " ", " "},      {"!", "/A", "{A"},         {"-", "/M", "{M"},
        {".", "/N", "{N"},    {"/", "/O", "{O"},    {"09", "09", "09"},        {":", "/Z", "{Z"},
        {";", "%F", "]F"},    {"?", "%J", "]J"},    {"@", "%V", "]V"},         {"[", "%K", "]K"},
        {"_", "%O", "]O"},    {"`", "%W", "]W"},    {"a", "+A", "}A"},         {"z", "+Z", "}Z"},
        {"{", "%P", "]P"},    {"\x7F", "%T", "]T"}, {"A\xC8Z\xFF", "AZ", "AZ"}};
    for (const auto& [text, code39, code93] : rows) {
        EXPECT_EQ(Encoded(bcCode39Extended, std::string(text), true),
                  Encoded(bcCode39, code39, true))
            << code39;
        EXPECT_EQ(Encoded(bcCode93Extended, std::string(text)), Encoded(bcCode93, code93))
            << code93;
    }
}
