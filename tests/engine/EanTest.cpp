#include "EngineCases.h"

using enum TBarcodeType;

// Patterns spelled from the published number sets A, B and C and the first-digit parity rows.
TEST(Ean, PatternsCheckDigitsAndRefusals) {
    const std::string Ean4006381333931 =
        "50526050517050808052515061605050535053505350705153506160505";
    const std::string Ean123456789012 =
        Pieces("505 1516 0805 1705 0625 3505 1525 05050 5152 7051 7150 6160 6061 5152 505");
    const std::string Ean1234567 = "5051615151608050526050505170505352517150505"; // 12345670
    ExpectEncodings({
        // The main window's old start-up data, padded to 007803213792, check digit 6.
        {bcCodeEAN13, "7803213792", "50526050706060726050805151605050616053505251705160615053505",
         true},
        // Check digit 1; the first digit 4 selects the left-half sets ABAABB.
        {bcCodeEAN13, "400638133393", Ean4006381333931, true},
        // Check digit 8; the first digit 1 selects AABABB: A2 A3 B4 A5 B6 B7, C8 C9 C0 C1 C2 C8.
        {bcCodeEAN13, "123456789012", Ean123456789012, true},
        // Thirteen digits bring their own check digit, which must be the right one.
        {bcCodeEAN13, "1234567890128", Ean123456789012, true},
        {bcCodeEAN13, "4006381333931", Ean4006381333931, true},
        {bcCodeEAN13, "1234567890123",
         "TBarcode:EAN13 bad Data <1234567890123>: check digit should be 8", true},
        {bcCodeEAN13, "40063813339310",
         "TBarcode:EAN13 bad Data <40063813339310>: more than 13 digits", true},
        // Unchecked data is drawn as it stands, a wrong check digit too.
        {bcCodeEAN13, "4006381333931", Ean4006381333931},
        {bcCodeEAN13, "4006381333930", Ean4006381333931.substr(0, 52) + "7150" + "505"},
        // Check digit 0 from a sum of 60 and from a sum of 0.
        {bcCodeEAN8, "1234567", Ean1234567, true},
        {bcCodeEAN8, "12345670", Ean1234567, true},
        {bcCodeEAN8, "12345678", "TBarcode:EAN8 bad Data <12345678>: check digit should be 0",
         true},
        {bcCodeEAN8, "991234567", "TBarcode:EAN8 bad Data <991234567>: more than 8 digits", true},
        {bcCodeEAN8, "12345670", Ean1234567},
        {bcCodeEAN8, "", Pieces("505 2605 2605 2605 2605 05050 7150 7150 7150 7150 505"), true},
        // A non-digit anywhere is refused as the integer conversion refuses it.
        {bcCodeEAN13, "12A4", "'A' is not a valid integer value", true},
        {bcCodeEAN8, "12-4", "'-' is not a valid integer value", true},
        {bcCodeEAN13, "12\u00e94", "'\u00e9' is not a valid integer value", true},
        // Unchecked data must be exactly the full length of digits.
        {bcCodeEAN13, "123",
         "TBarcode:EAN13 bad Data <123>: exactly 13 digits are needed when no check digit is "
         "added"},
        {bcCodeEAN13, "40063813339319",
         "TBarcode:EAN13 bad Data <40063813339319>: exactly 13 digits are needed when no check "
         "digit is added"},
        {bcCodeEAN13, "A234567890123",
         "TBarcode:EAN13 bad Data <A234567890123>: character 1 \"A\" is not a digit"},
        {bcCodeEAN8, "1234 678",
         "TBarcode:EAN8 bad Data <1234 678>: character 5 \" \" is not a digit"},
    });
}
