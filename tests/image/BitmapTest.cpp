#include "Bitmap.h"
#include "Canvas.h"
#include "Picture.h"

#include "Pixels.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(Bitmap, NeedsBothDimensionsForPixels) {
    TBitmap image;
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
    EXPECT_TRUE(image.Empty());
    image.SetWidth(3);
    EXPECT_TRUE(image.Empty());
    image.SetHeight(2);
    ASSERT_FALSE(image.Empty());
    EXPECT_EQ(CountPixels(image, clWhite), 6);

    image.SetHeight(0);
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 0);
}

TEST(Bitmap, ResizeKeepsTheTopLeftAndFillsTheRestWhite) {
    TBitmap image = WhiteImage(3, 2);
    image.Canvas().Brush().Color = clRed;
    image.Canvas().FillRect({2, 1, 3, 2});
    image.Canvas().Brush().Color = clWhite;

    image.SetWidth(5);
    image.SetHeight(4);
    EXPECT_EQ(image.Pixel(2, 1), clRed);
    EXPECT_EQ(CountPixels(image, clRed), 1);
    EXPECT_EQ(CountPixels(image, clWhite), 19);

    // Shrinking drops the red pixel; growing again does not bring it back.
    image.SetWidth(2);
    EXPECT_EQ(CountPixels(image, clRed), 0);
    image.SetWidth(3);
    EXPECT_EQ(CountPixels(image, clWhite), 12);
}

TEST(Bitmap, NewPixelsTakeTheCanvasBrushColour) {
    TBitmap image = WhiteImage(2, 2);
    image.Canvas().Brush().Color = clBtnFace;
    image.SetWidth(3);
    EXPECT_EQ(CountPixels(image, clWhite), 4);
    EXPECT_EQ(image.Pixel(2, 0), 0xF0F0F0);
    EXPECT_EQ(image.Pixel(2, 1), 0xF0F0F0);

    // After losing its pixels the image starts over in the brush colour.
    image.Canvas().Brush().Color = clLime;
    image.SetHeight(0);
    image.SetHeight(2);
    EXPECT_EQ(CountPixels(image, clLime), 6);
}

TEST(Bitmap, CanvasIsKeptAndCopiesDrawOnTheirOwnPixels) {
    TBitmap original = WhiteImage(2, 1);
    TCanvas& canvas = original.Canvas();
    canvas.Pen().Color = clRed;
    EXPECT_EQ(&original.Canvas(), &canvas);
    EXPECT_EQ(original.Canvas().Pen().Color, clRed);

    TBitmap copy(original);
    copy.Canvas().Brush().Color = clBlue;
    copy.Canvas().FillRect({0, 0, 2, 1});
    TBitmap assigned = WhiteImage(1, 1);
    assigned.Canvas();
    assigned = original;
    assigned.Canvas().Brush().Color = clLime;
    assigned.Canvas().FillRect({0, 0, 1, 1});

    EXPECT_EQ(CountPixels(original, clWhite), 2);
    EXPECT_EQ(CountPixels(copy, clBlue), 2);
    EXPECT_EQ(assigned.Width(), 2);
    EXPECT_EQ(assigned.Pixel(0, 0), clLime);
    EXPECT_EQ(assigned.Pixel(1, 0), clWhite);
}

TEST(Picture, KeepsItsOwnCopyOfTheImage) {
    TPicture picture;
    EXPECT_EQ(picture.Bitmap(), nullptr);
    {
        auto image = std::make_unique<TBitmap>(WhiteImage(2, 2));
        picture.SetBitmap(*image);
        image->Canvas().Brush().Color = clRed;
        image->Canvas().FillRect({0, 0, 2, 2});
    }
    ASSERT_NE(picture.Bitmap(), nullptr);
    EXPECT_EQ(CountPixels(*picture.Bitmap(), clWhite), 4);
    picture.Clear();
    EXPECT_EQ(picture.Bitmap(), nullptr);
}

// Whatever shows a picture repaints on these calls: every drawing on its image, a resize, a new
// image or none. A copy of the image is not watched.
TEST(Picture, ReportsEveryChangeOfItsImage) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.SetBitmap(WhiteImage(4, 4));
    EXPECT_EQ(changes, 1);

    TBitmap& image = *picture.Bitmap();
    TCanvas& canvas = image.Canvas();
    TBitmap source = WhiteImage(2, 2);
    const TPoint square[] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    canvas.FillRect({0, 0, 1, 1});
    canvas.TextOut(0, 0, "a");
    canvas.TextRect({0, 0, 2, 2}, 0, 0, "b");
    canvas.Polygon(square);
    canvas.CopyRect({0, 0, 2, 2}, source.Canvas(), {0, 0, 2, 2});
    image.SetWidth(5);
    EXPECT_EQ(changes, 7);
    canvas.Brush().Style = TBrushStyle::bsClear;
    canvas.FillRect({0, 0, 1, 1}); // paints nothing
    EXPECT_EQ(changes, 7);

    TBitmap copy = image;
    copy.Canvas().FillRect({0, 0, 1, 1});
    TPicture other;
    other.Assign(picture);
    other.Bitmap()->SetWidth(1);
    EXPECT_EQ(changes, 7);
    ASSERT_NE(other.Bitmap(), picture.Bitmap());

    picture.Assign(TPicture());
    EXPECT_EQ(picture.Bitmap(), nullptr);
    EXPECT_EQ(changes, 8);
}

} // namespace
