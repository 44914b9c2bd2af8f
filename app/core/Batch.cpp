#include "Batch.h"

#include "Bitmap.h"
#include "Canvas.h"
#include "CodeImage.h"
#include "StrToInt.h"

TBatchRange ParseBatchRange(std::string_view fromText, std::string_view toText,
                            const std::function<void(std::int32_t to)>& onTo) {
    const std::int32_t maximum = StrToInt(toText);
    if (onTo) {
        onTo(maximum);
    }
    TBatchRange range;
    range.From = StrToInt(fromText);
    range.To = StrToInt(toText);
    return range;
}

std::int64_t BatchCount(const TBatchRange& range) {
    const std::int64_t count = std::int64_t{range.To} - range.From + 1;
    return count > 0 ? count : 0;
}

std::string BatchFileName(std::string_view directory, std::int32_t n, std::string_view extension) {
    std::string name(directory);
    name += PathSeparator;
    name += "code_";
    name += std::to_string(n);
    name += '.';
    name += extension;
    return name;
}

void RunBatch(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs,
              const TBatchRange& range, std::string_view directory,
              const TBatchCallbacks& callbacks, const TImageFileOptions& file) {
    TImageFileOptions options = file;
    options.Format = file.Format.value_or(TImageFormat::Bmp);
    const std::string_view extension = FormatExtension(*options.Format);
    TCodeImageInputs current = inputs;
    // Counted in 64 bits: n = To + 1 must not wrap when To is the largest 32-bit number.
    for (std::int64_t wide = range.From; wide <= range.To; ++wide) {
        const auto n = static_cast<std::int32_t>(wide);
        ClearCodeImage(image);
        if (callbacks.Position) {
            callbacks.Position(n);
        }
        current.Data = std::to_string(n);
        if (callbacks.Data) {
            callbacks.Data(current.Data);
        }
        DrawCodeImage(barcode, image, current);
        std::string name = BatchFileName(directory, n, extension);
        if (callbacks.FileName) {
            name = callbacks.FileName(name);
        }
        image.SaveToFile(name, options);
    }
}
