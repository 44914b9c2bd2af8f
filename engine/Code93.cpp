#include "Barcode.h"

#include "CharacterRows.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A character's value is its row. Width digits: bar, space, bar, space, bar, space in modules.
// "[", "]", "{" and "}" stand for the full ASCII shift characters ($), (%), (/) and (+).
struct TCode93Row {
    char Character;
    std::string_view Widths;
};

constexpr TCode93Row Code93Table[] = {
    {'0', "131112"}, {'1', "111213"}, {'2', "111312"}, {'3', "111411"}, {'4', "121113"},
    {'5', "121212"}, {'6', "121311"}, {'7', "111114"}, {'8', "131211"}, {'9', "141111"},
    {'A', "211113"}, {'B', "211212"}, {'C', "211311"}, {'D', "221112"}, {'E', "221211"},
    {'F', "231111"}, {'G', "112113"}, {'H', "112212"}, {'I', "112311"}, {'J', "122112"},
    {'K', "132111"}, {'L', "111123"}, {'M', "111222"}, {'N', "111321"}, {'O', "121122"},
    {'P', "131121"}, {'Q', "212112"}, {'R', "212211"}, {'S', "211122"}, {'T', "211221"},
    {'U', "221121"}, {'V', "222111"}, {'W', "112122"}, {'X', "112221"}, {'Y', "122121"},
    {'Z', "123111"}, {'-', "121131"}, {'.', "311112"}, {' ', "311211"}, {'$', "321111"},
    {'/', "112131"}, {'+', "113121"}, {'%', "211131"}, {'[', "121221"}, {']', "312111"},
    {'{', "311121"}, {'}', "122211"},
};
static_assert(std::size(Code93Table) == 47);
constexpr auto Code93Rows = CharacterRows(Code93Table);
constexpr int FirstShift = 43;

constexpr std::string_view StartWidths = "111141";
// The stop character followed by the one-module termination bar.
constexpr std::string_view StopWidths = "1111411";

constexpr int CheckModulus = 47;
constexpr int CWeightCycle = 20;
constexpr int KWeightCycle = 15;

// Every character is six elements of one to four modules, nine modules in all.
constexpr bool IsWellFormed(const TCode93Row& row) {
    int modules = 0;
    for (const char digit : row.Widths) {
        if (digit < '1' || digit > '4') {
            return false;
        }
        modules += digit - '0';
    }
    return row.Widths.size() == 6 && modules == 9;
}
static_assert(std::ranges::all_of(Code93Table, IsWellFormed));

// The published full ASCII table, indexed by character code, in the shift notation above.
constexpr TBarcode::TFullAsciiTable FullAscii = {{
    "]U", "[A", "[B", "[C", "[D", "[E", "[F", "[G", "[H", "[I", "[J", "[K", "[L", "[M", "[N", "[O",
    "[P", "[Q", "[R", "[S", "[T", "[U", "[V", "[W", "[X", "[Y", "[Z", "]A", "]B", "]C", "]D", "]E",
    " ",  "{A", "{B", "{C", "{D", "{E", "{F", "{G", "{H", "{I", "{J", "{K", "{L", "{M", "{N", "{O",
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "{Z", "]F", "]G", "]H", "]I", "]J",
    "]V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",  "L",  "M",  "N",  "O",
    "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",  "Z",  "]K", "]L", "]M", "]N", "]O",
    "]W", "}A", "}B", "}C", "}D", "}E", "}F", "}G", "}H", "}I", "}J", "}K", "}L", "}M", "}N", "}O",
    "}P", "}Q", "}R", "}S", "}T", "}U", "}V", "}W", "}X", "}Y", "}Z", "]P", "]Q", "]R", "]S", "]T",
}};

// The extended encoder relies on this: an expansion is never refused.
constexpr bool IsCode93Character(char ch) {
    return std::ranges::any_of(Code93Table,
                               [ch](const TCode93Row& row) { return row.Character == ch; });
}
static_assert(std::ranges::all_of(FullAscii, [](std::string_view expansion) {
    return std::ranges::all_of(expansion, IsCode93Character);
}));

struct TCheckValues {
    int C;
    int K;
};

// Weights count from the rightmost character; K weighs C itself with 1, so data starts at 2.
TCheckValues CheckValues(const std::vector<int>& values) {
    int sumC = 0;
    int sumK = 0;
    int position = 0;
    for (auto value = values.rbegin(); value != values.rend(); ++value, ++position) {
        sumC = (sumC + *value * (position % CWeightCycle + 1)) % CheckModulus;
        sumK = (sumK + *value * ((position + 1) % KWeightCycle + 1)) % CheckModulus;
    }
    return {sumC, (sumK + sumC) % CheckModulus};
}

void AppendCharacter(std::string& pattern, int value) {
    TBarcode::AppendWidths(pattern, Code93Table[value].Widths);
}

} // namespace

int TBarcode::FindCode93Index(char ch) {
    return Code93Rows[static_cast<unsigned char>(ch)];
}

// The shift characters are refused too: typed into plain Code 93 they would be read as the
// character they shift.
std::string TBarcode::EncodeCode93() const {
    for (std::size_t i = 0; i < FText.size(); ++i) {
        const int value = FindCode93Index(FText[i]);
        if (value < 0 || value >= FirstShift) {
            RaiseBadCharacter(i, static_cast<unsigned char>(FText[i]) < 0x80
                                     ? "is not in Code 93; Code 93 Extended encodes it"
                                     : "is not in Code 93");
        }
    }
    return EncodeCode93Shifted();
}

std::string TBarcode::EncodeCode93Shifted() const {
    std::vector<int> values;
    for (const char ch : FText) {
        values.push_back(FindCode93Index(ch));
    }
    const TCheckValues check = CheckValues(values);

    std::string pattern;
    // Start, the characters, C and K, each six elements, and the stop's seven.
    pattern.reserve(6 * (values.size() + 3) + 7);
    AppendWidths(pattern, StartWidths);
    for (const int value : values) {
        AppendCharacter(pattern, value);
    }
    AppendCharacter(pattern, check.C);
    AppendCharacter(pattern, check.K);
    AppendWidths(pattern, StopWidths);
    return pattern;
}

std::string TBarcode::EncodeCode93Extended() {
    return EncodeFullAscii(FullAscii, &TBarcode::EncodeCode93Shifted);
}
