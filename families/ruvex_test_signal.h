// The controller test signal of a Ruvex (family-4) drive: the readiness
// check before a test, the current amplitude proposed from the motor current,
// and the test run that sets up the drive's recorder, excites the current
// controller and hands the recording to the plot tool.
#pragma once

#include <cstdint>

#include "toolkit/core/gw_event.h"

class DeviceSetupContext;
class GwCore;
class OnOffBase;
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

// The pieces of a current-controller test signal, shared with the
// controller set-up windows of the other families. `scale` is the current the
// signal scales with.
//
// The amplitude proposed for `field`: 0.8 x `current`, as "%lf".
void ShowAmplitudeProposal(GwCore* field, double current);
// Sets the recorder up (the set and actual values of the current controller
// on channels 0 to 2, 0.02 s, the rising edge of channel 0 at 0.3 x `scale`)
// and starts it.
void SetUpTestSignalRecorder(ScopeRecorder& scope, double scale);
// 42[0] := 0 and 42[1] := 0.2 x `scale`; then, to start the signal, 42[2] :=
// `amplitude`, 43[0..2] := 0, 3, 1 and 120 := 2. The first failed write shows
// error 5 for the base over `frame` and returns false.
bool WriteTestSignalShape(OnOffBase* base, double scale, GwCore* frame);
bool StartTestSignal(OnOffBase* base, double amplitude, GwCore* frame);
// Reads and exports the stopped recording, hands it to the plot tool
// (`OpenPlotFirst` with the callback's widget, event and user data) and
// brings a listed "PlotTool" window to the front. False when the export
// failed.
bool PlotTestSignalRecording(ScopeRecorder& scope, GwCore* widget, GwEvent* event, GwUD userData);

int CB_ShowCurrentAmplitude(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_Show4CurrentAmplitude(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_CtrlTestSignal(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_CtrlTestSignal(GwCore* widget, GwEvent* event, GwUD userData);
