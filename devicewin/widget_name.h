// How a widget's name binds it to a device parameter: "_PN_<n>" anywhere in
// the name binds parameter n, "_PN_x<n>" binds n plus the value of the group
// index parameter 300, and "[<k>]" after the binding selects array element k.
// The companion ("_OFFSET_TO_<o>") and unit ("_U_<nnn>") markers of a
// widget's user data and aux text are read here too.
#pragma once

#include <string>

class ParaBase;

// The parameter whose value selects one of several parameter groups.
inline constexpr int kGroupIndexParameter = 300;
// Longest widget name that takes part in the binding.
inline constexpr size_t kMaxBindingNameLength = 63;
// Longest user-data text that may name a companion parameter.
inline constexpr size_t kMaxCompanionTextLength = 127;

inline constexpr char kBindingMarker[] = "_PN_";
inline constexpr char kOffsetBindingMarker[] = "_PN_x";
inline constexpr char kCompanionMarker[] = "_OFFSET_TO_";
inline constexpr char kUnitMarker[] = "_U_";
// A spreadsheet of parameters has this in its name.
inline constexpr char kSheetMarker[] = "ParaSpreadSheet";
// User data of containers whose children named "0" to "31" show bits.
inline constexpr char kShowBinary[] = "ShowBinary";
inline constexpr char kShowLabelState[] = "ShowLabelState";
inline constexpr int kHighestBit = 31;

// The parameter bound by `name`; 0 when it binds none. A "_PN_x" name reads
// parameter 300 (from the device when `base` is online, else from its
// table) at every call; when that read fails the offset is 0.
int ParameterFromWidgetName(ParaBase* base, const std::string& name);
// The element index of the name; -1 when it has none.
int FieldIndexFromWidgetName(const std::string& name);
bool IsOffsetWidgetName(const std::string& name);
// 0 when `text` does not contain `prefix`; else the number read at the
// prefix's length from the start of the text (the prefix is expected there).
int NumberAfterPrefix(const std::string& text, const std::string& prefix);
// Whether another present parameter of n's group (from n / 10 x 10 over as
// many numbers as the maximum of parameter 300) has n's name.
bool HasNamesakeInGroup(ParaBase* base, int n);
// The companion parameter named by a list's user-data text; 0 for none.
int CompanionFromUserData(const std::string& text);
// The unit parameter of a format edit's aux text ("_U_045" gives 45); 0 for
// none.
int UnitParameterFromAuxText(const std::string& text);
// A number as atoi reads it (blanks, a sign, digits), held in the int range.
int LeadingNumber(const std::string& text, size_t from = 0);
