#include "Utf8.h"

namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Expected length from the lead byte, 0 for a byte that cannot start a character.
std::size_t LeadLength(unsigned char c) {
    if (c < 0x80) {
        return 1;
    }
    if (c >= 0xC2 && c <= 0xDF) {
        return 2;
    }
    if (c >= 0xE0 && c <= 0xEF) {
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        return 4;
    }
    return 0;
}

} // namespace

std::size_t Utf8CharLength(std::string_view s, std::size_t i) {
    const std::size_t n = LeadLength(static_cast<unsigned char>(s[i]));
    if (n == 0 || i + n > s.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if (!IsContinuation(static_cast<unsigned char>(s[i + k]))) {
            return 1;
        }
    }
    return n;
}

std::u32string DecodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t n = Utf8CharLength(s, i);
        char32_t cp;
        if (n == 1) {
            cp = lead < 0x80 ? lead : U'\uFFFD';
        } else {
            cp = lead & (0x7F >> n);
            for (std::size_t k = 1; k < n; ++k) {
                cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
            }
            const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
            if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
                cp = U'\uFFFD';
            }
        }
        out.push_back(cp);
        i += n;
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t ch) {
    const auto put = [&](unsigned v) { out.push_back(static_cast<char>(v)); };
    if (ch < 0x80) {
        put(ch);
    } else if (ch < 0x800) {
        put(0xC0 | (ch >> 6));
        put(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        put(0xE0 | (ch >> 12));
        put(0x80 | ((ch >> 6) & 0x3F));
        put(0x80 | (ch & 0x3F));
    } else {
        put(0xF0 | (ch >> 18));
        put(0x80 | ((ch >> 12) & 0x3F));
        put(0x80 | ((ch >> 6) & 0x3F));
        put(0x80 | (ch & 0x3F));
    }
}
