// The parameters a family-4 drive serves to the side windows of its setup
// window and to the copy of its whole data: the error and CPU-load resets,
// the CPU-load values, the option slots and the bus protocol text, the
// script text and the four listed parameters. A test adds them to its table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/drive_table.h"

namespace sim {

inline constexpr int kRuvexErrorReset = 74;     // 1 resets the drive's error
inline constexpr int kRuvexScript = 89;         // the data set's script text
inline constexpr int kRuvexCpuLoad = 170;       // four elements, percent
inline constexpr int kRuvexCpuLoadPeak = 171;   // four elements, percent
inline constexpr int kRuvexCpuLoadTotal = 172;  // one value, percent
inline constexpr int kRuvexCpuLoadReset = 173;  // 1 resets the measurement
inline constexpr int kRuvexOptionSlot1 = 578;   // module type of slot 1
inline constexpr int kRuvexOptionSlot2 = 579;   // module type of slot 2
inline constexpr int kRuvexBusProtocol = 654;   // "COPEN", "CTARN", ...
inline constexpr int kRuvexFirstListed = 727;   // 727 to 730, moved apart from the data set
inline constexpr int kRuvexLastListed = 730;
inline constexpr int kRuvexCpuLoadElements = 4;

struct RuvexSetupOptions {
    uint32_t slot1 = 0;
    uint32_t slot2 = 0;
    // The bus protocol text; the drive has no 654 when empty.
    std::optional<std::string> protocol;
    std::string script = "S0";
};

// Puts the parameters into `table`: 170 = {11, 22, 33, 44}, 171 =
// {55, 66, 77, 88}, 172 = 42, 727 to 730 = 7270 to 7300, the options as
// given; the resets hold 0.
void PutRuvexSetupParameters(DriveTable& table, const RuvexSetupOptions& options);

}  // namespace sim
