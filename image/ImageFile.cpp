#include "ImageFile.h"

#include "Bitmap.h"
#include "Exception.h"
#include "JpegFile.h"
#include "PngFile.h"
#include "Stream.h"
#include "SvgFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, TImageFormat>, 6> Words{{
    {"bmp", TImageFormat::Bmp},
    {"png", TImageFormat::Png},
    {"svg", TImageFormat::Svg},
    {"jpg", TImageFormat::Jpeg},
    {"pdf", TImageFormat::Pdf},
    {"eps", TImageFormat::Eps},
}};

std::vector<std::uint8_t> Encode(const TBitmap& image, const std::string& name, TImageFormat format,
                                 int scale, int dpi) {
    if (format == TImageFormat::Png) {
        return EncodePng(image, scale, dpi);
    }
    if (format == TImageFormat::Jpeg) {
        return EncodeJpeg(image, scale, dpi);
    }
    if (format != TImageFormat::Svg) {
        throw Exception("Cannot write " + name + " as " + std::string(FormatExtension(format)) +
                        ": only the symbol is written so");
    }
    const TDrawing* drawing = image.Recording();
    if (drawing == nullptr) {
        throw Exception("Cannot write " + name + " as SVG: the image holds no recorded drawing");
    }
    const std::string svg = SvgDocument(*drawing, image.Width(), image.Height(), scale, dpi);
    return {svg.begin(), svg.end()};
}

} // namespace

std::string ExtensionOf(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

TImageFormat FormatOfName(std::string_view name) {
    const std::string extension = ExtensionOf(name);
    if (extension == "jpeg") {
        return TImageFormat::Jpeg;
    }
    const auto format = FormatNamed(extension).value_or(TImageFormat::Bmp);
    return format == TImageFormat::Pdf || format == TImageFormat::Eps ? TImageFormat::Bmp : format;
}

std::optional<TImageFormat> FormatNamed(std::string_view word) {
    for (const auto& [text, format] : Words) {
        if (text == word) {
            return format;
        }
    }
    return std::nullopt;
}

std::string_view FormatExtension(TImageFormat format) {
    for (const auto& [text, named] : Words) {
        if (named == format) {
            return text;
        }
    }
    return {};
}

std::uint32_t PixelsPerMetre(int dpi) {
    return static_cast<std::uint32_t>((dpi * 10000LL + 127) / 254);
}

void SaveImageFile(const TBitmap& image, const std::string& name,
                   const TImageFileOptions& options) {
    const TImageFormat format = options.Format.value_or(FormatOfName(name));
    const int dpi = options.Dpi.value_or(DefaultImageDpi);
    if (options.Scale < 1 || options.Scale > MaxImageScale || dpi < 1 || dpi > MaxImageDpi) {
        throw Exception("Cannot write " + name + ": scale " + std::to_string(options.Scale) +
                        " or resolution " + std::to_string(dpi) + " out of range");
    }
    if (format == TImageFormat::Bmp) {
        image.SaveBmpFile(name, options.Scale, options.Dpi ? PixelsPerMetre(dpi) : 0, options.Role);
        return;
    }
    const std::vector<std::uint8_t> bytes = image.Empty()
                                                ? std::vector<std::uint8_t>{}
                                                : Encode(image, name, format, options.Scale, dpi);
    const std::span<const std::uint8_t> piece(bytes);
    WriteFileAtomically(name, {&piece, 1}, options.Role);
}

std::uint64_t ImageFileSize(const TBitmap& image, TImageFormat format,
                            const TImageFileOptions& options) {
    if (image.Empty()) {
        return 0;
    }
    if (format == TImageFormat::Bmp) {
        return image.BmpFileSize(options.Scale);
    }
    return Encode(image, "", format, options.Scale, options.Dpi.value_or(DefaultImageDpi)).size();
}
