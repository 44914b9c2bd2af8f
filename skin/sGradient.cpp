#include "sGradient.h"

#include "Bitmap.h"
#include "Exception.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <string>

namespace {

// Optional leading spaces, an optional sign and decimal digits that fit 32 bits.
std::int32_t DecimalWord(std::string_view word) {
    std::size_t i = 0;
    while (i < word.size() && word[i] == ' ') {
        ++i;
    }
    const bool negative = i < word.size() && word[i] == '-';
    if (i < word.size() && (word[i] == '-' || word[i] == '+')) {
        ++i;
    }
    long long value = 0;
    const std::size_t digits = i;
    for (; i < word.size() && word[i] >= '0' && word[i] <= '9'; ++i) {
        value = value * 10 + (word[i] - '0');
        if (value > 1LL + INT_MAX) {
            break;
        }
    }
    value = negative ? -value : value;
    if (i != word.size() || i == digits || value > INT_MAX || value < INT_MIN) {
        throw EConvertError("'" + std::string(word) + "' is not a valid integer value");
    }
    return static_cast<std::int32_t>(value);
}

std::vector<std::string_view> Words(std::string_view data) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start <= data.size()) {
        const std::size_t end = std::min(data.find(';', start), data.size());
        if (end > start) {
            words.push_back(data.substr(start, end - start));
        }
        start = end + 1;
    }
    return words;
}

using TChannels = std::array<double, 3>;

TChannels Channels(TColor color) {
    const auto rgb = static_cast<std::uint32_t>(ColorToRGB(color));
    return {double(rgb & 0xFF), double((rgb >> 8) & 0xFF), double((rgb >> 16) & 0xFF)};
}

// Round to nearest, halves to even (the default floating-point rounding mode).
std::uint32_t Pixel(const TChannels& c) {
    const auto channel = [](double v) {
        return static_cast<std::uint32_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
    };
    return (channel(c[0]) << 16) | (channel(c[1]) << 8) | channel(c[2]);
}

TChannels Step(const TsGradientSegment& s, int steps) {
    const TChannels a = Channels(s.Color1);
    const TChannels b = Channels(s.Color2);
    return {(b[0] - a[0]) / steps, (b[1] - a[1]) / steps, (b[2] - a[2]) / steps};
}

void PaintVertical(TBitmap& image, const TRect& r, const TsGradArray& segments) {
    const int height = r.Bottom - r.Top;
    const int lastRow = image.Height() - 1;
    int y = r.Top;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const bool last = k + 1 == segments.size();
        const int ystart = y;
        y = ystart + static_cast<int>(static_cast<long long>(height) * segments[k].Percent / 100);
        if (last) {
            y = lastRow;
        }
        if (y - ystart <= 0) {
            continue;
        }
        // Bands end inside the rectangle, not just inside the image, so a narrowed rectangle is
        // never painted past its bottom.
        if (last || y > r.Bottom - 1) {
            y = std::min(r.Bottom - 1, lastRow);
        }
        const int d = y - ystart;
        if (d <= 0) {
            return;
        }
        TChannels colour = Channels(segments[k].Color1);
        const TChannels step = Step(segments[k], d);
        for (int row = ystart; row <= y; ++row) {
            std::fill(image.ScanLine(row) + r.Left, image.ScanLine(row) + r.Right, Pixel(colour));
            for (int c = 0; c < 3; ++c) {
                colour[c] += step[c];
            }
        }
    }
}

void PaintHorizontal(TBitmap& image, const TRect& r, const TsGradArray& segments) {
    const int width = r.Right - r.Left;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(width));
    bool painted = false;
    std::vector<bool> written(static_cast<std::size_t>(width), false);
    int x = r.Left;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const int xstart = x;
        x = xstart + static_cast<int>(static_cast<long long>(width) * segments[k].Percent / 100);
        if (k + 1 == segments.size() || x > r.Right - 1) {
            x = r.Right - 1;
        }
        if (x - xstart <= 0) {
            continue;
        }
        TChannels colour = Channels(segments[k].Color1);
        const TChannels step = Step(segments[k], x - xstart);
        for (int px = xstart; px <= x; ++px) {
            line[px - r.Left] = Pixel(colour);
            written[px - r.Left] = true;
            painted = true;
            for (int c = 0; c < 3; ++c) {
                colour[c] += step[c];
            }
        }
    }
    if (!painted) {
        return;
    }
    // Every row gets the same bands, so the first row is computed once and copied.
    for (int row = r.Top; row < r.Bottom; ++row) {
        std::uint32_t* out = image.ScanLine(row) + r.Left;
        for (int i = 0; i < width; ++i) {
            if (written[i]) {
                out[i] = line[i];
            }
        }
    }
}

} // namespace

void ParseGradientData(std::string_view data, TsGradArray& into) {
    const std::vector<std::string_view> words = Words(data);
    into.assign(words.size() / 5, TsGradientSegment{});
    for (std::size_t k = 0; k < into.size(); ++k) {
        into[k].Color1 = DecimalWord(words[5 * k]);
        into[k].Color2 = DecimalWord(words[5 * k + 1]);
        into[k].Percent = static_cast<std::uint8_t>(DecimalWord(words[5 * k + 2]) & 0xFF);
        into[k].Direction = DecimalWord(words[5 * k + 3]);
    }
}

void PaintGrad(TBitmap& image, TRect rect, const TsGradArray& segments) {
    rect.Right = std::min(rect.Right, image.Width());
    rect.Bottom = std::min(rect.Bottom, image.Height());
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    if (segments.empty() || rect.Right <= rect.Left || rect.Bottom <= rect.Top) {
        return;
    }
    if (segments[0].Direction == 0) {
        PaintVertical(image, rect, segments);
    } else if (segments[0].Direction == 1) {
        PaintHorizontal(image, rect, segments);
    }
}
