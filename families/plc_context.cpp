#include "families/plc_context.h"

#include <string>

#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"

ParaBase* PlcParaBase = nullptr;

namespace {

platform::ResetHook ResetState([] { PlcParaBase = nullptr; });

struct OperandPrefix {
    int number;
    const char* format;
};
// PLC operand parameters and how their values are written.
constexpr OperandPrefix kOperandPrefixes[] = {
    {460, "H%03d"},
    {461, "M%03d"},
    {462, "Z%02d"},
    {463, "C%02d"},
    {465, "F%03d"},
};

}  // namespace

PlcContext::PlcContext(GwCore* window, const ParaBase& base, bool online) : DeviceSetupContext(window, base, online) {
    texts_ = &FirmwareTextProfile;
    PlcParaBase = Base.get();
}

PlcContext::~PlcContext() { PlcParaBase = nullptr; }

void PlcContext::GetValueText(dstring& out, int number, int32_t value) {
    out.Clear();
    for (const OperandPrefix& p : kOperandPrefixes) {
        if (p.number == number) out = dstring(platform::Format(p.format, value).c_str());
    }
    FirmwareTextProfile.ValueText(*this, out, number, value);
}

void PlcContext::ReloadFirmwareTexts() {
    if (!Base->IsPresent(kFirmwareNameParameter)) return;
    dstring name;
    if (ReadString(kFirmwareNameParameter, name) != kParaOk) return;
    if (name == FirmwareName && !FirmwareTextsReloadRequest) return;
    FirmwareTextsReloadRequest = false;
    FirmwareName = name;
    ReloadProfile();
    FirmwareTextProfile.LoadFirmwareFile(FirmwareName.Text());
}

void PlcContext::LoadVersionProfile() { FirmwareTextProfile.LoadVersionProfile(*this); }
