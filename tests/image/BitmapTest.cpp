#include "Bitmap.h"
#include "Canvas.h"
#include "Color.h"
#include "Picture.h"

#include "Testing.h"

TEST(Color, SystemColoursResolveThroughTheClassicTable) {
    EXPECT_EQ(
        (std::vector{ColorToRGB(clBtnFace), ColorToRGB(clWindow), ColorToRGB(clWindowText),
                     ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow), ColorToRGB(clInfoBk)}),
        (std::vector<TColor>{0xF0F0F0, clWhite, clBlack, clWhite, 0xA0A0A0, 0xE1FFFF}));
}

TEST(Bitmap, ResizeKeepsTheTopLeftAndFillsNewPixelsWithTheBrush) {
    TBitmap image;
    image.SetWidth(3);
    EXPECT_TRUE(image.Empty()); // a width alone holds no pixels
    image.SetHeight(2);
    image.Canvas().Brush().Color = clRed;
    image.Canvas().FillRect({2, 1, 3, 2});
    image.Canvas().Brush().Color = clBlue;
    image.SetWidth(4);
    image.SetHeight(3);
    EXPECT_EQ(Art(image), (ArtRows{"...b", "..rb", "bbbb"}));

    // What shrinking drops does not come back; without pixels the image starts over.
    image.SetWidth(2);
    image.Canvas().Brush().Color = clLime;
    image.SetWidth(3);
    EXPECT_EQ(Art(image), (ArtRows{"..g", "..g", "bbg"}));
    image.SetHeight(0);
    EXPECT_TRUE(image.Empty());
    image.Canvas().Brush().Color = clBtnFace;
    image.SetHeight(1);
    EXPECT_EQ(CountPixels(image, 0xF0F0F0), 3);
}

TEST(Bitmap, KeepsItsCanvasAndCopiesDrawOnTheirOwnPixels) {
    TBitmap original = WhiteImage(2, 1);
    original.Canvas().Pen().Color = clRed;
    EXPECT_EQ(original.Canvas().Pen().Color, clRed);
    TBitmap copy(original);
    copy.Canvas().Brush().Color = clBlue;
    copy.Canvas().FillRect({0, 0, 2, 1});
    TBitmap assigned = WhiteImage(1, 1);
    assigned.Canvas();
    assigned = original;
    assigned.Canvas().Brush().Color = clLime;
    assigned.Canvas().FillRect({0, 0, 1, 1});
    EXPECT_EQ(Art(original), ArtRows{".."});
    EXPECT_EQ(Art(copy), ArtRows{"bb"});
    EXPECT_EQ(Art(assigned), ArtRows{"g."});
}

// Whatever shows a picture repaints on these calls: a new image or none, every drawing on its
// image, a resize. The picture keeps a copy of its own; copies of it are not watched.
TEST(Picture, KeepsItsOwnCopyAndReportsEveryChange) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    {
        TBitmap given = WhiteImage(4, 4);
        picture.SetBitmap(given);
        given.Canvas().Brush().Color = clRed;
        given.Canvas().FillRect({0, 0, 4, 4});
    }
    EXPECT_EQ(changes, 1);
    TBitmap& image = *picture.Bitmap();
    EXPECT_EQ(CountPixels(image, clWhite), 16);

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

    TBitmap copy = image;
    copy.Canvas().FillRect({0, 0, 1, 1});
    TPicture other;
    other.Assign(picture);
    other.Bitmap()->SetWidth(1);
    EXPECT_EQ(changes, 7);
    EXPECT_EQ(image.Width(), 5);

    picture.Assign(TPicture());
    EXPECT_EQ(picture.Bitmap(), nullptr);
    EXPECT_EQ(changes, 8);
}
