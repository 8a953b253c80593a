#include "bus/serial/tarn_bus.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>

#include "bus/base/device_kind.h"
#include "bus/base/hex_text.h"
#include "bus/base/new_bus.h"
#include "platform/base/format.h"

namespace {

// Elements of one block read request, at most (two decimal digits).
constexpr int kMaxBlockReadElements = 99;
// Hex characters of one block write.
constexpr int kBlockWriteCharacters = 100;
constexpr char kSampleBlockCode[] = "60002";
constexpr char kLastSampleBlockMark = '!';

// Category counted for each error code; -1: none.
int ErrorCategory(int code) {
    switch (code) {
        case 1:
        case 2:
        case 3:
        case 7:
        case 9:
        case 10:
        case 11:
        case 12:
        case 15:
        case 21:
        case 25:
            return 5;
        case 4:
            return 15;
        case 5:
        case 6:
            return 7;
        case 8:
        case 13:
        case 14:
        case 23:
            return 6;
        case 16:
            return 8;
        case 17:
            return 10;
        case 18:
            return 9;
        case 19:
            return 11;
        case 20:
            return 13;
        case 22:
            return 12;
        case 24:
            return 4;
        default:
            return -1;
    }
}

bool IsElementWidth(int width) { return width == 1 || width == 2 || width == 4; }

// Positions of the attribute record of "30%03u".
constexpr TextField kNameField{0, 6};
constexpr TextField kUnitIndexField{6, 2};
constexpr size_t kKindPos = 8;
constexpr size_t kTypePos = 9;
constexpr TextField kMinimumField{10, 8};
constexpr TextField kMaximumField{18, 8};
constexpr TextField kDefaultField{26, 8};
constexpr TextField kAccessField{34, 2};
constexpr TextField kFlagsField{36, 4};
constexpr TextField kFirstWordField{40, 4};
constexpr TextField kSecondWordField{44, 4};
constexpr TextField kKeypadGroupField{48, 2};
constexpr TextField kScGroupField{50, 2};
constexpr size_t kAttributeRecordLength = 52;

}  // namespace

TarnBus::TarnBus(unsigned port, int32_t baud) : port_(port) {
    SetErrorBookkeeping(ErrorCategory, LastErrorOnSuccess::kCleared);
    name_.AssignText("RS232");
    busType_ = kSerialBusType;
    SetBaud(baud);
    TelegramTryCount = 3;
    const int result = InitTarnBus(port_, baud, settleFlag_);
    open_ = result == 0;
    Finish(result);
}

TarnBus::~TarnBus() {
    if (open_) {
        open_ = false;
        ExitTarnBus(true);
    }
    lastError_ = 0;
}

void TarnBus::SetWriteSettleWait(bool on) { WriteSettleWait = on; }

void TarnBus::SetBaud(int32_t baud) {
    baudRate_ = static_cast<uint32_t>(baud);
    settingsText_.AssignText(platform::Format("%ld Baud", baud).c_str());
}

int TarnBus::CheckSlot(int address) const {
    if (!open_) return kTarnBusClosed;
    // The broadcast address and anything beyond the table hold no device.
    if (GetDevice(address) == nullptr) return kTarnNoDeviceRecord;
    return 0;
}

int TarnBus::CheckSlot(int number, int address) const {
    if (const int result = CheckSlot(address)) return result;
    return number < 0 || number > kHighestParameterNumber ? kTarnPlausibility : 0;
}

int TarnBus::Exchange(const char* code, int address, int mode) {
    CopyCut(code_, kTarnCodeSize, code);
    return TarnBusTelegram(code_, value_, address, mode);
}

bool TarnBus::ReadParameterValue(int number, int32_t& value, int address) {
    if (const int result = CheckSlot(number, address)) return Finish(result);
    const int result = Exchange(platform::Format("20%03d", number).c_str(), address, kTelegramRead);
    if (result == 0) value = static_cast<int32_t>(HexFieldValue(value_));
    return Finish(result);
}

bool TarnBus::WriteParameterValue(int number, int32_t value, int address) {
    if (const int result = CheckSlot(number, address)) return Finish(result);
    const std::string code = platform::Format("20%03d", number);
    const std::string text = platform::Format("%lX", value);
    CopyCut(value_, kTarnValueSize, text);
    int result = Exchange(code.c_str(), address, kTelegramWrite);
    // The download handshake must get through; the loader waits for it.
    for (int repeat = 0; result != 0 && number == kDownloadHandshakeParameter && repeat < kHandshakeWriteRepeats;
         ++repeat) {
        CopyCut(value_, kTarnValueSize, text);
        result = Exchange(code.c_str(), address, kTelegramWrite);
    }
    return Finish(result);
}

