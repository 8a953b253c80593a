// Waiting with events processed, and system error texts in the program log.
#include "app/services/wait.h"

#include <cerrno>
#include <string>

#include "motor/datalogger/data_logger.h"
#include "platform/files/text_file.h"
#include "platform/system/clock.h"
#include "platform/system/event_pump.h"

uint32_t WaitMilliseconds(uint32_t ms) {
    platform::Clock& clock = platform::TheClock();
    const uint32_t start = clock.Tick();
    // The pump moves a virtual clock on to the next timer, but never past the
    // end of the wait, so a timer due later stays for later.
    const uint64_t end_us = clock.NowUs() + uint64_t{ms} * 1000;
    uint32_t now = start;
    // Elapsed time on the wrapping tick, so a wait across the 32-bit wrap
    // still lasts `ms` instead of ending at once.
    while (platform::TicksSince(start, now) < ms) {
        platform::PumpEvents(end_us);
        if (!clock.IsVirtual()) clock.Sleep(1);
        now = clock.Tick();
    }
    return now;
}

void GetWin32ErrorText(std::string_view text, int errorNumber) {
    std::string entry(text);
    entry += " Cause: ";
    entry += platform::SystemErrorText(errorNumber);
    TheDataLogger().WriteEntry(entry);
}

void GetWin32ErrorText(std::string_view text) { GetWin32ErrorText(text, errno); }
