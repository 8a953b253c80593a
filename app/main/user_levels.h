// User levels: the access codes of levels 2 to 6 (from the device, or the
// built-in defaults), the master code, the control code that guards hand
// mode, the level computed from them, and the identification dialog's
// callbacks. The current level itself is the services' (GetUserLevel).
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/core/gw_event.h"

class ParaBase;

// Accepted for every level.
inline constexpr uint32_t kMasterAccessCode = 48302;
// The window whose children "1" to "6" hold the level texts.
inline constexpr char kUserProfileTextWindow[] = "UserProfileText";

// Loads the defaults: levels 2 to 4 free, 915 for level 5, 372 for level 6,
// no control code.
void ResetAccessCodes();
// The defaults, then the codes of the parameters 362 to 366 "PSW2" to "PSW6"
// (names compared without blanks at their ends) and 367 "PSWCT" read from the
// active device; a failed read keeps the default.
void ReadAccessCodes();
// The level codes (362 to 366) from `base`: read from the device when it is
// online, taken from its table otherwise.
void ReadAccessCodesFrom(ParaBase* base);
// The highest level without a code (1 when every level has one), raised to
// [AutoStart] AdmPsw of the main profile when that is higher; then shown.
void ComputeUserLevel();
// After a device became active: its codes (when online), the level, and hand
// mode enabled when the device has no control code.
void RefreshUserLevel();
// After an offline parameter file was opened, only while no device is online.
void RefreshUserLevelOffline(ParaBase* base);
// Shows the current level's text in the toolbar.
void ShowUserLevel();
// The text of the child named by the level of "UserProfileText" (loaded once
// under the main window), "Level <n>" when that window cannot be loaded.
std::string GetUserLevelText(int level);

// 0 for a free level and for levels outside 2..6.
uint32_t GetAccessCode(int level);
uint32_t GetControlCode();
bool IsHandModeEnabled();
uint16_t GetSelectedUserLevel();
// Set by the identification dialog.
void SetHandModeEnabled(bool on);
void SetSelectedUserLevel(uint16_t level);

// The identification dialog.
int Ident_Show(GwCore* widget, GwEvent* event, GwUD userData);
int Ident_SetEbene(GwCore* widget, GwEvent* event, GwUD userData);
int CB_IdentOk(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowIdent(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetPassword(GwCore* widget, GwEvent* event, GwUD userData);
int CB_EnableGlobalHandMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_GetUserLevelTextById(GwCore* widget, GwEvent* event, GwUD userData);
