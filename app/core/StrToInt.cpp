#include "StrToInt.h"

#include "Exception.h"

#include <string>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::int32_t StrToInt(std::string_view text) {
    const auto refuse = [&]() -> std::int32_t {
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    };
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos) {
        return refuse();
    }
    std::string_view rest = text.substr(i);
    std::size_t prefix = 0;
    if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
        prefix = 1;
    } else if (rest.size() > 1 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        prefix = 2;
    }
    if (prefix > 0) {
        const std::string_view digits = rest.substr(prefix);
        std::uint64_t value = 0;
        for (const char c : digits) {
            const int d = HexDigit(c);
            if (d < 0) {
                return refuse();
            }
            value = value * 16 + static_cast<unsigned>(d);
            if (value > 0xFFFFFFFFu) {
                return refuse();
            }
        }
        if (digits.empty()) {
            return refuse();
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    const bool negative = rest[0] == '-';
    if (rest[0] == '-' || rest[0] == '+') {
        rest.remove_prefix(1);
    }
    if (rest.empty()) {
        return refuse();
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (const char c : rest) {
        if (c < '0' || c > '9') {
            return refuse();
        }
        value = value * 10 + (c - '0');
        if (value > limit) {
            return refuse();
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}
