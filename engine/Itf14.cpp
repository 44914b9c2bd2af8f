#include "Barcode.h"

#include <string>

// The check digit is GS1's modulo 10, as EAN's.
std::string TBarcode::Itf14Digits() const {
    RequireDigits();
    if (FText.size() == 13) {
        return AppendEanCheckDigit(FText + '0');
    }
    if (FText.size() != 14) {
        RaiseBadData("13 digits, or 14 with the check digit, are needed, not " +
                     std::to_string(FText.size()));
    }
    return CheckedEanDigits(FText);
}

std::string TBarcode::EncodeItf14() const {
    return InterleavedPattern(Itf14Digits());
}
