// The manual device-control windows: "DeviceControl" and the windows whose
// names contain "_AOC_".
#pragma once

class ParaBase;

inline constexpr char kDeviceControlWindow[] = "DeviceControl";
inline constexpr char kDeviceControlNamePart[] = "_AOC_";

// Whether the window list holds one of them.
bool IsDeviceControlOpen(ParaBase* base);
// Closes every listed one.
void CloseDeviceControlWindows(ParaBase* base);
