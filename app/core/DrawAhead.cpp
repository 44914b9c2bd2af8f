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
                       std::unique_ptr<TBatchReader> data, bool ahead)
    : FBarcode(barcode), FImage(image), FInputs(inputs), FData(std::move(data)) {
    // Clearing and text take the canvas's brush and font: the same as in the caller's image.
    FImage.Canvas().TakeAttributes(image.Canvas());
    if (ahead && TwoProcessors()) {
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
    LetGo(FOld);
}

void TDrawAhead::LetGo(std::vector<int>& files) {
    for (const int file : files) {
        close(file);
    }
    files.clear();
}

bool TDrawAhead::Draw(std::exception_ptr& error) {
    if (!FData->Next(FItem)) {
        return false;
    }
    FInputs.Data = std::move(FItem.Data);
    try {
        ComposeCodeImage(FBarcode, FImage, FInputs);
        error = nullptr;
    } catch (...) {
        error = std::current_exception();
    }
    return true;
}

void TDrawAhead::Run() {
    std::vector<int> replaced;
    for (;;) {
        {
            std::unique_lock lock(FLock);
            FChanged.wait(lock, [this] { return !FReady || FStopping; });
            if (FStopping) {
                return;
            }
            replaced.swap(FOld);
        }
        LetGo(replaced);
        std::exception_ptr error;
        if (!Draw(error)) {
            return;
        }
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

void TDrawAhead::Write(const std::string& name, const std::function<void()>& write) {
    // What the drawing thread has not let go of yet goes now: the free-space check counts on no
    // more than the file being written standing beside the files written.
    std::vector<int> late;
    {
        const std::lock_guard guard(FLock);
        late.swap(FOld);
    }
    LetGo(late);
    const int old = FThread.joinable() ? open(name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC) : -1;
    const auto handOver = [&] {
        if (old >= 0) {
            const std::lock_guard guard(FLock);
            FOld.push_back(old);
        }
    };
    try {
        write();
    } catch (...) {
        handOver();
        throw;
    }
    handOver();
}

std::exception_ptr TDrawAhead::Next(TBitmap& image, TBarcode& barcode) {
    if (!FThread.joinable()) {
        Draw(FError);
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
