// The parameters of a drive's built-in PLC, laid into a drive table, with the
// PLC's behaviour turned on (DrivePlc in drive_table.h).
#pragma once

#include <cstdint>
#include <string>

#include "sim/drive_table.h"

namespace sim {

inline constexpr int kPlcLoadParameter = 170;  // "LOAD" USIGN16 array of 16, the PLC load in element 13
inline constexpr int kPlcLoadElement = 13;
inline constexpr int kPlcRunParameter = 450;        // "PLCRN" USIGN16 0..1, the run switch
inline constexpr int kPlcProjectParameter = 468;    // "PLCPJ" STRING, the project name
inline constexpr int kPlcErrorParameter = 469;      // "PLCER" USIGN32, the error word
inline constexpr int kPlcMaskALowParameter = 496;   // "EVAL" USIGN16 array of 2
inline constexpr int kPlcMaskAHighParameter = 497;  // "EVAH" USIGN16 array of 2
inline constexpr int kPlcVersionParameter = 527;    // "PLCVR" FLOAT32
inline constexpr int kPlcLengthParameter = 528;     // "PLCLN" USIGN16
inline constexpr int kPlcMaskBLowParameter = 556;   // "EVBL" USIGN16 array of 2
inline constexpr int kPlcMaskBHighParameter = 557;  // "EVBH" USIGN16 array of 2
// "PLCC0" .. "PLCC2": USIGN32 arrays of kPlcProgramWords elements.
inline constexpr int kPlcProgramFirstParameter = 600;
inline constexpr int kPlcProgramParameters = 3;
inline constexpr int kPlcProgramWords = 256;

struct PlcLayout {
    std::string project = "Demo";
    float version = 3.1f;
    uint32_t length = 768;
    bool with_version = true;  // 527 and 528 in the table
    bool with_project = true;  // 468 in the table
};

// Adds the PLC's parameters (all of the above and the load state 452, the
// activity counters 554) and turns the PLC on.
void AddPlc(DriveTable& table, const PlcLayout& layout = PlcLayout());

}  // namespace sim
