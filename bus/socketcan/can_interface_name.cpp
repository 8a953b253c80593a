#include "bus/socketcan/can_interface_name.h"

#include <net/if.h>

#include <cstdlib>

#include "platform/files/registry_store.h"

namespace socketcan {

namespace {
// Longer data is no interface name anyway; it is read only to be refused.
constexpr size_t kMaxSettingBytes = 256;
}  // namespace

std::string ChosenCanInterface() {
    if (const char* name = std::getenv(kCanInterfaceVariable); name != nullptr && name[0] != '\0') return name;
    std::string stored;
    if (platform::TheRegistry().ReadValue(kCanSettingsKey, kCanInterfaceValue, kMaxSettingBytes, &stored) ==
            platform::RegistryStatus::kOk &&
        !stored.empty())
        return stored;
    return kDefaultCanInterface;
}

bool IsInterfaceName(std::string_view name) {
    if (name.empty() || name.size() >= IFNAMSIZ || name == "." || name == "..") return false;
    for (char c : name)
        if (c == '/' || c == ':' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' ||
            c == '\0')
            return false;
    return true;
}

}  // namespace socketcan
