// The Ruvex scaling windows: the SCDSC dialog (parameter 46 by text field and
// slider), the SCJ switch of parameter 817, and the NA windows whose check
// turns a gear ratio and unit choices into the drive's scaling parameters.
#pragma once

#include <string>

#include "toolkit/core/gw_ref.h"

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr int kScdscParameter = 46;
inline constexpr char kScdscFieldName[] = "scdsc";
inline constexpr char kScdscSliderName[] = "scdsc_slider";
inline constexpr char kStartSetupName[] = "StartSetup";
inline constexpr char kControlProfiWindowName[] = "4_Control_Profi";
inline constexpr int kScdscActivityMessage = 24;
inline constexpr int kScdscWriteWaitMs = 500;

inline constexpr int kScjParameter = 817;
inline constexpr char kScjYesName[] = "scj_yes";
inline constexpr char kScjNoName[] = "scj_no";
inline constexpr char kScjFieldName[] = "_PN_817";

inline constexpr char kNaMainWindowName[] = "4_NA_Main";
inline constexpr char kNaWindowPrefix[] = "4_NA_";
inline constexpr int kNaUnitKindParameter = 819;

// The NA1 caller that an NA2 check redraws.
struct RuvexNaState {
    GwRef<> Na1Caller;
};
RuvexNaState& TheRuvexNaState();

int CB4_Show_SCDSC(GwCore* widget, GwEvent* event, GwUD userData);
// The slider moved (its value into "scdsc") or a value was typed into
// "scdsc": either enables "StartSetup".
int CB4_NewScdscSliderValue(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_WriteScdsc(GwCore* widget, GwEvent* event, GwUD userData);

int CB4_ShowSCJ(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_Control_Moment_yes(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_Control_Moment_no(GwCore* widget, GwEvent* event, GwUD userData);

// Opens the NA window `name` under the calling frame's parent with the
// caller's context (a listed one of that name is closed first); false when
// there is no context or no such window.
bool OpenNAWindow(GwCore* widget, const std::string& name);
int CB_CallNA1(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CallNA1AndCloseThis(GwCore* widget, GwEvent* event, GwUD userData);
// Takes the window's values and opens the NA2 window of the stored unit kind
// in its place; without such a window, message 7 and the window stays.
int CB_CallNA2(GwCore* widget, GwEvent* event, GwUD userData);
int CB_NA2_TakeAndCheck(GwCore* widget, GwEvent* event, GwUD userData);
