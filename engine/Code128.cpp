#include "Barcode.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The published symbol character patterns, indexed by value, in width digits: bar, space, bar,
// space, bar, space in modules.
constexpr std::string_view Code128Widths[] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", // 0
    "132212", "221213", "221312", "231212", "112232", "122132", "122231", "113222", // 8
    "123122", "123221", "223211", "221132", "221231", "213212", "223112", "312131", // 16
    "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321", // 24
    "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313", // 32
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", // 40
    "313121", "211331", "231131", "213113", "213311", "213131", "311123", "311321", // 48
    "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224", // 56
    "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114", // 64
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", // 72
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", // 80
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113", // 88
    "114311", "411113", "411311", "113141", "114131", "311141", "411131",           // 96
};
static_assert(std::size(Code128Widths) == 103);

// Six elements of one to four modules, eleven modules in all, with an even number of bar
// modules: the parity a reader checks.
constexpr bool IsSymbolCharacter(std::string_view widths) {
    if (widths.size() != 6) {
        return false;
    }
    int modules = 0;
    int barModules = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const int width = widths[i] - '0';
        if (width < 1 || width > 4) {
            return false;
        }
        modules += width;
        barModules += i % 2 == 0 ? width : 0;
    }
    return modules == 11 && barModules % 2 == 0;
}
static_assert(std::ranges::all_of(Code128Widths, IsSymbolCharacter));

constexpr bool AreDistinct() {
    for (std::size_t i = 0; i < std::size(Code128Widths); ++i) {
        for (std::size_t j = i + 1; j < std::size(Code128Widths); ++j) {
            if (Code128Widths[i] == Code128Widths[j]) {
                return false;
            }
        }
    }
    return true;
}
static_assert(AreDistinct());

// The start character's value seeds the check sum.
struct TStartCharacter {
    std::string_view Widths;
    int Value;
};
constexpr TStartCharacter StartA{"211412", 103};
constexpr TStartCharacter StartB{"211214", 104};
constexpr TStartCharacter StartC{"211232", 105};

// The stop character followed by the two-module termination bar.
constexpr std::string_view StopWidths = "2331112";

constexpr int CheckModulus = 103;

// Sets A and B carry the characters from the space on, value 0 upward, as far as their last one.
constexpr unsigned char FirstCharacter = ' ';
constexpr unsigned char LastCharacterA = '_';
constexpr unsigned char LastCharacterB = '~';

TStartCharacter StartOf(TBarcodeType typ) {
    switch (typ) {
    case TBarcodeType::bcCode128A:
        return StartA;
    case TBarcodeType::bcCode128C:
        return StartC;
    default:
        return StartB;
    }
}

// Set C carries two digits per value; an odd count of digits gets a leading zero, so that no
// digit is left out.
std::vector<int> PairValues(std::string_view digits) {
    std::vector<int> values;
    std::size_t i = 0;
    if (digits.size() % 2 == 1) {
        values.push_back(digits[0] - '0');
        i = 1;
    }
    for (; i < digits.size(); i += 2) {
        values.push_back((digits[i] - '0') * 10 + (digits[i + 1] - '0'));
    }
    return values;
}

// Each value weighs its 1-based position; reducing as we go keeps long data in range.
int CheckValue(const TStartCharacter& start, const std::vector<int>& values) {
    std::size_t sum = static_cast<std::size_t>(start.Value);
    for (std::size_t i = 0; i < values.size(); ++i) {
        sum = (sum + static_cast<std::size_t>(values[i]) * (i + 1)) % CheckModulus;
    }
    return static_cast<int>(sum % CheckModulus);
}

void AppendCharacter(std::string& pattern, int value) {
    TBarcode::AppendWidths(pattern, Code128Widths[value]);
}

} // namespace

int TBarcode::FindCode128Index(char ch) const {
    const auto code = static_cast<unsigned char>(ch);
    const unsigned char last = FTyp == TBarcodeType::bcCode128A ? LastCharacterA : LastCharacterB;
    return code >= FirstCharacter && code <= last ? code - FirstCharacter : -1;
}

// One code set from start to stop, the one Typ names; a character the set lacks is refused.
std::string TBarcode::EncodeCode128() const {
    const TStartCharacter start = StartOf(FTyp);
    std::vector<int> values;
    if (FTyp == TBarcodeType::bcCode128C) {
        RequireDigits();
        values = PairValues(FText);
    } else {
        for (std::size_t i = 0; i < FText.size(); ++i) {
            const int value = FindCode128Index(FText[i]);
            if (value < 0) {
                RaiseBadCharacter(i, FTyp == TBarcodeType::bcCode128A ? "is not in Code 128 set A"
                                                                      : "is not in Code 128 set B");
            }
            values.push_back(value);
        }
    }

    std::string pattern;
    // Start, the characters and the check character, each six elements, and the stop's seven.
    pattern.reserve(6 * (values.size() + 2) + 7);
    AppendWidths(pattern, start.Widths);
    for (const int value : values) {
        AppendCharacter(pattern, value);
    }
    AppendCharacter(pattern, CheckValue(start, values));
    AppendWidths(pattern, StopWidths);
    return pattern;
}
