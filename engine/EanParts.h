#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What EAN and UPC symbols are built of, shared by their encoders.

inline constexpr std::string_view EanNormalGuard = "505";

// The pattern of the digit at code[i] in number set 'A' (odd parity), 'B' (even parity) or 'C'
// (right half); a non-digit is refused as an integer conversion would.
std::string_view EanDigitPattern(char set, std::string_view code, std::size_t i);

// The bars of a 13-digit EAN-13 code string, its first digit choosing the left half's sets.
std::string Ean13Bars(std::string_view code);
