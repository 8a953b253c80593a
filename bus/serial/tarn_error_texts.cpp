#include "bus/serial/tarn_error_texts.h"

#include <array>

namespace {

constexpr std::array<const char*, 31> kTexts = {
    "Ok",
    "Transmissionregister of PC is not accessable ",
    "No connection to device",
    "Timeout while datatransmission of PC",
    "Unknown error",
    "No acknowlege of device",
    "Received datastream is not complete",
    "Invalid SIO-configuration (i.e. stopbits, datasize, ...)",
    "Invalid telegram-frame (i.e. invalid control characters)",
    "Parity error in received record",
    "Checksum error in received record",
    "Receivebuffer overflow",
    "Acknowledge from non addressed device",
    "Syntaxerror in received record of device",
    "Error during plausibilitycheck",
    "Cannot read errorstate of device",
    "Error detected by SIO-watchdog of device",
    "No parameter on number available",
    "Invalid writeaccess to parameter",
    "Invalid new value for parameter",
    "EEPROM of device is still busy",
    "Device detected checksumerror in telegram",
    "Device canceled last telegram",
    "Differences in transmitted and received parametercode",
    "PC SIO-number is not available",
    "Receivebuffer of PC overwrited (not enough CPU-speed)",
    "Bus is not initialised",
    "There is no active device on this address",
    "Unknown type of device",
    "No active device available",
    "Choosed function isn´t available on this Device",
};

constexpr int kUnknownErrorCode = 4;

}  // namespace

const char* TarnErrorLogText(int code) {
    if (code < 0 || code >= static_cast<int>(kTexts.size())) return kTexts[kUnknownErrorCode];
    return kTexts[code];
}
