// The boot-loader tool's options for a firmware download: which device type,
// start, rates and files each device class gets, and the option file
// "Kelbo.inv" that carries them to the tool.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Download classes, by device (for an online device its family).
inline constexpr int kClassOskel = 2;
inline constexpr int kClassMarlo = 3;
inline constexpr int kClassRuvex = 4;
inline constexpr int kClassPesco = 5;
inline constexpr int kClassTalin = 6;
inline constexpr int kClassWenzo = 7;

// Variants of a Pesco: the chooser's selection index, or what the hardware
// identification of a running one selects.
inline constexpr int kPescoVariant32F = 0;
inline constexpr int kPescoVariant16F = 1;

// The line-transfer rate when the main profile names none.
inline constexpr uint32_t kDefaultLoaderRate = 57600;
// Marlo firmware up to this version cannot change its rate for the download.
inline constexpr float kMarloLastFixedRateVersion = 2.15f;

inline constexpr char kOptionFileName[] = "Kelbo.inv";
// The tool's command line with the option file.
inline constexpr char kLoaderCommandFormat[] = "kelbo -if%s";

struct LoaderOptionRequest {
    int deviceClass = 0;
    bool warm = false;             // an online device; else the user chose the class
    int variant = 0;               // Ruvex and Pesco
    float firmwareVersion = 0.0f;  // a warm Marlo's, as the drive stores it
    uint32_t loaderRate = kDefaultLoaderRate;
    unsigned port = 0;  // of the serial drive bus
    std::string firmwareFile;
};

// The option lines in their order; nothing for a class outside 2..7 or a
// Pesco variant other than 0 and 1.
std::optional<std::vector<std::string>> LoaderOptionSet(const LoaderOptionRequest& request);

// Writes the lines, each ended by a line feed; false when the file cannot be
// created or written.
bool WriteLoaderOptionFile(const std::string& path, const std::vector<std::string>& lines);
