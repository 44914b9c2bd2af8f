#pragma once

#include "Barcode.h"
#include "Bitmap.h"
#include "CodeImage.h"
#include "Stream.h"

#include "ImageFiles.h"

// The BMP bytes of the code image the main window composes from these inputs.
inline Bytes ComposedBmp(const TCodeImageInputs& inputs, bool checksum = true) {
    TBarcode barcode;
    ConfigureMainBarcode(barcode);
    barcode.SetChecksum(checksum);
    TBitmap image;
    InitCodeImage(image);
    ComposeCodeImage(barcode, image, inputs);
    TMemoryStream bytes;
    image.SaveToStream(bytes);
    return bytes.Data();
}
