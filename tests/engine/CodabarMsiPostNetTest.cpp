#include "EngineCases.h"

using enum TBarcodeType;

namespace {

// The published MSI digits: four bits from the most significant, 0 as "51", 1 as "60".
const std::string MsiDigit[] = {"51515151", "51515160", "51516051", "51516060", "51605151",
                                "51605160", "51606051", "51606060", "60515151", "60515160"};

std::string Msi(const std::string& digits, int check) {
    std::string pattern = "60";
    for (const char digit : digits) {
        pattern += MsiDigit[digit - '0'];
    }
    return pattern + MsiDigit[check] + "515";
}

const std::string FourBlocks = "1234567890123456789012345678901234567890";

} // namespace

TEST(CodabarMsiPostNet, PatternsCheckDigitsAndRefusals) {
    ExpectEncodings({
        {bcCodeCodabar, "12", "5061515050506150505150605151506"},
        {bcCodeCodabar, "", "506151505151506"},
        {bcCodeCodabar, "0+", Pieces("5061515 0 5050516 0 5060606 0 5151506")},
        // Data framed by two of A to D brings its own start and stop: C, 5 6 7 8, D.
        {bcCodeCodabar, "C5678D",
         Pieces("5051516 0 6050515 0 5150506 0 5150605 0 5160505 0 5051615")},
        {bcCodeCodabar, "AB", "506151505151506"},
        // A to D anywhere else would end the symbol early; characters outside the table.
        {bcCodeCodabar, "12A34",
         "TBarcode:Codebar bad Data <12A34>: character 3 \"A\" is a start/stop character: A to D "
         "may only begin and end the data, both together"},
        {bcCodeCodabar, "A12",
         "TBarcode:Codebar bad Data <A12>: character 1 \"A\" is a start/stop character: A to D "
         "may only begin and end the data, both together"},
        // Each of B, C and D inside the data, and at its end alone.
        {bcCodeCodabar, "1B2",
         "TBarcode:Codebar bad Data <1B2>: character 2 \"B\" is a start/stop character: A to D "
         "may only begin and end the data, both together"},
        {bcCodeCodabar, "1C2",
         "TBarcode:Codebar bad Data <1C2>: character 2 \"C\" is a start/stop character: A to D "
         "may only begin and end the data, both together"},
        {bcCodeCodabar, "12D",
         "TBarcode:Codebar bad Data <12D>: character 3 \"D\" is a start/stop character: A to D "
         "may only begin and end the data, both together"},
        {bcCodeCodabar, "12x",
         "TBarcode:Codebar bad Data <12x>: character 3 \"x\" is not in Codabar"},
        // MSI check digits, modulo 10 doubling from the right: 2 * 2 = 4, + 1 = 5 -> 5.
        {bcCodeMSI, "12", "60515151605151605151605160515"},
        {bcCodeMSI, "", "6051515151515"},
        {bcCodeMSI, "1234", Msi("1234", 4)},       // 8 + 3 + 4 + 1 = 16 -> 4
        {bcCodeMSI, "7", Msi("7", 5)},             // 14 -> 1 + 4 = 5 -> 5
        {bcCodeMSI, "1234567", Msi("1234567", 4)}, // 5 + 6 + 1 + 4 + 6 + 2 + 2 = 26 -> 4
        {bcCodeMSI, "99", Msi("99", 2)},           // 18 -> 9, + 9 = 18 -> 2
        // Each block "1234567890", from the right: doubled 0, 8, 6, 4, 2 give 0 + 7 + 3 + 8 + 4
        // = 22, the others 9 + 7 + 5 + 3 + 1 = 25; four blocks 188 -> 2.
        {bcCodeMSI, FourBlocks, Msi(FourBlocks, 2)},
        {bcCodeMSI, "1-2", "TBarcode:MSI bad Data <1-2>: character 2 \"-\" is not a digit"},
        // PostNet: 0 "11000" and 9 "10100", full bars "5", short bars "A", each with a wide space.
        {bcCodePostNet, "12", "51A1A1A15151A1A151A1515"},
        {bcCodePostNet, "09", Pieces("51 5151A1A1A1 51A151A1A1 5")},
        {bcCodePostNet, "", "515"},
        {bcCodePostNet, "1a", "TBarcode:PostNet bad Data <1a>: character 2 \"a\" is not a digit"},
    });
}
