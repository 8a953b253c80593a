#include "service/firmware/loader_port.h"

#include "bus/serial/striowin.h"
#include "platform/system/clock.h"
#include "service/firmware/loader_console.h"
#include "service/firmware/loader_transfer.h"

int OpenLoaderPort(unsigned port, int32_t baud) {
    return iInitSerio(port, baud, kLoaderDataBits, kLoaderStopBits, kLoaderParity);
}

void LoaderWait(uint32_t ms) {
    const platform::Deadline deadline(ms);
    while (!deadline.Expired()) TheLoaderConsole().ProcessEvents();
}

int LoaderReceiveByte(uint8_t& byte, uint16_t limitMs) {
    const platform::Deadline deadline(limitMs);
    while (!deadline.Expired()) {
        const int result = SerioReceiveByte(byte);
        if (result == kSerioOk) return 0;
        if (result != kSerioNothingReceived) return result;
        TheLoaderConsole().ProcessEvents();
    }
    return kLoaderReceiveTimedOut;
}
