#include "Color.h"
#include "Canvas.h"

#include "Pixels.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(Color, SystemColoursResolveThroughTheClassicTable) {
    EXPECT_EQ(static_cast<std::uint32_t>(clWindowText), 0x80000008u);
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0x8000000Fu);
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnHighlight), 0x80000014u);

    const struct {
        TColor System;
        TColor Rgb;
    } table[] = {
        {clBtnFace, 0xF0F0F0},     {clWindow, clWhite},     {clWindowText, clBlack},
        {clBtnHighlight, clWhite}, {clBtnShadow, 0xA0A0A0}, {clInfoBk, 0xE1FFFF},
    };
    for (const auto& row : table) {
        EXPECT_EQ(ColorToRGB(row.System), row.Rgb) << std::hex << row.System;
    }
    for (const TColor direct : {clBlack, clRed, clLime, clBlue, clWhite, TColor{0x123456}}) {
        EXPECT_EQ(ColorToRGB(direct), direct);
    }
}

TEST(Color, PixelsHoldRedGreenBlueFromTheHighByteDown) {
    EXPECT_EQ(ColorToPixel(clRed), 0x00FF0000u);
    EXPECT_EQ(ColorToPixel(clLime), 0x0000FF00u);
    EXPECT_EQ(ColorToPixel(clBlue), 0x000000FFu);
    EXPECT_EQ(ColorToPixel(0x123456), 0x00563412u);
    // clInfoBk is 0xE1FFFF as 0x00BBGGRR: red and green full, blue 0xE1.
    EXPECT_EQ(ColorToPixel(clInfoBk), 0x00FFFFE1u);
    EXPECT_EQ(PixelToColor(0x00563412u), 0x123456);
}

TEST(Color, DrawingStoresTheResolvedColour) {
    TBitmap image = WhiteImage(2, 1);
    image.Canvas().Brush().Color = clInfoBk;
    image.Canvas().FillRect({1, 0, 2, 1});
    EXPECT_EQ(image.Pixel(0, 0), clWhite);
    EXPECT_EQ(image.Pixel(1, 0), 0xE1FFFF);
    EXPECT_EQ(image.ScanLine(0)[1], 0x00FFFFE1u);
}

} // namespace
