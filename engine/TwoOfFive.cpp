#include "Barcode.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace {

// The published digit encodation shared by all three symbologies: five flags, "1" wide, "0"
// narrow, indexed by the digit's value.
constexpr std::string_view DigitFlags[] = {
    "00110", "10001", "01001", "11000", "00101", "10100", "01100", "00011", "10010", "01010",
};
static_assert(std::size(DigitFlags) == 10);
static_assert(std::ranges::all_of(DigitFlags, [](std::string_view flags) {
    return flags.size() == 5 && std::ranges::count(flags, '1') == 2;
}));

constexpr std::string_view InterleavedStart = "5050";
constexpr std::string_view InterleavedStop = "605";
constexpr std::string_view IndustrialStart = "606050";
constexpr std::string_view IndustrialStop = "605060";
// The matrix guards open with a bar of slot 2, one and a half wide widths.
constexpr std::string_view MatrixStart = "705050";
constexpr std::string_view MatrixStop = "70505";

std::string_view FlagsOf(char digit) {
    return DigitFlags[digit - '0'];
}

char Bar(char flag) {
    return flag == '1' ? '6' : '5';
}

char Space(char flag) {
    return flag == '1' ? '1' : '0';
}

// The first digit of a pair sets the bars, the second the spaces between them.
void AppendInterleavedPair(std::string& pattern, char barDigit, char spaceDigit) {
    const std::string_view bars = FlagsOf(barDigit);
    const std::string_view spaces = FlagsOf(spaceDigit);
    for (std::size_t j = 0; j < bars.size(); ++j) {
        pattern += Bar(bars[j]);
        pattern += Space(spaces[j]);
    }
}

// Only the bars carry flags; each is followed by a narrow space.
void AppendIndustrialDigit(std::string& pattern, char digit) {
    for (const char flag : FlagsOf(digit)) {
        pattern += Bar(flag);
        pattern += '0';
    }
}

// Bars and spaces alternate through the flags, then a narrow space parts the characters.
void AppendMatrixDigit(std::string& pattern, char digit) {
    const std::string_view flags = FlagsOf(digit);
    for (std::size_t j = 0; j < flags.size(); ++j) {
        pattern += j % 2 == 0 ? Bar(flags[j]) : Space(flags[j]);
    }
    pattern += '0';
}

} // namespace

// Digits go in pairs; an odd count gets a leading zero, so that no digit is left out.
std::string TBarcode::InterleavedPattern(std::string_view digits) {
    const std::size_t zeros = digits.size() % 2;
    const auto digit = [&](std::size_t k) { return k < zeros ? '0' : digits[k - zeros]; };
    std::string pattern;
    // Start, ten elements a pair, stop.
    pattern.reserve(InterleavedStart.size() + 5 * (zeros + digits.size()) + InterleavedStop.size());
    pattern += InterleavedStart;
    for (std::size_t k = 0; k < zeros + digits.size(); k += 2) {
        AppendInterleavedPair(pattern, digit(k), digit(k + 1));
    }
    pattern += InterleavedStop;
    return pattern;
}

std::string TBarcode::EncodeInterleaved2of5() const {
    RequireDigits();
    return InterleavedPattern(FText);
}

std::string TBarcode::EncodeIndustrial2of5() const {
    RequireDigits();
    std::string pattern(IndustrialStart);
    for (const char digit : FText) {
        AppendIndustrialDigit(pattern, digit);
    }
    pattern += IndustrialStop;
    return pattern;
}

std::string TBarcode::EncodeMatrix2of5() const {
    RequireDigits();
    std::string pattern(MatrixStart);
    for (const char digit : FText) {
        AppendMatrixDigit(pattern, digit);
    }
    pattern += MatrixStop;
    return pattern;
}
