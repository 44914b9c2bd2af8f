#include "VectorFile.h"

#include "Decimal.h"
#include "Exception.h"
#include "LoadedLibrary.h"
#include "ScalableFont.h"
#include "Utf8.h"

#include <cairo/cairo-pdf.h>
#include <cairo/cairo-ps.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <new>

namespace {

// The cairo functions the writer calls, found in the library at run time.
struct TCairo {
    decltype(&cairo_pdf_surface_create_for_stream) PdfSurface;
    decltype(&cairo_ps_surface_create_for_stream) PsSurface;
    decltype(&cairo_ps_surface_set_eps) SetEps;
    decltype(&cairo_surface_finish) Finish;
    decltype(&cairo_surface_status) SurfaceStatus;
    decltype(&cairo_surface_destroy) DestroySurface;
    decltype(&cairo_create) Create;
    decltype(&cairo_status) Status;
    decltype(&cairo_destroy) Destroy;
    decltype(&cairo_scale) Scale;
    decltype(&cairo_set_source_rgb) SetColour;
    decltype(&cairo_rectangle) Rectangle;
    decltype(&cairo_move_to) MoveTo;
    decltype(&cairo_line_to) LineTo;
    decltype(&cairo_curve_to) CurveTo;
    decltype(&cairo_fill) Fill;
    decltype(&cairo_user_font_face_create) UserFont;
    decltype(&cairo_user_font_face_set_render_glyph_func) SetRenderGlyph;
    decltype(&cairo_font_face_set_user_data) SetFontData;
    decltype(&cairo_font_face_get_user_data) FontData;
    decltype(&cairo_scaled_font_get_font_face) FontFaceOf;
    decltype(&cairo_set_font_face) SetFontFace;
    decltype(&cairo_set_font_size) SetFontSize;
    decltype(&cairo_show_text_glyphs) ShowTextGlyphs;
    decltype(&cairo_status_to_string) StatusText;
};

TCairo Load() {
    const TLoadedLibrary library("libcairo.so.2", "Cannot write PDF or EPS");
    TCairo c{};
    library.Find(c.PdfSurface, "cairo_pdf_surface_create_for_stream");
    library.Find(c.PsSurface, "cairo_ps_surface_create_for_stream");
    library.Find(c.SetEps, "cairo_ps_surface_set_eps");
    library.Find(c.Finish, "cairo_surface_finish");
    library.Find(c.SurfaceStatus, "cairo_surface_status");
    library.Find(c.DestroySurface, "cairo_surface_destroy");
    library.Find(c.Create, "cairo_create");
    library.Find(c.Status, "cairo_status");
    library.Find(c.Destroy, "cairo_destroy");
    library.Find(c.Scale, "cairo_scale");
    library.Find(c.SetColour, "cairo_set_source_rgb");
    library.Find(c.Rectangle, "cairo_rectangle");
    library.Find(c.MoveTo, "cairo_move_to");
    library.Find(c.LineTo, "cairo_line_to");
    library.Find(c.CurveTo, "cairo_curve_to");
    library.Find(c.Fill, "cairo_fill");
    library.Find(c.UserFont, "cairo_user_font_face_create");
    library.Find(c.SetRenderGlyph, "cairo_user_font_face_set_render_glyph_func");
    library.Find(c.SetFontData, "cairo_font_face_set_user_data");
    library.Find(c.FontData, "cairo_font_face_get_user_data");
    library.Find(c.FontFaceOf, "cairo_scaled_font_get_font_face");
    library.Find(c.SetFontFace, "cairo_set_font_face");
    library.Find(c.SetFontSize, "cairo_set_font_size");
    library.Find(c.ShowTextGlyphs, "cairo_show_text_glyphs");
    library.Find(c.StatusText, "cairo_status_to_string");
    return c;
}

// Loaded once; the library stays for the life of the process.
const TCairo& Cairo() {
    static const TCairo cairo = Load();
    return cairo;
}

// A glyph's outline as a cairo path in the user font's glyph space: one em a unit, y downwards.
class TCairoPath : public TOutlineSink {
public:
    explicit TCairoPath(cairo_t* cr) : FCr(cr) {}
    void MoveTo(double x, double y) override { Cairo().MoveTo(FCr, x, -y); }
    void LineTo(double x, double y) override { Cairo().LineTo(FCr, x, -y); }
    void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) override {
        Cairo().CurveTo(FCr, x1, -y1, x2, -y2, x3, -y3);
    }

private:
    cairo_t* FCr;
};

const cairo_user_data_key_t FontKey{};

cairo_status_t RenderGlyph(cairo_scaled_font_t* scaled, unsigned long glyph, cairo_t* cr,
                           cairo_text_extents_t*) {
    const TCairo& c = Cairo();
    auto* font = static_cast<TScalableFont*>(c.FontData(c.FontFaceOf(scaled), &FontKey));
    TCairoPath path(cr);
    font->Outline(static_cast<unsigned>(glyph), path);
    c.Fill(cr);
    return CAIRO_STATUS_SUCCESS;
}

