#include "Batch.h"

#include "Barcode.h"
#include "Bitmap.h"
#include "Canvas.h"
#include "CodeImage.h"
#include "DrawAhead.h"
#include "Exception.h"
#include "NumberText.h"
#include "StrToInt.h"

#include <algorithm>
#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/statvfs.h>

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

namespace {

class TRangeReader : public TBatchReader {
public:
    TRangeReader(const TBatchRange& range, std::string_view directory, std::string_view extension)
        : FNext(range.From), FTo(range.To), FDirectory(directory), FExtension(extension) {}

    bool Next(TBatchItem& item) override {
        if (FNext > FTo) {
            return false;
        }
        const auto n = static_cast<std::int32_t>(FNext++);
        item.Position = n;
        item.Data = std::to_string(n);
        item.FileName = BatchFileName(FDirectory, n, FExtension);
        return true;
    }

private:
    // Counted in 64 bits: the number after the largest 32-bit number must not wrap.
    std::int64_t FNext;
    std::int64_t FTo;
    std::string_view FDirectory;
    std::string_view FExtension;
};

std::uint64_t WholeBlocks(std::uint64_t bytes, std::uint64_t block) {
    return (bytes + block - 1) / block * block;
}

} // namespace

TRangeBatch::TRangeBatch(const TBatchRange& range, std::string_view directory,
                         std::string_view extension)
    : FRange(range), FDirectory(directory), FExtension(extension) {}

std::int64_t TRangeBatch::Count() const {
    return BatchCount(FRange);
}

std::unique_ptr<TBatchReader> TRangeBatch::Read() const {
    return std::make_unique<TRangeReader>(FRange, FDirectory, FExtension);
}

std::uint64_t BatchBytesNeeded(const TBatchRange& range, std::string_view directory,
                               std::uint64_t bytesPerFile, std::string_view extension,
                               std::uint64_t block) {
    const auto count = static_cast<std::uint64_t>(BatchCount(range));
    if (count == 0) {
        return 0;
    }
    const std::uint64_t perFile = WholeBlocks(bytesPerFile, block);
    std::uint64_t replaced = 0;
    // What the last number's old file holds while its replacement is written.
    std::uint64_t last = 0;
    const std::string dirName = std::string(directory) + PathSeparator;
    if (DIR* dir = opendir(dirName.c_str())) {
        constexpr std::string_view Prefix = "code_";
        while (const dirent* entry = readdir(dir)) {
            const std::string_view file = entry->d_name;
            std::int32_t n = 0;
            const char* end = file.data() + file.size();
            struct stat status {};
            // A name of the range is exactly the name the batch gives its number.
            if (file.starts_with(Prefix) &&
                std::from_chars(file.data() + Prefix.size(), end, n).ec == std::errc{} &&
                n >= range.From && n <= range.To &&
                BatchFileName(directory, n, extension) == dirName + file.data() &&
                fstatat(dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISREG(status.st_mode)) {
                const std::uint64_t held = std::min(
                    WholeBlocks(static_cast<std::uint64_t>(status.st_size), block), perFile);
                replaced += held;
                last = n == range.To ? held : last;
            }
        }
        closedir(dir);
    }
    return count * perFile - replaced + last;
}

std::uint64_t BatchBytesPerFile(const TBarcode& barcode, const TCodeImageInputs& inputs,
                                const TBatchRange& range, const TImageFileOptions& file) {
    TCodeImageInputs first = inputs;
    first.Data = std::to_string(range.From);
    return CodeImageFileSize(barcode, first, file);
}

std::uint64_t CodeImageFileSize(const TBarcode& barcode, const TCodeImageInputs& inputs,
                                const TImageFileOptions& file) {
    TBarcode copy = barcode;
    TBitmap image;
    InitCodeImage(image);
    try {
        ComposeCodeImage(copy, image, inputs);
    } catch (const Exception&) {
        // The batch reports it at its file; what was drawn still measures the file.
    }
    return ImageFileSize(image, file.Format.value_or(TImageFormat::Bmp), file);
}

namespace {

// Raises the batch's "Not enough space" when count files of bytesPerFile may not fit, needed
// telling at the file system's block size how much the batch adds at its peak.
void CheckFits(std::string_view directory, std::int64_t count, std::uint64_t bytesPerFile,
               const std::function<std::uint64_t(std::uint64_t block)>& needed) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path existing = fs::absolute(BatchFileName(directory, 0), error).parent_path();
    struct statvfs space {};
    while (statvfs(existing.c_str(), &space) != 0) {
        if ((errno != ENOENT && errno != ENOTDIR) || existing == existing.parent_path()) {
            return;
        }
        existing = existing.parent_path();
    }
    const std::uint64_t free = std::uint64_t{space.f_bavail} * space.f_frsize;
    const std::uint64_t block = std::max<std::uint64_t>(space.f_frsize, 1);
    // The directory is read only when the batch may not fit.
    if ((static_cast<std::uint64_t>(count) + 1) * WholeBlocks(bytesPerFile, block) <= free) {
        return;
    }
    const std::uint64_t most = needed(block);
    if (most > free) {
        throw Exception("Not enough space in " + EscapedFileName(directory) + ": the batch needs " +
                        Grouped(most) + " bytes, " + Grouped(free) + " are free");
    }
}

} // namespace

