// One measurement step of the PC-side identification, carried out by the
// drive: wait until the drive may start a step (telling the user why not),
// reset its identification, start the step with a command value and wait for
// the drive to report its end.
#pragma once

class OnOffBase;

// Main messages of the step.
inline constexpr int kIdentNotReadyFollowMessage = 133;
inline constexpr int kIdentReadyTimeoutMessage = 134;
inline constexpr int kIdentStepTimeoutMessage = 135;
inline constexpr int kIdentStepFailedMessage = 136;

// Identification states as the drive reports them.
inline constexpr double kIdentStateIdle = 0.0;
inline constexpr double kIdentStateRunning = 1.0;
inline constexpr double kIdentStateDone = 2.0;
inline constexpr double kIdentStateFailed = 3.0;

// Command values: 0 stops, 1 resets, 2 runs one measurement.
inline constexpr double kIdentStopCommand = 0.0;
inline constexpr double kIdentResetCommand = 1.0;
inline constexpr double kIdentMeasureCommand = 2.0;

// The parameter whose write of 1.0 ends a transient device state of family 4.
inline constexpr int kTransientEndParameter = 15;

// Timing in milliseconds.
inline constexpr unsigned kIdentTransientDeadlineMs = 5000;
inline constexpr unsigned kIdentTransientPollMs = 1000;
inline constexpr unsigned kIdentUnreadableStatePollMs = 300;
inline constexpr unsigned kIdentUnreadableStateLimitMs = 5000;
inline constexpr unsigned kIdentSettleMs = 1000;
inline constexpr unsigned kIdentResetDeadlineMs = 2000;
inline constexpr unsigned kIdentResetPollMs = 300;
inline constexpr unsigned kIdentStepStartWaitMs = 500;
inline constexpr unsigned kIdentStepDeadlineMs = 65000;
inline constexpr unsigned kIdentStepPollMs = 1000;
inline constexpr unsigned kIdentStepDoneWaitMs = 500;

// True when the step ended with state 2. On every failure a box has told the
// user why (main message 5, 134, 135 or 136, or a declined complaint).
bool RunIdentStep(double command, OnOffBase* base);
