#pragma once

#include "Color.h"
#include "Types.h"

#include <optional>
#include <vector>

class TBitmap;

// Shapes a button face with a border mask: the state's corner cells go to the corners, the edge
// cells are tiled along the sides and the centre cell over the inside. A mask pixel of the
// transparent colour is not drawn (and, when `cut` is given, its run of such pixels in the row is
// added to `cut`, to be removed from the window's region); every other pixel becomes, per
// channel, (m * (256 - a) + b * a) div 256 of mask colour m, alpha a and face pixel b. Faces
// under 3 pixels wide or high are left alone. State: 0 normal, 1 hot, 2 pressed. With an
// `outside` colour, pixels outside the button are painted in it: a face in device pixels has
// cut-out pixels that the window's region, made of whole control pixels, cannot remove.
void ApplyBorderMask(TBitmap& face, const TBitmap& mask, int state, TColor transparent,
                     std::vector<TRect>* cut, std::optional<TColor> outside = std::nullopt);

// The window's region for a face painted at the scale: of the device pixels cut out (one-row
// runs), the control pixels of a width × height control all of whose device pixels are cut, as
// one-row runs.
std::vector<TRect> ControlPixelsCut(const std::vector<TRect>& deviceCut, int width, int height,
                                    double scale);
