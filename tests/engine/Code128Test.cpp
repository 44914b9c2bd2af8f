#include "EngineCases.h"

using enum TBarcodeType;

// Start A "211412", B "211214" and C "211232", stop "2331112"; value 0, the space, "212222".
TEST(Code128, PatternsInTheSetTypNamesWithModulo103Check) {
    ExpectEncodings({
        {bcCode128B, "Ab", "6051535052625153605051636270506"}, // 104 + 33 + 66 * 2: check 63
        {bcCode128A, "AB", "6053515052625250627050806270506"}, // 103 + 33 + 34 * 2: check 101
        {bcCode128B, "", W("211214 222122 2331112")},          // 104, check 1
        {bcCode128B, ",", W("211214 112232 122132 2331112")},  // comma 12; 116, check 13
        // Set A runs from the space to "_", set B on to "~": 104 + 64 + 94 * 2 = 356, check 47.
        {bcCode128A, "_ ", W("211412 111224 212222 111224 2331112")}, // 103 + 63, check 63
        {bcCode128B, "`~", W("211214 111422 131141 133121 2331112")},
        // 105 + 12 * 1 + 34 * 2 = 185, check 82.
        {bcCode128C, "1234", "6051715061715250625151806270506"},
        // An odd count of digits gets a leading zero: 01 23 45, 105 + 1 + 46 + 135 = 287, check 81.
        {bcCode128C, "12345", W("211232 222122 312131 113123 121142 2331112")},
        {bcCode128C, "", W("211232 222221 2331112")}, // 105, check 2
        // A character the set lacks is refused: lower case and "`" in set A, DEL and anything
        // beyond ASCII in both, a non-digit in set C.
        {bcCode128A, "abc",
         "TBarcode:Code128A bad Data <abc>: character 1 \"a\" is not in Code 128 set A"},
        {bcCode128A, "_`",
         "TBarcode:Code128A bad Data <_`>: character 2 \"`\" is not in Code 128 set A"},
        {bcCode128B, "~\x7F",
         "TBarcode:Code128B bad Data <~\x7F>: character 2 U+007F is not in Code 128 set B"},
        {bcCode128B, "k\u016f\u0148",
         "TBarcode:Code128B bad Data <k\u016f\u0148>: character 2 \"\u016f\" is not in Code 128 "
         "set B"},
        {bcCode128C, "12a", "TBarcode:Code128C bad Data <12a>: character 3 \"a\" is not a digit"},
        {bcCode128C, " 1", "TBarcode:Code128C bad Data < 1>: character 1 \" \" is not a digit"},
    });
}

// The check symbol of set B data chosen to reach each value: one character of value v - 1
// reaches 1..95; value v1 followed by "~" (94) gives 104 + v1 + 188 = v1 + 86 (mod 103), so
// v1 = (v + 17) mod 103 reaches 96..102 and 0.
TEST(Code128, CheckSymbolsMatchThePublishedTable) {
    const std::pair<int, std::string_view> rows[] = {
        {0, "212222"},   {1, "222122"},   {12, "112232"}, {33, "111323"}, {63, "111224"},
        {64, "111422"},  {94, "131141"},  {95, "114113"}, {96, "114311"}, {99, "113141"},
        {100, "114131"}, {101, "311141"}, {102, "411131"}};
    for (const auto& [value, widths] : rows) {
        const bool tilde = value == 0 || value > 95;
        const char first = static_cast<char>(' ' + (tilde ? (value + 17) % 103 : value - 1));
        const std::string pattern = Encoded(bcCode128B, std::string(1, first) + (tilde ? "~" : ""));
        EXPECT_EQ(pattern.substr(pattern.size() - 13, 6), W(widths)) << value; // before the stop
    }
}
