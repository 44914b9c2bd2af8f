#include "Code128Cases.h"

using enum TBarcodeType;

// Start B "211214", stop "2331112"; the rest from the published table by value.
TEST(Code128Auto, PatternsWithTheirCheckCharacters) {
    ExpectEncodings({
        // a 65, 1 17, CODE C 99, 23, 45, 67: 104 + 65 + 34 + 297 + 92 + 225 + 402 = 1219, check 86.
        {bcCode128, "a1234567",
         W("211214 121124 123221 113141 312131 113123 141122 411212 2331112")},
        // a 65, b 66, SHIFT 98, TAB 73 in set A, c 67, d 68: 1630, check 85.
        {bcCode128, "ab\tcd", W("211214 121124 121421 411311 142112 141122 141221 124211 2331112")},
        // As Code 128B: the start and its check character.
        {bcCode128, "", W("211214 222122 2331112")},
        // Beyond ASCII is refused, one character, not its bytes, wherever it stands.
        {bcCode128, "\u016fk",
         "TBarcode:Code128 bad Data <\u016fk>: character 1 \"\u016f\" is not in Code 128 set A "
         "or B"},
        {bcCode128, "k\x80z",
         "TBarcode:Code128 bad Data <k\x80z>: character 2 byte 0x80 is not in Code 128 set A or "
         "B"},
        {bcCode128, "k\u0148",
         "TBarcode:Code128 bad Data <k\u0148>: character 2 \"\u0148\" is not in Code 128 set A or "
         "B"},
    });
}

// The fewest symbol characters: the start, changes of set and shifts chosen over the whole data.
// Where choosing by the next few characters costs more, the comment counts what it costs.
TEST(Code128Auto, FewestSymbolCharacters) {
    const std::pair<std::string, std::vector<int>> rows[] = {
        {"ABC1234567890", {StartB, B('A'), B('B'), B('C'), CodeC, 12, 34, 56, 78, 90}},
        // An odd run at the end leaves its first digit in set B; CODE C at once costs 7 + 1.
        {"a1234567", {StartB, B('a'), B('1'), CodeC, 23, 45, 67}},
        // Between letters an odd run of five saves nothing, of seven one.
        {"a12345b", {StartB, B('a'), B('1'), B('2'), B('3'), B('4'), B('5'), B('b')}},
        {"a1234567b", {StartB, B('a'), B('1'), CodeC, 23, 45, 67, CodeB, B('b')}},
        // Four digits save one at the end, none in the middle, one at the start.
        {"AB1234", {StartB, B('A'), B('B'), CodeC, 12, 34}},
        {"AB1234CD", {StartB, B('A'), B('B'), B('1'), B('2'), B('3'), B('4'), B('C'), B('D')}},
        {"1234AB", {StartC, 12, 34, CodeB, B('A'), B('B')}},
        {"12345AB", {StartC, 12, 34, CodeB, B('5'), B('A'), B('B')}},
        // Two leading digits tie: set B; before a control character, set A.
        {"12AB", {StartB, B('1'), B('2'), B('A'), B('B')}},
        {"12\x01", {StartA, B('1'), B('2'), Control('\x01')}},
        // A lone control character is shifted; CODE A and back costs 6 + 1. Three are not.
        {"ab\tcd", {StartB, B('a'), B('b'), Shift, Control('\t'), B('c'), B('d')}},
        {"ab\t\n\rcd",
         {StartB, B('a'), B('b'), CodeA, Control('\t'), Control('\n'), Control('\r'), CodeB, B('c'),
          B('d')}},
        // Alternating, the set of the odd positions starts: 7 and not 8.
        {"\x01"
         "a\x02"
         "b\x03",
         {StartA, Control('\x01'), Shift, B('a'), Control('\x02'), Shift, B('b'), Control('\x03')}},
        {"a\x01"
         "b\x02"
         "c",
         {StartB, B('a'), Shift, Control('\x01'), B('b'), Shift, Control('\x02'), B('c')}},
        // The edges of the sets: NUL, "_" and US in set A, "`" and DEL only in set B.
        {std::string("\0_\x1F", 3), {StartA, Control('\0'), B('_'), Control('\x1F')}},
        {"\x01`", {StartB, Shift, Control('\x01'), B('`')}},
        {"\x7F", {StartB, 95}},
    };
    for (const auto& [data, values] : rows) {
        EXPECT_EQ(SymbolValues(Encoded(bcCode128, data)), values) << data;
    }
}
