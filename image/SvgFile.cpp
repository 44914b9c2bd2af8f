#include "SvgFile.h"

#include "Decimal.h"
#include "FontFace.h"
#include "PrintDrawing.h"
#include "ScalableFont.h"
#include "Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <variant>

namespace {

std::string Hex(std::uint32_t pixel) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", pixel & 0xFFFFFFu);
    return text;
}

// SVG numbers: six decimals at the most, a micrometre's thousandth.
std::string SvgNumber(double v) {
    return Decimal(v, 6);
}

// How far under a whole number of pixels a stated size stays, so that every renderer makes it
// that number: they round up or to the nearest, some in single precision.
double MarginUnder(double pixels) {
    return 0.001 + pixels * 1e-6;
}

// The length of `pixels` at dpi in millimetres, a hair short (MarginUnder), to the nanometre.
double StatedMillimetres(long long pixels, int dpi) {
    const auto whole = static_cast<double>(pixels);
    return std::floor((whole - MarginUnder(whole)) * 25.4 / dpi * 1e6) / 1e6;
}

std::string Millimetres(long long pixels, int dpi) {
    return SvgNumber(StatedMillimetres(pixels, dpi)) + "mm";
}

std::string SvgHeader(const std::string& width, const std::string& height,
                      const std::string& viewWidth, const std::string& viewHeight) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           width + "\" height=\"" + height + "\" viewBox=\"0 0 " + viewWidth + " " + viewHeight +
           "\">\n";
}

// What XML 1.0 can carry in place of the character: control characters, tab and line breaks
// included (a parser would fold those), become a space, which keeps its own position in the
// text as the raster's glyph kept its own advance.
char32_t Writable(char32_t ch) {
    const bool xml =
        (ch >= 0x20 && ch <= 0xD7FF) || (ch >= 0xE000 && ch <= 0xFFFD) || ch >= 0x10000;
    return xml ? ch : U' ';
}

void AppendEscaped(std::string& out, char32_t ch) {
    switch (ch) {
    case U'&':
        out += "&amp;";
        break;
    case U'<':
        out += "&lt;";
        break;
    case U'>':
        out += "&gt;";
        break;
    case U'"':
        out += "&quot;";
        break;
    default:
        AppendUtf8(out, Writable(ch));
    }
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char32_t ch : DecodeUtf8(text)) {
        AppendEscaped(out, ch);
    }
    return out;
}

std::string RectAttributes(const TRect& r) {
    const auto extent = [](int from, int to) { return std::max(0LL, 0LL + to - from); };
    return "x=\"" + std::to_string(r.Left) + "\" y=\"" + std::to_string(r.Top) + "\" width=\"" +
           std::to_string(extent(r.Left, r.Right)) + "\" height=\"" +
           std::to_string(extent(r.Top, r.Bottom)) + "\"";
}

struct Writer {
    std::string Out;
    int Clips = 0;

    void operator()(const TDrawnRect& shape) {
        if (shape.Rect.Right > shape.Rect.Left && shape.Rect.Bottom > shape.Rect.Top) {
            Out += "<rect " + RectAttributes(shape.Rect) + " fill=\"" + Hex(shape.Color) + "\"/>\n";
        }
    }

    void operator()(const TDrawnPolygon& shape) {
        Out += "<polygon points=\"";
        const char* separator = "";
        for (const TPoint& point : shape.Points) {
            Out += separator;
            Out += std::to_string(point.x) + "," + std::to_string(point.y);
            separator = " ";
        }
        Out += "\" fill=\"" + Hex(shape.Color) + "\" fill-rule=\"evenodd\"/>\n";
    }

    // The raster puts the cell's top-left corner at the origin and the baseline Ascent below
    // it; each glyph starts where the advances of the ones before it moved the pen, so each
    // character is placed on its own (a list of positions on the text is not read everywhere).
    void operator()(const TDrawnText& shape) {
        TFontFace& face = TFontFace::For(shape.Font);
        const std::string clip = "clip" + std::to_string(Clips++);
        Out += "<clipPath id=\"" + clip + "\"><rect " + RectAttributes(shape.Clip) +
               "/></clipPath>\n<text clip-path=\"url(#" + clip + ")\" y=\"" +
               std::to_string(0LL + shape.Origin.y + face.Ascent()) + "\" font-family=\"" +
               Escaped(face.FamilyName()) + "\" font-size=\"" + std::to_string(face.Pixels()) +
               "\"" + ((shape.Font.Style & fsBold) ? " font-weight=\"bold\"" : "") +
               ((shape.Font.Style & fsItalic) ? " font-style=\"italic\"" : "") + " fill=\"" +
               Hex(shape.Color) + "\" xml:space=\"preserve\">";
        long long pen = shape.Origin.x;
        for (const char32_t ch : DecodeUtf8(shape.Text)) {
            Out += "<tspan x=\"" + std::to_string(pen) + "\">";
            AppendEscaped(Out, ch);
            Out += "</tspan>";
            pen += face.Glyph(ch).Advance;
        }
        Out += "</text>\n";
    }
};

} // namespace

std::string SvgDocument(const TDrawing& drawing, int width, int height, int scale, int dpi) {
    Writer writer;
    writer.Out =
        SvgHeader(Millimetres(1LL * width * scale, dpi), Millimetres(1LL * height * scale, dpi),
                  std::to_string(width), std::to_string(height));
    for (const TDrawnShape& shape : drawing) {
        std::visit(writer, shape);
    }
    writer.Out += "</svg>\n";
    return writer.Out;
}

std::string PrintDrawingSvg(const TPrintDrawing& drawing, int dpi) {
    // The page grows to whole pixels at dpi, by about one at most on the right and at the
    // bottom, and never stated smaller than the drawing.
    const auto pixels = [&](double units) {
        const double exact = units * drawing.Millimetres * dpi / 25.4;
        return static_cast<long long>(std::ceil(exact + MarginUnder(exact + 1)));
    };
    const long long width = pixels(drawing.Width);
    const long long height = pixels(drawing.Height);
    const auto units = [&](long long whole) {
        return SvgNumber(StatedMillimetres(whole, dpi) / drawing.Millimetres);
    };
    std::string out =
        SvgHeader(Millimetres(width, dpi), Millimetres(height, dpi), units(width), units(height));
    out += "<rect x=\"0\" y=\"0\" width=\"" + units(width) + "\" height=\"" + units(height) +
           "\" fill=\"#ffffff\"/>\n";
    for (const TPrintRect& r : drawing.Rects) {
        out += "<rect x=\"" + SvgNumber(r.X) + "\" y=\"" + SvgNumber(r.Y) + "\" width=\"" +
               SvgNumber(r.Width) + "\" height=\"" + SvgNumber(r.Height) +
               "\" fill=\"#000000\"/>\n";
    }
    for (const TPrintText& text : drawing.Texts) {
        out += "<text y=\"" + SvgNumber(text.Baseline) + "\" font-family=\"" +
               Escaped(text.Font->FamilyName()) + "\" font-size=\"" + SvgNumber(text.Size) +
               "\" fill=\"#000000\" xml:space=\"preserve\">";
        for (std::size_t i = 0; i < text.Chars.size(); ++i) {
            out += "<tspan x=\"" + SvgNumber(text.X[i]) + "\">";
            AppendEscaped(out, text.Chars[i]);
            out += "</tspan>";
        }
        out += "</text>\n";
    }
    out += "</svg>\n";
    return out;
}
