#include "Barcode.h"

#include "CharacterRows.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

namespace {

// Nine elements, bar first: "5" narrow bar, "6" wide bar, "0" narrow space, "1" wide space.
struct TCode39Row {
    char Character;
    std::string_view Pattern;
    int CheckValue;
};

// The check character is the first row carrying the check value, so the order matters:
// "0" comes before "*", which shares its check value 0.
constexpr TCode39Row Code39Table[] = {
    {'0', "505160605", 0},  {'1', "605150506", 1},  {'2', "506150506", 2},  {'3', "606150505", 3},
    {'4', "505160506", 4},  {'5', "605160505", 5},  {'6', "506160505", 6},  {'7', "505150606", 7},
    {'8', "605150605", 8},  {'9', "506150605", 9},  {'A', "605051506", 10}, {'B', "506051506", 11},
    {'C', "606051505", 12}, {'D', "505061506", 13}, {'E', "605061505", 14}, {'F', "506061505", 15},
    {'G', "505051606", 16}, {'H', "605051605", 17}, {'I', "506051605", 18}, {'J', "505061605", 19},
    {'K', "605050516", 20}, {'L', "506050516", 21}, {'M', "606050515", 22}, {'N', "505060516", 23},
    {'O', "605060515", 24}, {'P', "506060515", 25}, {'Q', "505050616", 26}, {'R', "605050615", 27},
    {'S', "506050615", 28}, {'T', "505060615", 29}, {'U', "615050506", 30}, {'V', "516050506", 31},
    {'W', "616050505", 32}, {'X', "515060506", 33}, {'Y', "615060505", 34}, {'Z', "516060505", 35},
    {'-', "515050606", 36}, {'.', "615050605", 37}, {' ', "516050605", 38}, {'*', "515060605", 0},
    {'$', "515151505", 39}, {'/', "515150515", 40}, {'+', "515051515", 41}, {'%', "505151515", 42},
};
static_assert(std::size(Code39Table) == 44);
constexpr auto Code39Rows = CharacterRows(Code39Table);

constexpr int StartStopRow = 39;
constexpr int CheckModulus = 43;
// One narrow space separates neighbouring characters.
constexpr char Gap = '0';

// Every character has nine alternating elements, three of them wide.
constexpr bool IsWellFormed(const TCode39Row& row) {
    if (row.Pattern.size() != 9) {
        return false;
    }
    int wide = 0;
    for (std::size_t i = 0; i < row.Pattern.size(); ++i) {
        const char narrow = i % 2 == 0 ? '5' : '0';
        if (row.Pattern[i] != narrow && row.Pattern[i] != narrow + 1) {
            return false;
        }
        wide += row.Pattern[i] - narrow;
    }
    return wide == 3;
}
static_assert(std::ranges::all_of(Code39Table, IsWellFormed));
static_assert(Code39Table[StartStopRow].Character == '*');

// The published full ASCII table, indexed by character code; "-" and "." always take their
// two-character forms.
constexpr TBarcode::TFullAsciiTable FullAscii = {{
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    " ",  "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "/M", "/N", "/O",
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "/Z", "%F", "%G", "%H", "%I", "%J",
    "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",  "L",  "M",  "N",  "O",
    "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",  "Z",  "%K", "%L", "%M", "%N", "%O",
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T",
}};

constexpr bool IsCode39Character(char ch) {
    return std::ranges::any_of(Code39Table,
                               [ch](const TCode39Row& row) { return row.Character == ch; });
}
// The extended encoder relies on this: an expansion is never refused, and never holds the
// start/stop character, which data may not.
static_assert(std::ranges::all_of(FullAscii, [](std::string_view expansion) {
    return std::ranges::all_of(expansion,
                               [](char ch) { return IsCode39Character(ch) && ch != '*'; });
}));

void AppendCharacter(std::string& pattern, int row) {
    pattern += Code39Table[row].Pattern;
    pattern += Gap;
}

int CheckRow(int sum) {
    const auto row = std::ranges::find(Code39Table, sum % CheckModulus, &TCode39Row::CheckValue);
    return static_cast<int>(row - std::begin(Code39Table));
}

} // namespace

int TBarcode::FindCode39Index(char ch) {
    return Code39Rows[static_cast<unsigned char>(ch)];
}

// A character outside the table, or the start/stop character "*", is refused: a reader would
// read the symbol short or not at all.
std::string TBarcode::EncodeCode39() const {
    std::string pattern;
    AppendCharacter(pattern, StartStopRow);
    int sum = 0;
    for (std::size_t i = 0; i < FText.size(); ++i) {
        const int row = FindCode39Index(FText[i]);
        if (row == StartStopRow) {
            RaiseBadCharacter(i, "is the start/stop character; Code 39 Extended encodes it");
        }
        if (row < 0) {
            RaiseBadCharacter(i, static_cast<unsigned char>(FText[i]) < 0x80
                                     ? "is not in Code 39; Code 39 Extended encodes it"
                                     : "is not in Code 39");
        }
        AppendCharacter(pattern, row);
        sum = (sum + Code39Table[row].CheckValue) % CheckModulus;
    }
    if (FChecksum) {
        AppendCharacter(pattern, CheckRow(sum));
    }
    pattern += Code39Table[StartStopRow].Pattern;
    return pattern;
}

std::string TBarcode::EncodeCode39Extended() {
    return EncodeFullAscii(FullAscii, &TBarcode::EncodeCode39);
}
