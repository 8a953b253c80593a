#include "families/ruvex_data_set_copy.h"

#include <vector>

#include "app/main/main_object.h"
#include "app/main/parameterbase.h"
#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/wait.h"
#include "bus/base/device_parameters.h"
#include "devicewin/device_control_windows.h"
#include "devicewin/device_window.h"
#include "families/pos_program_transfer.h"
#include "parameters/datasetcopy/dataset_copy.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "parameters/values/text_helpers.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr int kErrorDeviceAccess = 5;
constexpr int kQuestionOverwrite = 42;
constexpr int kQuestionCloseDeviceControl = 86;
constexpr int kActivityWriteDataSet = 2;
constexpr int kActivityWriteListed = 8;
constexpr int kActivityCopyToDevice = 18;
constexpr int kActivityReadDataSet = 19;
constexpr int kActivityDownloadPrograms = 20;
constexpr uint32_t kBeforeProgramDownloadMs = 1000;
constexpr char kDataSetExtension[] = "00d";
constexpr char kListedExtension[] = "01d";
constexpr char kProgramExtension[] = "prg";

const platform::ResetHook kResetRuvexCopy([] { TheRuvexCopyState() = RuvexCopyState{}; });

std::string TitleText(const char* key) {
    const char* text = GetProfileText(kTitlesSection, key);
    return text != nullptr ? text : "";
}

// The chooser of a file set over the widget's frame, starting at `remembered`
// (the user data directory the first time); a choice becomes the remembered
// path and the shared copy path. False on cancel.
bool ChooseFileSet(GwCore* widget, std::string& remembered, int mode) {
    if (remembered.empty()) remembered = GetUserDataDir();
    GwFileSelector chooser(widget != nullptr ? widget->frame() : GetMainWindow(), "id");
    chooser.set_title(TitleText("ChooseParaBaseFile"));
    chooser.set_filter(platform::Format("%s (*.%s *.%s *.%s)|*.%s;*.%s;*.%s|%s (*.*)|*|",
                                        TitleText("ParaBaseFiles"),
                                        kDataSetExtension,
                                        kListedExtension,
                                        kProgramExtension,
                                        kDataSetExtension,
                                        kListedExtension,
                                        kProgramExtension,
                                        TitleText("AllFiles")));
    chooser.set_mode(mode);
    chooser.set_directory(remembered);
    if (!chooser.go() || chooser.selection().empty()) return false;
    remembered = chooser.selection();
    TheRuvexCopyState().CopyPath = chooser.selection();
    return true;
}

std::string PartPath(const char* extension) {
    return WithoutFileExtension(TheRuvexCopyState().CopyPath) + "." + extension;
}

bool Checked(GwCore* widget, const char* name) {
    const auto* box = widget->frame_child<GwToggle>(name);
    return box != nullptr && box->is_checked();
}

void SetBox(GwCore* window, const char* name, bool checked, bool enabled, bool shown) {
    auto* box = window->frame_child<GwToggle>(name);
    if (box == nullptr) return;
    box->set_checked(checked);
    box->set_sensitive(enabled);
    box->set_considered(shown);
}

uint16_t DeviceTypeNumber(ParaBase& base) {
    uint16_t type = 0;
    base.GetValueU16(kDeviceCodeParameter, &type);
    return type;
}

// What the user left in a copy window.
struct CopyChoice {
    bool DataSet = false;
    bool Listed = false;
    bool Programs = false;
};

CopyChoice ReadChoice(GwCore* widget) {
    return {Checked(widget, "device"), Checked(widget, "move"), Checked(widget, "posmod")};
}

dstring ScriptText(GwCore* widget) {
    const GwCore* script = widget->frame_child("Script");
    return dstring(script != nullptr ? script->text().c_str() : "");
}

}  // namespace

RuvexCopyState& TheRuvexCopyState() {
    static RuvexCopyState state;
    return state;
}

