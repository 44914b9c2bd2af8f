#pragma once

#include <array>
#include <string_view>
#include <vector>

// What a pattern should paint, column by column from the symbol's left edge, worked out
// independently of the painter: the element's character for every pixel column.
inline std::vector<char> SymbolColumns(std::string_view pattern, const std::array<int, 4>& slots) {
    std::vector<char> columns;
    for (const char ch : pattern) {
        const int slot = ch >= 'A' ? ch - 'A' : ch >= '5' ? ch - '5' : ch - '0';
        columns.insert(columns.end(), slots[slot], ch);
    }
    return columns;
}

inline bool IsBar(char element) {
    return element >= '5';
}
