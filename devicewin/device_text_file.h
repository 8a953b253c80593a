// The per-device text file in "..\TMP": one file per device (type, alias,
// serial number, firmware version), where the device messages window keeps
// its log while it is closed.
#pragma once

#include <string>
#include <utility>

// The base name while no device is online.
inline constexpr char kDefaultDeviceTextName[] = "DefaultName";
inline constexpr char kDeviceTextDirectory[] = "..\\TMP";

class DeviceTextFile {
public:
    explicit DeviceTextFile(std::string baseName = kDefaultDeviceTextName) : baseName_(std::move(baseName)) {}

    // "..\TMP\<base name>.txt".
    std::string GetPath() const;
    // Writes the text as the whole file (an empty text gives an empty
    // file); the old file stays when the write fails.
    bool Save(const std::string& text) const;
    // Appends the whole file to `text`; false when it cannot be read.
    bool Load(std::string& text) const;
    // "<type text>[_<alias>]_<parameter 127>_V<version tag>" of the online
    // active device, each device text made safe for a file name; else
    // "DefaultName".
    static std::string MakeDeviceName();
    // Takes MakeDeviceName as the base name and returns it.
    std::string SetToActiveDevice();
    const std::string& BaseName() const { return baseName_; }

private:
    std::string baseName_;
};

// The program-wide instance of the device messages window.
DeviceTextFile& TheDeviceTextFile();

// Writes the text to the file at the path (the program's form).
bool SaveTextAs(const std::string& text, const std::string& path);
