// The firmware text profile of a device: the version profile ("IXT" in the
// language directory) with the firmware's own texts loaded on top. Value
// texts of PLC operands and similar are looked up in it.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/profile/gw_profile.h"

class DeviceSetupContext;
class dstring;

// Extension of the version profiles.
inline constexpr char kVersionProfileExtension[] = "IXT";

class FirmwareTexts {
public:
    // Reads 91 and 92 by the context's read rule, looks for the version
    // profile in the language directory (other versions allowed), keeps its
    // path when found, and reloads. A failed read changes nothing.
    void LoadVersionProfile(DeviceSetupContext& context);
    // Empties the profile, then loads the kept path when there is one.
    void Reload();
    // Loads "..\FIRMDATA\<name>.txt" on top of what is held.
    void LoadFirmwareFile(const char* name);
    // The text of value `value` of parameter `number` as the "Dispatcher"
    // section routes it, appended to `out` (" = " between a prefix and the
    // text). False when the route ends in a missing selected section: the
    // caller then gives the plain number.
    bool AppendValueText(DeviceSetupContext& context, dstring& out, int number, int32_t value);
    // `out` (holding a prefix or empty) with the value's text appended; the
    // plain number when that gives nothing or the route ends in a missing
    // section.
    void ValueText(DeviceSetupContext& context, dstring& out, int number, int32_t value);

    GwProfile& Profile() { return profile_; }
    const std::string& Path() const { return path_; }

private:
    GwProfile profile_;
    std::string path_;
};
