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

// The sets of an add-on's digits: EAN-2's by its value modulo 4, EAN-5's by its check digit.
constexpr std::array<std::string_view, 4> AddOn2Parity = {"AA", "AB", "BA", "BB"};
constexpr std::array<std::string_view, 10> AddOn5Parity = {
    "BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA", "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB",
};
// The gap before an add-on, its left quiet zone, is 7 to 12 modules: 9, white elements of 4, 4
// and 1, keep UPC-A's right quiet zone of 9 as well as the 7 of EAN and UPC-E.
constexpr std::string_view AddOnGap = "330";
// The add-on's start, 1011, and the 01 between its digits.
constexpr std::string_view AddOnStart = "506";
constexpr std::string_view AddOnSeparator = "05";

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

std::string TBarcode::CheckedEanDigits(std::string_view digits) const {
    std::string code = AppendEanCheckDigit(digits);
    if (code != digits) {
        RaiseBadData(std::string("check digit should be ") + code.back());
    }
    return code;
}

std::string_view TBarcode::EanMainData() const {
    return std::string_view(FText).substr(0, FText.find('+'));
}

std::string TBarcode::AddOnPattern() const {
    const std::size_t plus = FText.find('+');
    if (plus == std::string::npos) {
        return {};
    }
    if (FText.find('+', plus + 1) != std::string::npos) {
        RaiseBadData("more than one \"+\": one add-on at most");
    }
    RequireDigits(plus + 1);
    const std::string_view digits = std::string_view(FText).substr(plus + 1);
    std::string_view parity;
    if (digits.size() == 2) {
        parity = AddOn2Parity[(DigitValue(digits, 0) * 10 + DigitValue(digits, 1)) % 4];
    } else if (digits.size() == 5) {
        // Weights 3 and 9 from the left, the units of the sum.
        int sum = 0;
        for (std::size_t i = 0; i < 5; ++i) {
            sum += DigitValue(digits, i) * (i % 2 == 0 ? 3 : 9);
        }
        parity = AddOn5Parity[sum % 10];
    } else {
        RaiseBadData("an add-on has 2 or 5 digits, not " + std::to_string(digits.size()));
    }
    std::string pattern(AddOnGap);
    pattern += AddOnStart;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0) {
            pattern += AddOnSeparator;
        }
        pattern += EanDigitPattern(parity[i], digits, i);
    }
    return pattern;
}

std::string TBarcode::AddOnText() const {
    const std::size_t plus = FText.find('+');
    if (plus == std::string::npos) {
        return {};
    }
    std::string text = FText.substr(plus);
    text.front() = ' ';
    return text;
}

// With Checksum, up to length - 1 digits are padded with zeros on the left and given their
// check digit; exactly length digits must end in the right one. Without it, exactly length
// digits are drawn as typed. Nothing is ever cut off. A non-digit is refused as the integer
// conversion of the digits refuses it.
std::string TBarcode::EanCode(std::size_t length) const {
    const std::string_view digits = EanMainData();
    if (!FChecksum) {
        RequireDigits(0, digits.size());
        if (digits.size() != length) {
            RaiseBadData("exactly " + std::to_string(length) +
                         " digits are needed when no check digit is added");
        }
        return std::string(digits);
    }
    for (std::size_t i = 0; i < digits.size(); ++i) {
        DigitValue(digits, i);
    }
    if (digits.size() > length) {
        RaiseBadData("more than " + std::to_string(length) + " digits");
    }
    if (digits.size() < length) {
        return AppendEanCheckDigit(std::string(length - 1 - digits.size(), '0') +
                                   std::string(digits) + "0");
    }
    return CheckedEanDigits(digits);
}

std::string TBarcode::EncodeEan13() const {
    // The main symbol's digits are refused before the add-on's.
    const std::string pattern = Ean13Bars(EanCode(13));
    return pattern + AddOnPattern();
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
    return pattern + AddOnPattern();
}
