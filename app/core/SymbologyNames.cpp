#include "SymbologyNames.h"

std::optional<TBarcodeType> FindSymbology(std::string_view listText) {
    for (const TSymbologyName& name : SymbologyNames) {
        if (name.ListText == listText) {
            return name.Typ;
        }
    }
    return std::nullopt;
}
