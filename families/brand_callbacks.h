// Labels and titles of the family setup dialogs that the main profile's
// [Options] may rename (a rebranded keypad and option module).
#pragma once

#include <optional>
#include <string>

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr char kHollinButtonName[] = "hollin";

// The value of `key` in [Options] of the main profile ("" when the key is
// missing); nothing when the profile is not open or has no such section.
std::optional<std::string> BrandOption(const char* key);

// Label of the calling window's "hollin" from [Options] "hollin".
int CB_BrandInstRMode(GwCore* widget, GwEvent* event, GwUD userData);
// Title of the calling widget's window from "DravoTitle" / "HollinTitle".
int CB_BrandDravoDialog(GwCore* widget, GwEvent* event, GwUD userData);
int CB_BrandShowHollin(GwCore* widget, GwEvent* event, GwUD userData);
