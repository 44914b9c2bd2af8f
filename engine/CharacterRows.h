#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Every byte's row in a table of characters (rows with a `Character` member), or -1 for a byte
// the table lacks. Built at compile time, so that finding a row is one load, not a search.
template <typename Row, std::size_t Rows>
constexpr std::array<std::int8_t, 256> CharacterRows(const Row (&table)[Rows]) {
    static_assert(Rows <= 127);
    std::array<std::int8_t, 256> rows{};
    rows.fill(-1);
    for (std::size_t i = Rows; i-- > 0;) {
        rows[static_cast<unsigned char>(table[i].Character)] = static_cast<std::int8_t>(i);
    }
    return rows;
}
