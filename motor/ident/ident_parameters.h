// The device parameters of the PC-side motor identification by role, one
// table for the Ruvex family and one for the Pesco, Talin and Wenzo
// families, and the program-lifetime state of the identification: the table
// and start command of the last run, the recorder settings kept around a run
// and whether a run found active was already stopped once.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Roles of an identification parameter table (index into its numbers).
enum IdentRole : int {
    kIdentMotorType = 0,         // 0 asynchronous, 1 synchronous
    kIdentRatedPower = 1,        // kW
    kIdentRatedVoltage = 2,      // V
    kIdentRatedFrequency = 3,    // Hz
    kIdentRatedSpeed = 4,        // 1/min
    kIdentRatedCurrent = 5,      // A rms
    kIdentMotorInertia = 6,      // kgmm
    kIdentOperatingFlux = 7,     // Vs
    kIdentLeakage = 8,           // H
    kIdentStatorResistance = 9,  // Ohm
    kIdentRotorResistance = 10,  // Ohm
    kIdentPolePairs = 11,
    kIdentFluxCoefficient0 = 12,  // 12 to 16: c0 to c4 of the inductance over flux
    kIdentFinalMagnetising = 17,  // H, for the final current controller
    kIdentRatedTorque = 18,       // Nm
    kIdentCurrentGain = 19,       // V/A
    kIdentCurrentResetTime = 20,  // ms
    kIdentDeviceCurrentLimit = 21,
    kIdentSamplingPeriod = 22,  // s
    kIdentSpeedLoopDelay = 23,
    kIdentPositionLoopDelay = 24,
    kIdentCommand = 25,
    kIdentState = 26,
    kIdentExcitationCurrents = 27,  // elements 0 to 2
    kIdentExcitationTiming = 28,    // elements 0 to 2; element 2 the duration in s
    kIdentExcitationFrequency = 29,
    kIdentResponse = 30,  // elements 0 to 3
    kIdentSpeedFilter = 32,
    kIdentSpeedGain = 33,
    kIdentSpeedResetTime = 34,
    kIdentPositionGain = 35,
    kIdentTotalInertia = 36,
    kIdentCompleteMark = 37,
    kIdentOperatingMode = 43,
    kIdentAfterTransferFunction = 44,
    kIdentPeakCurrentLimit = 45,  // element 1 caps the test current at 80 %
    kIdentFirmwareVersion = 46,
    kIdentFirmwareSubVersion = 47,
};

inline constexpr int kIdentRoleCount = 48;
// The number of a role that the family does not have.
inline constexpr int32_t kNoIdentParameter = -1;

struct IdentParameterTable {
    std::array<int32_t, kIdentRoleCount> Numbers;

    int operator[](int role) const { return Numbers[static_cast<size_t>(role)]; }
};

// Family 4.
extern const IdentParameterTable kRuvexIdentTable;
// Families 5 to 7.
extern const IdentParameterTable kPescoIdentTable;

// The identification's first step in the drive, by family.
inline constexpr double kRuvexIdentStartCommand = 4.0;
inline constexpr double kPescoIdentStartCommand = 3.0;

inline constexpr int kScopeChannelCount = 4;
inline constexpr size_t kScopeVariableSlotSize = 200;

// The recorder's settings read before a run, with whether each could be read:
// only those are written back.
struct SavedScopeSettings {
    int TriggerChannel = 0;
    float TriggerLevel = 0.0f;
    int TriggerMode = 0;
    float PreTrigger = 0.0f;
    std::array<std::string, kScopeChannelCount> ChannelVariables;
    float TimeBase = 0.0f;

    bool HasTriggerChannel = false;
    bool HasTriggerLevel = false;
    bool HasTriggerMode = false;
    bool HasPreTrigger = false;
    std::array<bool, kScopeChannelCount> HasChannelVariable = {};
    bool HasTimeBase = false;
};

struct MotorIdentState {
    const IdentParameterTable* ActiveIdentTable = &kPescoIdentTable;
    double IdentStartCommand = 0.0;
    SavedScopeSettings SavedScope;
    // Set until the user has stopped a run found active once.
    bool ConfirmStopFirstTime = true;
};

MotorIdentState& TheMotorIdentState();

// The parameter of `role` in the table of the current run.
int IdentParameter(int role);
