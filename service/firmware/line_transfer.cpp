// Intel-HEX files to the loader, line by line, each line acknowledged.
#include <optional>
#include <string>
#include <vector>

#include "bus/serial/striowin.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/text_file.h"
#include "platform/system/clock.h"
#include "service/firmware/hex_file_check.h"
#include "service/firmware/loader_console.h"
#include "service/firmware/loader_port.h"
#include "service/firmware/loader_transfer.h"
#include "service/firmware/transfer_codes.h"
#include "service/firmware/transfer_progress.h"

namespace {

// Time limits and waits (ms).
constexpr uint32_t kWakeUpWaitMs = 2000;
constexpr uint16_t kLoaderAckLimitMs = 5000;
constexpr uint32_t kBaudCodeSettleMs = 2;
constexpr uint32_t kAfterReopenWaitMs = 1000;
constexpr uint16_t kStartAnswerLimitMs = 32000;
constexpr uint16_t kLineAnswerLimitMs = 15000;
// A line is sent again after a NAK this often; the next NAK fails it.
constexpr int kMaxLineRepetitions = 11;
// Sent lines between two rounds of event processing.
constexpr uint32_t kLinesPerEventRound = 100;

struct LineTransferState {
    // Number of the line being sent, from 1 in each file.
    uint32_t LineNumber = 0;
    // Lines sent in this program run; never reset by a transfer.
    uint32_t LinesSent = 0;
};

LineTransferState& State() {
    static LineTransferState state;
    return state;
}

platform::ResetHook ResetState([] { State() = LineTransferState(); });

int Transmit(std::string_view bytes) {
    return iSerioTransmittString(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

// Waits for the loader's ACK, passing over any other byte. The limit runs
// from the start of the wait, so a line that delivers junk without end still
// ends it.
int WaitForLoaderAck(int timeoutCode) {
    const platform::Deadline deadline(kLoaderAckLimitMs);
    for (;;) {
        if (deadline.Expired()) return timeoutCode;
        uint8_t byte = 0;
        const int result = LoaderReceiveByte(byte, static_cast<uint16_t>(deadline.Remaining()));
        if (result == kLoaderReceiveTimedOut) return timeoutCode;
        if (result != 0) return result;
        if (byte == kLoaderAck) return 0;
    }
}

// Announces the line rate, moves the port to it and checks that the loader
// followed.
int ChangeToLineRate(unsigned port, int32_t baud, bool secondLoader) {
    const int baudCode = LoaderBaudCode(baud);
    if (baudCode < 0) return kSerioBadBaud;
    int result = SerioTransmitByte(static_cast<uint8_t>(baudCode));
    if (result != kSerioOk) return result;
    platform::BusyWait(kBaudCodeSettleMs);
    CloseSerio(true);
    result = OpenLoaderPort(port, baud);
    if (result != kSerioOk) return result;
    LoaderWait(kAfterReopenWaitMs);

    LoaderConsole& console = TheLoaderConsole();
    if (secondLoader) {
        console.Status(console.Buffer());
    } else {
        console.StatusAndLog(console.GetMessage(loader_message::kFirmwareTransferStart));
    }
    result = SerioTransmitByte(kLoaderAck);
    if (result != kSerioOk) return result;
    uint8_t answer = 0;
    result = LoaderReceiveByte(answer, kStartAnswerLimitMs);
    if (result == kLoaderReceiveTimedOut) {
        return secondLoader ? line_code::kNoSecondStartAnswer : line_code::kNoStartAnswer;
    }
    if (result != 0) return result;
    return answer == kLoaderAck ? 0 : line_code::kBadStartAnswer;
}

int SendLines(const std::string& path, unsigned port, int32_t baud, bool openFirst, bool secondLoader, int wakeUp) {
    State().LineNumber = 0;
    // The whole file is read and checked before the drive hears a byte: a
    // loader left in the middle of a file may not start the drive again.
    const std::optional<std::string> bytes = platform::ReadBinaryFile(path);
    if (!bytes) return line_code::kFileNotOpened;
    int result = RefuseMalformedHexFile(path, *bytes, TransferFamily::kLine, line_code::kMalformedFile);
    if (result != 0) return result;
    const std::vector<std::string> lines = platform::SplitLines(*bytes);
    for (const std::string& line : lines) {
        if (line.size() >= kMaxHexLineLength) return line_code::kLineTooLong;
    }

    if (openFirst) {
        result = OpenLoaderPort(port, kLoaderStartBaud);
        if (result != kSerioOk) return result;
    }
    if (wakeUp == 1) {
        LoaderWait(kWakeUpWaitMs);
        result = SerioTransmitByte(kLoaderAck);
        if (result != kSerioOk) return result;
    }
    result = WaitForLoaderAck(secondLoader ? line_code::kNoSecondLoaderAck : line_code::kNoLoaderAck);
    if (result != 0) return result;
    result = ChangeToLineRate(port, baud, secondLoader);
    if (result != 0) return result;

    LoaderConsole& console = TheLoaderConsole();
    console.Status(
        console.GetMessage(secondLoader ? loader_message::kSendingSecondLoader : loader_message::kSendingFirmware));
    TransferProgress progress(console);
    progress.SetRange(static_cast<uint32_t>(bytes->size()));

    uint32_t sent = 0;
    for (const std::string& line : lines) {
        ++State().LineNumber;
        // An empty line carries no record, and the loader would wait for one.
        if (!line.empty()) {
            result = SendHexLine(line);
            if (!IsTransferSuccess(result)) return result;
        }
        sent += static_cast<uint32_t>(line.size()) + 1;
        progress.SetValue(sent);
    }
    progress.Fill();
    if (!secondLoader) console.Transcript(console.GetMessage(loader_message::kFirmwareSent));
    return kTransferSuccess;
}

}  // namespace

int SendHexLine(std::string_view line) {
    line = line.substr(0, line.find('\n'));
    if (line.size() >= kMaxHexLineLength) return SetTransferResult(TransferFamily::kLine, line_code::kLineTooLong);
    for (int repetitions = 0;; ++repetitions) {
        int result = Transmit(line);
        if (result != kSerioOk) return SetTransferResult(TransferFamily::kLine, result);
        if (State().LinesSent++ % kLinesPerEventRound == 0) TheLoaderConsole().ProcessEvents();

        uint8_t answer = 0;
        result = LoaderReceiveByte(answer, kLineAnswerLimitMs);
        if (result == kLoaderReceiveTimedOut) {
            return SetTransferResult(TransferFamily::kLine, line_code::kNoLineAnswer, State().LineNumber);
        }
        if (result != 0) return SetTransferResult(TransferFamily::kLine, result);
        if (answer == kLoaderAck) return SetTransferResult(TransferFamily::kLine, kTransferSuccess);
        if (answer != kLoaderNak) return SetTransferResult(TransferFamily::kLine, line_code::kUnexpectedAnswer);
        if (repetitions == kMaxLineRepetitions)
            return SetTransferResult(TransferFamily::kLine, line_code::kTooManyNaks);
    }
}

int SendHexByLines(const std::string& path, unsigned port, int32_t baud, bool openFirst, bool secondLoader,
                   int wakeUp) {
    const int result = SendLines(path, port, baud, openFirst, secondLoader, wakeUp);
    if (result == line_code::kMalformedFile) return result;
    return SetTransferResult(TransferFamily::kLine, result, State().LineNumber);
}
