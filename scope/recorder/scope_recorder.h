// The oscilloscope engine: sets up, starts, watches, reads and exports the
// drive's four-channel recorder, only through device parameters of a
// parameter base, and saves and restores the recorder's settings in setup
// files.
#pragma once

#include <cstdint>
#include <string>

#include "parameters/values/dstring.h"

class ParaBase;
class ScopeVariableList;
struct ScopeVariable;

// Trigger modes by the index the window uses: 0 both edges, 1 falling edge,
// 2 rising edge, 3 automatic, 4 recorder off.
inline constexpr int kScopeTriggerModeCount = 5;
inline constexpr int kScopeAutomaticTriggerIndex = 3;
// The value of parameter 65 for a mode index; false outside the table.
bool ScopeTriggerModeValue(int index, int16_t* value);
// The mode index of a value of parameter 65; 0 for a value not in the table.
int ScopeTriggerModeIndex(int16_t value);

// The parameters a setup file holds, in the order they are written.
inline constexpr int kScopeSetupParameterCount = 19;
extern const int kScopeSetupParameters[kScopeSetupParameterCount];
// The part of a setup file line "%d=%lf" before and after the "=".
struct ScopeSetupLine {
    int number = 0;
    double value = 0.0;
};
// Reads one line: a decimal parameter number among the setup parameters, "=",
// and a decimal floating-point value (blanks around either are allowed).
// False for any other line.
bool ParseScopeSetupLine(const std::string& line, ScopeSetupLine* out);

class ScopeRecorder {
public:
    // Attaches to the active device's parameter base. With a non-empty
    // `setupFile` the recorder's settings are saved in it now and written
    // back to the device when the engine ends.
    explicit ScopeRecorder(const char* setupFile);
    ScopeRecorder(ParaBase* paraBase, const char* setupFile);
    ~ScopeRecorder();
    ScopeRecorder(const ScopeRecorder&) = delete;
    ScopeRecorder& operator=(const ScopeRecorder&) = delete;

    // Takes the base, sets its export files to the defaults and loads its
    // variable list; false (with main error 5) when the list cannot be had.
    bool Attach(ParaBase* paraBase);
    // True for 0; else main error 5 for the base, and the error flag set.
    bool CheckResult(int code);

    bool Start();
    bool Stop();
    // By the control parameter's bits; false when it cannot be read.
    bool IsRunning();
    bool IsStopped();
    bool IsTriggered();

    bool SetTriggerChannel(int channel);
    int GetTriggerChannel();
    bool SetTriggerMode(int index);
    int GetTriggerMode();
    bool SetPreTrigger(double percent);
    double GetPreTrigger();
    // The level in the physical unit of the trigger channel's variable.
    bool SetTriggerLevel(double level);
    double GetTriggerLevel();

    bool SetChannelActive(int channel, bool on);
    bool IsChannelActive(int channel);
    // Records the variable of that name (main message 12 when there is none).
    bool SetChannelVariable(int channel, const char* name);
    bool AssignChannelVariable(int channel, int kind, int index);
    std::string GetChannelVariableName(int channel);
    // "none" reads as an empty unit, "variable" as the control type's unit.
    std::string GetChannelUnit(int channel);
    std::string GetTriggerUnit();
    const char* GetControlTypeUnit();
    // The actual value of the variable `name` recorded by the channel.
    double GetChannelValue(int channel, const char* name);
    // 2 or 4 for each active channel; 0 when a configuration cannot be read.
    int GetBytesPerRow();

    // Sample interval in milliseconds and recording time in seconds.
    bool SetTimeBase(double ms);
    bool SetRecordTime(double seconds);
    double GetTimeBase();
    double GetMinTimeBase();
    double GetMaxTimeBase();
    double GetRecordTime();
    double GetMinRecordTime();
    double GetMaxRecordTime();
    bool IsSampleCountWritable();

    // The names of the variables offered at the current user level, one per
    // call; null after the last, and the next call starts again.
    const char* NextVisibleVariable();
    void RestartVariables() { listCursor_ = 0; }

    // Reads the buffer and exports it to the default files.
    bool ReadAndExport();
    // Exports the last buffer read with the header and value files named
    // after `path` (its extension replaced by "SDC" and "DAT").
    bool ExportTo(const char* path);
    bool WriteSetupFile(const char* name);
    bool ReadSetupFile(const char* name);

    bool IsValid() const { return valid_; }
    bool IsAttached() const { return attached_; }
    bool HasError() const { return error_; }
    void ClearError() { error_ = false; }
    int GetLevelIntegerWidth() const { return levelIntegerWidth_; }
    ParaBase* GetParaBase() const { return base_; }
    ScopeVariableList* GetVariableList() const { return list_; }
    const dstring& GetSetupFileName() const { return setupFile_; }

private:
    void Construct(ParaBase* paraBase, const char* setupFile);
    void SetDefaultExportPaths();
    // Device reads; a failure is reported, and the stored value is used.
    uint8_t ReadU8(int number);
    uint16_t ReadU16(int number);
    int16_t ReadS16(int number);
    float ReadFloat(int number);
    // The channel's configuration; false (reported) when the read failed.
    bool ReadConfig(int channel, uint16_t* config);
    // Selects the variable recorded by the channel; null when the list has
    // none (no message).
    const ScopeVariable* SelectChannelVariable(int channel, double* factor);
    std::string UnitOf(const ScopeVariable& variable);
    double BaseTime();
    double Limit60(bool maximum);
    double MinIntervalSeconds();
    double RecordTimeFor(double divider, double length);
    bool WriteSampleCount(double n);
    void ShowFileMessage(int number, const char* name);

    bool valid_ = true;
    bool error_ = false;
    bool attached_ = false;
    int levelIntegerWidth_ = 0;
    ScopeVariableList* list_ = nullptr;
    ParaBase* base_ = nullptr;
    uint16_t listCursor_ = 0;
    dstring setupFile_;
};
