#include "EngineCases.h"

using enum TBarcodeType;

// Patterns spelled from the published number sets A, B and C and the first-digit parity rows.
TEST(Ean, PatternsCheckDigitsAndRefusals) {
    const std::string Ean4006381333931 =
        "50526050517050808052515061605050535053505350705153506160505";
    const std::string Ean1234567 = "5051615151608050526050505170505352517150505"; // 12345670
    ExpectEncodings({
        // The start-up data, padded to 007803213792, check digit 6.
        {bcCodeEAN13, "7803213792", "50526050706060726050805151605050616053505251705160615053505",
         true},
        // Check digit 1; the first digit 4 selects the left-half sets ABAABB.
        {bcCodeEAN13, "400638133393", Ean4006381333931, true},
        // Check digit 8; the first digit 1 selects AABABB: A2 A3 B4 A5 B6 B7, C8 C9 C0 C1 C2 C8.
        {bcCodeEAN13, "123456789012",
         Pieces("505 1516 0805 1705 0625 3505 1525 05050 5152 7051 7150 6160 6061 5152 505"), true},
        // Unchecked data is drawn as it stands, a wrong check digit too; beyond 13 nothing.
        {bcCodeEAN13, "4006381333931", Ean4006381333931},
        {bcCodeEAN13, "4006381333930", Ean4006381333931.substr(0, 52) + "7150" + "505"},
        {bcCodeEAN13, "4006381333931999", Ean4006381333931},
        // Checked data keeps its last twelve digits: 006381333931, check digit 6, sets AAAAAA.
        {bcCodeEAN13, "4006381333931",
         "50526050508080506071615080505050535053507051535061605053505", true},
        // Check digit 0 from a sum of 60 and from a sum of 0; only the last seven digits count.
        {bcCodeEAN8, "1234567", Ean1234567, true},
        {bcCodeEAN8, "991234567", Ean1234567, true},
        {bcCodeEAN8, "12345670", Ean1234567},
        {bcCodeEAN8, "", Pieces("505 2605 2605 2605 2605 05050 7150 7150 7150 7150 505"), true},
        // A digit the check digit is computed from, or the first digit, must convert.
        {bcCodeEAN13, "12A4", "'A' is not a valid integer value", true},
        {bcCodeEAN13, "A23456789012", "'A' is not a valid integer value", true},
        {bcCodeEAN8, "12-4", "'-' is not a valid integer value", true},
        {bcCodeEAN13, "12\u00e94", "'\u00e9' is not a valid integer value", true},
        // Unchecked data must be the full length of digits; beyond it nothing is drawn or checked.
        {bcCodeEAN13, "123", "TBarcode:EAN13 bad Data <123>"},
        {bcCodeEAN13, "", "TBarcode:EAN13 bad Data <>"},
        {bcCodeEAN13, "A234567890123", "TBarcode:EAN13 bad Data <A234567890123>"},
        {bcCodeEAN13, "123456789012x", "TBarcode:EAN13 bad Data <123456789012x>"},
        {bcCodeEAN8, "1234567", "TBarcode:EAN8 bad Data <1234567>"},
        {bcCodeEAN8, "1234 678", "TBarcode:EAN8 bad Data <1234 678>"},
        {bcCodeEAN8, "12345670abc", Ean1234567},
    });
}
