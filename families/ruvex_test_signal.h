// The controller test signal of a Ruvex (family-4) drive: the readiness
// check before a test, the current amplitude proposed from the motor current,
// and the test run that sets up the drive's recorder, excites the current
// controller and hands the recording to the plot tool.
#pragma once

#include <cstdint>

#include "toolkit/core/gw_event.h"

class DeviceSetupContext;
class GwCore;
class ScopeRecorder;

inline constexpr int kTestCommandParameter = 120;
inline constexpr int kTestSignalShapeParameter = 42;
inline constexpr int kTestSignalTimesParameter = 43;
inline constexpr int kMotorCurrentParameter = 158;
inline constexpr int kDriveCommandParameter = 15;
inline constexpr char kCurrentAmplitudeName[] = "CurrentAmplitude";
inline constexpr char kPlotToolWindowName[] = "PlotTool";
inline constexpr char kTestSignalSetupFile200[] = "..\\TMP\\CB4_200_CtrlTestSignal.scs";
inline constexpr char kTestSignalSetupFile[] = "..\\TMP\\CB4_CtrlTestSignal.scs";
// Main messages: not ready (question), running (question), time-outs.
inline constexpr int kTestNotReadyQuestion = 137;
inline constexpr int kTestRunningQuestion = 138;
inline constexpr int kTestTimeoutMessage = 139;
inline constexpr int kDriveTimeoutMessage = 144;
// Activity message while the drive runs the signal.
inline constexpr int kTestSignalActivity = 26;
// Passes of 1000 ms that the drive is given to end a command.
inline constexpr int kDriveCommandPasses = 19;
inline constexpr int kTestSignalPasses = 9;

struct RuvexTestSignalState {
    // The motor current read last by the amplitude proposal of the family-4
    // windows; the test signal of those windows scales with it.
    double MotorCurrent = 0.0;
};
RuvexTestSignalState& TheRuvexTestSignalState();

// Whether the drive may start a test: waits for the ready state, asks the
// user while it is not ready, stops a drive in states 5 and 7.
bool PrepareDriveForTest(DeviceSetupContext* context, GwCore* widget);

// Reads or writes a number by the read rule of the context: the device when
// its base is online, else the table.
int WriteByRule(DeviceSetupContext* context, int number, double value, int element = 0);
int ReadByRule(DeviceSetupContext* context, int number, double* out, int element = 0);

// Sets the recorder up for a test signal (the set values and actual values
// of the current controller on channels 0 to 2, 0.02 s, the rising edge of
// channel 0 at `triggerLevel`) and starts it.
void SetUpTestSignalRecorder(ScopeRecorder& scope, double triggerLevel);

int CB_ShowCurrentAmplitude(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_Show4CurrentAmplitude(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_CtrlTestSignal(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_CtrlTestSignal(GwCore* widget, GwEvent* event, GwUD userData);
