#include "EngineCases.h"

using enum TBarcodeType;

namespace {

// Pieces in the width digits of the published Code 93 table.
const std::string Start = W("111141");
const std::string Stop = W("1111411");
const std::string AToU = W("211113 211212 211311 221112 221211 231111 112113 112212 112311 "
                           "122112 132111 111123 111222 111321 121122 131121 212112 212211 "
                           "211122 211221 221121");

} // namespace

TEST(Code93, PatternsCheckCharactersCAndKAndRefusals) {
    ExpectEncodings({
        // C = 21 ("L"), K = 6 ("6").
        {bcCode93, "A1", "5050806050525051525050625152505050805"},
        // T E S T 9 3, C = 41 ("+"), K = 6 ("6").
        {bcCode93, "TEST93",
         Start + W("211221 221211 211122 211221 141111 111411 113121 121311") + Stop},
        // C = 0 ("0"), K = 0 ("0").
        {bcCode93, "", Start + W("131112 131112") + Stop},
        // Typed into Code 93 Extended, "[" is (%)K: C = 20 + 44 * 2 = 108 -> 14 ("E"), K = 14 +
        // 20 * 2 + 44 * 3 = 186 -> 45 ((/)).
        {bcCode93Extended, "[", Start + W("312111 132111 221211 311121") + Stop},
        // C weights wrap after 20, K weights after 15: C = 31 ("V"), K = 22 ("M").
        {bcCode93, "ABCDEFGHIJKLMNOPQRSTU", Start + AToU + W("222111 111222") + Stop},
        // "a" is (+)A: C = 8 ("8"), K = 25 ("P").
        {bcCode93Extended, "a", Start + W("122211 211113 131211 131121") + Stop},
        // Lower case, characters outside the table and the four shift characters are refused.
        {bcCode93, "ab",
         "TBarcode:Code93 bad Data <ab>: character 1 \"a\" is not in Code 93; Code 93 Extended "
         "encodes it"},
        {bcCode93, "}A",
         "TBarcode:Code93 bad Data <}A>: character 1 \"}\" is not in Code 93; Code 93 Extended "
         "encodes it"},
        {bcCode93, "A[",
         "TBarcode:Code93 bad Data <A[>: character 2 \"[\" is not in Code 93; Code 93 Extended "
         "encodes it"},
        {bcCode93, "A]",
         "TBarcode:Code93 bad Data <A]>: character 2 \"]\" is not in Code 93; Code 93 Extended "
         "encodes it"},
        {bcCode93, "A{",
         "TBarcode:Code93 bad Data <A{>: character 2 \"{\" is not in Code 93; Code 93 Extended "
         "encodes it"},
        {bcCode93, "1\xC8",
         "TBarcode:Code93 bad Data <1\xC8>: character 2 byte 0xC8 is not in Code 93"},
        {bcCode93Extended, "Gr\u00fc\u00dfe",
         "TBarcode:Code93 Extended bad Data <Gr\u00fc\u00dfe>: character 3 \"\u00fc\" is not "
         "ASCII"},
    });
}
