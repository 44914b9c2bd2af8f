#pragma once

#include "Color.h"
#include "Stream.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TCanvas;

// A 32-bit raster image. Pixels are stored top row first as 0x00RRGGBB, so each row is already
// laid out as a 32-bit BMP row (blue, green, red, 0).
class TBitmap {
public:
    TBitmap();
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap();

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Resizing keeps the old pixels in the top-left corner and fills new ones white (with the
    // canvas's brush colour once there is a canvas). A 0 dimension leaves no pixels.
    void SetWidth(int width);
    void SetHeight(int height);
    bool Empty() const { return FPixels.empty(); }

    // Created on the first request and kept for the image's life.
    TCanvas& Canvas();

    // Raw access for the canvas and for blitting: Width() pixels per row, no padding.
    std::uint32_t* ScanLine(int y) { return FPixels.data() + static_cast<std::size_t>(y) * FWidth; }
    const std::uint32_t* ScanLine(int y) const {
        return FPixels.data() + static_cast<std::size_t>(y) * FWidth;
    }
    // The direct colour (0x00BBGGRR) of one pixel.
    TColor Pixel(int x, int y) const { return PixelToColor(ScanLine(y)[x]); }

    // Writes the BMP bytes: 14-byte file header, 40-byte info header, rows bottom-up. An image
    // without pixels writes nothing.
    void SaveToStream(TStream& stream) const;
    // The number of bytes SaveToStream writes.
    std::size_t BmpFileSize() const;
    // Writes the BMP bytes with WriteFileAtomically; raises "Cannot create file %s: %s" or
    // "Stream write error: %s: %s".
    void SaveToFile(const std::string& name, TDurability durability = TDurability::Flush) const;

    // Called after every change of the pixels (a drawing operation of the canvas, a resize), so
    // that whatever shows the image can repaint. Copies of the image do not take it over.
    std::function<void()> OnChange;
    void Changed() const {
        if (OnChange) {
            OnChange();
        }
    }

private:
    static constexpr std::size_t FileHeaderSize = 14;
    static constexpr std::size_t InfoHeaderSize = 40;
    static constexpr std::size_t HeadersSize = FileHeaderSize + InfoHeaderSize;

    void Resize(int width, int height);
    // The file header and the info header of the BMP bytes.
    std::array<std::uint8_t, HeadersSize> Headers() const;
    // Row y's pixels as the bytes of a BMP row.
    std::span<const std::uint8_t> RowBytes(int y) const;

    int FWidth = 0;
    int FHeight = 0;
    std::vector<std::uint32_t> FPixels;
    std::unique_ptr<TCanvas> FCanvas;
};
