// The torvan program. With a display (DISPLAY or WAYLAND_DISPLAY) it loads
// the screen renderer from beside the executable before any definition file
// is read, and its windows show on the screen; without a display, without
// the renderer or when the display cannot be opened, its windows run on the
// headless interaction, which pumps the timers on the real clock, and boxes
// nobody answers take "cancel". SIGTERM, SIGINT and SIGHUP end it as its
// own exit does, without asking; a second one ends it at once.
#include <cstdlib>

#include "app/shell/program_main.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/log_sink.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/sound.h"
#include "platform/system/termination_signal.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/headless/gw_headless_interaction.h"

namespace {

constexpr char kRendererName[] = "torvan_screen";
constexpr char kRendererStart[] = "torvan_screen_start";

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

// The renderer stays loaded to the end of the process.
void StartScreenRenderer() {
    if (!HasDisplay()) return;
    platform::ModuleHandle module = platform::LoadLibraryA(kRendererName);
    if (module == nullptr) {
        platform::LogLine("torvan: no screen renderer beside the program; running without a screen");
        return;
    }
    using StartFunction = int (*)();
    auto start = reinterpret_cast<StartFunction>(platform::GetProcAddress(module, kRendererStart));
    if (start == nullptr || start() == 0) {
        platform::LogLine("torvan: running without a screen");
        return;
    }
    platform::SetSoundOutput(true);
}

}  // namespace

int main(int argc, char** argv) {
    platform::CatchTerminationSignals();
    ConnectLogSinkToDataLogger();
    static GwHeadlessInteraction headless;
    GwSetInteraction(&headless);
    StartScreenRenderer();
    return WinMain(argc, argv);
}
