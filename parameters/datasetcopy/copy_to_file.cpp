// The copy of the active device's data set into a parameter base file set.
#include <algorithm>
#include <cctype>

#include "app/main/main_object.h"
#include "app/main/parameterbase.h"
#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "devicewin/device_window.h"
#include "parameters/datasetcopy/copy_steps.h"
#include "parameters/parabase/para_base.h"
#include "platform/files/paths.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

constexpr int kFileSetExistsQuestion = 42;
constexpr int kWritingFileActivity = 19;
constexpr char kDataSetExtension[] = "00d";

std::string Lower(std::string text) {
    std::transform(
        text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Whether the chosen folder holds a file "<chosen name>.00D" (the name
// compared in lower case, the extension in any case).
bool ChosenFileSetExists() {
    GwString drive, dir, name;
    GwSplitpath(ChosenCopyPath().c_str(), &drive, &dir, &name, nullptr);
    const std::string pattern = GwMakepath(drive.c_str(), dir.c_str(), "*.*", "").str();
    const std::string wanted = Lower(name.str());
    for (const platform::DirEntry& entry : platform::ListDirectory(pattern)) {
        if (entry.is_directory) continue;
        GwString entryName, entryExt;
        GwSplitpath(entry.name.c_str(), nullptr, nullptr, &entryName, &entryExt);
        if (Lower(entryName.str()) == wanted && platform::EqualNoCase(entryExt.str(), kDataSetExtension)) return true;
    }
    return false;
}

}  // namespace

int RunCopyDevice2File(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    GwCore* frame = widget != nullptr && GwRcMgr::is_valid_child(widget) ? widget->frame() : nullptr;
    ParaBase* device = main != nullptr ? main->ActiveParaBase() : nullptr;
    if (!datasetcopy::ChooseFile(widget, CopyDirection::kToFile)) return 1;
    if (device == nullptr) {
        ShowErrorMessageFor(kParaBaseErrorMessage, nullptr, frame);
        return 1;
    }
    dstring script;
    if (device->ReadValueString(kScriptParameter, script) != kParaOk) {
        ShowErrorMessageFor(kParaBaseErrorMessage, device, frame);
        // The main window stays whatever called.
        if (frame != nullptr && frame != GetMainWindow() && GwRcMgr::is_valid_child(frame)) frame->destroy();
        return 1;
    }
    GwCore* window = LoadDeviceWindowForVersion(frame, kCopyDeviceToFileWindow, device);
    if (window == nullptr) return 1;
    if (GwCore* text = window->child("Script")) text->set_text(script.Text());
    if (auto* groups = window->child<GwCombo>("Group")) FillGroupList(groups, *device, CopyDirection::kToFile);
    window->show();
    return 1;
}

int CB3_DoCopyDevice2File(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget != nullptr && GwRcMgr::is_valid_child(widget) ? widget->frame() : nullptr;
    if (ChosenFileSetExists() && !ShowQuestionMessage(kFileSetExistsQuestion, frame)) {
        if (frame != nullptr) frame->destroy();
        return 1;
    }
    const datasetcopy::ScriptWindowChoice choice = datasetcopy::TakeScriptWindow(widget);
    const GwRef<> parent = choice.owner;
    Main* main = GetMain();
    ParaBase* device = main != nullptr ? main->ActiveParaBase() : nullptr;
    if (device == nullptr) {
        ShowErrorMessageFor(kParaBaseErrorMessage, nullptr, parent);
        return 1;
    }

    parameterbase base(main->GetActiveBus(), main->GetActiveAddress());
    base.InitFile(device->GetPath(kDFilePath));
    base.ReadFileBase();
    ActivMessage activity(kWritingFileActivity, parent);
    while (base.ReadBusData(false) != kParaOk) {
        if (!ShowErrorMessageFor(kParaBaseErrorMessage, &base, parent)) return 1;
    }
    base.InitFile(datasetcopy::ChosenDFilePath(false).c_str());
    base.SetValueString(kScriptParameter, choice.script);
    ApplyCopyGroupFilter(base, choice.groupItem);
    while (base.WriteFileBase() != kParaOk) {
        if (!ShowErrorMessageFor(kParaBaseErrorMessage, &base, parent)) break;
    }
    return 1;
}