FileSetParts FindFileSetParts(const std::string& path) {
    FileSetParts parts;
    const std::string directory = DirectoryOfPath(path);
    const std::string name = WithoutFileExtension(path.substr(directory.size()));
    for (const platform::DirEntry& entry : platform::ListDirectory(directory + "*")) {
        if (entry.is_directory) continue;
        const size_t dot = entry.name.find_last_of('.');
        if (dot == std::string::npos || dot == 0 || !platform::EqualNoCase(entry.name.substr(0, dot), name)) continue;
        const std::string extension = entry.name.substr(dot + 1);
        if (platform::EqualNoCase(extension, kDataSetExtension)) parts.DataSet = true;
        if (platform::EqualNoCase(extension, kListedExtension)) parts.Listed = true;
        if (platform::EqualNoCase(extension, kProgramExtension)) parts.Programs = true;
    }
    return parts;
}

bool CloseDeviceControlForCopy(GwCore* parent) {
    ParaBase* active = Main::ActiveBase();
    if (!IsDeviceControlOpen(active)) return true;
    if (!ShowQuestionMessage(kQuestionCloseDeviceControl, parent)) return false;
    CloseDeviceControlWindows(active);
    return true;
}

void OpenRuvexCopyToDevice(GwCore* widget) {
    Main* main = GetMain();
    ParaBase* active = Main::ActiveBase();
    if (main == nullptr || active == nullptr) return;
    // Held across the file choice: a calling window closed meanwhile ends it.
    const GwRef<> frame(widget != nullptr ? widget->frame() : GetMainWindow());
    DeviceBusyGuard busy;
    if (!ChooseFileSet(widget, TheRuvexCopyState().ToDevicePath, GwFILESELECTOR_OPEN) || !frame) return;
    const FileSetParts parts = FindFileSetParts(TheRuvexCopyState().CopyPath);

    parameterbase base(main->GetActiveBus(), main->GetActiveAddress());
    dstring script;
    if (parts.DataSet) {
        base.InitFile(PartPath(kDataSetExtension).c_str());
        base.ReadFileBase();
    }
    if (base.TableLoaded != 0) {
        const uint16_t fileType = DeviceTypeNumber(base);
        const uint16_t deviceType = DeviceTypeNumber(*active);
        if (fileType / kDeviceClassDivisor != deviceType / kDeviceClassDivisor) {
            ShowOtherDeviceTypeWarning(fileType, deviceType, frame);
            return;
        }
        base.GetValueString(kScriptParameter, script);
    }
    if (!ShowRiskNoteAdjustmentChanged(frame) || !frame) return;

    GwCore* window = LoadDeviceWindowForVersion(frame, kRuvexCopyToDeviceWindow, &base);
    if (window == nullptr) return;
    SetBox(window, "device", parts.DataSet, parts.DataSet, true);
    if (GwCore* scriptField = window->frame_child("Script")) {
        scriptField->set_considered(parts.DataSet);
        if (parts.DataSet) scriptField->set_text(script.Text());
    }
    const bool version200 = base.TableLoaded != 0 && IsVersion200Device(&base);
    SetBox(window, "move", !version200 && parts.Listed, parts.Listed, !version200);
    SetBox(window, "posmod", !version200 && parts.Programs, parts.Programs, !version200);
    window->show();
}

int CB_DoCopyFileData2Device(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    BusTransferGuard transfer;
    ActivMessage activity(kActivityCopyToDevice);
    const CopyChoice choice = ReadChoice(widget);
    const dstring script = ScriptText(widget);
    widget->frame()->destroy();
    // The copy window is gone: every box from here stands over the main
    // window.
    GwCore* parent = GetMainWindow();
    ParaBase* device = Main::ActiveBase();
    if (device == nullptr) return 1;

    if (choice.DataSet) {
        activity.ShowMessage(kActivityWriteDataSet);
        ParaBase file(dstring(PartPath(kDataSetExtension).c_str()));
        if (file.TableLoaded == 0) {
            ShowErrorMessageFor(kErrorDeviceAccess, &file, parent);
            return 1;
        }
        if (!WriteFileDataSetToDevice(parent, file, script)) return 1;
    }
    if (choice.Listed) {
        activity.ShowMessage(kActivityWriteListed);
        for (;;) {
            int result = device->CopyListedFromFile(PartPath(kListedExtension).c_str(), false);
            if (result == 0) result = device->WriteListedToDevice(false);
            if (result == 0) break;
            if (!ShowWarningMessageFor(kErrorDeviceAccess, device, parent)) return 1;
        }
    }
    if ((choice.DataSet || choice.Listed) && device->WriteValueDouble(kStoreDataSetParameter, 1.0) != 0) {
        ShowErrorMessageFor(kErrorDeviceAccess, device, parent);
        return 1;
    }
    if (choice.Programs) {
        activity.ShowMessage(kActivityDownloadPrograms);
        WaitMilliseconds(kBeforeProgramDownloadMs);
        DownloadPosProgram(PartPath(kProgramExtension).c_str());
    }
    return 1;
}

