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
