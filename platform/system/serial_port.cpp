// Opening serial ports by name: the POSIX terminal opener, or whatever a test
// installed in its place. Also the settings check that both port kinds share.
#include "platform/system/serial_port.h"

#include <cerrno>
#include <utility>

#include "platform/base/reset_hooks.h"
#include "platform/files/text_file.h"
#include "platform/system/serial_port_posix.h"

namespace platform {

namespace {

SerialPortOpener g_opener;

// A test that replaced the opener must not hand its line to the next test.
ResetHook g_reset_opener([] { g_opener = nullptr; });

}  // namespace

bool ValidSerialSettings(const SerialSettings& settings, std::string* reason) {
    auto refuse = [&](const std::string& what) {
        if (reason != nullptr) *reason = what + ": " + SystemErrorText(EINVAL);
        return false;
    };
    if (settings.baud <= 0) return refuse("baud rate " + std::to_string(settings.baud));
    if (settings.data_bits < 5 || settings.data_bits > 8)
        return refuse("data bits " + std::to_string(settings.data_bits));
    if (settings.stop_bits != 1 && settings.stop_bits != 2)
        return refuse("stop bits " + std::to_string(settings.stop_bits));
    switch (settings.parity) {
        case 'N':
        case 'n':
        case 'E':
        case 'e':
        case 'O':
        case 'o':
            return true;
        default:
            return refuse(std::string("parity '") + settings.parity + "'");
    }
}

std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name, std::string* error) {
    if (g_opener) return g_opener(name, error);
    return OpenPosixSerialPort(name, error);
}

void SetSerialPortOpener(SerialPortOpener opener) { g_opener = std::move(opener); }

}  // namespace platform
