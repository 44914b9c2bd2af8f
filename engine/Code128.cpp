#include "Barcode.h"
#include "Code128Table.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace Code128;

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
static_assert(std::size(Widths) == 103);
static_assert(std::ranges::all_of(Widths, IsSymbolCharacter));

constexpr bool AreDistinct() {
    for (std::size_t i = 0; i < std::size(Widths); ++i) {
        for (std::size_t j = i + 1; j < std::size(Widths); ++j) {
            if (Widths[i] == Widths[j]) {
                return false;
            }
        }
    }
    return true;
}
static_assert(AreDistinct());

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
    TBarcode::AppendWidths(pattern, Widths[value]);
}

} // namespace

std::string Code128::Pattern(const TStartCharacter& start, const std::vector<int>& values) {
    std::string pattern;
    // Start, the characters and the check character, each six elements, and the stop's seven.
    pattern.reserve(6 * (values.size() + 2) + 7);
    TBarcode::AppendWidths(pattern, start.Widths);
    for (const int value : values) {
        AppendCharacter(pattern, value);
    }
    AppendCharacter(pattern, CheckValue(start, values));
    TBarcode::AppendWidths(pattern, StopWidths);
    return pattern;
}

int TBarcode::FindCode128Index(char ch) const {
    const auto code = static_cast<unsigned char>(ch);
    const unsigned char last = FTyp == TBarcodeType::bcCode128A ? LastCharacterA : LastCharacterB;
    return code >= FirstCharacter && code <= last ? code - FirstCharacter : -1;
}

// One code set from start to stop, the one Typ names; a character the set lacks is refused.
std::string TBarcode::EncodeCode128() const {
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
    return Pattern(StartOf(FTyp), values);
}
