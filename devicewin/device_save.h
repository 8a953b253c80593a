// Saving a device's data set: online the drive stores it (its save parameter
// := 1), offline the base's file set is written; and the question whether to
// save when a setup window is hidden with changes not yet saved. Each returns
// 1; without a device context they do nothing.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

// Main questions before a save, and the activity message of a file save.
inline constexpr int kSaveDeviceQuestion = 75;
inline constexpr int kSaveFileQuestion = 76;
inline constexpr int kCloseControlWindowsQuestion = 77;
inline constexpr int kFileSaveActivity = 22;
// How long the file save's activity message stays, ms.
inline constexpr unsigned kFileSaveShowMs = 2000;
inline constexpr char kSaveButtonName[] = "BT_Save";
inline constexpr char kMainContainerName[] = "MainContainer";
inline constexpr char kSaveLogText[] = "Save device data activated in window -> \"";

int CB_SaveDevice(GwCore* widget, GwEvent* event, GwUD userData);
// Takes the window's changed widgets over, saves, then hides the window.
int CB_TakeItSaveDeviceAndCloseWindow(GwCore* widget, GwEvent* event, GwUD userData);
// The hide of a setup main window: with changes not yet saved (and no
// uncoupling pending), asks whether to save them; the changes count as dealt
// with whatever the answer.
int Hide_CB_SetupMain(GwCore* widget, GwEvent* event, GwUD userData);
