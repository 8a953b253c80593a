// The found-device list and the records' display texts, rebuilt from the
// active bus's device table after every search, scan and uncoupling.
#include <cstring>

#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "platform/base/format.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kAliasName[] = "NAME";
constexpr char kAliasSection[] = "AliasNames";

bool IsAliasParameterName(const char* name, size_t size) {
    dstring text(std::string(name, strnlen(name, size)).c_str());
    text.TrimLeft(' ');
    text.TrimRight(' ');
    return text.View() == kAliasName;
}

void FillRecordTexts(DataBus& bus, int address, BusDeviceRecord& record) {
    record.typeText = dstring(GetDeviceTypeName(record.typeNumber));
    ParameterEntry entry;
    bool notPresent = false;
    if (bus.ReadParameterInfo(kAliasParameter, entry, notPresent, address) && !notPresent &&
        IsAliasParameterName(entry.name, sizeof entry.name)) {
        dstring alias;
        if (!bus.ReadParameterText(kAliasParameter, alias, address)) alias.Clear();
        record.alias = alias;
    }
    GwProfile* profile = MainProfile();
    const std::string key = platform::Format("Device%02u", static_cast<unsigned>(address));
    if (profile != nullptr && profile->select_section(kAliasSection) && profile->key_exists(key.c_str())) {
        record.alias = dstring(profile->read(key.c_str()));
    }
    record.hasAlias = record.alias.Length() > 0;
}

}  // namespace

void RebuildDeviceList() {
    Main* main = GetMain();
    if (main == nullptr) return;
    std::array<int32_t, kBusDeviceSlots>& found = main->FoundDevices();
    found.fill(-1);
    if (DataBus* bus = main->GetActiveBus()) {
        size_t next = 0;
        for (int address = 0; address < kBusDeviceSlots; ++address) {
            BusDeviceRecord* record = bus->GetDevice(address);
            if (record == nullptr) continue;
            found[next++] = address;
            FillRecordTexts(*bus, address, *record);
        }
    }
    FillDeviceMenus();
    FillDeviceList();
}
