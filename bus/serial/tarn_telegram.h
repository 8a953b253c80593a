// The serial drive protocol's exchanges: one request and its reply with the
// address character, the telegram code, the value and the block check
// character, tried again after failures as the drive's status word says.
// The bus object and the firmware loader both use these functions.
#pragma once

#include <array>
#include <cstdint>

// Room for a telegram code (12 characters and the terminator) and for a value
// (128 characters and the terminator).
inline constexpr int kTarnCodeSize = 13;
inline constexpr int kTarnMaxCodeLength = 12;
inline constexpr int kTarnValueSize = 129;
inline constexpr int kTarnMaxValueLength = 128;
// Replies are received into a buffer of this size.
inline constexpr int kTarnReplySize = 146;
// The broadcast address: a write to it gets no reply, a read is refused.
inline constexpr int kBroadcastAddress = 31;
inline constexpr int kTelegramStatisticsCount = 26;

// Codes of the device's own registers.
inline constexpr char kBusAddressCode[] = "00082";
inline constexpr char kStatusWordCode[] = "00085";
inline constexpr char kTypeNumberCode[] = "00091";
inline constexpr char kVersionCode[] = "00092";
inline constexpr char kVersionParameterCode[] = "20092";

// Exchange modes of TarnBusTelegram.
inline constexpr int kTelegramRead = 0;
inline constexpr int kTelegramWrite = 1;

// Error codes of the protocol beyond those passed on from the port layer.
inline constexpr int kTarnCannotReadStatus = 15;
inline constexpr int kTarnPlausibility = 14;
inline constexpr int kTarnWrongAddress = 12;
inline constexpr int kTarnSyntax = 13;
inline constexpr int kTarnWrongCode = 23;
inline constexpr int kTarnCanceled = 22;
inline constexpr int kTarnInvalidValue = 19;

// Incremented once per exchange; shown in the log lines.
extern uint32_t TelegramNumber;
// Tries of one exchange; 0 makes every exchange succeed without traffic.
extern int TelegramTryCount;
// Waits after successful exchanges so slow drives can store the value.
extern bool WriteSettleWait;
// [0]: exchanges that succeeded; [1..25]: failed tries by error code.
extern std::array<uint32_t, kTelegramStatisticsCount> TelegramStatistics;

// Opens the port with 7 data bits, even parity and one stop bit. Returns 0,
// or 14 when the port could not be opened.
int InitTarnBus(unsigned port, int32_t baud, int settleFlag);
// Closes the port (CloseSerio).
bool ExitTarnBus(bool waitForTransmit);
// The arguments of the last InitTarnBus.
unsigned TarnBusPort();
int32_t TarnBusBaud();

// One exchange with retries. `code` holds kTarnCodeSize bytes: a code longer
// than 5 characters is overwritten with the code the device echoes. `value`
// holds kTarnValueSize bytes: the value to write, or the value read.
// `address` 0..31; `mode` kTelegramRead or kTelegramWrite.
int TarnBusTelegram(char* code, char* value, int address, int mode);
// Single tries, without retries or statistics.
int TarnReadTelegram(char* code, char* value, char addressChar);
int TarnWriteTelegram(const char* code, const char* value, char addressChar);
// Turns a bus address 0..31 into its character ('@' + address); 14 for any
// other address, which is left alone.
int TarnAddressChar(int& address);
void ClearTelegramStatistics();

// Whether a text can travel as a value: it must not hold a character that
// frames telegrams (STX, ETX, EOT, ENQ, ACK, NAK).
bool IsTelegramValueText(const char* text);
