#include "Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Runs of U+FFFD count as one: how many a malformed sequence yields is not part of the contract.
std::u32string CollapseReplacements(std::u32string s) {
    std::u32string out;
    for (const char32_t c : s) {
        if (c != U'\uFFFD' || out.empty() || out.back() != U'\uFFFD') {
            out.push_back(c);
        }
    }
    return out;
}

// How many steps Utf8CharLength takes through the text; 0 if it ever stands still.
std::size_t Steps(const std::string& text) {
    std::size_t steps = 0;
    for (std::size_t i = 0; i < text.size(); i += Utf8CharLength(text, i), ++steps) {
        if (Utf8CharLength(text, i) == 0) {
            return 0;
        }
    }
    return steps;
}

std::string Encoded(std::u32string_view chars) {
    std::string bytes;
    for (const char32_t ch : chars) {
        AppendUtf8(bytes, ch);
    }
    return bytes;
}

// Stepping through a text with Utf8CharLength meets each decoded character once; encoding the
// characters again decodes to them.
TEST(Utf8, DecodesCharactersReplacesMalformedBytesAndStepsInStep) {
    const struct {
        std::string Bytes;
        std::u32string Chars;
    } cases[] = {
        {"", U""},
        {"\xC3\xA9", U"\u00E9"},
        {"x\xE2\x82\xAC", U"x\u20AC"},
        {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
        {"a\x80z", U"a\uFFFDz"},
        {"\xC3", U"\uFFFD"},
        {"\xE2\x82\x41", U"\uFFFDA"},
        {"\xC0\x80", U"\uFFFD"},         // overlong NUL
        {"\xE0\x80\xAFZ", U"\uFFFDZ"},   // overlong "/"
        {"\xF0\x80\x80\x80", U"\uFFFD"}, // overlong NUL
        {"\xED\xA0\x80", U"\uFFFD"},     // surrogates, the first and the last
        {"\xED\xBF\xBF", U"\uFFFD"},
        {"\xF4\x90\x80\x80", U"\uFFFD"}, // above U+10FFFF
        {"\xE2\x82\xC3\xA9\xFF\x80", U"\uFFFD\u00E9\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CollapseReplacements(DecodeUtf8(c.Bytes)), c.Chars) << c.Bytes;
        EXPECT_EQ(Steps(c.Bytes), DecodeUtf8(c.Bytes).size()) << c.Bytes;
        EXPECT_EQ(DecodeUtf8(Encoded(c.Chars)), c.Chars) << c.Bytes;
    }
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(Steps(one), 1u) << byte;
        EXPECT_EQ(DecodeUtf8(one).size(), 1u) << byte;
    }
}

} // namespace
