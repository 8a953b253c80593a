#include "families/setup_context.h"

#include <string>

#include "app/services/device_error.h"
#include "families/firmware_texts.h"
#include "families/plc_context.h"
#include "families/setup_page_tables.h"
#include "parameters/values/dstring.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"

bool FirmwareTextsReloadRequest = false;

namespace {

platform::ResetHook ResetState([] { FirmwareTextsReloadRequest = false; });

constexpr GwRect kStartRect{0, 0, 10, 10};
constexpr int kDeviceErrorMessage = 5;

}  // namespace

DeviceSetupContext::DeviceSetupContext(GwCore* window, const ParaBase& base, bool online)
    : Window(window), Base(std::make_unique<OnOffBase>(base, online)) {
    Rects.fill(kStartRect);
}

// The PLC host never keeps a base that is gone.
DeviceSetupContext::~DeviceSetupContext() {
    if (PlcParaBase != nullptr && PlcParaBase == Base.get()) PlcParaBase = nullptr;
}

void DeviceSetupContext::GetValueText(dstring& out, int, int32_t value) {
    out = dstring(std::to_string(value).c_str());
}

void DeviceSetupContext::ReloadFirmwareTexts() {}

void DeviceSetupContext::ReloadProfile() {
    if (texts_ != nullptr) texts_->Reload();
}

int32_t DeviceSetupContext::SetupPageOf(int mode) const {
    if (SetupPageTable == nullptr || mode < 0 || mode >= SetupPageTableLength) return 0;
    return SetupPageTable[mode];
}

int DeviceSetupContext::ReadDouble(int number, double* out) { return Base->ReadValue(number, out); }

int DeviceSetupContext::ReadString(int number, dstring& out) {
    return Base->IsOnline() ? Base->ReadValueString(number, out) : Base->GetValueString(number, out);
}

int DeviceSetupContext::StoreDouble(int number, double value, int element) {
    return Base->WriteValue(number, value, element);
}

int DeviceSetupContext::StoreString(int number, const dstring& text, int element) {
    return Base->IsOnline() ? Base->WriteValueString(number, text, element)
                            : Base->SetValueString(number, text, element);
}

void DeviceSetupContext::ReportReadError() { ShowDeviceError(kDeviceErrorMessage, Base.get(), nullptr); }

bool DeviceSetupContext::StatusBit(int number, int bit) {
    double value = 0.0;
    if (ReadDouble(number, &value) != kParaOk) {
        ReportReadError();
        return true;
    }
    return ((static_cast<int32_t>(value) >> bit) & 1) != 0;
}

bool DeviceSetupContext::DeviceStatusBit(int number, int bit) {
    uint16_t value = 0;
    if (Base->ReadValueU16(number, &value) != kParaOk) return true;
    return ((value >> bit) & 1) != 0;
}

bool DeviceSetupContext::AllDiffer(std::initializer_list<int> numbers, int value) {
    bool differ = true;
    for (int number : numbers) {
        double v = 0.0;
        if (ReadDouble(number, &v) != kParaOk) {
            ReportReadError();
            return false;
        }
        if (static_cast<int32_t>(v) == value) differ = false;
    }
    return differ;
}

GwCore* FindSetupControl(GwCore* window) {
    return window != nullptr ? window->frame_child(kSetupControlName) : nullptr;
}
