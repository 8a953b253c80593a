// The program's serial port layer: one port at a time, opened and configured
// here, written and read by polling on the clock. It knows enough of the
// telegram protocol to tell when a reply is complete (ETX and its check
// character, or ACK or NAK), and it keeps the event pump and re-entered calls
// away from a running exchange. The firmware loader uses its byte functions.
#pragma once

#include <cstdint>

// Error codes of this layer. The firmware loader shows SerioErrorText of
// them; the telegram protocol passes them on as its own codes. Several
// failures share a number.
inline constexpr int kSerioOk = 0;
inline constexpr int kSerioPumpRunning = 1;      // transmit refused while the event pump runs
inline constexpr int kSerioLineFailed = 4;       // read or write failed; transmit re-entered
inline constexpr int kSerioNoReply = 5;          // time-out with nothing received; receive re-entered
inline constexpr int kSerioPartialReply = 6;     // time-out with part of a reply
inline constexpr int kSerioNothingReceived = 7;  // SerioReceiveByte found nothing
inline constexpr int kSerioOpenFailed = 8;       // opening or configuring the port failed
inline constexpr int kSerioBadFrame = 8;         // a reply without STX in place
inline constexpr int kSerioBadBaud = 10;
inline constexpr int kSerioBadCheck = 10;  // check character wrong
inline constexpr int kSerioTooLong = 11;   // more bytes than the buffer holds
inline constexpr int kSerioBadDataBits = 11;
inline constexpr int kSerioBadStopBits = 12;
inline constexpr int kSerioBadParity = 13;
inline constexpr int kSerioBufferFull = 14;  // a reply that fills the whole buffer
inline constexpr int kSerioShortWrite = 14;  // fewer bytes written than given
inline constexpr int kSerioNak = 22;         // NAK before ETX

// Protocol characters the receiver watches for.
inline constexpr uint8_t kNUL = 0x00;
inline constexpr uint8_t kSTX = 0x02;
inline constexpr uint8_t kETX = 0x03;
inline constexpr uint8_t kEOT = 0x04;
inline constexpr uint8_t kENQ = 0x05;
inline constexpr uint8_t kACK = 0x06;
inline constexpr uint8_t kNAK = 0x15;

// Size of the buffer behind SerioReceiveByte.
inline constexpr int kSerioReadAheadSize = 65535;
// How often a long receive lets the user interface process its events.
inline constexpr uint32_t RECEIVE_ALL_ATTENTION_TIME = 1000;  // ms

// Set while a receive or transmit runs; a call made meanwhile (from an event
// processed inside the receive loop) is refused.
extern bool ActivFlag;
// Set while the receive loop lets the user interface process events. The
// same flag as the program-wide serial-wait flag that the timer guard reads.
extern bool& SerioEventPumpFlag;

// Opens "COM<port>" and sets the line (parity 'E', 'N' or 'O' in either case;
// data bits 4..8; stop bits 1 or 2). An open port is closed first. A baud
// rate of 0 or below is refused with 10 before anything changes.
int iInitSerio(unsigned port, int32_t baud, int dataBits, int stopBits, char parity);

// What the receiver found in a reply besides its result.
struct SerioReply {
    int count = 0;        // bytes in the buffer (a NUL before STX removed)
    bool framed = false;  // STX at 1, ETX, and a check character that matched
    int etxIndex = -1;    // position of ETX, when framed
};
// Receives one telegram reply into `buffer` of `size` bytes, which is cleared
// first. Ends on a complete frame, on ACK as the second byte, on NAK before
// ETX (22), or on the baud rate's time-outs (5 nothing came, 6 part came).
int SerioReceiveReply(uint8_t* buffer, int size, SerioReply& reply);
int iSerioReceiveString(uint8_t* buffer, int size);
// Takes what has arrived, without waiting. `count` in: room in the buffer;
// out: bytes read.
int iSerioReceiveByteString(uint8_t* buffer, int& count);
int iSerioTransmittString(const uint8_t* bytes, int count);
// Closes the port, after the output queue drained when `wait` is set (the
// wait is bounded by the time the queued bytes need). True.
bool CloseSerio(bool wait);
bool SerioOutputPending();
// Drops what has arrived and not been read, such as the late rest of an
// earlier reply.
void SerioPurgeInput();
// The next received byte; 7 when nothing has arrived.
int SerioReceiveByte(uint8_t& byte);
int SerioTransmitByte(uint8_t byte);
// German text of a code 0..14, "Unbekannter Fehler" for any other.
const char* SerioErrorText(int code);
// `count` characters read as hexadecimal digits, last character lowest,
// without checks.
uint16_t HexToWord(const char* characters, int count);

// Whether the port is open, and the system's reason for the last failed open
// or configuration.
bool SerioIsOpen();
const char* SerioLastSystemError();