bool TarnBus::ReadParameterText(int number, dstring& text, int address) {
    if (const int result = CheckSlot(number, address)) return Finish(result);
    const int result = Exchange(platform::Format("20%03d", number).c_str(), address, kTelegramRead);
    if (result == 0) text.AssignText(value_);
    return Finish(result);
}

bool TarnBus::WriteParameterText(int number, const char* text, int address) {
    if (const int result = CheckSlot(number, address)) return Finish(result);
    if (text == nullptr) return Finish(kTarnPlausibility);
    if (!IsTelegramValueText(text)) return Finish(kTarnInvalidValue);
    CopyCut(value_, kTarnValueSize, text);
    return Finish(Exchange(platform::Format("20%03d", number).c_str(), address, kTelegramWrite));
}

bool TarnBus::ReadBlock(int number, void* destination, int first, uint16_t& count, int width, int address) {
    if (const int result = CheckSlot(number, address)) return Finish(result);
    if (!IsElementWidth(width) || destination == nullptr || first < 0) return Finish(kTarnPlausibility);
    uint8_t* out = static_cast<uint8_t*>(destination);
    const size_t groupLength = 2 * static_cast<size_t>(width);
    int remaining = count;
    int element = first;
    count = 0;
    int delivered = 0;
    do {
        const std::string request =
            platform::Format("70%03d%05d%02d", number, element, std::min(remaining, kMaxBlockReadElements));
        const int result = Exchange(request.c_str(), address, kTelegramRead);
        // The device says no when the array has no more elements.
        if (result == kTarnCanceled) break;
        if (result != 0) return Finish(result);
        const std::string_view echo(code_);
        if (echo.size() != request.size() || echo.substr(0, 10) != std::string_view(request).substr(0, 10) ||
            !std::isdigit(static_cast<unsigned char>(echo[10])) ||
            !std::isdigit(static_cast<unsigned char>(echo[11]))) {
            return Finish(kTarnWrongCode);
        }
        delivered = (echo[10] - '0') * 10 + (echo[11] - '0');
        // Never more than was asked for, and only elements the value holds.
        const int taken = std::min(delivered, remaining);
        const std::string_view digits(value_);
        if (digits.size() < static_cast<size_t>(taken) * groupLength) return Finish(kTarnSyntax);
        for (int i = 0; i < taken; ++i) {
            const uint32_t element32 = HexFieldValue(digits.substr(static_cast<size_t>(i) * groupLength, groupLength));
            uint8_t* target = out + static_cast<size_t>(count + i) * static_cast<size_t>(width);
            if (width == 1) {
                *target = static_cast<uint8_t>(element32);
            } else if (width == 2) {
                const uint16_t element16 = static_cast<uint16_t>(element32);
                std::memcpy(target, &element16, sizeof element16);
            } else {
                std::memcpy(target, &element32, sizeof element32);
            }
        }
        element += taken;
        count = static_cast<uint16_t>(count + taken);
        remaining -= taken;
    } while (remaining != 0 && delivered != 0);
    return Finish(0);
}

bool TarnBus::WriteBlock(int number, const void* source, int first, uint16_t count, int width, int address) {
    if (const int result = CheckSlot(number, address)) return Finish(result);
    if (!IsElementWidth(width) || (source == nullptr && count != 0) || first < 0) {
        return Finish(kTarnPlausibility);
    }
    const uint8_t* in = static_cast<const uint8_t*>(source);
    const int perTelegram = kBlockWriteCharacters / (2 * width);
    int done = 0;
    while (done < count) {
        const int chunk = std::min(count - done, perTelegram);
        std::string text;
        for (int i = 0; i < chunk; ++i) {
            const uint8_t* element = in + static_cast<size_t>(done + i) * static_cast<size_t>(width);
            if (width == 1) {
                text += platform::Format("%02X", unsigned{*element});
            } else if (width == 2) {
                uint16_t element16;
                std::memcpy(&element16, element, sizeof element16);
                text += platform::Format("%04X", unsigned{element16});
            } else {
                int32_t element32;
                std::memcpy(&element32, element, sizeof element32);
                text += platform::Format("%08lX", element32);
            }
        }
        CopyCut(value_, kTarnValueSize, text);
        const int result =
            Exchange(platform::Format("70%03d%05d%02d", number, first + done, chunk).c_str(), address, kTelegramWrite);
        if (result != 0) return Finish(result);
        done += chunk;
    }
    return Finish(0);
}

