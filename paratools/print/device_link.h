// What the parameter tools need to know of the active device: whether one is
// online, its parameter base and its label. The application core answers
// this; until it has set an answer, the services' active base is used and the
// label is formed from the base's bus address and device type.
#pragma once

#include <functional>
#include <string>

class ParaBase;

struct ParaToolsDeviceLink {
    std::function<bool()> hasOnlineDevice;
    std::function<ParaBase*()> activeBase;
    std::function<std::string()> deviceLabel;
};

// Replaces the answers (a member left empty keeps the services' answer).
void SetParaToolsDeviceLink(ParaToolsDeviceLink link);

bool ToolsHaveOnlineDevice();
ParaBase* ToolsActiveBase();
// The active device's alias, else "<address>-<type text>".
std::string ToolsDeviceLabel();
