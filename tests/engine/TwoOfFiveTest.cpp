#include "EngineCases.h"

using enum TBarcodeType;

TEST(TwoOfFive, PatternsBetweenStartAndStopAndRefusals) {
    ExpectEncodings({
        {bcCode_2_5_interleaved, "12", "50506051505061605"},
        // An odd count of digits gets a leading zero: 0 "00110" bars with 1 "10001" spaces, 2
        // "01001" bars with 3 "11000" spaces.
        {bcCode_2_5_interleaved, "123", Pieces("5050 5150606051 5161505060 605")},
        {bcCode_2_5_interleaved, "1", Pieces("5050 5150606051 605")},
        {bcCode_2_5_interleaved, "", "5050605"},
        // 9 "01010" sets the bars, 0 "00110" the spaces.
        {bcCode_2_5_interleaved, "90", Pieces("5050 5060516150 605")},
        {bcCode_2_5_industrial, "1", "6060506050505060605060"},
        {bcCode_2_5_industrial, "90", Pieces("606050 5060506050 5050606050 605060")},
        {bcCode_2_5_industrial, "", "606050605060"},
        {bcCode_2_5_matrix, "1", "70505060506070505"},
        {bcCode_2_5_matrix, "90", Pieces("705050 51515 0 50615 0 70505")},
        {bcCode_2_5_matrix, "", "70505070505"},
        // Any non-digit is refused.
        {bcCode_2_5_interleaved, "12a",
         "TBarcode:2_5_interleaved bad Data <12a>: character 3 \"a\" is not a digit"},
        {bcCode_2_5_industrial, "1 2",
         "TBarcode:2_5_industrial bad Data <1 2>: character 2 \" \" is not a digit"},
        {bcCode_2_5_matrix, "1\xC8",
         "TBarcode:2_5_matrix bad Data <1\xC8>: character 2 byte 0xC8 is not a digit"},
    });
}
