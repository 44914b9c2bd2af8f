#pragma once

#include <string>
#include <string_view>
#include <vector>

class TFontFace;

// Formatting flags of TCanvas::DrawText, with the values of the classic text-drawing call so
// that stored flag words keep their meaning.
enum TTextFormat : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
};

// One line of laid-out text: its characters, its width in pixels and the index of the character
// to underline as the accelerator (-1 for none).
struct TTextLine {
    std::u32string Chars;
    int Width = 0;
    int Underline = -1;
};

// Breaks a text into lines for a box `width` pixels wide. Without DT_NOPREFIX "&x" underlines x
// and "&&" stands for "&". Line feeds (CR LF, LF or CR) end lines unless DT_SINGLELINE. With
// DT_WORDBREAK a line ends before a word that would cross the right edge; the spaces where it
// breaks are dropped, and a word wider than the box stands alone on its line, uncut.
// DT_EXPANDTABS turns a tab into spaces up to the next multiple of eight characters.
std::vector<TTextLine> LayoutText(TFontFace& face, std::u32string_view text, int width,
                                  unsigned format);

// The characters LayoutText shows of a text without DT_NOPREFIX: "&x" is x, "&&" is "&".
std::u32string WithoutPrefixes(std::u32string_view text);
