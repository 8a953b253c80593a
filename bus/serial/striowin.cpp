#include "bus/serial/striowin.h"

#include <cerrno>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "bus/serial/reply_framer.h"
#include "bus/serial/tarn_error_texts.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/text_file.h"
#include "platform/system/clock.h"
#include "platform/system/event_pump.h"
#include "platform/system/serial_port.h"

bool ActivFlag = false;
bool& SerioEventPumpFlag = SerialWaitFlag;

namespace {

// Tries of the transmit's wait for the port's status, one millisecond apart.
constexpr int kStatusTries = 200;
// Slack on top of the time the queued output needs on the line.
constexpr uint32_t kOutputDrainSlackMs = 1000;
// Receive time-outs: a base of 600 ms plus a share that shrinks with the
// baud rate (850 ms and 1100 ms at 9600 baud).
constexpr double kTimeoutBaseMs = 600.0;
constexpr double kFirstByteShareMs = 2000.0;
constexpr double kWholeReplyShareMs = 4000.0;
constexpr double kBaudUnit = 1200.0;
// Bits one character takes on the line.
constexpr uint32_t kBitsPerCharacter = 10;

struct SerioState {
    std::unique_ptr<platform::SerialPort> Port;
    int32_t Baud = 0;
    std::string LastSystemError;
    std::vector<uint8_t> ReadAhead = std::vector<uint8_t>(kSerioReadAheadSize);
    int ReadCount = 0;
    int ReadPosition = 0;
};

SerioState& State() {
    static SerioState state;
    return state;
}

platform::ResetHook ResetState([] {
    State().Port.reset();
    State().Baud = 0;
    State().LastSystemError.clear();
    State().ReadCount = 0;
    State().ReadPosition = 0;
    ActivFlag = false;
});

void LogEntry(const std::string& text) { TheDataLogger().WriteEntry(text); }

// An entry with the system's reason, in the form of the program's other
// system error entries.
void LogSystemFailure(const char* what, const std::string& reason) {
    LogEntry(std::string(what) + " Cause: " + reason);
}

std::string PortFailureReason() {
    return State().Port ? State().Port->LastErrorText() : platform::SystemErrorText(EBADF);
}

void LogReentered() { LogEntry("Striowin->ActivFlag->CheckReentrant Reentrancy defense activated"); }

void LogTooLong(uint32_t count) {
    LogEntry(platform::Format("Striowin->iSerioReceiveString Received sio string too long (%lu", count) + "byte)" +
             ". Receivebuffer cleared!");
}

void LogReceiveError(int code) {
    LogEntry(platform::Format(
        "Striowin->iSerioReceiveString Error %d (%s). Receivebuffer cleared!", code, TarnErrorLogText(code)));
}

void PurgeInput() {
    if (State().Port) State().Port->PurgeInput();
}

// Holds ActivFlag for one call.
class ActiveCall {
public:
    ActiveCall() { ActivFlag = true; }
    ~ActiveCall() { ActivFlag = false; }
};

// Lets the user interface run what is pending without moving the clock on.
void PumpUserInterface() {
    SerioEventPumpFlag = true;
    platform::PumpEvents(platform::TheClock().NowUs());
    SerioEventPumpFlag = false;
}

// How long `bytes` of output may take to leave at the current rate.
uint32_t OutputDrainLimitMs(int bytes) {
    const uint32_t baud = State().Baud > 0 ? static_cast<uint32_t>(State().Baud) : 1;
    return static_cast<uint32_t>(uint64_t{static_cast<uint32_t>(bytes)} * kBitsPerCharacter * 1000 / baud) +
           kOutputDrainSlackMs;
}

// Waits until the output queue is empty, the port fails, or the queued bytes
// have had their time.
void WaitForOutputQueue() {
    if (!State().Port) return;
    const int pending = State().Port->BytesPending();
    if (pending <= 0) return;
    platform::Deadline deadline(OutputDrainLimitMs(pending));
    while (State().Port->BytesPending() > 0 && !deadline.Expired()) platform::Sleep(0);
}

// Before the first open there is no rate; the slowest rate of the line keeps
// the time-outs finite.
double TimeoutMs(double share) {
    const double baud = State().Baud > 0 ? State().Baud : kBaudUnit;
    return share / (baud / kBaudUnit) + kTimeoutBaseMs;
}

}  // namespace

