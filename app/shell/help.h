// Help: compiled help pages shown by the help viewer of the system directory,
// addressed by a topic, and PDF manuals shown by the configured reader, the
// registered one or the desktop's opener; both from the language directory.
#pragma once

#include <string>

#include "toolkit/core/gw_event.h"

class GwCore;

// The general manual and the device manuals' name pattern.
inline constexpr char kGeneralManualName[] = "rk_help";

// Help pages of the widget's help file and topic. Returns 0.
int CB_ShowHelp(GwCore* widget, GwEvent* event, GwUD userData);
// The general manual.
int HelpContentsCB(GwCore* widget, GwEvent* event, GwUD userData);
int TorvanHelpIndexCB(GwCore* widget, GwEvent* event, GwUD userData);
// The manual of the device type that the caller's frame's user data gives.
int CBHelpButton(GwCore* widget, GwEvent* event, GwUD userData);
// The manual of the device behind a setup window: parameter 91 read by the
// frame's setup context (from the device when its base is online); a failed
// read opens nothing.
int CBDeviceHelp(GwCore* widget, GwEvent* event, GwUD userData);
// Bindings that do nothing. Return 0.
int CB_NoHelp(GwCore* widget, GwEvent* event, GwUD userData);
int CBSetCursor(GwCore* widget, GwEvent* event, GwUD userData);
int CBResetCursor(GwCore* widget, GwEvent* event, GwUD userData);

// "PH_<type rounded down to thousands>".
void OpenDeviceManual(unsigned typeNumber);
void OpenPdfManual(const std::string& name);
// The registered PDF reader's command without its document argument; empty
// when none is registered.
std::string FindPdfReader();
// [HelpTools] AcrobatReader of the main profile; empty without the section.
std::string GetConfiguredPdfReader();
