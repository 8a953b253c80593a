#include "bus/serial/tarn_telegram.h"

#include <cstring>
#include <string>

#include "app/services/program_flags.h"
#include "bus/base/hex_text.h"
#include "bus/base/timeout.h"
#include "bus/serial/striowin.h"
#include "bus/serial/tarn_error_texts.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"

uint32_t TelegramNumber = 0;
int TelegramTryCount = 3;
bool WriteSettleWait = false;
std::array<uint32_t, kTelegramStatisticsCount> TelegramStatistics{};

namespace {

constexpr int kDefaultTryCount = 3;
constexpr char kAddressBase = '@';
// Waits between tries (ms).
constexpr uint32_t kNoReplyWaitMs = 5;
constexpr uint32_t kRetryWaitMs = 50;
constexpr uint32_t kStatusRetryWaitMs = 50;
constexpr uint32_t kEepromBusyWaitMs = 80;
constexpr uint32_t kChecksumRetryWaitMs = 5;
// Settle waits for slow drives (ms): after a read, and per written character.
constexpr uint32_t kReadSettleMs = 10;
constexpr uint32_t kWriteSettlePerCharacterMs = 40;
// Codes that are longer than this are echoed by the device with its own
// contents (block codes carry the element count the device delivers).
constexpr size_t kFixedCodeLength = 5;

struct InitArguments {
    unsigned port = 0;
    int32_t baud = 0;
    int settle = 0;
};
InitArguments g_init;

platform::ResetHook ResetState([] {
    TelegramNumber = 0;
    TelegramTryCount = kDefaultTryCount;
    WriteSettleWait = false;
    TelegramStatistics.fill(0);
    g_init = InitArguments();
});

// How a NAK on a write ends, by the status word's bits, first match wins.
struct StatusRule {
    uint16_t bit;
    int result;
    bool retry;
    uint32_t waitMs;
};
constexpr StatusRule kStatusRules[] = {
    {0x01, 22, false, 0},
    {0x02, 16, false, 0},
    {0x20, 17, false, 0},
    {0x40, 18, false, 0},
    {0x80, 19, false, 0},
    {0x04, 20, true, kEepromBusyWaitMs},
    {0x08, 21, true, kChecksumRetryWaitMs},
};
constexpr StatusRule kNoStatusBit{0, 22, false, 0};

const StatusRule& RuleForStatus(uint16_t status) {
    for (const StatusRule& rule : kStatusRules) {
        if ((status & rule.bit) != 0) return rule;
    }
    return kNoStatusBit;
}

void LogTelegramError(int code) {
    TheDataLogger().WriteEntry(platform::Format("TarnBus error in telegram %lu: ", TelegramNumber) +
                               TarnErrorLogText(code));
}

int Send(const std::string& bytes) {
    return iSerioTransmittString(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

int SendEot() { return Send(std::string(1, static_cast<char>(kEOT))); }

// Sends a request. Whatever is still arriving from an earlier exchange is
// dropped first, so it is never taken for the answer to this one.
int SendRequest(const std::string& bytes) {
    SerioPurgeInput();
    return Send(bytes);
}

// The reply must come from the device addressed; address 0 takes a reply
// from any device.
bool FromAddressedDevice(const uint8_t* reply, char addressChar) {
    return addressChar == kAddressBase || reply[0] == static_cast<uint8_t>(addressChar);
}

void CountTry(int result) {
    if (result >= 0 && result < kTelegramStatisticsCount) ++TelegramStatistics[static_cast<size_t>(result)];
}

// After a NAK on a write: reads the status word until it comes; false when
// the tries ran out.
bool ReadStatusWord(char addressChar, uint16_t& status) {
    int failures = 0;
    for (;;) {
        char code[kTarnCodeSize] = {};
        std::strcpy(code, kStatusWordCode);
        char text[kTarnValueSize] = {};
        if (TarnReadTelegram(code, text, addressChar) == 0) {
            status = static_cast<uint16_t>(HexFieldValue(text));
            return true;
        }
        CountTry(kTarnCanceled);
        if (++failures > TelegramTryCount) return false;
        BusyWait(kStatusRetryWaitMs);
    }
}

}  // namespace

bool IsTelegramValueText(const char* text) {
    if (text == nullptr) return false;
    for (const char* c = text; *c != '\0'; ++c) {
        switch (static_cast<uint8_t>(*c)) {
            case kSTX:
            case kETX:
            case kEOT:
            case kENQ:
            case kACK:
            case kNAK:
                return false;
            default:
                break;
        }
    }
    return true;
}

int InitTarnBus(unsigned port, int32_t baud, int settleFlag) {
    g_init = InitArguments{port, baud, settleFlag};
    TheDataLogger().WriteEntry(platform::Format("InitTarnBus: COM%u, %ld Baud", port, baud));
    if (iInitSerio(port, baud, 7, 1, 'e') != kSerioOk) {
        LogTelegramError(kTarnPlausibility);
        return kTarnPlausibility;
    }
    WriteSettleWait = settleFlag != 0;
    ClearTelegramStatistics();
    return 0;
}

bool ExitTarnBus(bool waitForTransmit) { return CloseSerio(waitForTransmit); }

unsigned TarnBusPort() { return g_init.port; }

int32_t TarnBusBaud() { return g_init.baud; }

int TarnAddressChar(int& address) {
    if (address < 0 || address > kBroadcastAddress) return kTarnPlausibility;
    address += kAddressBase;
    return 0;
}

void ClearTelegramStatistics() { TelegramStatistics.fill(0); }

int TarnReadTelegram(char* code, char* value, char addressChar) {
    if (addressChar == kAddressBase + kBroadcastAddress) {
        LogTelegramError(kTarnPlausibility);
        return kTarnPlausibility;
    }
    const size_t codeLength = std::strlen(code);
    std::string request;
    request += static_cast<char>(kEOT);
    request += addressChar;
    request.append(code, codeLength);
    request += static_cast<char>(kENQ);
    int result = SendRequest(request);
    if (result != 0) {
        if (result != kTarnCanceled) LogTelegramError(result);
        return result;
    }

    uint8_t reply[kTarnReplySize];
    SerioReply info;
    result = SerioReceiveReply(reply, kTarnReplySize, info);
    if (result != 0) {
        const int eot = SendEot();
        if (eot != 0) return eot;
        if (result != kTarnCanceled) LogTelegramError(result);
        return result;
    }
    result = SendEot();
    if (result != 0) return result;

    // A read needs a whole frame; a bare ACK carries no value.
    if (!info.framed) {
        LogTelegramError(kSerioBadFrame);
        return kSerioBadFrame;
    }
    if (!FromAddressedDevice(reply, addressChar)) {
        LogTelegramError(kTarnWrongAddress);
        return kTarnWrongAddress;
    }
    const size_t equalsIndex = 2 + codeLength;
    if (codeLength > kFixedCodeLength) {
        if (equalsIndex >= static_cast<size_t>(info.etxIndex)) {
            LogTelegramError(kTarnSyntax);
            return kTarnSyntax;
        }
        std::memcpy(code, reply + 2, codeLength);
    } else if (std::memcmp(reply + 2, code, codeLength) != 0) {
        LogTelegramError(kTarnWrongCode);
        return kTarnWrongCode;
    }
    if (equalsIndex >= static_cast<size_t>(info.etxIndex) || reply[equalsIndex] != '=') {
        LogTelegramError(kTarnSyntax);
        return kTarnSyntax;
    }
    const char* valueStart = reinterpret_cast<const char*>(reply + equalsIndex + 1);
    CopyCut(value, kTarnValueSize, std::string_view(valueStart, static_cast<size_t>(info.etxIndex) - equalsIndex - 1));
    if (WriteSettleWait) BusyWait(kReadSettleMs);
    return 0;
}

int TarnWriteTelegram(const char* code, const char* value, char addressChar) {
    if (BusWriteLogging) {
        TheDataLogger().WriteEntry(std::string("TarnBus parameter write access\n\tCode = ") + code +
                                   "\n\tValue = " + value);
    }
    std::string frame;
    frame += static_cast<char>(kEOT);
    frame += addressChar;
    frame += static_cast<char>(kSTX);
    frame += code;
    frame += '=';
    frame += value;
    frame += static_cast<char>(kETX);
    uint8_t bcc = 0;
    for (size_t i = 3; i < frame.size(); ++i) bcc ^= static_cast<uint8_t>(frame[i]);
    frame += static_cast<char>(bcc);
    int result = SendRequest(frame);
    if (result != 0) {
        LogTelegramError(result);
        return result;
    }
    if (addressChar == kAddressBase + kBroadcastAddress) return 0;

    uint8_t reply[kTarnReplySize];
    SerioReply info;
    result = SerioReceiveReply(reply, kTarnReplySize, info);
    if (result != 0) {
        LogTelegramError(result);
        const int eot = SendEot();
        if (eot != 0) return eot;
        return result;
    }
    result = SendEot();
    if (result != 0) return result;
    if (!FromAddressedDevice(reply, addressChar)) {
        LogTelegramError(kTarnWrongAddress);
        return kTarnWrongAddress;
    }
    if (reply[1] == kNAK) {
        LogTelegramError(kTarnCanceled);
        return kTarnCanceled;
    }
    // A write is taken only by an ACK; a data frame is no acknowledgement.
    if (reply[1] != kACK) {
        LogTelegramError(kSerioBadFrame);
        return kSerioBadFrame;
    }
    if (WriteSettleWait) BusyWait(kWriteSettlePerCharacterMs * static_cast<uint32_t>(std::strlen(value)));
    return 0;
}

int TarnBusTelegram(char* code, char* value, int address, int mode) {
    ++TelegramNumber;
    int addressChar = address;
    if (TarnAddressChar(addressChar) != 0 || code == nullptr || value == nullptr) {
        LogTelegramError(kTarnPlausibility);
        return kTarnPlausibility;
    }
    if (std::strlen(code) > static_cast<size_t>(kTarnMaxCodeLength)) {
        LogTelegramError(kTarnPlausibility);
        return kTarnPlausibility;
    }
    if (TelegramTryCount == 0) return 0;

    for (int i = 0;;) {
        int result;
        if (mode == kTelegramWrite) {
            // A value that is too long or would end the frame early never
            // reaches the line.
            if (std::strlen(value) > static_cast<size_t>(kTarnMaxValueLength) || !IsTelegramValueText(value)) {
                result = kTarnPlausibility;
                LogTelegramError(result);
            } else {
                result = TarnWriteTelegram(code, value, static_cast<char>(addressChar));
            }
        } else if (mode == kTelegramRead) {
            result = TarnReadTelegram(code, value, static_cast<char>(addressChar));
        } else {
            result = kTarnPlausibility;
            LogTelegramError(result);
        }

        if (result == 0) {
            ++TelegramStatistics[0];
            return 0;
        }
        if (result == kSerioNoReply) {
            LogTelegramError(result);
            BusyWait(kNoReplyWaitMs);
        } else if (result == kTarnCanceled && mode != kTelegramWrite) {
            return result;
        } else if (result == kTarnCanceled) {
            LogTelegramError(result);
            ++i;
            uint16_t status = 0;
            if (!ReadStatusWord(static_cast<char>(addressChar), status)) return kTarnCannotReadStatus;
            const StatusRule& rule = RuleForStatus(status);
            if (!rule.retry) {
                LogTelegramError(rule.result);
                return rule.result;
            }
            BusyWait(rule.waitMs);
            result = rule.result;
        } else {
            LogTelegramError(result);
            BusyWait(kRetryWaitMs);
        }
        CountTry(result);
        ++i;
        if (i >= TelegramTryCount) return result;
    }
}
