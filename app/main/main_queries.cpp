// The timer guard every timer callback asks first, the queries of the active
// device, and the report of a failed device access.
#include <algorithm>
#include <initializer_list>

#include "app/main/main_object.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "motor/datalogger/data_logger.h"
#include "parameters/parabase/parameter_name.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr char kServiceLoadName[] = "SVSLD";
constexpr int kServiceLoadParameter = 5;
constexpr int kServiceStateParameter = 132;
constexpr int kZovServiceStateParameter = 150;

bool Valid(const GwCore* w) { return w != nullptr && GwRcMgr::is_valid_child(w); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// How the emergency stop names the widget.
std::string DescribeWidget(GwCore* widget) {
    if (Valid(widget)) {
        if (!widget->text().empty()) return "in object " + Quoted(widget->text());
        if (!widget->name().empty()) return "in object " + Quoted(widget->name());
        GwCore* frame = widget->frame();
        if (Valid(frame) && !frame->text().empty()) return "in child of frame " + Quoted(frame->text());
        if (Valid(frame) && !frame->name().empty()) return "in child of frame " + Quoted(frame->name());
    }
    return "in unknown object";
}

bool IsMinimised(const GwCore* frame) { return Valid(frame) && frame->frame_state() == GwSTATE_MINIMIZED; }

bool InSet(uint16_t state, std::initializer_list<uint16_t> set) {
    return std::find(set.begin(), set.end(), state) != set.end();
}

}  // namespace

bool Main::CheckTimerIntegrity(GwCore* widget, bool needsDevice) {
    if (UncouplingPending && needsDevice) {
        UncoupleAllDevices();
        if (Valid(widget)) widget->stop_timer();
        return false;
    }
    GwCore* main = GetMainWindow();
    const bool widgetVisible = Valid(widget) && widget->is_visible();
    const bool mainVisible = Valid(main) && main->is_visible();
    if (widgetVisible && mainVisible) {
        // A message box raises MessageBoxOpenFlag (and BusTransferFlag) and a
        // bus switch ModalFlag: either keeps the tick away. So does a device
        // action that no poll may read through (DeviceBusyFlag).
        if (SerialWaitFlag || ErrorBoxFlag || ModalFlag || MessageBoxOpenFlag || BusTransferFlag || DeviceBusyFlag) {
            return false;
        }
        if (IsMinimised(main) || IsMinimised(widget->frame())) return false;
        if (needsDevice && !HasOnlineDevice()) return false;
        return true;
    }
    std::string entry = "Main->CheckTimerIntegrity: Emergency timer stop " + DescribeWidget(widget);
    if (widgetVisible) entry += "because of invisible MainWindow";
    TheDataLogger().WriteEntry(entry);
    if (Valid(widget)) widget->stop_timer();
    return false;
}

bool Main::HasOnlineDevice() { return activeBase_ != nullptr && activeBase_->IsOnline(); }

ParaBase* Main::ActiveBase() {
    Main* main = GetMain();
    return main != nullptr ? main->ActiveParaBase() : nullptr;
}

bool Main::OnlineDevicePresent() {
    Main* main = GetMain();
    return main != nullptr && main->HasOnlineDevice();
}

int Main::GetActiveDeviceFamily() {
    if (!HasOnlineDevice() || activeBus_ == nullptr) return 0;
    return activeBus_->GetDeviceKind(activeAddress_);
}

float Main::GetActiveDeviceVersion() {
    const BusDeviceRecord* record = HasOnlineDevice() ? RecordAt(activeAddress_) : nullptr;
    return record != nullptr ? record->version : 0.0f;
}

dstring Main::GetVersionTag() {
    std::string tag = platform::Format("%0.2lf", static_cast<double>(GetActiveDeviceVersion()));
    std::replace(tag.begin(), tag.end(), '.', '_');
    return dstring(tag.c_str());
}

const char* Main::GetActiveDeviceAlias() {
    const BusDeviceRecord* record = RecordAt(activeAddress_);
    return record != nullptr ? record->alias.Text() : "";
}