// Each font's glyphs go into the file as a font of their own (Type 3), drawn from the outlines
// FreeType reads: every font is embedded the same way and only with the glyphs used, whatever
// its format (cairo's own embedding of OpenType CFF faces, OCR-B's among them, writes broken
// PDF files).
cairo_font_face_t* FontFace(TScalableFont& font) {
    static std::map<TScalableFont*, cairo_font_face_t*> faces;
    static std::mutex lock;
    const std::lock_guard guard(lock);
    cairo_font_face_t*& face = faces[&font];
    if (face == nullptr) {
        const TCairo& c = Cairo();
        face = c.UserFont();
        c.SetRenderGlyph(face, RenderGlyph);
        c.SetFontData(face, &FontKey, &font, nullptr);
    }
    return face;
}

struct Sink {
    std::vector<std::uint8_t> Bytes;
};

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    try {
        auto& bytes = static_cast<Sink*>(closure)->Bytes;
        bytes.insert(bytes.end(), data, data + length);
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_NO_MEMORY;
    }
    return CAIRO_STATUS_SUCCESS;
}

// The glyphs at their places, each character its own cluster, so that the file maps every glyph
// back to its character and the text can be searched and copied.
void ShowText(const TCairo& c, cairo_t* cr, const TPrintText& text) {
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    std::string utf8;
    for (std::size_t i = 0; i < text.Chars.size(); ++i) {
        glyphs.push_back({text.Font->GlyphIndex(text.Chars[i]), text.X[i], text.Baseline});
        const std::size_t before = utf8.size();
        AppendUtf8(utf8, text.Chars[i]);
        clusters.push_back({static_cast<int>(utf8.size() - before), 1});
    }
    c.SetFontFace(cr, FontFace(*text.Font));
    c.SetFontSize(cr, text.Size);
    c.ShowTextGlyphs(cr, utf8.data(), static_cast<int>(utf8.size()), glyphs.data(),
                     static_cast<int>(glyphs.size()), clusters.data(),
                     static_cast<int>(clusters.size()), cairo_text_cluster_flags_t{});
}

void Draw(const TCairo& c, cairo_t* cr, const TPrintDrawing& drawing) {
    c.SetColour(cr, 1, 1, 1);
    c.Rectangle(cr, 0, 0, drawing.Width, drawing.Height);
    c.Fill(cr);
    c.SetColour(cr, 0, 0, 0);
    for (const TPrintRect& r : drawing.Rects) {
        c.Rectangle(cr, r.X, r.Y, r.Width, r.Height);
    }
    c.Fill(cr);
    for (const TPrintText& text : drawing.Texts) {
        ShowText(c, cr, text);
    }
}

// Cairo states the bounding box in whole points, rounded out; a layout program places the symbol
// by the exact one, which follows it.
void AddExactBoundingBox(std::vector<std::uint8_t>& eps, double width, double height) {
    constexpr std::string_view Whole = "%%BoundingBox:";
    const auto at = std::search(eps.begin(), eps.end(), Whole.begin(), Whole.end());
    const auto end = std::find(at, eps.end(), '\n');
    if (end == eps.end()) {
        return;
    }
    const std::string line =
        "%%HiResBoundingBox: 0 0 " + Decimal(width, 6) + " " + Decimal(height, 6) + "\n";
    eps.insert(end + 1, line.begin(), line.end());
}

} // namespace

std::vector<std::uint8_t> EncodeVector(const TPrintDrawing& drawing, TVectorFormat format) {
    const TCairo& c = Cairo();
    const double points = drawing.Millimetres * 72 / 25.4;
    Sink sink;
    cairo_surface_t* surface =
        format == TVectorFormat::Pdf
            ? c.PdfSurface(Append, &sink, drawing.Width * points, drawing.Height * points)
            : c.PsSurface(Append, &sink, drawing.Width * points, drawing.Height * points);
    if (format == TVectorFormat::Eps) {
        c.SetEps(surface, 1);
    }
    cairo_t* cr = c.Create(surface);
    c.Scale(cr, points, points);
    Draw(c, cr, drawing);
    cairo_status_t status = c.Status(cr);
    c.Destroy(cr);
    c.Finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) {
        status = c.SurfaceStatus(surface);
    }
    c.DestroySurface(surface);
    if (status == CAIRO_STATUS_NO_MEMORY) {
        throw std::bad_alloc();
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        throw Exception(std::string("Cannot write PDF or EPS: ") + c.StatusText(status));
    }
    if (format == TVectorFormat::Eps) {
        AddExactBoundingBox(sink.Bytes, drawing.Width * points, drawing.Height * points);
    }
    return std::move(sink.Bytes);
}
