#pragma once

#include "Stream.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class TBitmap;

// PDF and EPS are the symbol's only: the code image is never written in them.
enum class TImageFormat : std::uint8_t { Bmp, Png, Svg, Jpeg, Pdf, Eps };

inline constexpr int MaxImageScale = 20;
inline constexpr int DefaultImageDpi = 96;
// A JPEG header holds the resolution in 16 bits.
inline constexpr int MaxImageDpi = 65535;

struct TImageFileOptions {
    // Unset: the format the name's extension asks for.
    std::optional<TImageFormat> Format{};
    // 1..MaxImageScale: every pixel becomes Scale × Scale pixels; an SVG drawing is Scale times
    // as wide and high.
    int Scale = 1;
    // 1..MaxImageDpi, the resolution the file states. Unset: DefaultImageDpi, except that a BMP
    // then states none, as it always did.
    std::optional<int> Dpi{};
    // A single file is flushed and may be a FIFO or a device; a batch caches its regular files and
    // syncs once at its end.
    TWriteRole Role = TWriteRole::Single;
};

// The extension of the name's last component in lower case, without the dot; empty for none.
std::string ExtensionOf(std::string_view name);
// By the extension of the name's last component, in any case: "png", "svg", "jpg" and "jpeg";
// BMP for every other name, "pdf" and "eps" included.
TImageFormat FormatOfName(std::string_view name);
// The format a lower-case word names: "bmp", "png", "svg", "jpg", "pdf" or "eps".
std::optional<TImageFormat> FormatNamed(std::string_view word);
// The extension a file of the format gets, without the dot: the word FormatNamed takes.
std::string_view FormatExtension(TImageFormat format);

// The resolution that BMP and PNG headers state, in pixels per metre: dpi / 0.0254, rounded.
std::uint32_t PixelsPerMetre(int dpi);

// Writes the image in one of the formats but PDF and EPS with WriteFileAtomically, raising "Cannot
// create file %s: %s" or "Stream write error: %s: %s" as every file write does; a scale or
// resolution out of range raises before anything is written. An image without pixels writes an
// empty file. An SVG is written from the image's recording and raises "Cannot write %s as SVG: the
// image holds no recorded drawing" without one.
void SaveImageFile(const TBitmap& image, const std::string& name, const TImageFileOptions& options);
// The number of bytes SaveImageFile writes for the image in that format, the SVG of a recording.
std::uint64_t ImageFileSize(const TBitmap& image, TImageFormat format,
                            const TImageFileOptions& options);
