// Callbacks of the Pesco setup windows: the port-A switch and the take-over
// that redraws the positioning sequence table.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr int kPortAParameter = 773;
inline constexpr char kPortAName[] = "_PN_773";
// The widgets that only port A "ON" enables.
inline constexpr const char* kPortANames[] = {"_PN_308", "_PN_774", "_PN_775"};
inline constexpr char kPortAOnText[] = "ON";
inline constexpr char kPositionSequenceTableName[] = "PosSeqTab";

// Enables the port-A widgets exactly when the value selected in "_PN_773"
// reads "ON"; called from "_PN_773" itself it then changes the parameter and
// returns what that change returns, else 1.
int CB_5_PORTA_Changed(GwCore* widget, GwEvent* event, GwUD userData);
// The element widgets of a sequence step: each target "_PN_<t>[<n>]" (n the
// text of "Index") whose user data holds a condition list is enabled
// exactly when all its conditions hold for the values selected in the
// step's source widgets. Bound to a combo box (which first changes its
// parameter) or a container (which is first shown). Returns 1.
int CB_5_SelectAndEnableIf(GwCore* widget, GwEvent* event, GwUD userData);
// Takes the window's values over, then redraws "PosSeqTab". Returns 1.
int CB_DvFctTakeItPST(GwCore* widget, GwEvent* event, GwUD userData);
