#pragma once

#include "Barcode.h"
#include "Batch.h"
#include "Bitmap.h"
#include "CodeImage.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Draws the data of a batch in order on a thread of its own, one file ahead of the caller: while
// the caller writes one file, the next is drawn into a second image, so that on two processors
// the drawing costs the batch no time. On one processor each file is drawn when it is asked for.
class TDrawAhead {
public:
    // The second image starts as a copy of image with the attributes of its canvas, the barcode
    // as a copy of barcode; drawing the first datum the reader gives starts at once. Without
    // ahead, each datum is drawn when it is asked for, as on one processor.
    TDrawAhead(const TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs,
               std::unique_ptr<TBatchReader> data, bool ahead = true);
    // Stops drawing ahead and waits for the thread.
    ~TDrawAhead();
    TDrawAhead(const TDrawAhead&) = delete;
    TDrawAhead& operator=(const TDrawAhead&) = delete;

    // Waits for the next datum, composed as ComposeCodeImage composes it, and swaps it in:
    // image's pixels and barcode come back holding it, while their old contents are cleared and
    // drawn over for the datum after. Returns what drawing the datum raised, its image then
    // holding what was drawn before the failure, and nothing is drawn after it. Called at most
    // once for each datum.
    std::exception_ptr Next(TBitmap& image, TBarcode& barcode);
    // Runs write, which replaces the file name. Where drawing runs ahead, the old file of that
    // name is kept open meanwhile and let go on the drawing thread, so that its space is given
    // back there and not in the writer's time; what the thread has not let go of by the next
    // Write, or by the end, is let go then.
    void Write(const std::string& name, const std::function<void()>& write);

private:
    // Composes the next datum in FImage; returns what the drawing raised. False when the data
    // are at their end.
    bool Draw(std::exception_ptr& error);
    void Run();
    // Closes the files and empties the list.
    static void LetGo(std::vector<int>& files);

    TBarcode FBarcode;
    TBitmap FImage;
    TCodeImageInputs FInputs;
    std::unique_ptr<TBatchReader> FData;
    TBatchItem FItem;
    std::mutex FLock;
    std::condition_variable FChanged;
    // The number drawn last waits for Next.
    bool FReady = false;
    bool FStopping = false;
    std::exception_ptr FError;
    // Files replaced by now, held open until the drawing thread lets them go.
    std::vector<int> FOld;
    std::thread FThread;
};
