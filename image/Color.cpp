#include "Color.h"

#include <array>

namespace {

// The classic desktop's values for system colours 0..30, as 0x00BBGGRR.
constexpr std::array<TColor, 31> SystemColors = {
    0xC8C8C8, // scroll bar
    0x000000, // desktop background
    0xD1B499, // active caption
    0xDBCDBF, // inactive caption
    0xF0F0F0, // menu
    0xFFFFFF, // window
    0x646464, // window frame
    0x000000, // menu text
    0x000000, // window text
    0x000000, // caption text
    0xB4B4B4, // active border
    0xFCF7F4, // inactive border
    0xABABAB, // application workspace
    0xD77800, // highlight
    0xFFFFFF, // highlight text
    0xF0F0F0, // button face
    0xA0A0A0, // button shadow
    0x6D6D6D, // grey text
    0x000000, // button text
    0x000000, // inactive caption text
    0xFFFFFF, // button highlight
    0x696969, // 3D dark shadow
    0xE3E3E3, // 3D light
    0x000000, // tooltip text
    0xE1FFFF, // tooltip background
    0x000000, // (unused index)
    0xCC6600, // hot-tracked item
    0xEAD1B9, // gradient active caption
    0xF2E4D7, // gradient inactive caption
    0xD77800, // menu highlight
    0xF0F0F0, // menu bar
};

} // namespace

TColor ColorToRGB(TColor color) {
    if (color >= 0) {
        return color;
    }
    const auto index = static_cast<std::uint32_t>(color) & 0xFF;
    return index < SystemColors.size() ? SystemColors[index] : clBlack;
}

std::uint32_t ColorToPixel(TColor color) {
    const auto rgb = static_cast<std::uint32_t>(ColorToRGB(color));
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
