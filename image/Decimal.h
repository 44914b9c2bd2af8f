#pragma once

#include <string>

// v with at most `decimals` decimals, without trailing zeros, and a full stop for the decimal
// point whatever the locale ("0.33", "2.25", "10"; never "-0").
std::string Decimal(double v, int decimals);
