// The editor's source files: New, Open, Save, the save prompt, the recent
// file and closing the window.
#include "platform/files/text_file.h"
#include "plceditor/adapter/edit_control.h"
#include "plceditor/adapter/list_box.h"
#include "plceditor/control/editor_settings.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/sindel_strings.h"
#include "plceditor/control/source_text.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

using namespace profile_keys;

bool PlcEditorDialog::SavePrompt() {
    if (!modified_) return true;
    switch (ShowMessage(
        std::string(LoadString(ids::kSaveChangedProgramme)), BoxButtons::kYesNoCancel, BoxIcon::kQuestion)) {
        case GwRESULT_YES:
            return Save(false);
        case GwRESULT_NO:
            return true;
        default:
            return false;
    }
}

bool PlcEditorDialog::New() {
    if (!IsOpen() || !SavePrompt()) return false;
    edit_->set_text("");
    current_path_ = kNoFile;
    modified_ = false;
    ClearMessages();
    return true;
}

bool PlcEditorDialog::OpenWithDialog() {
    if (!IsOpen() || !SavePrompt()) return false;
    std::optional<std::string> path = open_dialog_.Run(window_);
    return path && OpenFile(*path);
}

bool PlcEditorDialog::OpenFromHost(const std::string& path) { return IsOpen() && SavePrompt() && OpenFile(path); }

bool PlcEditorDialog::OpenFile(const std::string& path) {
    if (!IsOpen()) return false;
    std::optional<std::string> bytes = platform::ReadBinaryFile(path);
    if (!bytes) {
        ShowMessage(std::string(LoadString(ids::kErrorAtOpening)) + path, BoxButtons::kOk, BoxIcon::kError);
        return false;
    }
    const SourceText source = SourceTextFromBytes(*bytes);
    edit_->set_text(source.text);
    if (source.fit != SourceText::Fit::kWhole) {
        const int message =
            source.fit == SourceText::Fit::kAtLimit ? ids::kMaxDocumentSize : ids::kFileNotOpenedCompletely;
        ShowMessage(std::string(LoadString(message)), BoxButtons::kOk, BoxIcon::kWarning);
    }
    // A cut text is not the file: binding it to the path would let a plain
    // Save overwrite the whole file with its beginning.
    current_path_ = source.fit == SourceText::Fit::kCut ? kNoFile : path;
    modified_ = false;
    return true;
}

bool PlcEditorDialog::Save(bool ask_name) {
    if (!IsOpen()) return false;
    std::string path = current_path_;
    if (ask_name || path == kNoFile) {
        std::optional<std::string> chosen = save_dialog_.Run(window_);
        if (!chosen) return false;
        path = *chosen;
    }
    // Written beside the file and renamed over it, so a failed write leaves
    // the old file as it was.
    if (!platform::ReplaceFile(path, edit_->text())) {
        ShowMessage(std::string(LoadString(ids::kErrorAtSaving)) + path, BoxButtons::kOk, BoxIcon::kError);
        return false;
    }
    current_path_ = path;
    modified_ = false;
    return true;
}

void PlcEditorDialog::OnRecentFile() {
    if (!SavePrompt()) return;
    if (OpenFile(profile_.GetString(kMenu, kLastPath, kNoRecentFile))) return;
    profile_.WriteString(kMenu, kLastPath, kNoRecentFile);
    if (GwCore* recent = FindMenuItem(Window(), ids::kCmdRecentFile)) {
        recent->set_text(kNoRecentFile);
        recent->set_sensitive(false);
    }
}

bool PlcEditorDialog::CloseWindow() {
    if (!IsOpen()) return false;
    SetFocus();
    if (!SavePrompt()) return false;
    if (current_path_ != kNoFile) profile_.WriteString(kMenu, kLastPath, current_path_);
    profile_.WriteInt(kInterpreter, kMax32BitCodeArray, generators_.v310.memorySize());
    std::weak_ptr<const int> life = Life();
    control_.FirePlcOnCancel();
    if (!life.expired()) DestroyWindow();
    return true;
}

}  // namespace sindel
