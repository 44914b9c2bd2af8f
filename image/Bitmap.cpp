#include "Bitmap.h"

#include "Canvas.h"
#include "Stream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

static_assert(std::endian::native == std::endian::little,
              "pixels are written to BMP files as they lie in memory");

namespace {

void Put16(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t v) {
    Put16(at, v);
    Put16(at + 2, v >> 16);
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other)
    : FWidth(other.FWidth), FHeight(other.FHeight), FPixels(other.FPixels),
      FRecording(other.FRecording ? std::make_unique<TDrawing>(*other.FRecording) : nullptr) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    FWidth = other.FWidth;
    FHeight = other.FHeight;
    FPixels = other.FPixels;
    FRecording = other.FRecording ? std::make_unique<TDrawing>(*other.FRecording) : nullptr;
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::SwapPixels(TBitmap& other) {
    std::swap(FWidth, other.FWidth);
    std::swap(FHeight, other.FHeight);
    FPixels.swap(other.FPixels);
    FRecording.swap(other.FRecording);
    Changed();
    other.Changed();
}

void TBitmap::SetWidth(int width) {
    Resize(width, FHeight);
}

void TBitmap::SetHeight(int height) {
    Resize(FWidth, height);
}

void TBitmap::Resize(int width, int height) {
    if (width == FWidth && height == FHeight) {
        return;
    }
    std::vector<std::uint32_t> pixels;
    if (width > 0 && height > 0) {
        const std::uint32_t fill = ColorToPixel(FCanvas ? FCanvas->Brush().Color : clWhite);
        pixels.assign(static_cast<std::size_t>(width) * height, fill);
        if (!FPixels.empty()) {
            const int rows = std::min(height, FHeight);
            const int columns = std::min(width, FWidth);
            for (int y = 0; y < rows; ++y) {
                std::copy_n(ScanLine(y), columns,
                            pixels.data() + static_cast<std::size_t>(y) * width);
            }
        }
    }
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    FPixels = std::move(pixels);
    StopRecording();
    Changed();
}

const std::uint32_t* TBitmap::WidenedRow(int y, int scale, std::uint32_t* out) const {
    if (scale == 1) {
        return ScanLine(y);
    }
    std::uint32_t* to = out;
    for (const std::uint32_t pixel : std::span(ScanLine(y), static_cast<std::size_t>(FWidth))) {
        to = std::fill_n(to, scale, pixel);
    }
    return out;
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>(*this);
    }
    return *FCanvas;
}

std::uint64_t TBitmap::BmpFileSize(int scale) const {
    const auto side = static_cast<std::uint64_t>(scale);
    return FPixels.empty() ? 0 : HeadersSize + FPixels.size() * 4 * side * side;
}

auto TBitmap::Headers(int width, int height, std::uint32_t pelsPerMetre)
    -> std::array<std::uint8_t, HeadersSize> {
    const auto rowBytes = static_cast<std::uint32_t>(width) * 4;
    const std::uint32_t imageSize = rowBytes * static_cast<std::uint32_t>(height);
    std::array<std::uint8_t, HeadersSize> header{'B', 'M'};
    Put32(&header[2], static_cast<std::uint32_t>(HeadersSize) + imageSize);
    Put32(&header[10], HeadersSize);
    Put32(&header[14], InfoHeaderSize);
    Put32(&header[18], static_cast<std::uint32_t>(width));
    Put32(&header[22], static_cast<std::uint32_t>(height));
    Put16(&header[26], 1);  // planes
    Put16(&header[28], 32); // bits per pixel
    Put32(&header[34], imageSize);
    Put32(&header[38], pelsPerMetre);
    Put32(&header[42], pelsPerMetre);
    return header;
}

std::span<const std::uint8_t> TBitmap::RowBytes(int y) const {
    return {reinterpret_cast<const std::uint8_t*>(ScanLine(y)),
            static_cast<std::size_t>(FWidth) * 4};
}

void TBitmap::SaveToStream(TStream& stream) const {
    if (FPixels.empty()) {
        return;
    }
    const auto header = Headers(FWidth, FHeight, 0);
    stream.WriteBuffer(header.data(), header.size());
    // Bottom row first; 32-bit rows need no padding.
    for (int y = FHeight - 1; y >= 0; --y) {
        stream.WriteBuffer(RowBytes(y).data(), RowBytes(y).size());
    }
}

void TBitmap::SaveToFile(const std::string& name, const TImageFileOptions& options) const {
    SaveImageFile(*this, name, options);
}

void TBitmap::SaveBmpFile(const std::string& name, int scale, std::uint32_t pelsPerMetre,
                          TWriteRole role) const {
    // The same bytes as SaveToStream, gathered straight from the pixels: without scaling no copy
    // of the image, with it one widened copy of each row, handed over scale times.
    std::vector<std::span<const std::uint8_t>> pieces;
    std::array<std::uint8_t, HeadersSize> header{};
    std::vector<std::uint32_t> widened;
    if (!FPixels.empty()) {
        header = Headers(FWidth * scale, FHeight * scale, pelsPerMetre);
        pieces.reserve(static_cast<std::size_t>(FHeight) * scale + 1);
        pieces.emplace_back(header);
        if (scale > 1) {
            widened.resize(FPixels.size() * scale);
        }
        const std::size_t rowPixels = static_cast<std::size_t>(FWidth) * scale;
        for (int y = FHeight - 1; y >= 0; --y) {
            const std::uint32_t* row = WidenedRow(y, scale, widened.data() + y * rowPixels);
            pieces.insert(pieces.end(), scale,
                          {reinterpret_cast<const std::uint8_t*>(row), rowPixels * 4});
        }
    }
    WriteFileAtomically(name, pieces, role);
}
