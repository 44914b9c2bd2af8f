#pragma once

#include "Code128Table.h"
#include "EngineCases.h"

// Symbol character values as the published table numbers them.
inline constexpr int StartA = 103, StartB = 104, StartC = 105, Shift = 98, CodeA = 101, CodeB = 100,
                     CodeC = 99, Fnc1 = 102;

// The value of a character in set B, and of a control character in set A.
constexpr int B(char ch) {
    return ch - ' ';
}
constexpr int Control(char ch) {
    return ch + 64;
}

// The values of a pattern from its start character to the last before the check character, read
// back through the published table; -1 for six elements that are no symbol character.
inline std::vector<int> SymbolValues(const std::string& pattern) {
    std::vector<int> values;
    // Six elements a character; the check character's six and the stop's seven end the pattern.
    for (std::size_t at = 0; at + 13 < pattern.size(); at += 6) {
        const std::string character = pattern.substr(at, 6);
        int value = -1;
        for (int v = 0; v < 103; ++v) {
            value = W(Code128::Widths[v]) == character ? v : value;
        }
        for (const auto& start : {Code128::StartA, Code128::StartB, Code128::StartC}) {
            value = W(start.Widths) == character ? start.Value : value;
        }
        values.push_back(value);
    }
    return values;
}
