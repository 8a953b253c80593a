// Small functions of the Pesco setup windows: the hand-mode button that
// opens the manual-control window fitting the control mode, the start of the
// characteristic viewer, the inertia field with its yes/no switch, the window
// of the voltage-frequency control mode, the computed start-up current and
// the field-control page.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

// The drive's control mode as text, and the text of the voltage-frequency
// control whose windows carry the suffix.
inline constexpr int kControlModeTextParameter = 300;
inline constexpr char kVfcControlModeText[] = "VFCON";
inline constexpr char kVfcWindowSuffix[] = "_VFCON";
// Prefix of the hand-mode windows; the table entry follows it.
inline constexpr char kHandModeWindowPrefix[] = "5_AOC_";
// The external characteristic viewer and the file it shows.
inline constexpr char kCharacteristicViewer[] = "Quenta.exe";
inline constexpr char kCharacteristicFile[] = "..\\TMP\\CalcFlux-Torque.dat";
inline constexpr char kExternalProcessError[] = "Error while calling external process ";
// The start-up current is 157 x 603 percent.
inline constexpr int kStartupCurrentBase = 157;
inline constexpr int kStartupCurrentPercent = 603;
// The field-control page, considered for asynchronous motors (153 = 0) of
// device kinds 5 and 6.
inline constexpr char kFieldControlPageName[] = "TAB_FieldControl";
inline constexpr int kFieldControlMotorKindParameter = 153;
// The toggles of the inertia field's switch.
inline constexpr char kInertiaYesName[] = "yes";
inline constexpr char kInertiaNoName[] = "no";

// Opens the hand-mode window of the drive's control mode: "5_AOC_<n>" after
// the manual-mode risk note (a listed one gets the focus), the generic
// manual control for entry 0. 0 when the mode cannot be read or lies outside
// the table; without a context the window closes and 1 is returned.
int CB5_CallHandMode(GwCore* widget, GwEvent* event, GwUD userData);
// Starts the characteristic viewer on the characteristic file without
// waiting. Returns 1.
int CB_ShowCalcCharacteristic(GwCore* widget, GwEvent* event, GwUD userData);
// Show callback of an inertia field: value 0 hides it and shows the sibling
// named by the user data, with "no" on; another value hides that sibling,
// with "yes" on. Returns 1.
int CB5_ShowInertia(GwCore* widget, GwEvent* event, GwUD userData);
// The "yes" toggle: shows the first sibling named by the user data ("A B")
// and hides the second, while the toggle is on. Returns 1.
int CB5_ValShowInertia(GwCore* widget, GwEvent* event, GwUD userData);
// The "no" toggle: the first sibling gets 0, taken into its parameter, and
// is hidden; the second is shown. Only while the toggle is on. Returns 1.
int CB5_ValHideInertia(GwCore* widget, GwEvent* event, GwUD userData);
// Opens the window named by the user data, or its "_VFCON" variant while the
// drive runs voltage-frequency control; the opening's result.
int CB5_CallVfcDeviceWindow(GwCore* widget, GwEvent* event, GwUD userData);
// Shows 157 x 603 x 0.01 in the calling widget. Returns 1.
int Pesco5_ShowCalcStartupCurrent(GwCore* widget, GwEvent* event, GwUD userData);
// Considers "TAB_FieldControl" for asynchronous motors of kinds 5 and 6.
// Returns 1.
int CB_ShowFieldContol(GwCore* widget, GwEvent* event, GwUD userData);
