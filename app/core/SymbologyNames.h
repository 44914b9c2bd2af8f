#pragma once

#include "Barcode.h"

#include <array>
#include <optional>
#include <string_view>

struct TSymbologyName {
    std::string_view ListText;
    TBarcodeType Typ;
};

// The symbology list's texts in the order the list shows them.
inline constexpr std::array<TSymbologyName, BarcodeTypeCount> SymbologyNames = {{
    {"Code 128A", TBarcodeType::bcCode128A},
    {"Code 128B", TBarcodeType::bcCode128B},
    {"Code 128C", TBarcodeType::bcCode128C},
    {"Code 2 5 industrial", TBarcodeType::bcCode_2_5_industrial},
    {"Code 2 5 interleaved", TBarcodeType::bcCode_2_5_interleaved},
    {"Code 2 5 matrix", TBarcodeType::bcCode_2_5_matrix},
    {"Code 39", TBarcodeType::bcCode39},
    {"Code 39 Extended", TBarcodeType::bcCode39Extended},
    {"Code 93", TBarcodeType::bcCode93},
    {"Code 93 Extended", TBarcodeType::bcCode93Extended},
    {"Code Codabar", TBarcodeType::bcCodeCodabar},
    {"Code EAN13", TBarcodeType::bcCodeEAN13},
    {"Code EAN8", TBarcodeType::bcCodeEAN8},
    {"Code MSI", TBarcodeType::bcCodeMSI},
    {"Code PostNet", TBarcodeType::bcCodePostNet},
    {"Code 128", TBarcodeType::bcCode128},
    {"GS1-128", TBarcodeType::bcCodeGS1_128},
    {"Code UPC-A", TBarcodeType::bcCodeUPCA},
    {"Code UPC-E", TBarcodeType::bcCodeUPCE},
    {"Code ITF-14", TBarcodeType::bcCodeITF14},
}};

// The symbology of a list text; the comparison is exact and case-sensitive.
std::optional<TBarcodeType> FindSymbology(std::string_view listText);
