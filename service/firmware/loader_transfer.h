// The wire side of a firmware download over the serial port: the booter and
// the loader for a drive in its chip's bootstrap mode, the switch of a
// running drive into its loader over the drive bus, and the line-by-line
// transfer of Intel-HEX files to the loader. Each step blocks, keeps the
// user interface alive through the loader console, returns a code of
// transfer_codes.h and leaves the code's text in its family's text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/firmware/loader_device_types.h"

// Every opening of the port for the loader: 8 data bits, 1 stop bit, no parity.
inline constexpr int kLoaderDataBits = 8;
inline constexpr int kLoaderStopBits = 1;
inline constexpr char kLoaderParity = 'N';
// The rate the loader starts at after a switch over the drive bus.
inline constexpr int32_t kLoaderStartBaud = 19200;
// Lines of this many characters or more are refused.
inline constexpr size_t kMaxHexLineLength = 512;
// Bytes of the booter.
inline constexpr size_t kBooterBytes = 32;

// LoaderReceiveByte's result when the time limit passed without a byte.
inline constexpr int kLoaderReceiveTimedOut = -1;
// One byte from the port within `limitMs`: 0 with a byte, a serial code on a
// port failure, kLoaderReceiveTimedOut (at once for a limit of 0).
int LoaderReceiveByte(uint8_t& byte, uint16_t limitMs);

// The booter's bytes from its file's text: every line without its blanks and
// tabs, read as pairs of hexadecimal digits. Exactly kBooterBytes, else
// booter_code::kBadFile; 0 on success.
int ParseBooterText(const std::string& text, std::vector<uint8_t>& bytes);

// Cold start, first step: synchronises with the chip's bootstrap loader and
// sends the 32 bytes of the booter file. The file is read and checked first,
// so a bad file never reaches the chip. The chip's identification byte is
// read when `readIdentification` is set and compared with the chip's when
// `compareIdentification` is set too.
int SendBooter(const std::string& path, unsigned port, int32_t baud, int chipCode, bool readIdentification,
               bool compareIdentification);

// The bytes of a loader file for an image of `size` bytes (0 where the file
// has none). image_code::kScanFileNotOpened, kBadFile or kOutsideImage (with
// the position in `position`) on failure, else kTransferSuccess.
int LoadHexImage(std::string_view text, std::vector<uint8_t>& image, uint32_t& position);
// Cold start, second step: the loader file as one raw block of the device
// type's loader image size.
int SendLoaderImage(const std::string& path, unsigned port, int32_t baud, const LoaderDeviceType& type);

// Sends an Intel-HEX file line by line to the loader: the wake-up, the
// loader's ACK, the baud code and the change to `baud`, then each line until
// the loader took it. `openFirst` opens the port at the loader's start rate
// first; `secondLoader` selects the second loader's codes and texts.
int SendHexByLines(const std::string& path, unsigned port, int32_t baud, bool openFirst, bool secondLoader, int wakeUp);
// One line, without its line end, repeated while the loader answers NAK.
int SendHexLine(std::string_view line);

// Warm start: finds the drive on the drive bus at one of its rates and tells
// it to start its loader. True on success.
bool SwitchToLoaderMode(unsigned port);
// The rates SwitchToLoaderMode tries, in order.
const std::vector<int32_t>& LoaderSwitchRates();
