#include "Code128Cases.h"
#include "Gs1Identifiers.h"

using enum TBarcodeType;

namespace {

// The refusal of data, for rows that differ in the reason alone.
std::string Refused(const std::string& data, const std::string& reason) {
    return "TBarcode:GS1-128 bad Data <" + data + ">: " + reason;
}

} // namespace

// Start C "211232", FNC1 "411131", stop "2331112"; the rest from the published table by value.
TEST(Gs1_128, PatternWithItsCheckCharacter) {
    // 01 09 50 11 01 53 00 03: 105 + 102 + 2 + 27 + 200 + 55 + 6 + 371 + 0 + 27 = 895, check 71.
    EXPECT_EQ(Encoded(bcCodeGS1_128, "(01)09501101530003"),
              W("211232 411131 222122 221213 231131 231212 222122 213131 212222 121223 122114 "
                "2331112"));
}

// FNC1 after the start and after each field that GS1 does not predefine, unless it is the last;
// in every set, in the fewest symbol characters. The keys carry GS1's example company prefixes.
TEST(Gs1_128, Fnc1AfterTheStartAndBetweenFieldsOfNoPredefinedLength) {
    const std::pair<std::string, std::vector<int>> rows[] = {
        // GTIN and expiry date predefined, the batch last: no FNC1 between.
        {"(01)09501101530003(17)251231(10)AB-123",
         {StartC, Fnc1, 1,  9,  50,    11,     1,      53,     0,      3,      17,
          25,     12,   31, 10, CodeB, B('A'), B('B'), B('-'), B('1'), B('2'), B('3')}},
        {"(00)106141411234567897", {StartC, Fnc1, 0, 10, 61, 41, 41, 12, 34, 56, 78, 97}},
        // A batch before a date ends with FNC1, here in set B: start B and C tie.
        {"(10)AB(17)251231",
         {StartB, Fnc1, B('1'), B('0'), B('A'), B('B'), Fnc1, CodeC, 17, 25, 12, 31}},
        // Three fixed digits of origin are not among the predefined lengths.
        {"(422)250(10)AB", {StartC, Fnc1, 42, 22, 50, Fnc1, 10, CodeB, B('A'), B('B')}},
        // FNC1 in set C between the serial and the batch; B and C tie at the start.
        {"(21)12345(10)X", {StartB, Fnc1, B('2'), CodeC, 11, 23, 45, Fnc1, 10, CodeB, B('X')}},
        {"(01)09506000134352(91)x", {StartC, Fnc1, 1, 9, 50, 60, 0, 13, 43, 52, 91, CodeB, B('x')}},
    };
    for (const auto& [data, values] : rows) {
        EXPECT_EQ(SymbolValues(Encoded(bcCodeGS1_128, data)), values) << data;
    }
}

// The line under the bars is the bracketed form as typed.
TEST(Gs1_128, PrintedTextIsTheBracketedForm) {
    TBarcode barcode;
    barcode.SetTyp(bcCodeGS1_128);
    barcode.SetText("(01)09501101530003(10)AB-123");
    EXPECT_EQ(barcode.PrintedText(), "(01)09501101530003(10)AB-123");
}

// Release 26 of the GS1 General Specifications has 541 application identifiers of 2 to 4 digits.
TEST(Gs1_128, EveryApplicationIdentifierAndNoOther) {
    int found = 0;
    for (int digits = 2; digits <= 4; ++digits) {
        for (int n = 0; n < (digits == 2 ? 100 : digits == 3 ? 1000 : 10000); ++n) {
            std::string ai = std::to_string(n);
            ai.insert(0, static_cast<std::size_t>(digits) - ai.size(), '0');
            found += FindGs1Identifier(ai) != nullptr ? 1 : 0;
        }
    }
    EXPECT_EQ(found, 541);
}

// Data GS1 takes, at each boundary of the rules.
TEST(Gs1_128, AcceptedAtTheBoundaries) {
    const std::string rows[] = {
        "(3100)000100",
        "(3105)000100",
        "(90)x",
        "(99)x",
        "(10)" + std::string(20, 'A'),
        "(30)12345678",
        "(91)" + std::string(90, 'x'),
        "(253)9501101020917",
        "(253)9501101020917" + std::string(17, 'A'),
        "(423)123",
        "(423)123456789012345",
        "(7007)250101",
        "(7007)250101251231",
        "(01)00000000000000",
        "(17)251200",
        "(17)251231",
        "(17)250430",
        "(17)240229",
        "(7250)20000229",
    };
    for (const std::string& data : rows) {
        EXPECT_EQ(Encoded(bcCodeGS1_128, data).find_first_not_of("01235678"), std::string::npos)
            << data;
    }
}

