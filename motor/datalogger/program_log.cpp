// The one program-wide DataLogger and its connection to the platform log sink.
#include <memory>

#include "motor/datalogger/data_logger.h"
#include "platform/base/log_sink.h"
#include "platform/base/reset_hooks.h"

namespace {

std::unique_ptr<DataLogger> g_program_log;

// Opens the program log when the library loads, before the program's main
// runs, and writes its log-out entry when the process ends.
struct InitDataLogger {
    InitDataLogger() { g_program_log = std::make_unique<DataLogger>(kProgramLogPath); }
    ~InitDataLogger() { g_program_log.reset(); }
} g_init_data_logger;

// Each test starts with a program log freshly opened in its own run-time tree.
platform::ResetHook ResetState([] {
    g_program_log.reset();
    g_program_log = std::make_unique<DataLogger>(kProgramLogPath);
});

}  // namespace

DataLogger& TheDataLogger() {
    if (g_program_log) return *g_program_log;
    static DataLogger silent{std::string_view()};
    return silent;
}

void ConnectLogSinkToDataLogger() {
    platform::SetLogSink([](const std::string& line) { TheDataLogger().WriteEntry(line); });
}
