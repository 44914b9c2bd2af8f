#include "Barcode.h"
#include "EanParts.h"

std::string TBarcode::UpcACode() const {
    RequireDigits();
    if (FText.size() == 11) {
        return AppendEanCheckDigit(FText + "0");
    }
    if (FText.size() != 12) {
        RaiseBadData("11 digits are needed, or 12 with the check digit, not " +
                     std::to_string(FText.size()));
    }
    const std::string code = AppendEanCheckDigit(FText);
    if (code != FText) {
        RaiseBadData(std::string("check digit should be ") + code.back());
    }
    return code;
}

std::string TBarcode::EncodeUpcA() const {
    // UPC-A is EAN-13 with a first digit of 0.
    return Ean13Bars("0" + UpcACode());
}

std::string TBarcode::EncodeUpcE() const {
    RaiseBadData("not built yet");
}
