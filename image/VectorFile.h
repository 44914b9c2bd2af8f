#pragma once

#include "PrintDrawing.h"

#include <cstdint>
#include <vector>

enum class TVectorFormat : std::uint8_t { Pdf, Eps };

// The PDF (one page) or EPS file of a print drawing through cairo, its page or bounding box the
// drawing's size, its fonts embedded as subsets. Cairo is loaded with the first such file, so
// that nothing else pays for it; a system without it raises "Cannot write PDF or EPS: %s".
std::vector<std::uint8_t> EncodeVector(const TPrintDrawing& drawing, TVectorFormat format);
