#include "EngineCases.h"

using enum TBarcodeType;

namespace {

const std::string Ean4006381333931 = "50526050517050808052515061605050535053505350705153506160505";
const std::string Ean1234567 = "5051615151608050526050505170505352517150505"; // 12345670

} // namespace

// Patterns spelled from the published number sets A, B and C and the first-digit parity rows.
TEST(Ean, PatternsCheckDigitsAndRefusals) {
    const std::string Ean123456789012 =
        Pieces("505 1516 0805 1705 0625 3505 1525 05050 5152 7051 7150 6160 6061 5152 505");
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

// An add-on after a "+": 9 modules of gap, the start 1011, then its digits in sets A and B with
// 01 between them, EAN-2's sets by its value modulo 4, EAN-5's by its check digit (weights 3 and
// 9 from the left); one row for each row of the published parity tables.
TEST(Ean, AddOnsAfterAPlus) {
    const struct {
        std::string AddOn;
        std::string Pieces;
    } rows[] = {
        {"12", "1615 05 1516"},                            // 0: AA
        {"13", "1615 05 0535"},                            // 1: AB
        {"14", "0616 05 0526"},                            // 2: BA
        {"15", "0616 05 0715"},                            // 3: BB
        {"00000", "0517 05 0517 05 2605 05 2605 05 2605"}, // 0: BBAAA
        {"00007", "0517 05 2605 05 0517 05 2605 05 0706"}, // 1: BABAA
        {"00004", "0517 05 2605 05 2605 05 0517 05 0526"}, // 2: BAABA
        {"00001", "0517 05 2605 05 2605 05 2605 05 0616"}, // 3: BAAAB
        {"00008", "2605 05 0517 05 0517 05 2605 05 0607"}, // 4: ABBAA
        {"00005", "2605 05 2605 05 0517 05 0517 05 0625"}, // 5: AABBA
        {"00002", "2605 05 2605 05 2605 05 0517 05 1606"}, // 6: AAABB
        {"00009", "2605 05 0517 05 2605 05 0517 05 2506"}, // 7: ABABA
        {"00006", "2605 05 0517 05 2605 05 2605 05 3505"}, // 8: ABAAB
        {"00003", "2605 05 2605 05 0517 05 2605 05 0535"}, // 9: AABAB
        // 5x3 + 2x9 + 4x3 + 9x9 + 5x3 = 141: check digit 1, BABAA.
        {"52495", "0715 05 1516 05 1705 05 2506 05 0625"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Encoded(bcCodeEAN13, "4006381333931+" + row.AddOn, true),
                  Ean4006381333931 + Pieces("330 506 " + row.Pieces))
            << row.AddOn;
    }
    const auto refused = [](const std::string& data, const std::string& reason) {
        return "TBarcode:EAN13 bad Data <" + data + ">: " + reason;
    };
    ExpectEncodings({
        {bcCodeEAN13, "4006381333931+12", Ean4006381333931 + Pieces("330 506 1615 05 1516")},
        {bcCodeEAN8, "1234567+12", Ean1234567 + Pieces("330 506 1615 05 1516"), true},
        {bcCodeEAN13, "4006381333931+",
         refused("4006381333931+", "an add-on has 2 or 5 digits, not 0"), true},
        {bcCodeEAN13, "4006381333931+1",
         refused("4006381333931+1", "an add-on has 2 or 5 digits, not 1"), true},
        {bcCodeEAN13, "4006381333931+123",
         refused("4006381333931+123", "an add-on has 2 or 5 digits, not 3"), true},
        {bcCodeEAN13, "4006381333931+1234",
         refused("4006381333931+1234", "an add-on has 2 or 5 digits, not 4"), true},
        {bcCodeEAN13, "4006381333931+123456",
         refused("4006381333931+123456", "an add-on has 2 or 5 digits, not 6"), true},
        {bcCodeEAN13, "4006381333931+1a",
         refused("4006381333931+1a", "character 16 \"a\" is not a digit"), true},
        {bcCodeEAN13, "4006381333931+12+34",
         refused("4006381333931+12+34", "more than one \"+\": one add-on at most"), true},
        // The main symbol's digits are refused first, as without an add-on.
        {bcCodeEAN13, "4006381333930+1", refused("4006381333930+1", "check digit should be 1"),
         true},
    });
}