int iInitSerio(unsigned port, int32_t baud, int dataBits, int stopBits, char parity) {
    // A rate of zero would make every receive time-out meaningless.
    if (baud <= 0) return kSerioBadBaud;
    ActivFlag = false;
    State().ReadCount = 0;
    State().ReadPosition = 0;
    State().Baud = baud;
    if (State().Port) CloseSerio(true);

    std::string error;
    std::unique_ptr<platform::SerialPort> opened = platform::OpenSerialPort(platform::Format("COM%u", port), &error);
    if (!opened) {
        State().LastSystemError = error;
        LogSystemFailure("Striowin->iInitSerio->CreateFile", error);
        return kSerioOpenFailed;
    }
    // A port refused below is closed again as `opened` goes out of scope.
    platform::SerialSettings settings = opened->Settings();
    settings.baud = baud;
    switch (parity) {
        case 'E':
        case 'e':
            settings.parity = 'E';
            break;
        case 'N':
        case 'n':
            settings.parity = 'N';
            break;
        case 'O':
        case 'o':
            settings.parity = 'O';
            break;
        default:
            return kSerioBadParity;
    }
    if (dataBits < 4 || dataBits > 8) return kSerioBadDataBits;
    if (stopBits != 1 && stopBits != 2) return kSerioBadStopBits;
    settings.data_bits = dataBits;
    settings.stop_bits = stopBits;
    if (!opened->Configure(settings)) {
        State().LastSystemError = opened->LastErrorText();
        LogSystemFailure("Striowin->iInitSerio->SetCommState", State().LastSystemError);
        return kSerioOpenFailed;
    }
    opened->PurgeInput();
    // Output an earlier session left queued (a close that could not drain, or
    // bytes meant for another rate while the search tries the rates) would
    // reach the drive as garbage. A UART's queue is empty after a close that
    // drained, so this drops nothing of ours; a pseudo-terminal, which counts
    // its output as gone at once, also loses what its far side has not read.
    opened->PurgeOutput();
    State().Port = std::move(opened);
    return kSerioOk;
}

int SerioReceiveReply(uint8_t* buffer, int size, SerioReply& reply) {
    reply = SerioReply();
    if (ActivFlag) {
        LogReentered();
        return kSerioNoReply;
    }
    ActiveCall active;
    if (buffer == nullptr || size < 1) return kSerioTooLong;
    // A reply never mixes with what an earlier one left in the buffer.
    std::memset(buffer, 0, static_cast<size_t>(size));

    ReplyFramer framer(buffer, size);
    FramerVerdict verdict = FramerVerdict::kNeedMore;
    std::vector<uint8_t> chunk;
    const uint32_t start = platform::GetTickCount();
    uint32_t attention = start;
    const double firstByteLimit = TimeoutMs(kFirstByteShareMs);
    const double wholeReplyLimit = TimeoutMs(kWholeReplyShareMs);
    bool timedOut = false;

    for (;;) {
        const uint32_t now = platform::GetTickCount();
        const double elapsed = platform::TicksSince(start, now);
        if (State().Port) {
            const int waiting = State().Port->BytesWaiting();
            if (waiting < 0) {
                LogSystemFailure("Striowin->iSerioReceiveString->ReadFile", PortFailureReason());
                PurgeInput();
                return kSerioLineFailed;
            }
            // Checked against the room left, so the buffer is never overrun.
            if (waiting > framer.Room()) {
                LogTooLong(static_cast<uint32_t>(framer.Count()) + static_cast<uint32_t>(waiting));
                PurgeInput();
                return kSerioTooLong;
            }
            if (waiting > 0) {
                chunk.resize(static_cast<size_t>(waiting));
                const int read = State().Port->Read(chunk.data(), waiting);
                if (read <= 0) {
                    LogSystemFailure("Striowin->iSerioReceiveString->ReadFile", PortFailureReason());
                    PurgeInput();
                    return kSerioLineFailed;
                }
                for (int i = 0; i < read && verdict == FramerVerdict::kNeedMore; ++i) verdict = framer.Take(chunk[i]);
                if (verdict == FramerVerdict::kNak) {
                    PurgeInput();
                    return kSerioNak;
                }
                if (verdict == FramerVerdict::kBufferFull || verdict == FramerVerdict::kTooLong) {
                    PurgeInput();
                    LogTooLong(static_cast<uint32_t>(framer.Count()));
                    return FramerResultCode(verdict);
                }
            } else if (framer.Count() == 0 && elapsed > firstByteLimit) {
                timedOut = true;
            }
        }
        if (elapsed > wholeReplyLimit) timedOut = true;
        if (platform::TicksSince(attention, now) > RECEIVE_ALL_ATTENTION_TIME) {
            attention = now;
            LogEntry("Striowin->iSerioReceiveString RECEIVE_ALL_ATTENTION_TIME gone");
            PumpUserInterface();
        }
        if (verdict == FramerVerdict::kNeedMore) {
            platform::Sleep(0);
            if (!timedOut) continue;
        }
        // A reply that completed in the round the time-out passed is late.
        if (timedOut) {
            const int result = framer.Count() > 0 ? kSerioPartialReply : kSerioNoReply;
            PurgeInput();
            LogReceiveError(result);
            return result;
        }
        break;
    }

    PurgeInput();
    if (verdict == FramerVerdict::kBadFrame) {
        LogReceiveError(kSerioBadFrame);
        return kSerioBadFrame;
    }
    reply.count = framer.Count();
    reply.framed = verdict == FramerVerdict::kFramed;
    reply.etxIndex = reply.framed ? framer.EtxIndex() : -1;
    return FramerResultCode(verdict);
}

int iSerioReceiveString(uint8_t* buffer, int size) {
    SerioReply reply;
    return SerioReceiveReply(buffer, size, reply);
}

