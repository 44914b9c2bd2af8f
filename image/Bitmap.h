#pragma once

#include "Color.h"
#include "Drawing.h"
#include "ImageFile.h"

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
    // Exchanges the pixels, the size and the recording with other's; each image keeps its canvas
    // and its OnChange, and both report the change.
    void SwapPixels(TBitmap& other);

    // Raw access for the canvas and for blitting: Width() pixels per row, no padding.
    std::uint32_t* ScanLine(int y) { return FPixels.data() + static_cast<std::size_t>(y) * FWidth; }
    const std::uint32_t* ScanLine(int y) const {
        return FPixels.data() + static_cast<std::size_t>(y) * FWidth;
    }
    // Row y with every pixel repeated scale times: the row itself for scale 1, else out, filled
    // with Width() × scale pixels.
    const std::uint32_t* WidenedRow(int y, int scale, std::uint32_t* out) const;
    // The direct colour (0x00BBGGRR) of one pixel.
    TColor Pixel(int x, int y) const { return PixelToColor(ScanLine(y)[x]); }

    // Writes the BMP bytes: 14-byte file header, 40-byte info header, rows bottom-up. An image
    // without pixels writes nothing.
    void SaveToStream(TStream& stream) const;
    // The number of bytes of the BMP file with every pixel repeated scale × scale: SaveToStream's
    // for scale 1.
    std::uint64_t BmpFileSize(int scale = 1) const;
    // Writes the file with WriteFileAtomically in the format the options or the name's extension
    // ask for (SaveImageFile); raises "Cannot create file %s: %s" or "Stream write error: %s: %s".
    void SaveToFile(const std::string& name, const TImageFileOptions& options = {}) const;
    // The BMP file of SaveToStream with every pixel repeated scale × scale and the resolution
    // fields set to pelsPerMetre, written with WriteFileAtomically.
    void SaveBmpFile(const std::string& name, int scale, std::uint32_t pelsPerMetre,
                     TWriteRole role) const;

    // From now on the canvas also keeps every drawing operation as a shape, dropping what was
    // kept before. What the image held until then is not part of the recording, so a caller
    // starts it right before painting the whole image. A resize, or an operation the shapes
    // cannot describe, ends the recording.
    void StartRecording() { FRecording = std::make_unique<TDrawing>(); }
    void StopRecording() { FRecording.reset(); }
    // The shapes drawn since StartRecording, or nullptr when nothing is being recorded.
    const TDrawing* Recording() const { return FRecording.get(); }
    TDrawing* Recording() { return FRecording.get(); }

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
    // The file header and the info header of BMP bytes for an image of width × height pixels.
    static std::array<std::uint8_t, HeadersSize> Headers(int width, int height,
                                                         std::uint32_t pelsPerMetre);
    // Row y's pixels as the bytes of a BMP row.
    std::span<const std::uint8_t> RowBytes(int y) const;

    int FWidth = 0;
    int FHeight = 0;
    std::vector<std::uint32_t> FPixels;
    std::unique_ptr<TCanvas> FCanvas;
    std::unique_ptr<TDrawing> FRecording;
};
