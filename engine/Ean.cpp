#include "Barcode.h"
#include "EanParts.h"

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

constexpr std::string_view CentreGuard = "05050";

// The value of the digit at s[i]; anything else is refused as an integer conversion would.
int DigitValue(std::string_view s, std::size_t i) {
    if (s[i] >= '0' && s[i] <= '9') {
        return s[i] - '0';
    }
    throw EConvertError("'" + std::string(s.substr(i, Utf8CharLength(s, i))) +
                        "' is not a valid integer value");
}

} // namespace

std::string_view EanDigitPattern(char set, std::string_view code, std::size_t i) {
    const int d = DigitValue(code, i);
    return set == 'A' ? SetA[d] : set == 'B' ? SetB[d] : SetC[d];
}

std::string Ean13Bars(std::string_view code) {
    const std::string_view parity = ParityRows[DigitValue(code, 0)];
    std::string pattern(EanNormalGuard);
    for (std::size_t i = 1; i <= 6; ++i) {
        pattern += EanDigitPattern(parity[i - 1], code, i);
    }
    pattern += CentreGuard;
    for (std::size_t i = 7; i <= 12; ++i) {
        pattern += EanDigitPattern('C', code, i);
    }
    pattern += EanNormalGuard;
    return pattern;
}

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

// With Checksum, up to length - 1 digits are padded with zeros on the left and given their
// check digit; exactly length digits must end in the right one. Without it, exactly length
// digits are drawn as typed. Nothing is ever cut off. A non-digit is refused as the integer
// conversion of the digits refuses it.
std::string TBarcode::EanCode(std::size_t length) const {
    if (!FChecksum) {
        RequireDigits();
        if (FText.size() != length) {
            RaiseBadData("exactly " + std::to_string(length) +
                         " digits are needed when no check digit is added");
        }
        return FText;
    }
    for (std::size_t i = 0; i < FText.size(); ++i) {
        DigitValue(FText, i);
    }
    if (FText.size() > length) {
        RaiseBadData("more than " + std::to_string(length) + " digits");
    }
    if (FText.size() < length) {
        return AppendEanCheckDigit(std::string(length - 1 - FText.size(), '0') + FText + "0");
    }
    const std::string code = AppendEanCheckDigit(FText);
    if (code != FText) {
        RaiseBadData(std::string("check digit should be ") + code.back());
    }
    return code;
}

std::string TBarcode::EncodeEan13() const {
    return Ean13Bars(EanCode(13));
}

std::string TBarcode::EncodeEan8() const {
    const std::string code = EanCode(8);
    std::string pattern(EanNormalGuard);
    for (std::size_t i = 0; i < 4; ++i) {
        pattern += EanDigitPattern('A', code, i);
    }
    pattern += CentreGuard;
    for (std::size_t i = 4; i < 8; ++i) {
        pattern += EanDigitPattern('C', code, i);
    }
    pattern += EanNormalGuard;
    return pattern;
}