// Data GS1 refuses, at each boundary of the rules.
TEST(Gs1_128, RefusalsNameTheApplicationIdentifierAndTheReason) {
    const std::pair<std::string, std::string> rows[] = {
        // The bracketed form.
        {"", "no application identifier"},
        {"01", "character 1 \"0\" is not the \"(\" of an application identifier"},
        {"(01", "character 1 \"(\" is not closed by \")\""},
        {"(01)09501101530003(17", "character 19 \"(\" is not closed by \")\""},
        {"(01(17)251231", "character 1 \"(\" is not closed by \")\""},
        {"(19)1", "(19) is not an application identifier"},
        {"()1", "() is not an application identifier"},
        {"(3106)000100", "(3106) is not an application identifier"},
        {"(10)(21)1", "(10) has no data"},
        {"(21)1(10)", "(10) has no data"},
        // Fixed lengths one short and one over.
        {"(01)0950110153000", "(01) takes 14 digits"},
        {"(01)095011015300031", "(01) takes 14 digits"},
        {"(17)25123", "(17) takes 6 digits"},
        {"(17)2512310", "(17) takes 6 digits"},
        {"(4307)F", "(4307) takes 2 characters"},
        {"(4307)FRA", "(4307) takes 2 characters"},
        // Variable lengths one over their maximum; parts that come optionally.
        {"(10)" + std::string(21, 'A'), "(10) takes at most 20 characters"},
        {"(30)123456789", "(30) takes at most 8 digits"},
        {"(91)" + std::string(91, 'x'), "(91) takes at most 90 characters"},
        {"(91)" + std::string(128, 'x'), "(91) takes at most 90 characters"},
        {"(253)950110102091", "(253) takes at least 13 characters"},
        {"(253)9501101020917" + std::string(18, 'A'), "(253) takes at most 30 characters"},
        {"(423)12", "(423) takes at least 3 digits"},
        {"(423)1234", "(423) takes 3, 6, 9, 12 or 15 digits"},
        {"(423)1234567890123456", "(423) takes at most 15 digits"},
        {"(7007)2501012", "(7007) takes 6 or 12 digits"},
        // Check digits: of 18, 14, 13 and 17 digits, of the first part and of the second, and
        // the check digit 0.
        {"(00)106141411234567890", "(00) check digit should be 7"},
        {"(01)09501101530004", "(01) check digit should be 3"},
        {"(410)9501101020910", "(410) check digit should be 7"},
        {"(402)95011010000000012", "(402) check digit should be 8"},
        {"(8006)095011015300020102", "(8006) check digit should be 3"},
        {"(8003)09501101020916A1", "(8003) check digit should be 7"},
        {"(01)00000000000001", "(01) check digit should be 0"},
        // Dates: months 00 and 13, each month's last day and the day after it, 29 February in
        // a leap year only; day 00 where the day may be left out, and not elsewhere.
        {"(17)250001", "(17) 250001 is not a date"},
        {"(17)251301", "(17) 251301 is not a date"},
        {"(17)251340", "(17) 251340 is not a date"},
        {"(17)251232", "(17) 251232 is not a date"},
        {"(17)240431", "(17) 240431 is not a date"},
        {"(17)250229", "(17) 250229 is not a date"},
        {"(4326)250200", "(4326) 250200 is not a date"},
        {"(7007)250101250230", "(7007) 250230 is not a date"},
        {"(7250)19000229", "(7250) 19000229 is not a date"},
        {"(7250)21000229", "(7250) 21000229 is not a date"},
        // Characters outside a part's set at its start, in its middle and at its end, and in a
        // later part.
        {"(01)A9501101530003", "(01) character 5 \"A\" is not a digit"},
        {"(01)0950110A530003", "(01) character 12 \"A\" is not a digit"},
        {"(01)0950110153000/", "(01) character 18 \"/\" is not a digit"},
        {"(01)0950110153000:", "(01) character 18 \":\" is not a digit"},
        {"(10)~AB", "(10) character 5 \"~\" is not in GS1's character set 82"},
        {"(10)A B", "(10) character 6 \" \" is not in GS1's character set 82"},
        {"(10)AB\u00e9", "(10) character 7 \"\u00e9\" is not in GS1's character set 82"},
        {"(10)AB\x80", "(10) character 7 byte 0x80 is not in GS1's character set 82"},
        {"(8003)09501101020917A~", "(8003) character 22 \"~\" is not in GS1's character set 82"},
        {"(8010)A-a", "(8010) character 9 \"a\" is not in GS1's character set 39"},
        {"(8030)ab+", "(8030) character 9 \"+\" is not in GS1's character set 64"},
    };
    for (const auto& [data, reason] : rows) {
        EXPECT_EQ(Encoded(bcCodeGS1_128, data), Refused(data, reason));
    }
}

// Each set whole is accepted ("(" alone opens an application identifier), and the characters
// next to it are refused.
TEST(Gs1_128, CharacterSets) {
    const struct {
        std::string Whole;
        std::string Ai;
        std::string Beside;
        std::string Name;
    } sets[] = {
        {"(91)!\"%&')*+,-./0123456789:;<=>?ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz",
         "(91)", " #$@[\\]^`{|}~\x7F\t", "82"},
        // Set 39 takes two fields: the longest holds 30.
        {"(8010)#-/0123456789ABCDEFGHIJ(8010)KLMNOPQRSTUVWXYZ", "(8010)", "!\"$%,.:@[a", "39"},
        {"(8030)-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz", "(8030)",
         "+,./:=@[`{", "64"},
    };
    for (const auto& [whole, ai, beside, name] : sets) {
        EXPECT_EQ(Encoded(bcCodeGS1_128, whole).find_first_not_of("01235678"), std::string::npos)
            << whole;
        for (const char ch : beside) {
            const std::string data = ai + "A" + ch;
            EXPECT_NE(Encoded(bcCodeGS1_128, data).find("is not in GS1's character set " + name),
                      std::string::npos)
                << data;
        }
    }
}
