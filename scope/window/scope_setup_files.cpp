// Saving and loading the recorder's settings in setup files (".scs") through
// a file chooser that remembers its folder.
#include "platform/base/format.h"
#include "scope/window/scope_window_parts.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"

namespace {

constexpr char kSetupChooserId[] = "ScopeFileWrite";
constexpr char kSetupExtension[] = "scs";

// The chosen setup file with the extension "scs"; empty when cancelled.
std::string ChooseSetupFile(GwCore* parent, int mode) {
    ScopeWindowState& state = TheScopeWindowState();
    GwFileSelector chooser(parent, kSetupChooserId);
    chooser.set_title(ScopeTitleText("Scope setup"));
    chooser.set_filter(platform::Format("%s (*.%s)|*.%s|%s (*.*)|*|",
                                        ScopeTitleText("Scope setup files").c_str(),
                                        kSetupExtension,
                                        kSetupExtension,
                                        ScopeTitleText("AllFiles").c_str()));
    chooser.set_directory(state.SetupFolder);
    chooser.set_mode(mode);
    if (!chooser.go() || chooser.selection().empty()) return {};
    state.SetupFolder = chooser.directory();
    GwString drive, dir, name;
    GwSplitpath(chooser.selection().c_str(), &drive, &dir, &name, nullptr);
    return GwMakepath(drive.c_str(), dir.c_str(), name.c_str(), kSetupExtension).str();
}

// Runs the chooser and hands a chosen file to the engine's writer or reader.
int RunSetupFile(GwCore* widget, int mode, bool (ScopeRecorder::*transfer)(const char*)) {
    if (ScopeEngine() == nullptr) return 1;
    const std::string path = ChooseSetupFile(ScopeMessageParent(widget), mode);
    // The chooser ran events: the window may be closed.
    ScopeRecorder* engine = ScopeEngine();
    if (path.empty() || engine == nullptr) return 1;
    return (engine->*transfer)(path.c_str()) ? 1 : 0;
}

}  // namespace

int CB_ScopeSetupWrite(GwCore* widget, GwEvent*, GwUD) {
    return RunSetupFile(widget, GwFILESELECTOR_SAVE, &ScopeRecorder::WriteSetupFile);
}

int CB_ScopeSetupRead(GwCore* widget, GwEvent*, GwUD) {
    return RunSetupFile(widget, GwFILESELECTOR_OPEN, &ScopeRecorder::ReadSetupFile);
}
