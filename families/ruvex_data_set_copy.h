// The copy of a Ruvex drive's whole data between the active device and a set
// of three files with one base name: the data set (".00d", with the script
// text), the listed parameters (".01d") and the positioning programs
// (".prg"). The user picks the parts in the copy windows' check boxes.
#pragma once

#include <string>

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr char kRuvexCopyToDeviceWindow[] = "4_CopyDataToDevice";
inline constexpr char kRuvexCopyToFileWindow[] = "4_CopyDeviceToFile";

struct RuvexCopyState {
    // The file chosen last by either direction; the copy windows' OK reads it.
    std::string CopyPath;
    // Where each direction's chooser starts: the user data directory until
    // the first choice, then that choice.
    std::string ToDevicePath;
    std::string ToFilePath;
};
RuvexCopyState& TheRuvexCopyState();

// Which parts of a file set are on disk.
struct FileSetParts {
    bool DataSet = false;   // ".00d"
    bool Listed = false;    // ".01d"
    bool Programs = false;  // ".prg"
};
// The entries beside `path` whose name without extension equals its own
// (letter case ignored); directories are skipped.
FileSetParts FindFileSetParts(const std::string& path);

// Question 86 while the device control windows are open: false after "No",
// else those windows are closed and true.
bool CloseDeviceControlForCopy(GwCore* parent);

// The family-4 steps of the two opening callbacks, after the checks: the
// choice of the file set and the copy window.
void OpenRuvexCopyToDevice(GwCore* widget);
void OpenRuvexCopyToFile(GwCore* widget);

// OK of "4_CopyDataToDevice": the checked parts into the active device.
int CB_DoCopyFileData2Device(GwCore* widget, GwEvent* event, GwUD userData);
// OK of "4_CopyDeviceToFile": the checked parts from the active device into
// the file set.
int CB_DoCopyDevice2File(GwCore* widget, GwEvent* event, GwUD userData);
