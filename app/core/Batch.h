#pragma once

#include "ImageFile.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>

class TBarcode;
class TBitmap;
struct TCodeImageInputs;

#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

struct TBatchRange {
    std::int32_t From = 0;
    std::int32_t To = 0;
};

// Reads the range fields the way "Generate and save" does: the last number first, which is
// handed to onTo (the LED bar's maximum) before the first number is read, then the last number
// again. A text that is not an integer raises "'%s' is not a valid integer value" at the point
// where it is read.
TBatchRange ParseBatchRange(std::string_view fromText, std::string_view toText,
                            const std::function<void(std::int32_t to)>& onTo);

// How many numbers the range holds; 0 when To is less than From. 64-bit, so that the widest
// range of 32-bit numbers counts right.
std::int64_t BatchCount(const TBatchRange& range);

// The file of number n: the directory as it stands, the separator, "code_", n, "." and the
// extension.
std::string BatchFileName(std::string_view directory, std::int32_t n,
                          std::string_view extension = "bmp");

// One file of a batch: where the LED bar stands for it, its data and its name.
struct TBatchItem {
    std::int32_t Position = 0;
    std::string Data;
    std::string FileName;
};

// Reads the files of a batch in order, from the first.
class TBatchReader {
public:
    virtual ~TBatchReader() = default;
    // Fills item with the next file's; false after the last.
    virtual bool Next(TBatchItem& item) = 0;
};

// The files of a batch: the numbers of a range, or the data of a list.
class TBatchData {
public:
    virtual ~TBatchData() = default;
    virtual std::int64_t Count() const = 0;
    // A reader from the first file. Readers are independent of each other and may run on
    // different threads at once.
    virtual std::unique_ptr<TBatchReader> Read() const = 0;
};

// The numbers of a range: each number n at position n, its decimal text as the data and
// BatchFileName as the file's name.
class TRangeBatch : public TBatchData {
public:
    TRangeBatch(const TBatchRange& range, std::string_view directory, std::string_view extension);
    std::int64_t Count() const override;
    std::unique_ptr<TBatchReader> Read() const override;

private:
    TBatchRange FRange;
    std::string FDirectory;
    std::string FExtension;
};

// The most a batch adds to its directory at any moment: the count of numbers × bytesPerFile
// rounded up to whole blocks of block bytes, less what the range's own files with that extension
// there hold already (they are replaced and their space given back: each counts up to one new
// file), plus what the last number's old file holds, as each replacement is written whole before
// the file it replaces goes; 0 for an empty range.
std::uint64_t BatchBytesNeeded(const TBatchRange& range, std::string_view directory,
                               std::uint64_t bytesPerFile, std::string_view extension = "bmp",
                               std::uint64_t block = 1);

// The same for any batch, its old files found by their names.
std::uint64_t BatchBytesNeeded(const TBatchData& data, std::uint64_t bytesPerFile,
                               std::uint64_t block = 1);

// What one file of the batch takes: the file of the range's first number, composed in an image
// of its own. Exact for BMP; the compressed formats' files of the other numbers differ from it
// by a few bytes.
std::uint64_t BatchBytesPerFile(const TBarcode& barcode, const TCodeImageInputs& inputs,
                                const TBatchRange& range, const TImageFileOptions& file = {});

// The file of the inputs' code image, composed in an image of its own.
std::uint64_t CodeImageFileSize(const TBarcode& barcode, const TCodeImageInputs& inputs,
                                const TImageFileOptions& file = {});

// Called before the first file: raises "Not enough space in %s: the batch needs %s bytes, %s are
// free" when the batch cannot fit in the free space of the directory's file system (of its
// nearest existing parent while it does not exist yet), counted in its blocks (BatchBytesNeeded).
// A directory whose space cannot be read is left to the first file to report.
void CheckBatchFits(const TBatchRange& range, std::string_view directory,
                    std::uint64_t bytesPerFile, std::string_view extension = "bmp");

// The same for any batch, each of its files bytesPerFile long; the files it replaces are found
// by their names.
void CheckBatchFits(const TBatchData& data, std::string_view directory, std::uint64_t bytesPerFile);

// What a front end shows while a batch runs. Each member may be left empty.
struct TBatchCallbacks {
    // The LED bar's position is now n; repaint it before returning.
    std::function<void(std::int32_t n)> Position;
    // The data field now holds text, the data being drawn.
    std::function<void(const std::string& text)> Data;
    // The file name box now holds name; returns what the box holds afterwards, which is the name
    // the file is written to. Left empty, name itself is used.
    std::function<std::string(const std::string& name)> FileName;
    // Looked at before each number: once a stop is requested the run ends there, between two
    // whole files.
    std::stop_token Stop;
    // Every file of a run that was not ended by a failure is written; the closing sync, which
    // may take a while, follows.
    std::function<void()> Written;
};

// What a batch does with each file: draws its data, the files in order, and writes what it drew.
class TBatchSteps {
public:
    virtual ~TBatchSteps() = default;
    // Returns what drawing the item's data raised; nothing is written for it then.
    virtual std::exception_ptr Draw(const TBatchItem& item) = 0;
    virtual void Write(const std::string& name) = 0;
};

// The run of every batch, with the steps that start makes for it: makes a missing destination
// with its parents (unless the batch is empty), then for each file until a stop is requested
// draws it, reports the position and the data, reports the file name and writes the data to the
// name reported back. The steps are let go before the file system of the files written is synced
// once at the end. The first exception ends the run and propagates; the files written before it
// stay.
void RunBatchSteps(const TBatchData& data, std::string_view directory,
                   const TBatchCallbacks& callbacks,
                   const std::function<std::unique_ptr<TBatchSteps>()>& start);

// Batch generation: first makes a missing destination with its parents (unless the range is
// empty); then, for each number n of the range in ascending order until a stop is requested,
// clears the image (ClearCodeImage), reports the position, reports n's decimal text as the data,
// draws the code image with that data and the inputs' symbology and switches (DrawCodeImage: the
// clearing is not repeated), reports the file name and writes the image to the name reported
// back, in the file options' format (BMP when unset; the names end in its extension). For BMP
// files number n + 1 is drawn while n is written (TDrawAhead); either way the image and the
// barcode hold number n from its position report on. Files are not flushed one by one: at the end,
// the file system of the files written is synced once. The first exception ends the run and
// propagates; the files written before it stay.
void RunBatch(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs,
              const TBatchRange& range, std::string_view directory,
              const TBatchCallbacks& callbacks, const TImageFileOptions& file = {});

// The same for any batch: each file's data drawn in turn, its position and data reported, and the
// image written to its name in the file options' format (BMP when unset), whatever the name.
void RunBatch(TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs,
              const TBatchData& data, std::string_view directory, const TBatchCallbacks& callbacks,
              const TImageFileOptions& file = {});
