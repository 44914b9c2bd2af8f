#pragma once

#include "Barcode.h"
#include "Batch.h"
#include "Bitmap.h"
#include "CodeImage.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// Draws the numbers of a batch range in order on a thread of its own, one number ahead of the
// caller: while the caller writes number n, n + 1 is drawn into a second image, so that on two
// processors the drawing costs the batch no time. On one processor each number is drawn when it
// is asked for. Where the number's file exists already, it is held open (O_PATH) until it has
// been replaced: the old file's space is then given back on this thread, not on the writer's.
class TDrawAhead {
public:
    // The second image starts as a copy of image with the attributes of its canvas, the barcode
    // as a copy of barcode; drawing the range's first number starts at once. fileOf names the
    // file a number is written to.
    TDrawAhead(const TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs,
               const TBatchRange& range, std::function<std::string(std::int32_t n)> fileOf);
    // Stops drawing ahead and waits for the thread.
    ~TDrawAhead();
    TDrawAhead(const TDrawAhead&) = delete;
    TDrawAhead& operator=(const TDrawAhead&) = delete;

    // Waits for the next number of the range, composed as ComposeCodeImage composes it, and swaps
    // it in: image's pixels and barcode come back holding it, while their old contents are
    // cleared and drawn over for the number after. Returns what drawing the number raised, its
    // image then holding what was drawn before the failure, and nothing is drawn after it. Called
    // at most once for each number of the range.
    std::exception_ptr Next(TBitmap& image, TBarcode& barcode);

private:
    // Composes number FNext in FImage and moves on; returns what the drawing raised.
    std::exception_ptr Draw();
    void Run();

    TBarcode FBarcode;
    TBitmap FImage;
    TCodeImageInputs FInputs;
    TBatchRange FRange;
    std::int64_t FNext;
    std::function<std::string(std::int32_t n)> FFileOf;
    // The old files of the last two numbers drawn, or -1: number n's is closed once n + 2 may
    // be drawn, which is when n is written.
    std::array<int, 2> FOld{-1, -1};
    std::mutex FLock;
    std::condition_variable FChanged;
    // The number drawn last waits for Next.
    bool FReady = false;
    bool FStopping = false;
    std::exception_ptr FError;
    std::thread FThread;
};
