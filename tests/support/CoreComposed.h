#pragma once

#include "Barcode.h"
#include "CodeImage.h"

#include "Testing.h"

// The code image the main window composes from these inputs.
inline TBitmap ComposedImage(const TCodeImageInputs& inputs, bool checksum = true) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    barcode.SetChecksum(checksum);
    TBitmap image;
    InitCodeImage(image);
    ComposeCodeImage(barcode, image, inputs);
    return image;
}

inline Bytes ComposedBmp(const TCodeImageInputs& inputs, bool checksum = true) {
    return BmpBytes(ComposedImage(inputs, checksum));
}

// Its file as SaveToFile writes it with these options.
inline Bytes ComposedFile(const TCodeImageInputs& inputs, const TImageFileOptions& options) {
    const ScratchDir dir;
    ComposedImage(inputs).SaveToFile(dir / "file", options);
    return ReadFile(dir / "file");
}
