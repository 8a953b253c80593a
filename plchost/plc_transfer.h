// Moving a drive's PLC program between its PLC program parameters ("PLCC0"
// to "PLCC8") and a PLC word file: the export writes the file from the
// parameters, the import fills the parameters from the file. Online, the
// parameters are read from the device before the export and written to it
// during the import.
#pragma once

#include <string>

class ParaBase;

// The PLC program parameters that a base may hold: "PLCC0" .. "PLCC8".
inline constexpr int kPlcProgramParameterCount = 9;
// Activity messages of the transfers.
inline constexpr int kExportOnlineActivity = 29;
inline constexpr int kExportOfflineActivity = 30;
inline constexpr int kImportOnlineActivity = 36;
inline constexpr int kImportOfflineActivity = 37;
// How long the activity window stands before the transfer, in milliseconds.
inline constexpr unsigned kExportSettleMs = 300;
inline constexpr unsigned kImportSettleMs = 1000;
// Main messages: a device or base error, and no PLC project on the device.
inline constexpr int kPlcDeviceErrorMessage = 5;
inline constexpr int kNoPlcProjectMessage = 115;

// The number of the parameter named "PLCC<k>" (present and valid), searched
// upward from `from`; -1 when there is none.
int FindPlcProgramParameter(ParaBase& base, int k, int from);

// Writes the words of the base's PLC program parameters into `path`. False,
// after telling the user why, when the base has no PLC project, the file
// cannot be written or a parameter cannot be read.
bool ExportPlcProgram(ParaBase* base, const std::string& path, bool online);
// Stores the words of `path` into the base's PLC program parameters in order.
// A file that ends inside a parameter ends the import with true (online that
// parameter is written first). False, after telling the user why, when the
// base has no PLC project, the file cannot be read, the file holds more words
// than the parameters take, or a store or device write fails; the parameters
// stored before keep their new values.
bool ImportPlcProgram(ParaBase* base, const std::string& path, bool online);
