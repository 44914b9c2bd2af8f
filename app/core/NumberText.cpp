#include "NumberText.h"

#include "Decimal.h"

#include <charconv>

std::string Grouped(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    }
    return digits;
}

std::string Number(double v) {
    return Decimal(v, 3);
}

std::optional<double> DecimalOf(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos ||
        std::from_chars(text.data(), end, value, std::chars_format::fixed).ptr != end) {
        return std::nullopt;
    }
    return value;
}
