// Writes a table of measured or computed columns into an identification log,
// in the form that lets the data be pasted into other tools for reproduction.
#pragma once

#include <array>
#include <span>
#include <string_view>

class DataLogger;

// Largest number of columns beside the first one.
inline constexpr int kMaxExtraLogColumns = 4;

// Writes the heading line (headings[0] and the next `extraColumns` headings,
// joined by tabs) and an empty line, then one line per row with the first
// column and the `extraColumns` further columns, each as "%10.10f" with a
// decimal comma, joined by tabs, then two empty lines.
// Returns false and writes nothing when `extraColumns` is not 1 to 4,
// `rowCount` is negative or a column used has fewer than `rowCount` values.
bool LogColumnTable(DataLogger& log, int extraColumns, int rowCount, std::span<const double> first,
                    const std::array<std::span<const double>, kMaxExtraLogColumns>& further,
                    const std::array<std::string_view, kMaxExtraLogColumns + 1>& headings);
