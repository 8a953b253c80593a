// The copy of a data set from a parameter base file into the active device.
#include <cmath>
#include <memory>

#include "app/main/main_object.h"
#include "app/main/parameterbase.h"
#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "devicewin/device_window.h"
#include "parameters/datasetcopy/copy_steps.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/plc_project.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

constexpr int kDeviceRunningInfo = 110;
constexpr unsigned kOtherDeviceTypeMessage = 114;
constexpr int kWritingDataSetActivity = 2;
// Device kinds whose data sets fit each other's drives.
constexpr int kFirstRelatedKind = 5;
constexpr int kLastRelatedKind = 7;

bool IsRelated(int kind) { return kind >= kFirstRelatedKind && kind <= kLastRelatedKind; }

uint16_t StoredDeviceCode(ParaBase& base) {
    uint16_t code = 0;
    base.GetValueU16(kDeviceCodeParameter, &code);
    return code;
}

// Whether the file's data set may go into the device; a file of another
// device class is refused with a warning naming both device types.
bool SameDeviceClass(ParaBase& fileBase, ParaBase& deviceBase, GwCore* parent) {
    if (IsRelated(fileBase.GetDeviceKind()) && IsRelated(deviceBase.GetDeviceKind())) return true;
    const uint16_t fileCode = StoredDeviceCode(fileBase);
    const uint16_t deviceCode = StoredDeviceCode(deviceBase);
    if (fileCode / kDeviceClassDivisor == deviceCode / kDeviceClassDivisor) return true;
    ShowOtherDeviceTypeWarning(fileCode, deviceCode, parent);
    return false;
}

}  // namespace

void ShowOtherDeviceTypeWarning(uint16_t fileCode, uint16_t deviceCode, GwCore* parent) {
    char format[kMessageTextSize];
    const std::string key = platform::Format(kMainMessageKeyFormat, kOtherDeviceTypeMessage);
    GetMessageText(format, kMainMessagesSection, key.c_str(), kMessageTextSize);
    const std::string fileType = GetDeviceTypeName(fileCode);
    const std::string deviceType = GetDeviceTypeName(deviceCode);
    ShowWarningTextBox(platform::FormatChecked(format, {fileType, deviceType}).text.c_str(), parent);
}

namespace {

ParaBase* DeviceBase() {
    Main* main = GetMain();
    return main != nullptr ? main->ActiveParaBase() : nullptr;
}

}  // namespace

int RunCopyFileData2Device(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    GwCore* frame = widget != nullptr && GwRcMgr::is_valid_child(widget) ? widget->frame() : nullptr;
    if (main == nullptr) return 1;
    if (main->IsActiveDeviceRunning()) {
        ShowInfoMessage(kDeviceRunningInfo, frame);
        return 1;
    }
    if (!datasetcopy::ChooseFile(widget, CopyDirection::kToDevice)) return 1;
    if (!ShowRiskNoteAdjustmentChanged(frame)) return 1;

    auto fileBase = std::make_unique<parameterbase>(main->GetActiveBus(), main->GetActiveAddress());
    fileBase->InitFile(datasetcopy::ChosenDFilePath(true).c_str());
    fileBase->ReadFileBase();
    if (fileBase->TableLoaded == 0) {
        // Nothing to compare or copy in a base that did not load.
        ShowErrorMessageFor(kParaBaseErrorMessage, fileBase.get(), frame);
        return 1;
    }
    ParaBase* deviceBase = DeviceBase();
    if (deviceBase == nullptr) {
        ShowErrorMessageFor(kParaBaseErrorMessage, nullptr, frame);
        return 1;
    }
    if (!SameDeviceClass(*fileBase, *deviceBase, frame)) return 1;

    dstring script;
    fileBase->GetValueString(kScriptParameter, script);
    GwCore* window = LoadDeviceWindowForVersion(frame, kCopyDataToDeviceWindow, fileBase.get());
    if (window == nullptr) return 1;
    if (GwCore* text = window->child("Script")) {
        text->show();
        text->set_text(script.Text());
    }
    if (auto* groups = window->child<GwCombo>("Group")) FillGroupList(groups, *fileBase, CopyDirection::kToDevice);
    window->show();
    return 1;
}

bool WriteFileDataSetToDevice(GwCore* widget, ParaBase& fileBase, const dstring& script) {
    if (fileBase.TableLoaded == 0) return true;
    ParaBase* device = DeviceBase();
    if (device == nullptr) {
        ShowErrorMessageFor(kParaBaseErrorMessage, nullptr, widget);
        return false;
    }
    ActivMessage activity(kWritingDataSetActivity, widget);
    while (device->WriteBusData(fileBase) != kParaOk) {
        if (!ShowWarningMessageFor(kParaBaseErrorMessage, device, widget)) return false;
    }
    // A set the device class check refused: nothing went to the device, and
    // the script or a store must not follow as if it had.
    if (device->NothingWritten != 0) return false;
    while (device->WriteValueString(kScriptParameter, script) != kParaOk) {
        if (!ShowWarningMessageFor(kParaBaseErrorMessage, device, widget)) return false;
    }
    return true;
}

int CB3_DoCopyFileData2Device(GwCore* widget, GwEvent*, GwUD) {
    BusTransferGuard transfer;
    const datasetcopy::ScriptWindowChoice choice = datasetcopy::TakeScriptWindow(widget);
    const GwRef<> parent = choice.owner;
    ActivMessage activity(kWritingDataSetActivity, parent);

    ParaBase fileBase(dstring(datasetcopy::ChosenDFilePath(false).c_str()));
    if (fileBase.TableLoaded == 0) {
        ShowErrorMessageFor(kParaBaseErrorMessage, &fileBase, parent);
        return 1;
    }
    ApplyCopyGroupFilter(fileBase, choice.groupItem);

    ParaBase* device = DeviceBase();
    if (device == nullptr) {
        ShowErrorMessageFor(kParaBaseErrorMessage, nullptr, parent);
        return 1;
    }
    const bool plcProject = HasPlcProject(device);
    if (plcProject && device->WriteValueDouble(kPlcRunParameter, 0.0) != kParaOk) {
        ShowErrorMessageFor(kParaBaseErrorMessage, device, parent);
        return 1;
    }
    if (!WriteFileDataSetToDevice(parent, fileBase, choice.script)) return 1;
    if (choice.saveIt && device->WriteValueDouble(kStoreDataSetParameter, 1.0) != kParaOk) {
        ShowErrorMessageFor(kParaBaseErrorMessage, device, parent);
        return 1;
    }
    if (plcProject) {
        double state = 0.0;
        int result = device->ReadValueDouble(kPlcStateParameter, &state);
        if (result == kParaOk && std::trunc(state) == kPlcWasRunningState)
            result = device->WriteValueDouble(kPlcRunParameter, 1.0);
        if (result != kParaOk) ShowErrorMessageFor(kParaBaseErrorMessage, device, parent);
    }
    return 1;
}