int iSerioReceiveByteString(uint8_t* buffer, int& count) {
    if (ActivFlag) {
        LogReentered();
        return kSerioNoReply;
    }
    ActiveCall active;
    const int room = count;
    count = 0;
    if (!State().Port) return kSerioOk;
    const int waiting = State().Port->BytesWaiting();
    if (waiting < 0) {
        LogSystemFailure("Striowin->iSerioReceiveByteString", PortFailureReason());
        return kSerioLineFailed;
    }
    if (waiting > room || (waiting > 0 && buffer == nullptr)) {
        LogTooLong(static_cast<uint32_t>(waiting));
        return kSerioTooLong;
    }
    if (waiting == 0) return kSerioOk;
    const int read = State().Port->Read(buffer, waiting);
    if (read <= 0) {
        LogSystemFailure("Striowin->iSerioReceiveByteString", PortFailureReason());
        return kSerioLineFailed;
    }
    count = read;
    return kSerioOk;
}

int iSerioTransmittString(const uint8_t* bytes, int count) {
    if (ActivFlag) {
        LogReentered();
        return kSerioLineFailed;
    }
    ActiveCall active;
    if (SerioEventPumpFlag) {
        LogEntry("Striowin->iSerioTransmittString SioOut activated");
        return kSerioPumpRunning;
    }
    int failures = 0;
    std::unique_ptr<platform::Deadline> drain;
    bool stuck = false;
    for (;;) {
        const int pending = State().Port ? State().Port->BytesPending() : -1;
        if (pending < 0) {
            if (++failures >= kStatusTries) {
                LogSystemFailure("Striowin->iSerioTransmittString->ClearComError", PortFailureReason());
                return kSerioLineFailed;
            }
            platform::Sleep(1);
            continue;
        }
        if (pending == 0) break;
        // Output that never leaves ends the wait after its time.
        if (!drain) drain = std::make_unique<platform::Deadline>(OutputDrainLimitMs(pending));
        if (drain->Expired()) {
            stuck = true;
            break;
        }
        platform::Sleep(0);
    }
    // Only output that would not leave is dropped. An empty queue needs no
    // purge, and on a pseudo-terminal a purge would also drop bytes already
    // handed over that the far end has not read yet.
    if (stuck) State().Port->PurgeOutput();
    const int written = count > 0 ? State().Port->Write(bytes, count) : 0;
    if (written < 0) {
        LogSystemFailure("Striowin->iSerioTransmittString->WriteFile", PortFailureReason());
        return kSerioLineFailed;
    }
    if (written != count) {
        LogEntry("Striowin->iSerioTransmittString  iByteCount != DataWritten");
        return kSerioShortWrite;
    }
    return kSerioOk;
}

bool CloseSerio(bool wait) {
    if (!State().Port) return false;
    if (wait) WaitForOutputQueue();
    State().Port.reset();
    return true;
}

void SerioPurgeInput() { PurgeInput(); }

bool SerioOutputPending() { return State().Port && State().Port->BytesPending() > 0; }

int SerioReceiveByte(uint8_t& byte) {
    if (State().ReadCount == 0) {
        State().ReadPosition = 0;
        int count = kSerioReadAheadSize;
        const int result = iSerioReceiveByteString(State().ReadAhead.data(), count);
        if (result != kSerioOk) return result;
        if (count == 0) return kSerioNothingReceived;
        State().ReadCount = count;
    }
    byte = State().ReadAhead[static_cast<size_t>(State().ReadPosition++)];
    --State().ReadCount;
    return kSerioOk;
}

int SerioTransmitByte(uint8_t byte) { return iSerioTransmittString(&byte, 1); }

const char* SerioErrorText(int code) {
    static const char* const kTexts[] = {
        "Kein Fehler",
        "Empfangsdaten wurden vor dem Auslesen ueberschrieben",
        "Paritaetsfehler der empfangenen Daten",
        "Unterschiedliche Protokolle von Sender und Empfaenger",
        "Keine Verbindung oder falsche Schnittstelle",
        "Timeout im Sendevorgang",
        "Senderegister belegt",
        "Keine Daten empfangen",
        "Unbekannter Fehler",
        "Ungueltige Schnittstellennummer",
        "Ungueltige Baudrate",
        "Ungueltige Datenlaenge",
        "Ungueltige Stopbitanzahl",
        "Ungueltige Paritaetsangabe",
        "Die geählte Schnittstelle ist bereits belegt",
    };
    constexpr int kUnknown = 8;
    if (code < 0 || code >= static_cast<int>(std::size(kTexts))) return kTexts[kUnknown];
    return kTexts[code];
}

uint16_t HexToWord(const char* characters, int count) {
    if (characters == nullptr) return 0;
    uint32_t word = 0;
    for (int i = 0; i < count; ++i) {
        const uint32_t c = static_cast<unsigned char>(characters[i]);
        const uint32_t digit = c >= 'a' ? c - 87 : c >= 'A' ? c - 55 : c - 48;
        word = word * 16 + digit;
    }
    return static_cast<uint16_t>(word);
}

bool SerioIsOpen() { return State().Port != nullptr; }

const char* SerioLastSystemError() { return State().LastSystemError.c_str(); }
