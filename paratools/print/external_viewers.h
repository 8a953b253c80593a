// Opening a written print file in the programs registered for it: the text
// viewer of the ".txt" class and the spreadsheet program's "Excel.CSV" open
// command.
#pragma once

#include <string>

// Registry values are read into buffers of this many bytes.
inline constexpr size_t kRegistryValueLimit = 260;

bool IsSpreadsheetProgramRegistered();
// Starts the text viewer with the file, without waiting; nothing when a
// registry value is missing.
void OpenInTextViewer(const std::string& path);
// Starts the spreadsheet program with the file, without waiting. A failed
// start shows the system's reason in an error box and gives false.
bool OpenInSpreadsheetProgram(const std::string& path);
