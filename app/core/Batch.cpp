#include "Batch.h"

#include "Bitmap.h"
#include "Canvas.h"
#include "CodeImage.h"
#include "StrToInt.h"

#include <filesystem>

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

std::string BatchFileName(std::string_view directory, std::int32_t n) {
    std::string name(directory);
    name += PathSeparator;
    name += "code_";
    name += std::to_string(n);
    name += ".bmp";
    return name;
}

void RunBatch(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs,
              const TBatchRange& range, std::string_view directory,
              const TBatchCallbacks& callbacks) {
    if (BatchCount(range) > 0 && !directory.empty()) {
        // Where no directory can be made, the first file's write says why.
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(directory), ignored);
    }
    TCodeImageInputs current = inputs;
    // Counted in 64 bits: n = To + 1 must not wrap when To is the largest 32-bit number.
    for (std::int64_t wide = range.From; wide <= range.To && !callbacks.Stop.stop_requested();
         ++wide) {
        const auto n = static_cast<std::int32_t>(wide);
        image.Canvas().FillRect({0, 0, image.Width(), image.Height()});
        if (callbacks.Position) {
            callbacks.Position(n);
        }
        current.Data = std::to_string(n);
        if (callbacks.Data) {
            callbacks.Data(current.Data);
        }
        DrawCodeImage(barcode, image, current);
        std::string name = BatchFileName(directory, n);
        if (callbacks.FileName) {
            name = callbacks.FileName(name);
        }
        image.SaveToFile(name);
    }
}
