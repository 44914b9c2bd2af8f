#pragma once

#include <string>
#include <string_view>

// Length in bytes of the UTF-8 character that starts at s[i] (1 for a byte that starts none,
// so a malformed text still advances).
std::size_t Utf8CharLength(std::string_view s, std::size_t i);

// The characters of a UTF-8 text; a malformed sequence becomes U+FFFD.
std::u32string DecodeUtf8(std::string_view s);

// Appends the UTF-8 bytes of a Unicode scalar value (as DecodeUtf8 returns them).
void AppendUtf8(std::string& out, char32_t ch);