void OpenRuvexCopyToFile(GwCore* widget) {
    Main* main = GetMain();
    ParaBase* active = Main::ActiveBase();
    if (main == nullptr || active == nullptr) return;
    // Held across the file choice: a calling window closed meanwhile ends it.
    const GwRef<> frame(widget != nullptr ? widget->frame() : GetMainWindow());
    if (!ChooseFileSet(widget, TheRuvexCopyState().ToFilePath, GwFILESELECTOR_SAVE) || !frame) return;
    dstring script;
    if (active->ReadValueString(kScriptParameter, script) != 0) {
        ShowErrorMessageFor(kErrorDeviceAccess, active, frame);
        // The main window stays, whichever tool called.
        if (GwCore* caller = frame.get(); caller != nullptr && caller != GetMainWindow()) caller->destroy();
        return;
    }
    GwCore* window = LoadDeviceWindowForVersion(frame, kRuvexCopyToFileWindow, active);
    if (window == nullptr) return;
    if (GwCore* scriptField = window->frame_child("Script")) scriptField->set_text(script.Text());
    const bool version200 = main->ReadActiveDeviceVersionIs200();
    for (const char* name : {"move", "posmod"}) {
        auto* box = window->frame_child<GwToggle>(name);
        if (box == nullptr) continue;
        if (version200) box->set_checked(false);
        box->set_considered(!version200);
    }
    window->show();
}

int CB_DoCopyDevice2File(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    ParaBase* active = Main::ActiveBase();
    if (widget == nullptr || main == nullptr || active == nullptr) return 1;
    // Held across the question: a window closed meanwhile ends the copy.
    const GwRef<> window(widget->frame());
    const CopyChoice choice = ReadChoice(widget);
    const std::string& path = TheRuvexCopyState().CopyPath;
    const std::string directory = DirectoryOfPath(path);
    if (!platform::DirectoryExists(directory.empty() ? "." : directory)) return 1;
    const FileSetParts parts = FindFileSetParts(path);
    const bool overwrites =
        (parts.DataSet && choice.DataSet) || (parts.Listed && choice.Listed) || (parts.Programs && choice.Programs);
    if (overwrites && (!ShowQuestionMessage(kQuestionOverwrite, window) || !window)) {
        if (window) window->destroy();
        return 1;
    }
    const dstring script = ScriptText(widget);
    window->destroy();
    GwCore* parent = GetMainWindow();

    parameterbase base(main->GetActiveBus(), main->GetActiveAddress());
    base.InitFile(active->GetPath(kDFilePath));
    base.ReadFileBase();
    ActivMessage activity(kActivityReadDataSet);
    while (base.ReadBusData(false) != 0) {
        if (!ShowErrorMessageFor(kErrorDeviceAccess, &base, parent)) return 1;
    }
    if (choice.DataSet) {
        base.InitFile(PartPath(kDataSetExtension).c_str());
        base.SetValueString(kScriptParameter, script);
        while (base.WriteFileBase() != 0) {
            if (!ShowErrorMessageFor(kErrorDeviceAccess, &base, parent)) return 1;
        }
    }
    if (choice.Listed) {
        base.InitFile(PartPath(kListedExtension).c_str());
        while (base.MarkListedUsedInFile() != 0) {
            if (!ShowErrorMessageFor(kErrorDeviceAccess, &base, parent)) return 1;
        }
    }
    if (choice.Programs) UploadPosPrograms(PartPath(kProgramExtension).c_str());
    return 1;
}
