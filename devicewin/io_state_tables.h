// The fixed tables of the five I/O state windows: the terminals with their
// function parameters and labels, the status lamps, the widgets a window
// must hold, the extension-module slots and the poll weights of each model.
#pragma once

#include <cstdint>
#include <span>

// One terminal widget: its function-assignment parameter (0: none) and its
// label of five characters.
struct IoTerminal {
    const char* Widget;
    int Parameter;
    const char* Label;
};

// A lamp lit by one bit of a status word.
struct IoLamp {
    int Bit;
    const char* Widget;
};

// Interval at 9600 baud and minimum of a poll timer, in ms.
struct IoPollWeight {
    uint32_t IntervalAt9600Ms;
    uint32_t MinimumMs;
};

// Where a function tick takes the run-mode option of the tooltips from.
enum class IoRunModeOption { None, ReadFromDevice, Stored };

struct IoStateModel {
    const char* WindowName;
    std::span<const IoTerminal> Terminals;
    std::span<const char* const> Widgets;  // looked up at creation, in order
    int StatusParameter;
    std::span<const IoLamp> Lamps;
    bool HasAnalogueOutput;               // "osa0_v" from parameter 420
    std::span<const int> SlotParameters;  // empty: no extension module
    uint16_t ModuleCode;                  // a slot holding it means the module is there
    bool HidesGroupsOnVersion200;         // Talin
    IoPollWeight IoTick;
    IoPollWeight FunctionTick;
    bool ReadsAllFunctions;  // else one entry per tick, in turn
    bool RestartsFunctionTimerFirst;
    bool StopsAtEntryWithoutParameter;  // else it goes on to the texts
    IoRunModeOption RunModeOption;
    int FunctionTicksBeforeShow;  // run on a show in the function view
};

extern const IoStateModel kRuvexIoState;
extern const IoStateModel kMarloIoState;
extern const IoStateModel kPescoIoState;
extern const IoStateModel kTalinIoState;
extern const IoStateModel kWenzoIoState;

// Parameters every model reads the same way.
inline constexpr int kAnalogueInput0Parameter = 416;
inline constexpr int kAnalogueInput1Parameter = 417;
inline constexpr int kAnalogueOutputParameter = 420;
inline constexpr int kExtensionModuleParameter = 583;
inline constexpr int kRunModeParameter = 151;
