#pragma once

#include <cstdint>
#include <string_view>

// Strict 32-bit integer parsing of a typed field: leading spaces, then an optional sign and
// decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X" (eight at most, read
// as a 32-bit pattern). Anything else raises "'%s' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);
