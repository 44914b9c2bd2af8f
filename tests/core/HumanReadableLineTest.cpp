#include "CodeImage.h"
#include "StrToInt.h"
#include "SymbologyNames.h"

#include "Exception.h"

#include "ImageRaised.h"

#include <gtest/gtest.h>

#include <string>

TEST(HumanReadableLine, FourGroupsJoinedByFourSpaces) {
    const std::pair<const char*, const char*> rows[] = {
        {"1234567890123", "1    234567    890123    "},
        {"123456789012", "1    234567    89012    "},
        {"12345678901234567", "1    234567    890123    4567"},
        {"1", "1            "},
        {"", "            "},
        {"12345", "1    2345        "},
        // Characters, not bytes: "é" (\303\251) is two bytes and stays whole.
        {"\303\251234567\303\25190123", "\303\251    234567    \303\25190123    "},
    };
    for (const auto& [data, line] : rows) {
        EXPECT_EQ(HumanReadableLine(data), line) << data;
    }
}

TEST(SymbologyNames, TheListNamesEverySymbologyOnceSorted) {
    const std::pair<const char*, TBarcodeType> rows[] = {
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
    };
    ASSERT_EQ(SymbologyNames.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(SymbologyNames[i].ListText, rows[i].first);
        EXPECT_EQ(FindSymbology(rows[i].first), rows[i].second) << rows[i].first;
    }
    for (const char* unknown : {"", "code ean13", "Code EAN13 ", "EAN13", "Code Codebar"}) {
        EXPECT_EQ(FindSymbology(unknown), std::nullopt) << unknown;
    }
}

// Each row is the text, "=", and its value in decimal.
TEST(StrToInt, AcceptedTexts) {
    for (const std::string row :
         {"0=0", "12=12", "   12=12", "+5=5", "-3=-3", "007=7", "$1F=31", "x1f=31", "X10=16",
          "0x10=16", "0XfF=255", "  $a=10", "2147483647=2147483647", "-2147483648=-2147483648",
          "$7FFFFFFF=2147483647", "$FFFFFFFF=-1", "0x80000000=-2147483648"}) {
        const std::size_t equals = row.rfind('=');
        EXPECT_EQ(StrToInt(row.substr(0, equals)), std::stoi(row.substr(equals + 1))) << row;
    }
}

TEST(StrToInt, RefusedTextsNameThemselves) {
    for (const char* text :
         {"",    " ", "12a", "1.5", "12 ", "2147483648", "-2147483649", "$", "0x", "$100000000",
          "-$1", "+", "-",   "\t1", "1e3", "0x-1",       "--1",         "x", "$G", "1 2"}) {
        EXPECT_EQ(Raised<EConvertError>([&] { StrToInt(text); }),
                  std::string("'") + text + "' is not a valid integer value");
    }
}
