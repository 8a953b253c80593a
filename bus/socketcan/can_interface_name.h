// Which SocketCAN interface the adapter libraries use: the environment
// variable TORVAN_CAN_INTERFACE, else the value "Interface" under
// HKEY_CURRENT_USER\Software\Torvan\CAN in the registry store, else can0.
#pragma once

#include <string>
#include <string_view>

namespace socketcan {

inline constexpr char kCanInterfaceVariable[] = "TORVAN_CAN_INTERFACE";
inline constexpr std::string_view kCanSettingsKey = "HKEY_CURRENT_USER\\Software\\Torvan\\CAN";
inline constexpr std::string_view kCanInterfaceValue = "Interface";
inline constexpr char kDefaultCanInterface[] = "can0";

// The interface's name as configured now (an empty setting counts as none).
std::string ChosenCanInterface();

// Whether the kernel can have an interface of this name: 1 to 15 bytes, not
// "." or "..", without '/', ':' or white space.
bool IsInterfaceName(std::string_view name);

}  // namespace socketcan
