#pragma once

#include "Barcode.h"
#include "Exception.h"

#include "Testing.h"

// One row of an encoder table: the data and the pattern BuildPattern makes of it, or the message
// of the refusal.
struct TEncoding {
    TBarcodeType Typ;
    std::string Text;
    std::string Expected;
    bool Checksum = false;
};

// The pattern for the data or the message it is refused with. Text must read as it was set
// afterwards, whatever the encoder did with it on the way.
inline std::string Encoded(TBarcodeType typ, const std::string& text, bool checksum = false) {
    TBarcode barcode;
    barcode.SetTyp(typ);
    barcode.SetText(text);
    barcode.SetChecksum(checksum);
    std::string outcome;
    try {
        outcome = barcode.BuildPattern();
    } catch (const Exception& e) {
        outcome = e.what();
    }
    return barcode.Text() == text ? outcome : "Text left as <" + barcode.Text() + ">";
}

inline void ExpectEncodings(std::initializer_list<TEncoding> rows) {
    for (const TEncoding& row : rows) {
        EXPECT_EQ(Encoded(row.Typ, row.Text, row.Checksum), row.Expected)
            << BarcodeTypeCaption(row.Typ) << " <" << row.Text << "> checksum " << row.Checksum;
    }
}

// A pattern spelled in pieces with spaces between them.
inline std::string Pieces(std::string_view spelled) {
    std::string pattern;
    std::ranges::copy_if(spelled, std::back_inserter(pattern), [](char ch) { return ch != ' '; });
    return pattern;
}

// Width digits as the published tables write them, turned into a pattern.
inline std::string W(std::string_view widths) {
    return TBarcode::WidthsToPattern(Pieces(widths));
}

// What a pattern should paint, worked out independently of the painter: the element's character
// for every pixel column from the symbol's left edge.
inline std::vector<char> SymbolColumns(std::string_view pattern, const std::array<int, 4>& slots) {
    std::vector<char> columns;
    for (const char ch : pattern) {
        const int slot = ch >= 'A' ? ch - 'A' : ch >= '5' ? ch - '5' : ch - '0';
        columns.insert(columns.end(), slots[slot], ch);
    }
    return columns;
}

inline bool IsBar(char element) {
    return element >= '5';
}
