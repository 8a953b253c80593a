// What a parameter print outputs: the cell texts of the 21 columns for one
// parameter or array element, and the print list of parameter numbers chosen
// and ordered by a print format.
#pragma once

#include <array>
#include <string>

class ParaBase;
class ParaPrintSettings;

inline constexpr int kPrintListSize = 1000;
// Set as the current group after clustering, a value no group byte takes, so
// the first row gets a group heading.
inline constexpr int kNoCurrentGroup = 65536;
inline constexpr int kElementColumn = 1;
inline constexpr int kStoredValueColumn = 5;

// Parameter numbers in output order; an entry 0 (or the end) ends the list.
using PrintList = std::array<int, kPrintListSize>;

// The cell text of `column` for parameter `number`, array element `element`.
std::string PrintCellText(ParaBase& base, int column, int number, int element);
// The keypad group's name translated through the description file's menu
// texts.
std::string TranslatedGroupName(ParaBase& base, int group);
// Rows a parameter gives: its elements when the element column is printed
// and it is an array, else 1.
int PrintRowCount(ParaBase& base, const ParaPrintSettings& settings, int number);

// Selects the parameters the format prints, sorts them by name and clusters
// them by keypad group as the format says.
PrintList BuildPrintList(ParaBase& base, const ParaPrintSettings& settings);
// Case-insensitive order of two parameters' names (negative, 0, positive).
int CompareParameterNames(ParaBase& base, int a, int b);
