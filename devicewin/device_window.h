// Device windows by name: the variant of a window that fits the device's
// family and firmware line, and closing a device window with its dialogs.
#pragma once

#include <string>
#include <vector>

#include "toolkit/core/gw_event.h"

class GwCore;
class ParaBase;

// The names tried for `name`, in order: family, firmware line of parameter
// 92 and the base name; the same with the line of parameter 90; family and
// base name; the name as given. The family is the stored parameter 91 /
// 1000, the lines the stored values truncated with their last digit 0. The
// base name is the name without a leading "<digit>_" or "<digit>_<nnn>_"
// prefix, empty when it has neither.
std::vector<std::string> DeviceWindowCandidates(const std::string& name, ParaBase* base);
// The first candidate that the window list holds visible, or that the
// definitions make as a child of `parent`; null when none exists.
GwCore* LoadDeviceWindowForVersion(GwCore* parent, std::string name, ParaBase* base);
// Destroys the dialogs of the window's frame, then closes the window through
// the window list. Bound to the hide of a window of close mode 2, it
// destroys the window that the list no longer holds. Returns 1.
int CB_CloseDeviceWindow(GwCore* window, GwEvent* event, GwUD userData);
