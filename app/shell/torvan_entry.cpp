// The torvan program: without a screen renderer its windows run on the
// headless interaction, which pumps the timers on the real clock; boxes
// nobody answers take "cancel".
#include "app/shell/program_main.h"
#include "motor/datalogger/data_logger.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/headless/gw_headless_interaction.h"

int main(int argc, char** argv) {
    ConnectLogSinkToDataLogger();
    static GwHeadlessInteraction headless;
    GwSetInteraction(&headless);
    return WinMain(argc, argv);
}
