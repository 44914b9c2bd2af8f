#pragma once

#include "Symbol.h"

class QPrinter;

// Prints the symbol on one page at its true size, its top-left corner at the top-left corner of
// the page's printable area. It is laid out at the printer's resolution, every module whole
// dots, and sent as shapes on those dots: the bars as rectangles and the line's glyphs as their
// outlines, so that nothing on the way resamples it. Raises "Cannot print to %s: %s" when the
// printer does not start or fails, or the job is cancelled.
void PrintSymbol(QPrinter& printer, const TBarcode& barcode, const TSymbolOptions& options);
