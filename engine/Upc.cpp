#include "Barcode.h"
#include "EanParts.h"

#include <array>

namespace {

// The sets of UPC-E's six digits for number system 0, chosen by the check digit (B even, A odd
// parity); number system 1 takes the other set for each.
constexpr std::array<std::string_view, 10> UpcEParity = {
    "BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA",
    "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB",
};
constexpr std::string_view UpcERightGuard = "050505";

// The manufacturer and item numbers (five digits each) that UPC-E's six digits stand for, as the
// zero-suppression table expands them by the last digit.
std::string Expand(std::string_view d) {
    switch (d[5]) {
    case '0':
    case '1':
    case '2':
        return {d[0], d[1], d[5], '0', '0', '0', '0', d[2], d[3], d[4]};
    case '3':
        return {d[0], d[1], d[2], '0', '0', '0', '0', '0', d[3], d[4]};
    case '4':
        return {d[0], d[1], d[2], d[3], '0', '0', '0', '0', '0', d[4]};
    default:
        return {d[0], d[1], d[2], d[3], d[4], '0', '0', '0', '0', d[5]};
    }
}

// UPC-E's six digits for a manufacturer and item number, by the zero-suppression table: the
// manufacturer number's ending leaves room for so many item numbers. Empty, with the reason in
// refusal, when the item number is not among them.
std::string Suppress(std::string_view tenDigits, std::string& refusal) {
    const std::string_view m = tenDigits.substr(0, 5);
    const std::string_view item = tenDigits.substr(5);
    const auto refuse = [&](std::string_view ending, std::string_view items) {
        refusal = "cannot be zero-suppressed: manufacturer number " + std::string(m) + " (" +
                  std::string(ending) + ") takes item numbers " + std::string(items) +
                  " only, not " + std::string(item);
        return std::string();
    };
    if (m.ends_with("00") && m[2] <= '2') {
        if (!item.starts_with("00")) {
            return refuse("ending in 000, 100 or 200", "00000 to 00999");
        }
        return {m[0], m[1], item[2], item[3], item[4], m[2]};
    }
    if (m.ends_with("00")) {
        if (!item.starts_with("000")) {
            return refuse("ending in 300 to 900", "00000 to 00099");
        }
        return {m[0], m[1], m[2], item[3], item[4], '3'};
    }
    if (m.ends_with('0')) {
        if (!item.starts_with("0000")) {
            return refuse("ending in 10 to 90", "00000 to 00009");
        }
        return {m[0], m[1], m[2], m[3], item[4], '4'};
    }
    if (!item.starts_with("0000") || item[4] < '5') {
        return refuse("not ending in 0", "00005 to 00009");
    }
    return {m[0], m[1], m[2], m[3], m[4], item[4]};
}

} // namespace

std::string TBarcode::UpcACode() const {
    const std::string_view digits = EanMainData();
    RequireDigits(0, digits.size());
    if (digits.size() == 11) {
        return AppendEanCheckDigit(std::string(digits) + "0");
    }
    if (digits.size() != 12) {
        RaiseBadData("11 digits are needed, or 12 with the check digit, not " +
                     std::to_string(digits.size()));
    }
    return CheckedEanDigits(digits);
}

std::string TBarcode::UpcECode() const {
    const std::string_view digits = EanMainData();
    RequireDigits(0, digits.size());
    const std::size_t n = digits.size();
    char system = '0';
    std::string_view six;
    std::string tenDigits;
    if (n == 6) {
        six = digits;
    } else if (n == 7 || n == 8) {
        system = digits[0];
        six = digits.substr(1, 6);
    } else if (n == 11 || n == 12) {
        system = digits[0];
        tenDigits = digits.substr(1, 10);
    } else {
        RaiseBadData("6, 7 or 8 digits are needed, or the 11 or 12 of a UPC-A number, not " +
                     std::to_string(n));
    }
    if (system != '0' && system != '1') {
        RaiseBadData(std::string("the number system is 0 or 1, not ") + system);
    }
    if (tenDigits.empty()) {
        tenDigits = Expand(six);
    }
    const std::string upcA = AppendEanCheckDigit(system + tenDigits + "0");
    if ((n == 8 || n == 12) && digits.back() != upcA.back()) {
        RaiseBadData(std::string("check digit should be ") + upcA.back());
    }
    std::string refusal;
    const std::string suppressed = Suppress(tenDigits, refusal);
    if (suppressed.empty()) {
        RaiseBadData(refusal);
    }
    // Six digits that the table expands, but would not write for their number, are not UPC-E.
    if (!six.empty() && suppressed != six) {
        RaiseBadData("the zero suppression of " + upcA + " is " + suppressed + ", not " +
                     std::string(six));
    }
    return system + suppressed + upcA.back();
}

std::string TBarcode::EncodeUpcA() const {
    // UPC-A is EAN-13 with a first digit of 0.
    std::string digits = UpcACode();
    digits.insert(digits.begin(), '0');
    const std::string pattern = Ean13Bars(digits);
    return pattern + AddOnPattern();
}

std::string TBarcode::EncodeUpcE() const {
    const std::string code = UpcECode();
    const std::string_view parity = UpcEParity[code.back() - '0'];
    std::string pattern(EanNormalGuard);
    for (std::size_t i = 0; i < 6; ++i) {
        const char set = code[0] == '0' ? parity[i] : parity[i] == 'A' ? 'B' : 'A';
        pattern += EanDigitPattern(set, code, i + 1);
    }
    pattern += UpcERightGuard;
    return pattern + AddOnPattern();
}
