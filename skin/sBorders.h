#pragma once

#include "Color.h"
#include "Types.h"

#include <vector>

class TBitmap;

// Shapes a button face with a border mask: the state's corner cells go to the corners, the edge
// cells are tiled along the sides and the centre cell over the inside. A mask pixel of the
// transparent colour is not drawn (and, when `cut` is given, its run of such pixels in the row is
// added to `cut`, to be removed from the window's region); every other pixel becomes, per
// channel, (m * (256 - a) + b * a) div 256 of mask colour m, alpha a and face pixel b. Faces
// under 3 pixels wide or high are left alone. State: 0 normal, 1 hot, 2 pressed.
void ApplyBorderMask(TBitmap& face, const TBitmap& mask, int state, TColor transparent,
                     std::vector<TRect>* cut);