const char* Main::GetActiveDeviceTypeText() {
    const BusDeviceRecord* record = RecordAt(activeAddress_);
    return record != nullptr ? record->typeText.Text() : "";
}

namespace {

std::string LabelOf(const BusDeviceRecord* record, int address) {
    if (record != nullptr && record->alias.Length() > 0) return record->alias.Text();
    return platform::Format("%d-%s", address, record != nullptr ? record->typeText.Text() : "");
}

}  // namespace

const char* Main::GetActiveDeviceLabel() {
    // The label is a C string for the bus monitor's and the titles' callers,
    // kept until the next call.
    static std::string label;
    label = LabelOf(RecordAt(activeAddress_), activeAddress_);
    return label.c_str();
}

const char* Main::GetDeviceLabel(int address) {
    // As GetActiveDeviceLabel: a C string kept until the next call.
    static std::string label;
    label = LabelOf(RecordAt(address), address);
    return label.c_str();
}

int Main::GetActiveDeviceTypeClass() {
    const BusDeviceRecord* record = HasOnlineDevice() ? RecordAt(activeAddress_) : nullptr;
    return record != nullptr ? record->typeNumber / kDeviceClassDivisor * kDeviceClassDivisor : 0;
}

bool Main::IsActiveDeviceRunning() {
    if (!HasOnlineDevice() || activeBus_ == nullptr) return false;
    const int family = GetActiveDeviceFamily();
    const uint16_t state = activeBus_->ReadDeviceState(activeAddress_);
    switch (family) {
        case 3:
            return InSet(state, {3, 4, 6, 8, 11, 12});
        case 4:
            return InSet(state, {3, 4, 6, 11});
        case 8:
            return InSet(state, {4, 6, 7, 8, 11, 13});
        case 5:
        case 6:
        case 7:
            return state >= 4 && state <= 7;
        default:
            return false;
    }
}

bool IsVersion200Device(ParaBase* base) {
    if (base == nullptr) return false;
    const int kind = base->GetDeviceKind();
    if (kind != 3 && kind != 4) return false;
    float version = 0.0f;
    if (base->GetValueFloat(kFirmwareVersionParameter, &version) != kParaOk) return false;
    return version >= 200.0f && version <= 209.95f;
}

bool Main::ReadActiveDeviceVersionIs200() {
    if (activeBase_ == nullptr) return false;
    for (int number : {kFirmwareVersionParameter, kDeviceCodeParameter}) {
        activeBase_->ReadBusParameter(number, 0, activeBase_->GetValueCount(number));
    }
    return IsVersion200Device(activeBase_);
}

bool Main::ReadActiveDeviceServiceFlag() {
    if (activeBase_ == nullptr) return false;
    // A failed read counts as 0 after its error box.
    auto nonZero = [this](int number) {
        uint8_t value = 0;
        if (activeBase_->ReadValueU8(number, &value) != kParaOk) {
            ShowErrorMessage(kDeviceErrorMessage);
            return false;
        }
        return value != 0;
    };
    switch (GetActiveDeviceFamily()) {
        case 4: {
            bool result = false;
            if (HasParameterNamed(*activeBase_, kServiceLoadParameter, kServiceLoadName)) {
                result = nonZero(kServiceLoadParameter);
            }
            if (nonZero(kServiceStateParameter)) result = true;
            return result;
        }
        case 8:
            return nonZero(kZovServiceStateParameter);
        case 3:
        case 5:
        case 6:
        case 7:
            return nonZero(kServiceStateParameter);
        default:
            return false;
    }
}

bool Main::ShowActiveDeviceError(int number, GwCore* parent) { return ShowDeviceError(number, activeBase_, parent); }

bool ReportDeviceAccessError(int code, GwCore* parent, ParaBase* base) {
    if (code == 0) return false;
    Main* main = GetMain();
    if (base == nullptr && main != nullptr) {
        main->ShowActiveDeviceError(kDeviceErrorMessage, parent);
    } else {
        ShowDeviceError(kDeviceErrorMessage, base, parent);
    }
    return true;
}
