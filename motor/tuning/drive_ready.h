// The check before a drive test of the controller set-up windows: waits
// while the drive is busy, asks while it is not ready or still running.
#pragma once

class DeviceSetupContext;
class GwCore;

inline constexpr int kDriveStateParameter = 403;
inline constexpr int kDriveStatusWordParameter = 410;
// Main messages of the check and of the runs after it.
inline constexpr int kDriveNotReadyQuestion = 137;
inline constexpr int kDriveRunningQuestion = 138;
inline constexpr int kDriveRunTimeoutMessage = 139;
inline constexpr int kDriveRunFailedMessage = 144;
// Rounds of 500 ms a busy state (above 8) is waited for.
inline constexpr int kBusyStateRounds = 20;

// Whether the test may go on; waits 500 ms before it says yes. `window` is
// the parent of the boxes.
bool WaitDriveReadyForTest(GwCore* window, DeviceSetupContext* context);
