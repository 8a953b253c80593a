// The parameters by which every drive tells what it is and which firmware it
// runs, and the units of their values: the one place the buses, the
// parameter bases and the windows above them take these numbers from.
#pragma once

// The device code (type number); its thousands are the device class.
inline constexpr int kDeviceCodeParameter = 91;
inline constexpr int kDeviceClassDivisor = 1000;
// The firmware version, counted in kVersionUnit, and the alternate version
// parameter that file and window choices fall back on.
inline constexpr int kFirmwareVersionParameter = 92;
inline constexpr int kAlternateVersionParameter = 90;
inline constexpr float kVersionUnit = 0.05f;
// The drive's serial number (a STRING parameter).
inline constexpr int kSerialNumberParameter = 127;
// The firmware's checksums, valid only where the entries carry these names.
inline constexpr int kChecksumXorParameter = 115;
inline constexpr int kChecksumAddParameter = 116;
inline constexpr char kChecksumXorName[] = "CSXOR";
inline constexpr char kChecksumAddName[] = "CSADD";
// The handshake under which a data set is written into the drive.
inline constexpr int kDownloadHandshakeParameter = 80;
