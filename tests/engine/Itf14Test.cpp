#include "EngineCases.h"

using enum TBarcodeType;

// The GTIN-14 of ITF-14's usual example in pairs, each pair's first digit setting the bars and its
// second the spaces: 1 "10001" with 5 "10100", 4 "00101" with 0 "00110", 0 "00110" with 1 "10001",
// 4 with 1, 2 "01001" with 8 "10010", 8 with 7 "00011", 6 "01100" with 3 "11000".
TEST(Itf14, PatternsCheckDigitsAndRefusals) {
    const std::string Example =
        Pieces("5050 6150515060 5050615160 5150606051 5150605061 5160505160 6050506151 "
               "5161605050 605");
    ExpectEncodings({
        // Thirteen digits get their check digit 3; fourteen bring it, with or without Checksum.
        {bcCodeITF14, "1540014128876", Example},
        {bcCodeITF14, "15400141288763", Example},
        {bcCodeITF14, "1540014128876", Example, true},
        {bcCodeITF14, "15400141288764",
         "TBarcode:ITF-14 bad Data <15400141288764>: check digit should be 3"},
        {bcCodeITF14, "154001412887",
         "TBarcode:ITF-14 bad Data <154001412887>: 13 digits, or 14 with the check digit, are "
         "needed, not 12"},
        {bcCodeITF14, "154001412887630",
         "TBarcode:ITF-14 bad Data <154001412887630>: 13 digits, or 14 with the check digit, are "
         "needed, not 15"},
        {bcCodeITF14, "154001412887a",
         "TBarcode:ITF-14 bad Data <154001412887a>: character 13 \"a\" is not a digit"},
    });
}
