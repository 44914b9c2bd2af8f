#include "Barcode.h"

std::string TBarcode::EncodeCode128Auto() const {
    RaiseBadData("not built yet");
}

std::string TBarcode::EncodeGs1_128() const {
    RaiseBadData("not built yet");
}
