#include "PngFile.h"

#include "Bitmap.h"
#include "Exception.h"
#include "ImageFile.h"
#include "PrintDrawing.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// Bytes as libpng hands them over. A failure to grow is noted and reported once libpng is done,
// so that no exception travels through libpng's frames.
struct Sink {
    std::vector<std::uint8_t> Bytes;
    bool OutOfMemory = false;
};

void Append(png_structp png, png_bytep data, png_size_t size) {
    auto& sink = *static_cast<Sink*>(png_get_io_ptr(png));
    if (sink.OutOfMemory) {
        return;
    }
    try {
        sink.Bytes.insert(sink.Bytes.end(), data, data + size);
    } catch (const std::bad_alloc&) {
        sink.OutOfMemory = true;
    }
}

void Flush(png_structp) {}

// libpng's own errors end the encoding through png_jmpbuf; the message is kept for the caller.
struct Failure {
    std::string Message;
};

void Fail(png_structp png, png_const_charp message) {
    static_cast<Failure*>(png_get_error_ptr(png))->Message = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Which rows hold the same pixels as the row above them: the bars make most rows repeats, which
// need neither looking at nor packing again.
std::vector<bool> RepeatedRows(const TBitmap& image) {
    std::vector<bool> repeated(static_cast<std::size_t>(image.Height()));
    const auto bytes = static_cast<std::size_t>(image.Width()) * 4;
    for (int y = 1; y < image.Height(); ++y) {
        repeated[static_cast<std::size_t>(y)] =
            std::memcmp(image.ScanLine(y), image.ScanLine(y - 1), bytes) == 0;
    }
    return repeated;
}

bool OnlyBlackAndWhite(const TBitmap& image, const std::vector<bool>& repeated) {
    bool two = true;
    for (int y = 0; y < image.Height() && two; ++y) {
        if (repeated[static_cast<std::size_t>(y)]) {
            continue;
        }
        const std::uint32_t* line = image.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t rgb = line[x] & 0xFFFFFFu;
            two &= rgb == 0 || rgb == 0xFFFFFFu;
        }
    }
    return two;
}

// A row of pixels as a PNG row: packed bits, white 1 and black 0, or red, green, blue.
void PackRow(const std::uint32_t* pixels, std::size_t count, bool twoColour, png_bytep row) {
    if (!twoColour) {
        for (std::size_t x = 0; x < count; ++x) {
            row[3 * x] = static_cast<png_byte>(pixels[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(pixels[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(pixels[x]);
        }
        return;
    }
    for (std::size_t x = 0; x < count; x += 8) {
        unsigned bits = 0;
        for (std::size_t k = x; k < x + 8; ++k) {
            bits = (bits << 1) | (k < count ? pixels[k] & 1u : 0u);
        }
        *row++ = static_cast<png_byte>(bits);
    }
}

// What a PNG holds: its size, 1-bit greyscale or 8-bit RGB, its resolution and how hard deflate
// works.
struct TPngShape {
    std::size_t Width;
    std::size_t Height;
    bool TwoColour;
    int Dpi;
    int Level;
};

using TPngRows = std::function<png_const_bytep(std::size_t y)>;

// Everything libpng may leave by longjmp runs here, over plain data only; rows hands over the
// packed rows in order and may hand the same row again.
bool Encode(png_structp png, png_infop info, const TPngShape& shape, const TPngRows& rows) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(shape.Width),
                 static_cast<png_uint_32>(shape.Height), shape.TwoColour ? 1 : 8,
                 shape.TwoColour ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const png_uint_32 perMetre = PixelsPerMetre(shape.Dpi);
    png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, shape.Level);
    png_write_info(png, info);
    for (std::size_t y = 0; y < shape.Height; ++y) {
        png_write_row(png, rows(y));
    }
    png_write_end(png, info);
    return true;
}

std::vector<std::uint8_t> Write(const TPngShape& shape, const TPngRows& rows) {
    Sink sink;
    Failure failure;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, Fail, IgnoreWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    const bool created = info != nullptr;
    bool encoded = false;
    if (created) {
        png_set_write_fn(png, &sink, Append, Flush);
        encoded = Encode(png, info, shape, rows);
    }
    png_destroy_write_struct(&png, &info);
    if (sink.OutOfMemory || !created) {
        throw std::bad_alloc();
    }
    if (!encoded) {
        throw Exception("Cannot encode the image as PNG: " + failure.Message);
    }
    return std::move(sink.Bytes);
}

} // namespace

// Chosen by measuring the code images: without row filters the 1-bit rows compress smallest
// (filters only blur the long runs of equal bytes that deflate finds); level 6 takes a third of
// level 9's time for files at most 3.2 % larger.
std::vector<std::uint8_t> EncodePng(const TBitmap& image, int scale, int dpi) {
    const std::vector<bool> repeated = RepeatedRows(image);
    const bool twoColour = OnlyBlackAndWhite(image, repeated);
    const auto width = static_cast<std::size_t>(image.Width()) * scale;
    std::vector<std::uint32_t> widened(width);
    std::vector<png_byte> row(twoColour ? (width + 7) / 8 : width * 3);
    const TPngShape shape{width, static_cast<std::size_t>(image.Height()) * scale, twoColour, dpi,
                          6};
    return Write(shape, [&](std::size_t y) -> png_const_bytep {
        const std::size_t source = y / scale;
        if (y % scale == 0 && !repeated[source]) {
            PackRow(image.WidenedRow(static_cast<int>(source), scale, widened.data()), width,
                    twoColour, row.data());
        }
        return row.data();
    });
}

// Level 1: the symbol's rows at print resolution are many and mostly white, and deflate's best
// effort takes many times as long over them for a file a few kilobytes smaller at most.
std::vector<std::uint8_t> EncodePrintPng(const TPrintDrawing& drawing, int dpi) {
    TPrintRaster raster(drawing);
    const TPngShape shape{static_cast<std::size_t>(raster.Width()),
                          static_cast<std::size_t>(raster.Height()), true, dpi, 1};
    return Write(shape, [&](std::size_t y) { return raster.Row(static_cast<int>(y)); });
}
