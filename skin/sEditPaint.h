#pragma once

class TBitmap;
class TsEditorStyle;

// The edit's look in an image of the whole control: everything in the field colour, then the
// border lines of the 3-pixel frame. While hot (with msBorder) the lines follow
// Selection.Border; otherwise Painting.Bevel with the painting's border width (0: no lines). At a
// scale the image is in device pixels and each line as many pixels thick.
void PaintEditFrame(TBitmap& image, const TsEditorStyle& style, double scale = 1);

// The non-client frame's width on every side.
inline constexpr int EditFrameWidth = 3;
