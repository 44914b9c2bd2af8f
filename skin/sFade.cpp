#include "sFade.h"

#include "Bitmap.h"
#include "sGraphUtils.h"

TsFader::TStep TsFader::Tick(int iterations, bool gone) {
    bool finished = false;
    if (gone) {
        FDirection = fdNone;
    } else if (FCounter > iterations) {
        --FCounter;
        FDirection = fdNone;
        finished = true;
    } else if (FCounter < 0) {
        ++FCounter;
        FDirection = fdNone;
        finished = true;
    } else if (iterations == 0) {
        // No intermediate frames: the new face at once, and no division by zero.
        FDirection = fdNone;
        finished = true;
    }
    if (FDirection == fdNone) {
        return {finished ? skFinished : skStopped, 0};
    }
    const int weight = 255 - FCounter * 255 / iterations;
    FCounter += FDirection == fdIn ? 1 : -1;
    return {skFrame, weight};
}

void FadeFrame(TBitmap& frame, const TBitmap& snapshot, const TBitmap& cache, TFadeDirection dir,
               int weight) {
    frame = dir == fdIn ? snapshot : cache;
    BlendBitmap(frame, dir == fdIn ? cache : snapshot, weight);
}
