#include "DrawAhead.h"

#include "Canvas.h"

#include <fcntl.h>
#include <sched.h>
#include <string>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

// Drawing ahead pays only where the process may run on two processors at once; on one, the
// thread's switches would cost more than they save.
bool TwoProcessors() {
    cpu_set_t set;
    return sched_getaffinity(0, sizeof set, &set) != 0 || CPU_COUNT(&set) > 1;
}

} // namespace

TDrawAhead::TDrawAhead(const TBarcode& barcode, TBitmap& image, const TCodeImageInputs& inputs,
                       const TBatchRange& range, std::function<std::string(std::int32_t n)> fileOf)
    : FBarcode(barcode), FImage(image), FInputs(inputs), FRange(range), FNext(range.From),
      FFileOf(std::move(fileOf)) {
    // Clearing and text take the canvas's brush and font: the same as in the caller's image.
    TCanvas& from = image.Canvas();
    TCanvas& to = FImage.Canvas();
    to.Pen() = from.Pen();
    to.Brush() = from.Brush();
    to.Font() = from.Font();
    to.SetTextMode(from.TextMode());
    to.MoveTo(from.PenPos().x, from.PenPos().y);
    if (TwoProcessors()) {
        try {
            FThread = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            // Without a thread each number is drawn when it is asked for.
        }
    }
}

TDrawAhead::~TDrawAhead() {
    if (FThread.joinable()) {
        {
            const std::lock_guard guard(FLock);
            FStopping = true;
        }
        FChanged.notify_all();
        FThread.join();
    }
    for (const int old : FOld) {
        if (old >= 0) {
            close(old);
        }
    }
}

std::exception_ptr TDrawAhead::Draw() {
    FInputs.Data = std::to_string(FNext++);
    try {
        ComposeCodeImage(FBarcode, FImage, FInputs);
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

void TDrawAhead::Run() {
    while (FNext <= FRange.To) {
        {
            std::unique_lock lock(FLock);
            FChanged.wait(lock, [this] { return !FReady || FStopping; });
            if (FStopping) {
                return;
            }
        }
        int& old = FOld[static_cast<std::size_t>(FNext & 1)];
        if (old >= 0) {
            close(old);
        }
        old = open(FFileOf(static_cast<std::int32_t>(FNext)).c_str(),
                   O_PATH | O_NOFOLLOW | O_CLOEXEC);
        std::exception_ptr error = Draw();
        const bool failed = error != nullptr;
        {
            const std::lock_guard guard(FLock);
            FError = std::move(error);
            FReady = true;
        }
        FChanged.notify_all();
        if (failed) {
            return;
        }
    }
}

std::exception_ptr TDrawAhead::Next(TBitmap& image, TBarcode& barcode) {
    if (!FThread.joinable()) {
        FError = Draw();
        FReady = true;
    }
    std::unique_lock lock(FLock);
    FChanged.wait(lock, [this] { return FReady; });
    image.SwapPixels(FImage);
    std::swap(barcode, FBarcode);
    std::exception_ptr error = FError;
    FReady = false;
    lock.unlock();
    FChanged.notify_all();
    return error;
}
