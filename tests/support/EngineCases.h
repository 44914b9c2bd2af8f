#pragma once

#include "Barcode.h"
#include "Exception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

// One row of an encoder table: the data and what BuildPattern makes of it, the pattern or the
// message of the refusal.
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

// A pattern spelled in pieces, start, characters, check and stop, with spaces between them.
inline std::string Pieces(std::string_view spelled) {
    std::string pattern;
    std::ranges::copy_if(spelled, std::back_inserter(pattern), [](char ch) { return ch != ' '; });
    return pattern;
}

// Width digits as the published tables write them, characters apart, turned into a pattern.
inline std::string W(std::string_view widths) {
    return TBarcode::WidthsToPattern(Pieces(widths));
}
