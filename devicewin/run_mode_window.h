// The run modes of a drive in its setup windows: the run-mode dependent
// widgets after a change, the window of the active run mode, and installing
// the run mode chosen in the application list.
#pragma once

class DeviceSetupContext;
class GwCore;
class GwUD;
struct GwEvent;

inline constexpr char kPositioningHandModeName[] = "PosModHandMode";
// Run modes that offer manual positioning.
inline constexpr int kFirstPositioningRunMode = 12;
inline constexpr int kLastPositioningRunMode = 16;
inline constexpr int kInstallQuestion = 93;
inline constexpr int kDeviceRunningInfo = 107;
inline constexpr int kInstallingActivity = 9;

// Closes the run-mode dependent windows (to reopen later), enables "Setup"
// when the active run mode has a setup page and shows "PosModHandMode" only
// for the positioning run modes.
void ShowRunModeSelection(GwCore* window, DeviceSetupContext* context);
// Opens the window of the active run mode: the user data's stem followed by
// its setup page number, always fresh. Returns 1.
int CB_CallRunMode(GwCore* widget, GwEvent* event, GwUD userData);
// Installs the run mode selected in the application list and saves the data
// set once the drive reports it. 0 after an attempt or the user's refusal, 1
// when nothing could be done.
int CB_InstallRunMode(GwCore* widget, GwEvent* event, GwUD userData);
