#include "Barcode.h"
#include "Code128Table.h"
#include "Gs1Identifiers.h"

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace {

using enum TGs1Characters;

// Longer than any data field GS1 defines.
constexpr std::size_t FieldLimit = 128;
using TLengths = std::bitset<FieldLimit>;

// Set 82 besides the digits and letters.
constexpr std::string_view Set82Punctuation = "!\"%&'()*+,-./:;<=>?_";

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

bool IsLetter(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

bool IsIn(TGs1Characters set, char ch) {
    switch (set) {
    case Digits:
        return IsDigit(ch);
    case Set82:
        return IsDigit(ch) || IsLetter(ch) || Set82Punctuation.find(ch) != std::string_view::npos;
    case Set39:
        return IsDigit(ch) || (ch >= 'A' && ch <= 'Z') || ch == '#' || ch == '-' || ch == '/';
    case Set64:
        return IsDigit(ch) || IsLetter(ch) || ch == '-' || ch == '_';
    }
    return false;
}

std::string_view Lacking(TGs1Characters set) {
    switch (set) {
    case Digits:
        return "is not a digit";
    case Set82:
        return "is not in GS1's character set 82";
    case Set39:
        return "is not in GS1's character set 39";
    case Set64:
        return "is not in GS1's character set 64";
    }
    return {};
}

int Number(std::string_view digits) {
    int number = 0;
    for (const char digit : digits) {
        number = number * 10 + (digit - '0');
    }
    return number;
}

bool IsDate(int year, int month, int day, bool dayMayBe00) {
    constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return false;
    }
    if (day == 0) {
        return dayMayBe00;
    }
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return day <= Days[month - 1] + (month == 2 && leap ? 1 : 0);
}

// GS1 puts a YY year in the century that brings it nearest today (49 years back, 50 ahead); in
// every such century until 2050 a YY divisible by four is a leap year, as it is in 20YY.
bool FollowsRule(TGs1Rule rule, std::string_view digits) {
    switch (rule) {
    case TGs1Rule::Date:
    case TGs1Rule::DateOrMonth:
        return IsDate(2000 + Number(digits.substr(0, 2)), Number(digits.substr(2, 2)),
                      Number(digits.substr(4, 2)), rule == TGs1Rule::DateOrMonth);
    case TGs1Rule::LongDate:
        return IsDate(Number(digits.substr(0, 4)), Number(digits.substr(4, 2)),
                      Number(digits.substr(6, 2)), false);
    default:
        return true;
    }
}

// The lengths a data field may have: its mandatory parts, then each optional part in turn.
TLengths FieldLengths(const TGs1Identifier& id) {
    TLengths reached;
    reached.set(0);
    TLengths lengths;
    for (const TGs1Part& part : id.Parts) {
        if (part.Length == 0) {
            break;
        }
        if (part.Optional) {
            lengths |= reached;
        }
        TLengths next;
        for (int n = part.Variable ? 1 : part.Length; n <= part.Length; ++n) {
            next |= reached << static_cast<std::size_t>(n);
        }
        reached = next;
    }
    return lengths | reached;
}

// "takes 14 digits", "takes at most 20 characters", "takes 6 or 12 digits".
std::string LengthRule(const TLengths& lengths, std::size_t length, std::string_view unit) {
    std::vector<std::size_t> listed;
    for (std::size_t n = 0; n < FieldLimit; ++n) {
        if (lengths[n]) {
            listed.push_back(n);
        }
    }
    std::string rule = "takes ";
    if (length > listed.back() && listed.size() > 1) {
        rule += "at most " + std::to_string(listed.back());
    } else if (length < listed.front() && listed.size() > 1) {
        rule += "at least " + std::to_string(listed.front());
    } else {
        for (std::size_t i = 0; i < listed.size(); ++i) {
            rule += i == 0 ? "" : i + 1 == listed.size() ? " or " : ", ";
            rule += std::to_string(listed[i]);
        }
    }
    return rule + " " + std::string(unit);
}

// "(10) " and the reason, appended piece by piece: GCC 12 takes "(" + std::string for an
// overlapping copy in optimised builds.
std::string OfIdentifier(std::string_view ai, std::string_view reason) {
    std::string message = "(";
    message += ai;
    message += ") ";
    message += reason;
    return message;
}

// The first fault of a data field: Reason empty where there is none; Character, the byte of the
// text a fault of one character starts at.
struct TFault {
    std::string Reason;
    std::size_t Character = std::string_view::npos;
};

TFault FieldFault(const TGs1Identifier& id, std::string_view text, std::size_t begin,
                  std::size_t end) {
    const std::string_view field = text.substr(begin, end - begin);
    if (field.empty()) {
        return {"has no data"};
    }
    const TLengths lengths = FieldLengths(id);
    if (field.size() >= FieldLimit || !lengths[field.size()]) {
        const bool digits = std::ranges::all_of(
            id.Parts, [](const TGs1Part& part) { return part.Characters == Digits; });
        return {LengthRule(lengths, field.size(), digits ? "digits" : "characters")};
    }
    std::size_t at = 0;
    for (const TGs1Part& part : id.Parts) {
        if (at == field.size()) {
            break;
        }
        const std::string_view value =
            field.substr(at, part.Variable ? field.size() - at : part.Length);
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (!IsIn(part.Characters, value[i])) {
                return {std::string(Lacking(part.Characters)), begin + at + i};
            }
        }
        if (part.Rule == TGs1Rule::CheckDigit) {
            // GS1's modulo 10, the same as EAN's: the last digit is replaced by the right one.
            const char check = TBarcode::AppendEanCheckDigit(value).back();
            if (value.back() != check) {
                return {std::string("check digit should be ") + check};
            }
        } else if (!FollowsRule(part.Rule, value)) {
            return {std::string(value) + " is not a date"};
        }
        at += value.size();
    }
    return {};
}

} // namespace

// FNC1 after the start, then each element string: the application identifier and its data
// field, with FNC1 after a field that is not the last unless GS1 predefines its length. In the
// bracketed form a "(" always opens an application identifier, so no field holds one.
std::string TBarcode::EncodeGs1_128() const {
    if (FText.empty()) {
        RaiseBadData("no application identifier");
    }
    const std::string_view text = FText;
    std::string message(1, Code128::Fnc1);
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] != '(') {
            RaiseBadCharacter(at, "is not the \"(\" of an application identifier");
        }
        const std::size_t close = text.find_first_of("()", at + 1);
        if (close == std::string_view::npos || text[close] == '(') {
            RaiseBadCharacter(at, "is not closed by \")\"");
        }
        const std::string_view ai = text.substr(at + 1, close - at - 1);
        const TGs1Identifier* id = FindGs1Identifier(ai);
        if (id == nullptr) {
            RaiseBadData(OfIdentifier(ai, "is not an application identifier"));
        }
        const std::size_t end = std::min(text.find('(', close + 1), text.size());
        if (const TFault fault = FieldFault(*id, text, close + 1, end); !fault.Reason.empty()) {
            const std::string where = fault.Character == std::string_view::npos
                                          ? std::string()
                                          : NameCharacter(fault.Character) + " ";
            RaiseBadData(OfIdentifier(ai, where + fault.Reason));
        }
        message += text.substr(at + 1, close - at - 1);
        message += text.substr(close + 1, end - close - 1);
        if (end < text.size() && !id->Predefined) {
            message += Code128::Fnc1;
        }
        at = end;
    }
    return Code128::OptimalPattern(message);
}
