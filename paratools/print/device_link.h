// What the parameter tools ask of the application object about the active
// device: whether one is online, its parameter base and its label.
#pragma once

#include <string>

class ParaBase;

bool ToolsHaveOnlineDevice();
// The active device's parameter base, or null.
ParaBase* ToolsActiveBase();
// The active device's alias, else "<address>-<type text>"; empty without the
// application object.
std::string ToolsDeviceLabel();
