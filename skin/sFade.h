#pragma once

class TBitmap;

enum TFadeDirection { fdNone, fdIn, fdOut };

// The counter and direction of a button's cross-fade between its normal and hot faces; the
// control drives it with a timer. Frames blend the face shown before the change (the snapshot)
// with the new one in the cache.
class TsFader {
public:
    enum TStepKind {
        skFrame,    // show the blended frame of Weight
        skFinished, // the fade is over: repaint the cache, stop the timer
        skStopped   // nothing to do: stop the timer
    };
    struct TStep {
        TStepKind Kind = skStopped;
        int Weight = 0; // how much of the snapshot (in) or of the new face (out) the frame keeps
    };

    int Counter() const { return FCounter; }
    TFadeDirection Direction() const { return FDirection; }
    void StartIn() {
        FCounter = 1;
        FDirection = fdIn;
    }
    // A fade-out goes back from wherever the counter stands.
    void StartOut() { FDirection = fdOut; }
    // A press or release ends a fade with the counter just below the last frame.
    void Halt(int iterations) {
        FDirection = fdNone;
        FCounter = iterations - 1;
    }
    // One timer tick of a fade with `iterations` intermediate frames; `gone` when the button is
    // missing or being destroyed.
    TStep Tick(int iterations, bool gone);

private:
    int FCounter = 0;
    TFadeDirection FDirection = fdNone;
};

// The frame of a fade: for fdIn the snapshot keeps weight/256 against the cache, for fdOut the
// cache keeps weight/256 against the snapshot. `frame` takes the images' size.
void FadeFrame(TBitmap& frame, const TBitmap& snapshot, const TBitmap& cache, TFadeDirection dir,
               int weight);