void CheckBatchFits(const TBatchRange& range, std::string_view directory,
                    std::uint64_t bytesPerFile, std::string_view extension) {
    CheckFits(directory, BatchCount(range), bytesPerFile, [&](std::uint64_t block) {
        return BatchBytesNeeded(range, directory, bytesPerFile, extension, block);
    });
}

std::uint64_t BatchBytesNeeded(const TBatchData& data, std::uint64_t bytesPerFile,
                               std::uint64_t block) {
    const std::uint64_t perFile = WholeBlocks(bytesPerFile, block);
    std::uint64_t needed = 0;
    // What the last file's old file holds while its replacement is written.
    std::uint64_t last = 0;
    const std::unique_ptr<TBatchReader> reader = data.Read();
    TBatchItem item;
    while (reader->Next(item)) {
        struct stat status {};
        last = 0;
        if (fstatat(AT_FDCWD, item.FileName.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode)) {
            last =
                std::min(WholeBlocks(static_cast<std::uint64_t>(status.st_size), block), perFile);
        }
        needed += perFile - last;
    }
    return needed + last;
}

void CheckBatchFits(const TBatchData& data, std::string_view directory,
                    std::uint64_t bytesPerFile) {
    CheckFits(directory, data.Count(), bytesPerFile,
              [&](std::uint64_t block) { return BatchBytesNeeded(data, bytesPerFile, block); });
}

void RunBatchSteps(const TBatchData& data, std::string_view directory,
                   const TBatchCallbacks& callbacks,
                   const std::function<std::unique_ptr<TBatchSteps>()>& start) {
    if (data.Count() > 0 && !directory.empty()) {
        // Where no directory can be made, the first file's write says why.
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(directory), ignored);
    }
    // The last file written: its file system is synced at the end.
    std::string written;
    try {
        const std::unique_ptr<TBatchSteps> steps = start();
        const std::unique_ptr<TBatchReader> reader = data.Read();
        TBatchItem item;
        while (!callbacks.Stop.stop_requested() && reader->Next(item)) {
            const std::exception_ptr failed = steps->Draw(item);
            if (callbacks.Position) {
                callbacks.Position(item.Position);
            }
            if (callbacks.Data) {
                callbacks.Data(item.Data);
            }
            if (failed) {
                std::rethrow_exception(failed);
            }
            std::string name = std::move(item.FileName);
            if (callbacks.FileName) {
                name = callbacks.FileName(name);
            }
            steps->Write(name);
            written = std::move(name);
        }
    } catch (const Exception&) {
        // The files before the failure are synced too; the failure that ended the run is the
        // one reported, whatever the sync says.
        if (!written.empty()) {
            try {
                SyncFileSystemOf(written);
            } catch (const Exception&) {
            }
        }
        throw;
    }
    if (callbacks.Written) {
        callbacks.Written();
    }
    if (!written.empty()) {
        SyncFileSystemOf(written);
    }
}

namespace {

// The code image of each file, drawn one file ahead (TDrawAhead) in the caller's image and
// barcode for BMP files. Only their write takes long enough beside the drawing for a second
// thread to pay: a compressed file is encoded in the writer's own time, and handing each short
// step over costs more than drawing it (a PNG batch drawn in turn took a tenth less time and a
// third less processor time).
class TCodeImageSteps : public TBatchSteps {
public:
    TCodeImageSteps(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs,
                    const TBatchData& data, const TImageFileOptions& options)
        : FBarcode(barcode), FImage(image), FOptions(options),
          FAhead(barcode, image, inputs, data.Read(), options.Format == TImageFormat::Bmp) {}

    std::exception_ptr Draw(const TBatchItem&) override { return FAhead.Next(FImage, FBarcode); }
    void Write(const std::string& name) override {
        FAhead.Write(name, [&] { FImage.SaveToFile(name, FOptions); });
    }

private:
    TBarcode& FBarcode;
    TBitmap& FImage;
    const TImageFileOptions& FOptions;
    TDrawAhead FAhead;
};

} // namespace

void RunBatch(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs,
              const TBatchRange& range, std::string_view directory,
              const TBatchCallbacks& callbacks, const TImageFileOptions& file) {
    const TRangeBatch data(range, directory,
                           FormatExtension(file.Format.value_or(TImageFormat::Bmp)));
    RunBatch(barcode, image, inputs, data, directory, callbacks, file);
}

void RunBatch(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs,
              const TBatchData& data, std::string_view directory, const TBatchCallbacks& callbacks,
              const TImageFileOptions& file) {
    TImageFileOptions options = file;
    options.Format = file.Format.value_or(TImageFormat::Bmp);
    options.Role = TWriteRole::Batch;
    RunBatchSteps(data, directory, callbacks, [&] {
        return std::make_unique<TCodeImageSteps>(barcode, image, inputs, data, options);
    });
}
