#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// 5796540000000 as "5,796,540,000,000".
std::string Grouped(std::uint64_t value);

// A length or ratio as messages show it: at most three decimals, no trailing zeros, a full stop
// for the decimal point whatever the locale ("0.33", "2.25", "10").
std::string Number(double v);

// A decimal number as a person types one: digits with at most one point ("0.33", "2", ".5"),
// whatever the locale; nothing for any other text.
std::optional<double> DecimalOf(std::string_view text);
