#include "Barcode.h"

std::string TBarcode::EncodeUpcA() const {
    RaiseBadData("not built yet");
}

std::string TBarcode::EncodeUpcE() const {
    RaiseBadData("not built yet");
}
