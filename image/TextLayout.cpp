#include "TextLayout.h"

#include "FontFace.h"

#include <algorithm>

namespace {

constexpr int TabColumns = 8;

struct TMarkedText {
    std::u32string Chars;
    std::vector<bool> Underlined;
};

// Resolves accelerator prefixes and tabs; every character remembers whether it is underlined.
TMarkedText Prepare(std::u32string_view text, unsigned format) {
    TMarkedText out;
    int column = 0;
    bool underlineNext = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t ch = text[i];
        if (ch == U'&' && !(format & DT_NOPREFIX)) {
            if (i + 1 < text.size() && text[i + 1] == U'&') {
                ++i;
            } else {
                underlineNext = true;
                continue;
            }
        }
        if (ch == U'\t' && (format & DT_EXPANDTABS)) {
            const int spaces = TabColumns - column % TabColumns;
            out.Chars.append(spaces, U' ');
            out.Underlined.insert(out.Underlined.end(), spaces, false);
            column += spaces;
            underlineNext = false;
            continue;
        }
        column = (ch == U'\n' || ch == U'\r') ? 0 : column + 1;
        out.Chars.push_back(ch);
        out.Underlined.push_back(underlineNext);
        underlineNext = false;
    }
    return out;
}

int Width(TFontFace& face, std::u32string_view chars) {
    long long width = 0;
    for (const char32_t ch : chars) {
        width += face.Glyph(ch).Advance;
    }
    return static_cast<int>(std::min<long long>(width, 1LL << 30));
}

void AddLine(std::vector<TTextLine>& lines, TFontFace& face, const TMarkedText& text,
             std::size_t from, std::size_t to) {
    TTextLine line;
    line.Chars = text.Chars.substr(from, to - from);
    line.Width = Width(face, line.Chars);
    for (std::size_t i = from; i < to; ++i) {
        if (text.Underlined[i]) {
            line.Underline = static_cast<int>(i - from);
            break;
        }
    }
    lines.push_back(std::move(line));
}

// Greedy word wrap of one paragraph [from, to).
void WrapParagraph(std::vector<TTextLine>& lines, TFontFace& face, const TMarkedText& text,
                   std::size_t from, std::size_t to, int width) {
    const std::u32string& s = text.Chars;
    std::size_t start = from;
    for (;;) {
        std::size_t end = start;
        std::size_t scan = start;
        // Take whole words while the line, spaces between included, still fits.
        while (scan < to) {
            std::size_t wordEnd = scan;
            while (wordEnd < to && s[wordEnd] == U' ') {
                ++wordEnd;
            }
            while (wordEnd < to && s[wordEnd] != U' ') {
                ++wordEnd;
            }
            const int w = Width(face, std::u32string_view(s).substr(start, wordEnd - start));
            if (w > width && end > start) {
                break;
            }
            end = wordEnd;
            scan = wordEnd;
            if (w > width) {
                break;
            }
        }
        AddLine(lines, face, text, start, end);
        start = end;
        while (start < to && s[start] == U' ') {
            ++start;
        }
        if (start >= to) {
            return;
        }
    }
}

} // namespace

std::vector<TTextLine> LayoutText(TFontFace& face, std::u32string_view text, int width,
                                  unsigned format) {
    const TMarkedText marked = Prepare(text, format);
    const std::u32string& s = marked.Chars;
    std::vector<TTextLine> lines;
    if (format & DT_SINGLELINE) {
        TMarkedText flat;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] != U'\n' && s[i] != U'\r') {
                flat.Chars.push_back(s[i]);
                flat.Underlined.push_back(marked.Underlined[i]);
            }
        }
        AddLine(lines, face, flat, 0, flat.Chars.size());
        return lines;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t end = start;
        while (end < s.size() && s[end] != U'\n' && s[end] != U'\r') {
            ++end;
        }
        if (format & DT_WORDBREAK) {
            WrapParagraph(lines, face, marked, start, end, width);
        } else {
            AddLine(lines, face, marked, start, end);
        }
        if (end >= s.size()) {
            return lines;
        }
        start = end + ((s[end] == U'\r' && end + 1 < s.size() && s[end + 1] == U'\n') ? 2 : 1);
    }
}

std::u32string WithoutPrefixes(std::u32string_view text) {
    return Prepare(text, 0).Chars;
}
