// The device parameters through which the oscilloscope reaches the drive's
// recorder, the error and message numbers it reports, and the conversions
// that its engine, export and variable list share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bus/base/device_parameters.h"

class ParaBase;
struct ScopeVariable;

inline constexpr int kScopeChannelCount = 4;
// Channel c is configured by parameter 20 + 2c and records the variable of
// parameter 21 + 2c (its index within its width kind).
inline constexpr int kScopeFirstConfigParameter = 20;
inline constexpr int kScopeFirstVariableParameter = 21;
inline constexpr uint16_t kScopeChannelActive = 0x20;
inline constexpr uint16_t kScopeChannel32Bit = 0x40;
inline constexpr int kScopeSetupOnlyParameter = 36;
inline constexpr int kScopeDividerParameter = 60;  // interval = (value + 1) * base time
inline constexpr int kScopeLengthParameter = 62;   // buffer bytes
inline constexpr int kScopeTriggerLevelParameter = 64;
inline constexpr int kScopeTriggerModeParameter = 65;
inline constexpr int kScopeTriggerChannelParameter = 66;
inline constexpr int kScopePreTriggerParameter = 67;   // percent, raw steps of 0.05
inline constexpr int kScopeControlParameter = 68;      // 1 start, 0 stop
inline constexpr int kScopeFirstActualParameter = 70;  // 70 .. 73
inline constexpr int kScopeTransferParameter = 110;
inline constexpr int kScopeListNameParameter = 112;
inline constexpr int kScopeListUnitParameter = 113;
inline constexpr int kScopeListFractionParameter = 114;
inline constexpr int kScopeListFactorParameter = 117;
inline constexpr int kScopeListKindParameter = 118;
inline constexpr int kScopeListLevelParameter = 119;
inline constexpr int kScopeListIndexParameter = 121;
inline constexpr int kScopeControlTypeParameter = 300;
inline constexpr int kScopeListTimeBaseParameter = 304;
inline constexpr int kScopeBaseTimeParameter = 350;  // seconds
inline constexpr int kScopeNormParameter = 399;

inline constexpr char kScopeListIndexName[] = "DSLIX";
inline constexpr char kScopeNormName[] = "NORMS";

// Bits of the control parameter as read.
inline constexpr uint16_t kScopeRunningBit = 0x1;
inline constexpr uint16_t kScopeTriggeredBit = 0x2;
// Values written to the control and transfer parameters.
inline constexpr uint16_t kScopeStart = 1;
inline constexpr uint16_t kScopeStop = 0;
inline constexpr uint8_t kScopeTransferFirstBlock = 2;
inline constexpr uint8_t kScopeTransferNextBlock = 1;

// Width kinds of variables, and their sample sizes in bytes.
inline constexpr int kScopeKind16 = 1;
inline constexpr int kScopeKind32 = 2;
inline constexpr int kScopeBytes16 = 2;
inline constexpr int kScopeBytes32 = 4;
// The buffer holds this much more than the recording's length.
inline constexpr int kScopeBufferReserve = 50;

// Errors of the parameter base beyond its own list.
inline constexpr int kParaScopeVariableMissing = 16;
inline constexpr int kParaCancelled = 24;

// Main messages and activity messages.
inline constexpr int kScopeDeviceErrorMessage = 5;
inline constexpr int kScopeVariableMissingMessage = 12;
inline constexpr int kScopeSetupNotCreatedMessage = 156;
inline constexpr int kScopeSetupNotReadMessage = 157;
inline constexpr int kScopeListBuildActivity = 25;

// Default files of the export: "Scope" in "..\TMP".
inline constexpr char kScopeExportDir[] = "..\\TMP";
inline constexpr char kScopeExportName[] = "Scope";
inline constexpr char kScopeHeaderExtension[] = "SDC";
inline constexpr char kScopeValueExtension[] = "DAT";

// Width kind of a channel's configuration word.
inline int ScopeKindOfConfig(uint32_t config) {
    return (config & kScopeChannel32Bit) != 0 ? kScopeKind32 : kScopeKind16;
}
inline int ScopeBytesOfKind(int kind) { return kind == kScopeKind32 ? kScopeBytes32 : kScopeBytes16; }

// The physical value of a 16-bit raw value of a variable (a trigger level or
// an actual value): a 32-bit variable takes it as its upper half.
double ScopeRawToValue(const ScopeVariable& variable, double factor, int16_t raw);

// Reads parameter 399 from the device (every element of an array) as
// doubles, the factor table of the variable list.
int ReadScopeNormTable(ParaBase& base, std::vector<double>* factors);

// Whether the parameter is present under that name.
bool HasParameterNamed(ParaBase& base, int number, const char* name);

// Clears the bus's write report for the life of the object and restores it.
class BusWriteReportPause {
public:
    BusWriteReportPause();
    ~BusWriteReportPause();
    BusWriteReportPause(const BusWriteReportPause&) = delete;
    BusWriteReportPause& operator=(const BusWriteReportPause&) = delete;

private:
    bool saved_;
};
