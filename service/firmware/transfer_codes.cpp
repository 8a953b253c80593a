#include "service/firmware/transfer_codes.h"

#include <array>

#include "bus/serial/striowin.h"
#include "platform/base/reset_hooks.h"
#include "service/firmware/loader_console.h"

namespace {

// Highest code of the serial port layer.
constexpr int kLastSerialCode = 14;

struct FamilyTexts {
    int messageBase;     // message of code 15; code c has base + (c - 15)
    int successMessage;  // -1: no success text
    int argumentCode;    // the code whose message takes an argument
};

constexpr FamilyTexts kLineTexts{38, 38, line_code::kNoLineAnswer};
constexpr FamilyTexts kBooterTexts{32, -1, -1};
constexpr FamilyTexts kImageTexts{49, 49, image_code::kOutsideImage};

const FamilyTexts& TextsOf(TransferFamily family) {
    switch (family) {
        case TransferFamily::kBooter:
            return kBooterTexts;
        case TransferFamily::kLoaderImage:
            return kImageTexts;
        case TransferFamily::kLine:
            break;
    }
    return kLineTexts;
}

struct TransferCodeState {
    std::array<std::string, 3> Texts;
};

TransferCodeState& State() {
    static TransferCodeState state;
    return state;
}

platform::ResetHook ResetState([] { State() = {}; });

std::string& TextSlot(TransferFamily family) { return State().Texts[static_cast<size_t>(family)]; }

struct BaudCode {
    int32_t baud;
    int code;
};
constexpr BaudCode kBaudCodes[] = {
    {1200, 0}, {2400, 1}, {4800, 2}, {9600, 3}, {19200, 4}, {28800, 5}, {57600, 6}, {115200, 7}};

constexpr uint8_t kChipIdentifications[] = {0xB5, 0x55, 0xA5, 0xC5};

}  // namespace

std::string TransferCodeText(TransferFamily family, int code, uint32_t argument) {
    if (code >= 1 && code <= kLastSerialCode) return SerioErrorText(code);
    const FamilyTexts& texts = TextsOf(family);
    const LoaderConsole& console = TheLoaderConsole();
    if (IsTransferSuccess(code)) {
        return texts.successMessage < 0 ? std::string() : console.FormatMessage(texts.successMessage);
    }
    const int number = texts.messageBase + (code - kTransferSuccess);
    if (code == texts.argumentCode) return console.FormatMessage(number, {argument});
    return console.FormatMessage(number);
}

const std::string& TransferText(TransferFamily family) { return TextSlot(family); }

void SetTransferText(TransferFamily family, std::string text) { TextSlot(family) = std::move(text); }

int SetTransferResult(TransferFamily family, int code, uint32_t argument) {
    // A family without a success text keeps the text it had.
    if (IsTransferSuccess(code) && TextsOf(family).successMessage < 0) return code;
    SetTransferText(family, TransferCodeText(family, code, argument));
    return code;
}

int LoaderBaudCode(int32_t baud) {
    for (const BaudCode& entry : kBaudCodes) {
        if (entry.baud == baud) return entry.code;
    }
    return -1;
}

int ChipIdentificationByte(int chipCode) {
    if (chipCode < 0 || chipCode >= static_cast<int>(std::size(kChipIdentifications))) return -1;
    return kChipIdentifications[chipCode];
}
