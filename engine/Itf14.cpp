#include "Barcode.h"

std::string TBarcode::EncodeItf14() const {
    RaiseBadData("not built yet");
}
