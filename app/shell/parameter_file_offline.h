// Opening a parameter base file without a device: in the parameter editor,
// or, for a drive family with setup windows, in that family's setup window.
#pragma once

#include <string>

// Loads the file set into the application object's working base and opens
// it; with keepFile false a file of device kind 3 to 7 opens its data set
// "00d" in the family's setup window instead. 1 when a window opened.
int OpenParameterFileOffline(const char* path, bool keepFile);
// The setup window "<n>_SetupMain" of the editor base's device type, offline.
int OpenSetupMainOffline();
// The directory (drive and folder) of the last file opened, for the next
// file chooser; empty until one was opened.
const std::string& LastParameterFileDirectory();
// A window's defined title up to its first opening square bracket, to which
// the openers add what the window shows.
std::string TitleUpToBracket(const std::string& title);
