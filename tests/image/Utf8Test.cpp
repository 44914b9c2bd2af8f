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

TEST(Utf8, DecodesCharactersAndReplacesMalformedBytes) {
    const struct {
        std::string Bytes;
        std::u32string Chars;
    } cases[] = {
        {"", U""},
        {"EAN-13", U"EAN-13"},
        {"\xC3\xA9", U"\u00E9"},
        {"\xE2\x82\xAC", U"\u20AC"},
        {"\xF0\x9F\x98\x80", U"\U0001F600"},
        {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
        {"\xEF\xBF\xBD", U"\uFFFD"},
        {"a\x80z", U"a\uFFFDz"},
        {"\xC3", U"\uFFFD"},
        {"\xC3Z", U"\uFFFDZ"},
        {"\xE2\x82", U"\uFFFD"},
        {"\xF0\x9F\x98Z", U"\uFFFDZ"},
        {"\xC0\x80", U"\uFFFD"},         // overlong NUL
        {"\xE0\x80\xAFZ", U"\uFFFDZ"},   // overlong "/"
        {"\xF0\x80\x80\x80", U"\uFFFD"}, // overlong NUL
        {"\xED\xA0\x80", U"\uFFFD"},     // surrogate
        {"\xF4\x90\x80\x80", U"\uFFFD"}, // above U+10FFFF
        {"\xF5\xFE\xFF", U"\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CollapseReplacements(DecodeUtf8(c.Bytes)), c.Chars) << c.Bytes;
    }
}

TEST(Utf8, CharLengthAlwaysAdvancesInStepWithDecoding) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(Utf8CharLength(one, 0), 1u) << byte;
        EXPECT_EQ(DecodeUtf8(one).size(), 1u) << byte;
    }
    EXPECT_EQ(Utf8CharLength("\xC3\xA9", 0), 2u);
    EXPECT_EQ(Utf8CharLength("x\xE2\x82\xAC", 1), 3u);
    EXPECT_EQ(Utf8CharLength("\xF0\x9F\x98\x80", 0), 4u);
    EXPECT_EQ(Utf8CharLength("\xE2\x82"
                             "A",
                             0),
              1u);

    for (const std::string text :
         {"A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "\xE2\x82\xC3\xA9\xFF\x80", "\xF0\x9F\x98"}) {
        std::size_t steps = 0;
        for (std::size_t i = 0; i < text.size(); i += Utf8CharLength(text, i)) {
            ASSERT_GE(Utf8CharLength(text, i), 1u);
            ++steps;
        }
        EXPECT_EQ(steps, DecodeUtf8(text).size()) << text;
    }
}

} // namespace
