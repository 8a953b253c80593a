#include "families/pos_program_editor_dialog.h"

#include <string>

#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "families/pos_prog_editor.h"
#include "families/pos_program_transfer.h"
#include "parameters/values/text_helpers.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "platform/system/clock.h"
#include "platform/system/program_start.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_ud.h"

namespace {

constexpr int kQuestionProgramChanged = 108;
constexpr int kErrorDownloadFailed = 109;
constexpr int kActivityDownload = 20;
constexpr uint32_t kAfterDownloadWaitMs = 1500;
constexpr char kChooserTitle[] = "Ablaufprogramm wählen";
constexpr char kChooserFilter[] = "*.prg";

struct PosProgramDialogState {
    std::string Directory;
};

PosProgramDialogState& TheDialogState() {
    static PosProgramDialogState state;
    return state;
}

platform::ResetHook ResetDialogState([] { TheDialogState() = {}; });

void EditOnline() {
    if (!UploadPosPrograms(kPosProgramExchangeFile)) return;
    const std::optional<int64_t> before = FileWriteTimeNs(kPosProgramExchangeFile);
    RunPosProgEditorWaiting({kPosProgramExchangeFile});
    GwCore* main = GetMainWindow();
    if (!FileChangedSince(kPosProgramExchangeFile, before) || !ShowQuestionMessage(kQuestionProgramChanged, main))
        return;
    { ActivMessage activity(kActivityDownload); }
    if (!DownloadPosProgram(kPosProgramExchangeFile)) ShowErrorMessage(kErrorDownloadFailed, main);
    platform::TheClock().BusyWait(kAfterDownloadWaitMs);
}

void EditFile() {
    if (TheDialogState().Directory.empty()) TheDialogState().Directory = GetUserDataDir();
    GwFileSelector chooser(GetMainWindow(), "id");
    chooser.set_title(kChooserTitle);
    chooser.set_filter(kChooserFilter);
    chooser.set_directory(TheDialogState().Directory);
    if (!chooser.go()) return;
    const std::string path = chooser.selection();
    TheDialogState().Directory = DirectoryOfPath(path);
    platform::StartProgram(GetPosProgEditor(), {"\"" + path + "\""}, false);
}

}  // namespace

std::string& RememberedPosProgramDirectory() { return TheDialogState().Directory; }

void RunPosProgEditorWaiting(const std::vector<std::string>& arguments) {
    GwCore* main = GetMainWindow();
    if (main != nullptr) main->minimize();
    platform::StartProgram(GetPosProgEditor(), arguments, true);
    if (main != nullptr) main->maximize();
}

std::optional<int64_t> FileWriteTimeNs(const std::string& path) {
    for (const platform::DirEntry& entry : platform::ListDirectory(path)) {
        if (!entry.is_directory) return entry.write_time * 1'000'000'000 + entry.write_time_ns;
    }
    return std::nullopt;
}

bool FileChangedSince(const std::string& path, const std::optional<int64_t>& before) {
    const std::optional<int64_t> after = FileWriteTimeNs(path);
    return after.has_value() && (!before.has_value() || *after > *before);
}

int PosModEditorDialogCB(GwCore*, GwEvent*, GwUD userData) {
    const std::string mode = userData.string();
    if (mode.empty()) return 1;
    if (mode == kOnlineEditorMode) {
        EditOnline();
    } else {
        EditFile();
    }
    return 1;
}
