// The setup main windows of the drive families: the create callback makes the
// window's setup context and marks the window online or offline, the show
// callback brings the window up to date with the device each time it shows.
#pragma once

#include <array>
#include <string>

#include "toolkit/core/gw_types.h"

class DeviceSetupContext;
class GwCore;
class GwUD;
struct GwEvent;

inline constexpr char kSetupOnlineUserData[] = "online";
inline constexpr char kOfflineStateName[] = "OfflineState";
inline constexpr char kSaveButtonName[] = "BT_Save";
inline constexpr char kDravoButtonName[] = "BT_Dravo";
inline constexpr char kPosModProgramEditorName[] = "PosModProgramEditor";
inline constexpr char kPosModDataEditorName[] = "PosModDataEditor";
inline constexpr char kDravoKey[] = "Dravo";
// Main message: the save button's label offline.
inline constexpr int kOfflineSaveLabelMessage = 89;
// Device error: the run mode could not be read.
inline constexpr int kRunModeReadError = 5;

// What one family's setup window keeps for the program's life.
struct SetupMainFamilyState {
    DeviceSetupContext* Context = nullptr;  // owned; the newest window's
    std::string SaveLabel;                  // "BT_Save" as it was before going offline
    std::array<GwRect, 4> Rects{};          // the full layout, in the context's order
    bool RectsRecorded = false;
};

// The state of family 3, 4 or 5; null for another family.
SetupMainFamilyState* TheSetupMainState(int family);

// All take the calling widget (the window) and return 1.
int Create_CB_3_SetupMain(GwCore* widget, GwEvent* event, GwUD userData);
int Create_CB_4_SetupMain(GwCore* widget, GwEvent* event, GwUD userData);
int Create_CB_5_SetupMain(GwCore* widget, GwEvent* event, GwUD userData);
int Show_CB_3_SetupMain(GwCore* widget, GwEvent* event, GwUD userData);
int Show_CB_4_SetupMain(GwCore* widget, GwEvent* event, GwUD userData);
int Show_CB_5_SetupMain(GwCore* widget, GwEvent* event, GwUD userData);
