// The virtual screen the model's frames live on: its size (1280 x 1024
// unless set; a renderer sets the real one), the stacking order of the
// top-level windows and the active window. A frame's rectangle is relative
// to the screen, every other widget's to its parent.
#pragma once

#include <vector>

#include "toolkit/core/gw_types.h"

class GwCore;

constexpr GwDimension kGwDefaultScreenSize{1280, 1024};

void GwSetScreenSize(GwDimension size);
GwDimension GwScreenSize();
// Frames from bottom to top, the live ones only.
std::vector<GwCore*> GwStackingOrder();
// The frame raised last that is still live and visible, or null.
GwCore* GwActiveWindow();
