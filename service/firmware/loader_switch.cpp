// Warm start: a running drive is found on the drive bus and told to start
// its loader.
#include <cstring>

#include "app/services/message_text.h"
#include "bus/serial/tarn_telegram.h"
#include "platform/base/format.h"
#include "service/firmware/loader_console.h"
#include "service/firmware/loader_transfer.h"
#include "service/firmware/transfer_codes.h"

namespace {

// The point-to-point address every drive answers.
constexpr int kAnyDriveAddress = 0;
// The telegrams of the switch: the drive's answer to the first shows it
// listens at this rate; the other two unlock and start its loader.
constexpr char kProbeCode[] = "20082";
constexpr char kUnlockCode[] = "20083";
constexpr char kUnlockValue[] = "01D";
constexpr char kStartLoaderCode[] = "20004";
constexpr char kStartLoaderValue[] = "014D";
// Texts of the serial bus's error codes.
constexpr char kBusMessagesSection[] = "RS232-Messages";
constexpr char kBusMessageKeyFormat[] = "RS232_M%02u";

std::string BusErrorText(int code) {
    char text[kMessageTextSize];
    const std::string key = platform::Format(kBusMessageKeyFormat, static_cast<unsigned>(code));
    return GetMessageText(text, kBusMessagesSection, key.c_str(), kMessageTextSize);
}

bool BusFailure(int code) {
    SetTransferText(TransferFamily::kLine, BusErrorText(code));
    return false;
}

int Telegram(const char* code, const char* value, int address, int mode) {
    char codeBuffer[kTarnCodeSize] = {};
    char valueBuffer[kTarnValueSize] = {};
    std::strncpy(codeBuffer, code, kTarnMaxCodeLength);
    std::strncpy(valueBuffer, value, kTarnMaxValueLength);
    return TarnBusTelegram(codeBuffer, valueBuffer, address, mode);
}

}  // namespace

const std::vector<int32_t>& LoaderSwitchRates() {
    static const std::vector<int32_t> kRates = {57600, 115200, 9600, 19200, 28800, 1200, 2400, 4800};
    return kRates;
}

bool SwitchToLoaderMode(unsigned port) {
    for (int32_t baud : LoaderSwitchRates()) {
        int result = InitTarnBus(port, baud, 0);
        if (result != 0) return BusFailure(result);
        if (Telegram(kProbeCode, "", kAnyDriveAddress, kTelegramRead) != 0) {
            ExitTarnBus(true);
            continue;
        }
        result = Telegram(kUnlockCode, kUnlockValue, kAnyDriveAddress, kTelegramWrite);
        if (result == 0) result = Telegram(kStartLoaderCode, kStartLoaderValue, kBroadcastAddress, kTelegramWrite);
        if (result != 0) return BusFailure(result);
        ExitTarnBus(false);
        SetTransferResult(TransferFamily::kLine, kTransferSuccess);
        return true;
    }
    LoaderConsole& console = TheLoaderConsole();
    SetTransferText(TransferFamily::kLine, console.FormatMessage(loader_message::kNoBusRate));
    console.Transcript(console.GetMessage(loader_message::kNoBusRate));
    return false;
}
