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
// Whether a frame at that rectangle can be reached on the screen: at least
// kGwReachableSpan units of it in each direction (all of it when smaller)
// lie on the screen.
constexpr int kGwReachableSpan = 40;
bool GwOnScreen(const GwRect& rect);
// The user gave a frame a new size with the window manager (a renderer
// reports it here): the frame takes it and its client area follows. False
// for a widget that is not a live frame.
bool GwUserResizeWindow(GwCore* frame, GwDimension size);
// Frames from bottom to top, the live ones only.
std::vector<GwCore*> GwStackingOrder();
// The frame raised last that is still live and visible, or null.
GwCore* GwActiveWindow();