bool TarnBus::ReadParameterInfo(int number, ParameterEntry& entry, bool& notPresent, int address) {
    if (const int result = CheckSlot(number, address)) return Finish(result);
    const int result =
        Exchange(platform::Format("30%03u", static_cast<unsigned>(number)).c_str(), address, kTelegramRead);
    if (result != 0) {
        notPresent = result == kTarnCanceled;
        return Finish(result);
    }
    notPresent = false;
    const std::string record(value_);
    if (record.size() < kAttributeRecordLength) return Finish(kTarnSyntax);
    entry.number = static_cast<int16_t>(number);
    // The entry keeps five characters of the name and its terminator.
    CopyCut(entry.name, kEntryNameSize, std::string_view(record).substr(kNameField.pos, kNameField.length));
    unitIndex_ = static_cast<uint8_t>(HexFieldValue(record, kUnitIndexField));
    entry.kind = record[kKindPos];
    entry.type = record[kTypePos];
    entry.minimum = static_cast<int32_t>(HexFieldValue(record, kMinimumField));
    entry.maximum = static_cast<int32_t>(HexFieldValue(record, kMaximumField));
    entry.defaultValue = static_cast<int32_t>(HexFieldValue(record, kDefaultField));
    entry.access = static_cast<uint8_t>(HexFieldValue(record, kAccessField));
    entry.flags = static_cast<uint16_t>(HexFieldValue(record, kFlagsField));
    entry.extraWords[0] = static_cast<uint16_t>(HexFieldValue(record, kFirstWordField));
    entry.extraWords[1] = static_cast<uint16_t>(HexFieldValue(record, kSecondWordField));
    entry.KPGroup = static_cast<uint8_t>(HexFieldValue(record, kKeypadGroupField));
    entry.SCGroup = static_cast<uint8_t>(HexFieldValue(record, kScGroupField));
    dstring unit;
    if (ReadValueText(kUnitTextParameter, unitIndex_, unit, address) == nullptr) return false;
    CopyCut(entry.unit, kEntryUnitSize, unit.GetAt(0) == '-' ? std::string_view() : unit.View());
    return Finish(0);
}

const char* TarnBus::ReadValueText(int number, uint8_t index, dstring& text, int address) {
    if (const int result = CheckSlot(number, address)) {
        text.Clear();
        Finish(result);
        return nullptr;
    }
    if (!WriteParameterValue(kValueIndexParameter, index, address)) {
        text.Clear();
        return nullptr;
    }
    if (GetDeviceKind(address) == kUnknownDeviceKind) {
        text.AssignText(platform::Format("%u", unsigned{index}).c_str());
        Finish(0);
        return text.Text();
    }
    const int result = Exchange(platform::Format("61%03d", number).c_str(), address, kTelegramRead);
    if (result == kTarnCanceled) {
        text.Clear();
        Finish(0);
        return text.Text();
    }
    if (result != 0) {
        text.Clear();
        Finish(result);
        return nullptr;
    }
    text.AssignText(value_);
    Finish(0);
    return text.Text();
}

bool TarnBus::ReadSampleBlock(uint8_t* destination, uint16_t& count, bool& lastBlock, int address) {
    const uint16_t room = count;
    count = 0;
    if (const int result = CheckSlot(address)) return Finish(result);
    if (const int result = Exchange(kSampleBlockCode, address, kTelegramRead)) return Finish(result);
    const std::string_view reply(value_);
    const size_t mark = reply.find(kLastSampleBlockMark);
    lastBlock = mark != std::string_view::npos;
    const size_t bytes = lastBlock ? mark / 2 : (reply.size() + 1) / 2;
    // A block the destination cannot hold is refused whole.
    if (bytes > room || (bytes > 0 && destination == nullptr)) return Finish(kTarnBufferOverflow);
    for (size_t i = 0; i < bytes; ++i) {
        destination[i] = static_cast<uint8_t>(HexFieldValue(reply.substr(2 * i, 2)));
    }
    count = static_cast<uint16_t>(bytes);
    return Finish(0);
}
