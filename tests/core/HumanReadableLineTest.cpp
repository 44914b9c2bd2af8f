#include "CodeImage.h"
#include "StrToInt.h"
#include "SymbologyNames.h"

#include "Exception.h"

#include <gtest/gtest.h>

#include <climits>

TEST(HumanReadableLine, FourGroupsJoinedByFourSpaces) {
    const std::pair<const char*, const char*> rows[] = {
        {"1234567890123", "1    234567    890123    "},
        {"123456789012", "1    234567    89012    "},
        {"12345678901234567", "1    234567    890123    4567"},
        {"1", "1            "},
        {"", "            "},
        {"12345", "1    2345        "},
        // Characters, not bytes: "é" is two bytes and stays whole.
        {"\xC3\xA9"
         "234567\xC3\xA9"
         "90123",
         "\xC3\xA9    234567    \xC3\xA9"
         "90123    "},
    };
    for (const auto& [data, line] : rows) {
        EXPECT_EQ(HumanReadableLine(data), line) << data;
    }
}

TEST(SymbologyNames, ListTextsNameEverySymbologyOnce) {
    const std::pair<const char*, TBarcodeType> rows[] = {
        {"Code 2 5 interleaved", TBarcodeType::bcCode_2_5_interleaved},
        {"Code 2 5 industrial", TBarcodeType::bcCode_2_5_industrial},
        {"Code 2 5 matrix", TBarcodeType::bcCode_2_5_matrix},
        {"Code 39", TBarcodeType::bcCode39},
        {"Code 39 Extended", TBarcodeType::bcCode39Extended},
        {"Code 128A", TBarcodeType::bcCode128A},
        {"Code 128B", TBarcodeType::bcCode128B},
        {"Code 128C", TBarcodeType::bcCode128C},
        {"Code 93", TBarcodeType::bcCode93},
        {"Code 93 Extended", TBarcodeType::bcCode93Extended},
        {"Code MSI", TBarcodeType::bcCodeMSI},
        {"Code PostNet", TBarcodeType::bcCodePostNet},
        {"Code Codabar", TBarcodeType::bcCodeCodabar},
        {"Code EAN8", TBarcodeType::bcCodeEAN8},
        {"Code EAN13", TBarcodeType::bcCodeEAN13},
    };
    for (const auto& [text, typ] : rows) {
        EXPECT_EQ(FindSymbology(text), typ) << text;
    }
    for (const char* unknown : {"", "code ean13", "Code EAN13 ", "EAN13", "Code Codebar"}) {
        EXPECT_EQ(FindSymbology(unknown), std::nullopt) << unknown;
    }
    // The list shows them sorted.
    for (std::size_t i = 1; i < SymbologyNames.size(); ++i) {
        EXPECT_LT(SymbologyNames[i - 1].ListText, SymbologyNames[i].ListText);
    }
}

TEST(StrToInt, AcceptedTexts) {
    const std::pair<const char*, int> rows[] = {
        {"0", 0},
        {"12", 12},
        {"   12", 12},
        {"+5", 5},
        {"-3", -3},
        {"007", 7},
        {"$1F", 31},
        {"x1f", 31},
        {"X10", 16},
        {"0x10", 16},
        {"0XfF", 255},
        {"  $a", 10},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"$7FFFFFFF", INT_MAX},
        {"$FFFFFFFF", -1},
        {"0x80000000", INT_MIN},
    };
    for (const auto& [text, value] : rows) {
        EXPECT_EQ(StrToInt(text), value) << text;
    }
}

TEST(StrToInt, RefusedTextsNameThemselves) {
    for (const char* text :
         {"",    " ", "12a", "1.5", "12 ", "2147483648", "-2147483649", "$", "0x", "$100000000",
          "-$1", "+", "-",   "\t1", "1e3", "0x-1",       "--1",         "x", "$G", "1 2"}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}
