#pragma once

#include "Barcode.h"
#include "Batch.h"
#include "Bitmap.h"
#include "CodeImage.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// What the window shows of a batch run, as the run last reported it: the LED bar's position,
// the data field, the file name box and the code image. What was not reported yet is empty.
struct TBatchView {
    std::optional<std::int32_t> Position;
    std::string Data;
    std::string FileName;
    TBitmap Image;
    // The files handed to the writer so far, and how many the batch holds. At the end of a run
    // that no failure ended, every file handed over is written: fewer than Count means stopped.
    std::int64_t Files = 0;
    std::int64_t Count = 0;
};

// Runs a batch of "Generate and save" or "Generate from list..." on a thread of its own, with its
// own copies of the barcode component and the code image, so that the window keeps answering while
// the files are written. The view reaches the window through queued calls, at most about 30 times a
// second while the run goes on, and once more, whole, at its end: as soon as the last file is
// written, while the closing sync still goes on. A failure, of the sync too, is reported with the
// view as it then stands.
class TBatchWorker : public QObject {
public:
    explicit TBatchWorker(QObject* parent = nullptr);
    // Stops a run and waits for it; nothing more is reported.
    ~TBatchWorker() override;

    // After Finish, when an earlier run may still be syncing. The run shares the batch's data
    // until it ends.
    void Start(const TBarcode& barcode, const TBitmap& image, const TCodeImageInputs& inputs,
               std::shared_ptr<const TBatchData> data, const std::string& directory);
    // From Start until the end is reported.
    bool Running() const { return FRunning; }
    // Asks the run to end once the file being written is whole.
    void Stop() { FThread.request_stop(); }
    // Waits for the run and its sync, and reports now, rather than through the queue, the end
    // or the failure not reported yet.
    void Finish();

    // On the window's thread, while the run goes on.
    std::function<void(const TBatchView& view)> OnProgress;
    // On the window's thread: the view at the end, the barcode component as the run left it and
    // the exception that ended the run, null when it ran to its end or was stopped. Once for a
    // run, or once more when its sync fails after its end.
    std::function<void(const TBatchView& view, const TBarcode& barcode, std::exception_ptr error)>
        OnFinished;

private:
    using Clock = std::chrono::steady_clock;

    void Run(std::stop_token stop, unsigned run);
    // On the worker: hands the view over when the window took the last one and a frame's time
    // has passed.
    void Publish(unsigned run);
    void DeliverProgress(unsigned run);
    // On the worker, once every file is written: hands the whole view over.
    void PublishEnd(unsigned run);
    void DeliverEnd(unsigned run);

    // Owned by the worker while it runs, by the window otherwise.
    TBarcode FBarcode;
    TBitmap FImage;
    TCodeImageInputs FInputs;
    std::shared_ptr<const TBatchData> FData;
    std::string FDirectory;
    TBatchView FView;
    std::exception_ptr FError;
    Clock::time_point FNextPublish;
    // The window's: counts the runs, so that a queued call of an earlier one is dropped.
    unsigned FRun = 0;
    bool FRunning = false;

    std::mutex FLock;
    TBatchView FPublished; // guarded by FLock
    bool FQueued = false;  // guarded by FLock: a progress call is on its way
    TBatchView FEnd;       // guarded by FLock
    TBarcode FEndBarcode;  // guarded by FLock
    // Last, so that it stops and joins before the members above go.
    std::jthread FThread;
};
