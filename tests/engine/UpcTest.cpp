#include "EngineCases.h"

using enum TBarcodeType;

// UPC-A is EAN-13 with a first digit of 0: the left half all in set A. Its check digit is always
// added or checked, with Checksum or without.
TEST(Upc, UpcAPatternsCheckDigitsAndRefusals) {
    // 0 36000 29145 2: A0 A3 A6 A0 A0 A0, C2 C9 C1 C4 C5 C2.
    const std::string Upc036000291452 =
        Pieces("505 2605 0805 0508 2605 2605 2605 05050 6061 7051 6160 5071 5170 6061 505");
    ExpectEncodings({
        {bcCodeEAN13, "0036000291452", Upc036000291452, true},
        {bcCodeUPCA, "03600029145", Upc036000291452, true},
        {bcCodeUPCA, "03600029145", Upc036000291452},
        {bcCodeUPCA, "036000291452", Upc036000291452},
        {bcCodeUPCA, "036000291452+12", Upc036000291452 + Pieces("330 506 1615 05 1516")},
        // The main symbol's digits are refused before the add-on's.
        {bcCodeUPCA, "036000291453+1",
         "TBarcode:UPC-A bad Data <036000291453+1>: check digit should be 2"},
        {bcCodeUPCA, "036000291453",
         "TBarcode:UPC-A bad Data <036000291453>: check digit should be 2"},
        {bcCodeUPCA, "0360002914",
         "TBarcode:UPC-A bad Data <0360002914>: 11 digits are needed, or 12 with the check digit, "
         "not 10",
         true},
        {bcCodeUPCA, "0360002914520",
         "TBarcode:UPC-A bad Data <0360002914520>: 11 digits are needed, or 12 with the check "
         "digit, not 13",
         true},
        {bcCodeUPCA, "0360002914A",
         "TBarcode:UPC-A bad Data <0360002914A>: character 11 \"A\" is not a digit", true},
    });
}

// UPC-E: each row of the zero-suppression table, by the last of the six digits, written from the
// UPC-A number and read back from the six digits; the sets by the check digit (number system 1
// the other set each), spelled from the published number sets A and B.
TEST(Upc, UpcEZeroSuppressionParityAndRefusals) {
    // 0 12345 00006 5: last digit 5 to 9, BAABBA: B1 A2 A3 B4 B5 A6.
    const std::string Upc123456 = Pieces("505 0616 1516 0805 1705 0715 0508 050505");
    const auto refused = [](const std::string& data, const std::string& reason) {
        return "TBarcode:UPC-E bad Data <" + data + ">: " + reason;
    };
    ExpectEncodings({
        {bcCodeUPCE, "123456", Upc123456},
        {bcCodeUPCE, "0123456", Upc123456, true},
        {bcCodeUPCE, "01234565", Upc123456},
        {bcCodeUPCE, "01234500006", Upc123456},
        {bcCodeUPCE, "012345000065", Upc123456, true},
        {bcCodeUPCE, "123456+12", Upc123456 + Pieces("330 506 1615 05 1516")},
        // Last digit 0 to 2: manufacturer number ending in 000, 100 or 200, items to 00999.
        {bcCodeUPCE, "01210000345", Pieces("505 0616 1516 0535 1705 0625 1615 050505")},
        {bcCodeUPCE, "01220000999", Pieces("505 0616 1516 1507 2506 2506 1606 050505")},
        {bcCodeUPCE, "129992", Pieces("505 0616 1516 1507 2506 2506 1606 050505")},
        // Last digit 3: ending in 300 to 900, items to 00099.
        {bcCodeUPCE, "01230000099", Pieces("505 0616 1516 0535 1507 2506 0805 050505")},
        // Last digit 4: ending in 10 to 90, items to 00009.
        {bcCodeUPCE, "01234000009", Pieces("505 0616 1606 0805 1705 2506 0526 050505")},
        // Last digit 5 to 9: not ending in 0, items 00005 to 00009.
        {bcCodeUPCE, "01234500005", Pieces("505 0616 1516 0535 0526 0625 0715 050505")},
        {bcCodeUPCE, "01234500009", Pieces("505 0616 1516 0805 0526 0715 1507 050505")},
        // Number system 1, check digit 2: AABBAB instead of BBAABA.
        {bcCodeUPCE, "1123456", Pieces("505 1615 1516 0535 1705 0625 3505 050505")},
        {bcCodeUPCE, "01220001000",
         refused("01220001000", "cannot be zero-suppressed: manufacturer number 12200 (ending "
                                "in 000, 100 or 200) takes item numbers 00000 to 00999 only, "
                                "not 01000")},
        {bcCodeUPCE, "01230000100",
         refused("01230000100", "cannot be zero-suppressed: manufacturer number 12300 (ending "
                                "in 300 to 900) takes item numbers 00000 to 00099 only, not "
                                "00100")},
        {bcCodeUPCE, "01234000010",
         refused("01234000010", "cannot be zero-suppressed: manufacturer number 12340 (ending "
                                "in 10 to 90) takes item numbers 00000 to 00009 only, not 00010")},
        {bcCodeUPCE, "01234500004",
         refused("01234500004", "cannot be zero-suppressed: manufacturer number 12345 (not "
                                "ending in 0) takes item numbers 00005 to 00009 only, not 00004")},
        {bcCodeUPCE, "01234500010",
         refused("01234500010", "cannot be zero-suppressed: manufacturer number 12345 (not "
                                "ending in 0) takes item numbers 00005 to 00009 only, not 00010")},
        // Six digits the table expands but writes otherwise for that number.
        {bcCodeUPCE, "120453",
         refused("120453", "the zero suppression of 012000000454 is 120450, not 120453")},
        {bcCodeUPCE, "123054",
         refused("123054", "the zero suppression of 012300000055 is 123053, not 123054")},
        {bcCodeUPCE, "123405",
         refused("123405", "the zero suppression of 012340000053 is 123454, not 123405")},
        {bcCodeUPCE, "01234566", refused("01234566", "check digit should be 5")},
        {bcCodeUPCE, "012345000066", refused("012345000066", "check digit should be 5")},
        {bcCodeUPCE, "2123456", refused("2123456", "the number system is 0 or 1, not 2")},
        {bcCodeUPCE, "21234500006", refused("21234500006", "the number system is 0 or 1, not 2")},
        {bcCodeUPCE, "12345A", refused("12345A", "character 6 \"A\" is not a digit")},
    });
    for (const std::string data : {"12345", "012345650", "0123450000", "0123450000065"}) {
        EXPECT_EQ(Encoded(bcCodeUPCE, data, true),
                  refused(data, "6, 7 or 8 digits are needed, or the 11 or 12 of a UPC-A number, "
                                "not " +
                                    std::to_string(data.size())));
    }
}
