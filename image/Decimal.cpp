#include "Decimal.h"

#include <charconv>

std::string Decimal(double v, int decimals) {
    char text[400];
    const auto end =
        std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, decimals).ptr;
    std::string decimal(text, end);
    if (decimal.find('.') != std::string::npos) {
        decimal.erase(decimal.find_last_not_of('0') + 1);
        if (decimal.back() == '.') {
            decimal.pop_back();
        }
    }
    return decimal == "-0" ? "0" : decimal;
}
