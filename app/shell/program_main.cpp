#include "app/shell/program_main.h"

#include <unistd.h>
#include <clocale>
#include <exception>
#include <memory>
#include <typeinfo>

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "app/shell/callback_tables.h"
#include "app/shell/command_line.h"
#include "app/shell/data_set_callbacks.h"
#include "app/shell/main_window_parts.h"
#include "app/shell/program_exit.h"
#include "app/shell/window_callbacks.h"
#include "motor/datalogger/data_logger.h"
#include "parameters/values/dstring.h"
#include "paratools/print/para_print_settings.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "platform/system/system_error.h"
#include "platform/system/termination_signal.h"
#include "plchost/plc_host_startup.h"
#include "toolkit/core/gw_application.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/draw/gw_printer.h"

namespace {

constexpr int kErrorExceptionTermination = 143;
constexpr char kExceptionEntry[] = "Exception termination of application";
constexpr char kMainWindowName[] = "MainWindow";
constexpr char kMainIcon[] = "Icon1";
constexpr char kTestInitFunction[] = "init_test_func";

struct ProgramMainState {
    // The frame the run loads and ends; the services know it as the main
    // window only while boxes may show over it.
    GwRef<> MainFrame;
    const std::vector<const GwFuncDesc*>* ReplacedTables = nullptr;  // not owned
};

ProgramMainState& State() {
    static ProgramMainState state;
    return state;
}

std::vector<std::unique_ptr<GwModule>>& KeptModules() {
    // Never destroyed: the modules stay loaded until the process ends.
    static auto* modules = new std::vector<std::unique_ptr<GwModule>>;
    return *modules;
}

platform::ResetHook ResetState([] {
    State() = ProgramMainState();
    StartFileText().AssignText("");
});

bool LoadDefinitionFiles() {
    for (const std::string& file : DefinitionFiles()) {
        if (!GwRcMgr::use(file.c_str())) return false;
    }
    return true;
}

bool RegisterCallbackTables() {
    const std::vector<const GwFuncDesc*> own(CallbackTables().begin(), CallbackTables().end());
    for (const GwFuncDesc* table : State().ReplacedTables != nullptr ? *State().ReplacedTables : own) {
        if (GwRcMgr::use_func_desc(table) == 0) return false;
    }
    return true;
}

// PDF output goes where the user keeps the program's files; the working
// directory when none is configured.
void SetPrintOutputDirectory() {
    const std::string& dir = GetUserDataDir();
    GwSetPrintOutputDirectory(platform::ToNativePath(dir.empty() ? "." : dir));
}

// Boxes need a live parent: once the main window's run has ended nothing may
// show one over the dead frame.
void ForgetMainWindow() {
    SetMainWindow(nullptr);
    MessageBoxesEnabled = false;
}

void RunMainWindow() {
    State().MainFrame = GwRcMgr::load(nullptr, kMainWindowName, 1);
    if (State().MainFrame == nullptr) return;
    if (State().MainFrame->is_class(GwAPPLFRAME_CLASS)) {
        CreateMainDockingManager(State().MainFrame);
        if (State().MainFrame != nullptr) State().MainFrame->set_icon(kMainIcon);
        if (State().MainFrame != nullptr) State().MainFrame->go();
        // A signal ended the run (and every run over it): the exit the user
        // would have confirmed, from here, where no callback is under way.
        if (const int signal = platform::TerminationSignal()) ExitOnSignal(signal);
        ForgetMainWindow();
        DestroyMainDockingManager();
    }
    // The frame may have ended itself during the run (a failed create).
    if (State().MainFrame != nullptr) State().MainFrame->destroy();
    State().MainFrame.reset();
}

int RunProgram(int argc, char** argv) {
    ApplyCommandLineArguments(argc, argv, StartFileText());
    std::setlocale(LC_ALL, "C");
    if (!LoadDefinitionFiles() || !RegisterCallbackTables() || !CreateMainObject()) {
        return 1;
    }
    InstallAutostartWindowsReopener();
    StartPlcHost();
    SetPrintOutputDirectory();
    OpenProgramPrintSettings();
    RunMainWindow();
    CloseProgramPrintSettings();
    ReleaseProgramBases();
    return 0;
}

void ReportExceptionTermination() {
    ShowErrorMessage(kErrorExceptionTermination);
    TheWindowHandler().CloseAllOnExit();
    TheDataLogger().WriteEntry(kExceptionEntry);
}

}  // namespace

const std::vector<std::string>& DefinitionFiles() {
    static const std::vector<std::string> files = {
        "torvan.cgw",
        "plot.cgw",
        "oem.cgw",
        "paraprn.cgw",
        "pesco.cgw",
        "talin.cgw",
        "wenzo.cgw",
        "ruvex.cgw",
        "ruvex_v600.cgw",
        "ruvex_v200.cgw",
        "marlo_v200.cgw",
        "marlo_v180.cgw",
        "ruvex_v700.cgw",
        "ruvex_v500.cgw",
        "ruvex_v420.cgw",
        "marlo.cgw",
        "Grelo.cgw",
    };
    return files;
}

dstring& StartFileText() {
    static dstring text;
    return text;
}

void ReplaceCallbackTables(const std::vector<const GwFuncDesc*>* tables) { State().ReplacedTables = tables; }

GwCore* MainWindowObject() { return State().MainFrame; }

void LoadTestToolModule() {
    const char* name = GwRcMgr::value(kGwTestToolValue);
    if (name == nullptr || *name == '\0') return;
    auto module = std::make_unique<GwModule>(name);
    using InitFunction = int (*)();
    auto init = reinterpret_cast<InitFunction>(module->symbol(kTestInitFunction));
    if (init != nullptr && init() == 0) {
        module->set_unload(true);
        return;
    }
    // A module that stays loaded is held to the end of the process.
    if (module->is_loaded()) KeptModules().push_back(std::move(module));
}

namespace shell {

int main(int argc, char** argv) {
    try {
        return RunProgram(argc, argv);
    } catch (...) {
        ReportExceptionTermination();
        return 1;
    }
}

}  // namespace shell

int WinMain(int argc, char** argv) {
    try {
        if (!GwInitApplication(nullptr, nullptr, 1)) return 1;
        if (inter_init != nullptr) inter_init();
        if (gwsql_init != nullptr) gwsql_init();

        char* arguments[kMaxArguments] = {};
        std::string modulePath = ModulePathForArguments();
        arguments[0] = GwStrDup(modulePath.empty() ? kFallbackModuleName : modulePath.c_str());
        int count = 1;
        for (int i = 1; i < argc && count < kMaxArguments; ++i) {
            arguments[count++] = GwStrDup(argv[i]);
        }

        LoadTestToolModule();
        const int exitCode = shell::main(count, arguments);

        for (int i = 0; i < count; ++i) GwStrDelete(arguments[i]);
        if (gwsql_exit != nullptr) gwsql_exit();
        if (inter_exit != nullptr) inter_exit();
        GwCleanupApplication(1);
        return exitCode;
    } catch (const std::bad_cast&) {
        platform::FatalAppExitA("Bad pointer cast!");
    } catch (...) {
        platform::FatalAppExitA("General C++ exception!");
    }
}
