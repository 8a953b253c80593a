// Copying a drive's data set between a parameter base file and the active
// device, optionally limited to one SC group, with the script text the
// device keeps in parameter 89. Each direction takes two steps: the first
// chooses the file and opens a script window ("Script", "Group" and, towards
// the device, "SaveIt"); the window's button does the copy.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "toolkit/core/gw_event.h"

class GwCombo;
class GwCore;
class ParaBase;
class dstring;

inline constexpr char kCopyDataToDeviceWindow[] = "3_CopyDataToDevice";
inline constexpr char kCopyDeviceToFileWindow[] = "3_CopyDeviceToFile";

// Device parameters of the copy.
inline constexpr int kScriptParameter = 89;
inline constexpr int kStoreDataSetParameter = 150;  // 1 stores the set permanently
inline constexpr int kPlcRunParameter = 450;        // 0 stops the PLC, 1 starts it
inline constexpr int kPlcStateParameter = 452;
inline constexpr int kPlcWasRunningState = 2;

// The group table: entry 0 stands for "Alle", entry k for the group of the
// k-th list item, then the end mark 0. Room for "Alle", every group a byte can
// name (1 to 255) and the end mark.
inline constexpr int kCopyGroupTableSize = 257;
using CopyGroupTable = std::array<uint8_t, kCopyGroupTableSize>;

// The directions of the copy; each has its remembered folder.
enum class CopyDirection { kToDevice = 0, kToFile = 1 };

// --- first and second steps (callbacks; each returns 1) ---

// Chooses a parameter base file, checks it against the active device and
// opens "3_CopyDataToDevice" with the file's script text and groups.
int RunCopyFileData2Device(GwCore* widget, GwEvent* event, GwUD data);
// The button of "3_CopyDataToDevice": writes the chosen file's data set
// (limited to the chosen group), the script and, when "SaveIt" was ticked, the
// store command into the active device, stopping its PLC project meanwhile.
int CB3_DoCopyFileData2Device(GwCore* widget, GwEvent* event, GwUD data);
// Chooses a target file, reads the device's script text and opens
// "3_CopyDeviceToFile".
int RunCopyDevice2File(GwCore* widget, GwEvent* event, GwUD data);
// The button of "3_CopyDeviceToFile": reads the device's data set and writes
// it as the chosen file set, with the script and the group filter.
int CB3_DoCopyDevice2File(GwCore* widget, GwEvent* event, GwUD data);

// The device write of the copy to the device: the data set of `fileBase`, then
// the script, each retried while the user answers warning 5 with yes. False
// after a "No", and when the device refused the set before writing anything.
// True at once for a file base that is not loaded.
bool WriteFileDataSetToDevice(GwCore* widget, ParaBase& fileBase, const dstring& script);

// The warning that a file set was made for another device type: main message
// 114 as a format for the type names of both device type numbers.
void ShowOtherDeviceTypeWarning(uint16_t fileCode, uint16_t deviceCode, GwCore* parent);

// --- the group list and its filter ---

// Fills `list` with "Alle" and every SC group of parameter 11 (1 to the low
// byte of its maximum) that is in use in `source`: a group with a parameter
// of the data set (transfer flag set) for the copy to the device, a group
// with any present parameter for the copy to a file. Records the groups in
// the group table, shows 12 items and selects item 0.
void FillGroupList(GwCombo* list, ParaBase& source, CopyDirection direction);
// Clears the transfer flag of every present entry of `base` outside the group
// of list item `item`. Item 0 ("Alle"), no selection (-1) and an item the
// table does not hold leave every flag as it is.
void ApplyCopyGroupFilter(ParaBase& base, int item);

// --- program-wide state ---

// The file the last first step chose (at most 259 characters).
const std::string& ChosenCopyPath();
const CopyGroupTable& CopyGroups();
// The folder a direction's file selector starts in: the user data directory
// until the user ended a choice in another.
std::string RememberedCopyFolder(CopyDirection direction);
