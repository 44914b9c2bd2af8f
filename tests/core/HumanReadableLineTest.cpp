#include "CodeImage.h"
#include "StrToInt.h"
#include "SymbologyNames.h"

#include "Exception.h"

#include "Testing.h"

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

// Each list text finds its own symbology; nothing else finds one.
TEST(SymbologyNames, OnlyTheListTextsNameSymbologies) {
    for (const TSymbologyName& name : SymbologyNames) {
        EXPECT_EQ(FindSymbology(std::string(name.ListText)), name.Typ) << name.ListText;
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
