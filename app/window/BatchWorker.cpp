#include "BatchWorker.h"

#include <QMetaObject>

#include <utility>

namespace {

// The window's share of the run's progress: about 30 frames a second.
constexpr std::chrono::milliseconds FrameTime{33};

} // namespace

TBatchWorker::TBatchWorker(QObject* parent) : QObject(parent) {}

TBatchWorker::~TBatchWorker() {
    if (FThread.joinable()) {
        FThread.request_stop();
        FThread.join();
    }
}

void TBatchWorker::Start(const TBarcode& barcode, const TBitmap& image,
                         const TCodeImageInputs& inputs, std::shared_ptr<const TBatchData> data,
                         const std::string& directory) {
    FBarcode = barcode;
    FImage = image;
    FInputs = inputs;
    FData = std::move(data);
    FDirectory = directory;
    FView = {};
    FView.Count = FData->Count();
    FError = nullptr;
    FNextPublish = {};
    FRunning = true;
    const unsigned run = ++FRun;
    FThread = std::jthread([this, run](std::stop_token stop) { Run(std::move(stop), run); });
}

void TBatchWorker::Run(std::stop_token stop, unsigned run) {
    TBatchCallbacks callbacks;
    callbacks.Position = [this](std::int32_t n) { FView.Position = n; };
    callbacks.Data = [this](const std::string& text) { FView.Data = text; };
    // Called once the image is drawn, just before it is written.
    callbacks.FileName = [this, run](const std::string& name) {
        FView.FileName = name;
        ++FView.Files;
        Publish(run);
        return name;
    };
    callbacks.Stop = std::move(stop);
    callbacks.Written = [this, run] { PublishEnd(run); };
    try {
        RunBatch(FBarcode, FImage, FInputs, *FData, FDirectory, callbacks);
    } catch (...) {
        FError = std::current_exception();
    }
    QMetaObject::invokeMethod(
        this,
        [this, run] {
            if (run == FRun) {
                Finish();
            }
        },
        Qt::QueuedConnection);
}

void TBatchWorker::Publish(unsigned run) {
    const Clock::time_point now = Clock::now();
    if (now < FNextPublish) {
        return;
    }
    const std::lock_guard guard(FLock);
    if (FQueued) {
        return;
    }
    FNextPublish = now + FrameTime;
    FPublished.Position = FView.Position;
    FPublished.Data = FView.Data;
    FPublished.FileName = FView.FileName;
    FPublished.Files = FView.Files;
    FPublished.Count = FView.Count;
    FPublished.Image = FImage;
    FQueued = true;
    QMetaObject::invokeMethod(
        this, [this, run] { DeliverProgress(run); }, Qt::QueuedConnection);
}

void TBatchWorker::DeliverProgress(unsigned run) {
    TBatchView view;
    {
        const std::lock_guard guard(FLock);
        if (run != FRun || !FRunning || !FQueued) {
            return;
        }
        std::swap(view, FPublished);
        FQueued = false;
    }
    if (OnProgress) {
        OnProgress(view);
    }
}

void TBatchWorker::PublishEnd(unsigned run) {
    {
        const std::lock_guard guard(FLock);
        FEnd = FView;
        FEnd.Image = FImage;
        FEndBarcode = FBarcode;
    }
    QMetaObject::invokeMethod(
        this, [this, run] { DeliverEnd(run); }, Qt::QueuedConnection);
}

void TBatchWorker::DeliverEnd(unsigned run) {
    if (run != FRun || !FRunning) {
        return;
    }
    FRunning = false;
    TBatchView view;
    TBarcode barcode;
    {
        const std::lock_guard guard(FLock);
        std::swap(view, FEnd);
        barcode = FEndBarcode;
    }
    if (OnFinished) {
        OnFinished(view, barcode, nullptr);
    }
}

void TBatchWorker::Finish() {
    if (!FThread.joinable()) {
        return;
    }
    FThread.join();
    {
        // A progress call still queued would show less than the end does.
        const std::lock_guard guard(FLock);
        FQueued = false;
    }
    const bool shown = !FRunning;
    FRunning = false;
    if ((!shown || FError) && OnFinished) {
        FView.Image = FImage;
        OnFinished(FView, FBarcode, std::exchange(FError, nullptr));
    }
}
