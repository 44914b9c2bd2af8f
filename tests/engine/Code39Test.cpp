#include "EngineCases.h"

using enum TBarcodeType;

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
        {bcCode39, "", Star + Gap + Star},
        // Sum 0 selects row 0, "0", not "*" which shares its check value.
        {bcCode39, "", Star + Gap + Zero + Gap + Star, true},
        // 42 + 42 = 84 wraps to check value 41, "+".
        {bcCode39, "%%", Star + Gap + Percent + Gap + Percent + Gap + Plus + Gap + Star, true},
        // "a" is "+A"; the check character covers the expansion: 41 + 10 = 51 wraps to 8.
        {bcCode39Extended, "a", "515060605051505151506050515060515060605"},
        {bcCode39Extended, "a", Star + Gap + Plus + Gap + A + Gap + Eight + Gap + Star, true},
        // What the symbol cannot carry is refused, never skipped: lower case, the start/stop
        // character, anything beyond ASCII (one character, not its bytes).
        {bcCode39, "Hello",
         "TBarcode:Code39 bad Data <Hello>: character 2 \"e\" is not in Code 39; Code 39 "
         "Extended encodes it"},
        {bcCode39, "A*B",
         "TBarcode:Code39 bad Data <A*B>: character 2 \"*\" is the start/stop character; Code 39 "
         "Extended encodes it"},
        {bcCode39, "\u00e91",
         "TBarcode:Code39 bad Data <\u00e91>: character 1 \"\u00e9\" is not in Code 39"},
        {bcCode39, "1\xC8",
         "TBarcode:Code39 bad Data <1\xC8>: character 2 byte 0xC8 is not in Code 39"},
        {bcCode39, "1\t",
         "TBarcode:Code39 bad Data <1\t>: character 2 U+0009 is not in Code 39; "
         "Code 39 Extended encodes it"},
        {bcCode39Extended, "\x80",
         "TBarcode:Code39 Extended bad Data <\x80>: character 1 byte 0x80 "
         "is not ASCII"},
        {bcCode39Extended, "Gr\u00fc\u00dfe",
         "TBarcode:Code39 Extended bad Data <Gr\u00fc\u00dfe>: character 3 \"\u00fc\" is not "
         "ASCII"},
    });
}

namespace {

// A Code 93 pattern without its start, check characters and stop.
std::string Code93Data(const std::string& pattern) {
    return pattern.substr(6, pattern.size() - 6 - 19);
}

// The characters as Code 93 draws them: the plain encoder's, and the four shift characters
// (which it refuses) from the published table.
std::string Code93Characters(std::string_view characters) {
    constexpr std::string_view Shifts = "[]{}";
    constexpr std::string_view ShiftWidths[] = {"121221", "312111", "311121", "122211"};
    std::string pattern;
    for (const char ch : characters) {
        const std::size_t shift = Shifts.find(ch);
        pattern += shift == std::string_view::npos
                       ? Code93Data(Encoded(bcCode93, std::string(1, ch)))
                       : W(ShiftWidths[shift]);
    }
    return pattern;
}

// The published full ASCII table by its ranges, in Code 39's spelling: each code's character or
// its shift character and letter.
std::string FullAsciiPair(int code) {
    const auto pair = [code](char shift, char letter, int first) {
        return std::string{shift, static_cast<char>(letter + code - first)};
    };
    const auto isPlain = [code](char from, char to) { return code >= from && code <= to; };
    if (code == ' ' || isPlain('0', '9') || isPlain('A', 'Z')) {
        return std::string(1, static_cast<char>(code));
    }
    constexpr std::pair<int, std::string_view> Specials[] = {
        {0, "%U"}, {':', "/Z"}, {'@', "%V"}, {'`', "%W"}};
    for (const auto& [special, spelled] : Specials) {
        if (code == special) {
            return std::string(spelled);
        }
    }
    return code <= 26    ? pair('$', 'A', 1)
           : code <= 31  ? pair('%', 'A', 27)
           : code <= '/' ? pair('/', 'A', '!')
           : code <= '?' ? pair('%', 'F', ';')
           : code <= '_' ? pair('%', 'K', '[')
           : code <= 'z' ? pair('+', 'A', 'a')
                         : pair('%', 'P', '{');
}

} // namespace

// Both extended symbologies encode every ASCII character as its expansion in the base
// symbology, with the check characters over the expansion; Code 93 has shift characters of its
// own for "$", "%", "/" and "+".
TEST(FullAscii, Code39AndCode93ExpansionsOfEveryCharacter) {
    for (int code = 0; code < 128; ++code) {
        const std::string text(1, static_cast<char>(code));
        const std::string code39 = FullAsciiPair(code);
        std::string code93 = code39;
        if (code93.size() == 2) {
            code93[0] = "[]{}"[std::string_view("$%/+").find(code93[0])];
        }
        EXPECT_EQ(Encoded(bcCode39Extended, text, true), Encoded(bcCode39, code39, true)) << code;
        EXPECT_EQ(Code93Data(Encoded(bcCode93Extended, text)), Code93Characters(code93)) << code;
    }
}
