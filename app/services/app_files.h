// The run-time files the program opens at start: the main profile
// "Torvan.ini", the device-name profile "dvname.ini", and the message and
// label texts of the chosen language, with the language and user data
// directories.
#pragma once

#include <string>

class GwProfile;

inline constexpr char kMainProfileName[] = "Torvan.ini";
inline constexpr char kDeviceNameProfileName[] = "dvname.ini";
inline constexpr char kLanguageDirFormat[] = "..\\LANGUAGE\\%03d";

// Opens the profiles as the application object's construction does: the main
// profile, "DeviceSignatureFalseValue" and "Language" from its "Options",
// "dvname.ini", and "TORVAN.MSG" and "BLabel.dat" in the language directory.
// The language number also selects the definition texts of that language.
// A profile that is not valid stays closed (null). Replaces what was open.
void OpenApplicationFiles();
// Sets the user data directory from [Directories] UserdataDir of the main
// profile ("." when that value is empty; unchanged without the section).
void SetUserDataDirFromProfile();
// Closes every profile and empties the directories and numbers.
void CloseApplicationFiles();

// The open profiles, or null.
GwProfile* MainProfile();
GwProfile* MessageProfile();
GwProfile* DeviceNameProfile();
GwProfile* LabelProfile();

// "..\LANGUAGE\%03d" of the language number; empty without "Options".
const std::string& GetLanguageDir();
int GetLanguageNumber();
// The user data directory; empty until set.
const std::string& GetUserDataDir();
void SetUserDataDir(const std::string& dir);
// [Options] DeviceSignatureFalseValue of the main profile, as one byte.
unsigned char GetDeviceSignatureFalseValue();

// The label text of `key` in `section`, with backslash-n turned into a line
// feed, in one static buffer that the next call overwrites. Null without a
// label profile or section; "" for a missing key.
const char* GetProfileText(const char* section, const char* key);

// Name of a device type: its value in [DeviceTypName] of "dvname.ini", else
// the [DeviceClassExtension] value of type / 1000 followed by the number,
// else "Nesk%u" below 1000 and "??%u??" from 1000 on. Static buffer.
const char* GetDeviceTypeName(unsigned typeNumber);
