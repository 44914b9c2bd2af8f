#include "Barcode.h"

#include "Exception.h"
#include "Utf8.h"

namespace {

// Number sets A (odd parity), B (even parity) and C (right half), by digit value.
constexpr std::array<std::string_view, 10> SetA = {
    "2605", "1615", "1516", "0805", "0526", "0625", "0508", "0706", "0607", "2506",
};
constexpr std::array<std::string_view, 10> SetB = {
    "0517", "0616", "1606", "0535", "1705", "0715", "3505", "1525", "2515", "1507",
};
constexpr std::array<std::string_view, 10> SetC = {
    "7150", "6160", "6061", "5350", "5071", "5170", "5053", "5251", "5152", "7051",
};
// The sets of the EAN-13 left half, chosen by the first digit.
constexpr std::array<std::string_view, 10> ParityRows = {
    "AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
    "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA",
};

constexpr std::string_view NormalGuard = "505";
constexpr std::string_view CentreGuard = "05050";

// The value of the digit at s[i]; anything else is refused as an integer conversion would.
int DigitValue(std::string_view s, std::size_t i) {
    if (s[i] >= '0' && s[i] <= '9') {
        return s[i] - '0';
    }
    throw EConvertError("'" + std::string(s.substr(i, Utf8CharLength(s, i))) +
                        "' is not a valid integer value");
}

std::string_view DigitPattern(char set, std::string_view code, std::size_t i) {
    const int d = DigitValue(code, i);
    return set == 'A' ? SetA[d] : set == 'B' ? SetB[d] : SetC[d];
}

// The last `digits` characters of the text padded on the left with zeros.
std::string PaddedTail(const std::string& text, std::size_t digits) {
    if (text.size() >= digits) {
        return text.substr(text.size() - digits);
    }
    return std::string(digits - text.size(), '0') + text;
}

} // namespace

std::string TBarcode::AppendEanCheckDigit(std::string_view s) {
    const std::string_view t = s.substr(0, s.empty() ? 0 : s.size() - 1);
    const std::size_t n = t.size();
    int sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        // Weight 3 for odd positions counted from the right, the rightmost being 1.
        const bool oddFromRight = (n - i) % 2 == 1;
        sum += DigitValue(t, i) * (oddFromRight ? 3 : 1);
    }
    const int r = sum % 10;
    return std::string(t) + static_cast<char>('0' + (r == 0 ? 0 : 10 - r));
}

std::string TBarcode::EncodeEan13() const {
    std::string code;
    if (FChecksum) {
        code = AppendEanCheckDigit(PaddedTail(FText, 12) + "0");
    } else {
        RequireDigits(FText, 13);
        code = FText;
    }
    const std::string_view parity = ParityRows[DigitValue(code, 0)];
    std::string pattern(NormalGuard);
    for (std::size_t i = 1; i <= 6; ++i) {
        pattern += DigitPattern(parity[i - 1], code, i);
    }
    pattern += CentreGuard;
    for (std::size_t i = 7; i <= 12; ++i) {
        pattern += DigitPattern('C', code, i);
    }
    pattern += NormalGuard;
    return pattern;
}

std::string TBarcode::EncodeEan8() const {
    std::string code;
    if (FChecksum) {
        code = AppendEanCheckDigit(PaddedTail(FText, 7) + "0");
    } else {
        RequireDigits(FText, 8);
        code = FText;
    }
    std::string pattern(NormalGuard);
    for (std::size_t i = 0; i < 4; ++i) {
        pattern += DigitPattern('A', code, i);
    }
    pattern += CentreGuard;
    for (std::size_t i = 4; i < 8; ++i) {
        pattern += DigitPattern('C', code, i);
    }
    pattern += NormalGuard;
    return pattern;
}
