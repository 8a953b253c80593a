// The description of a run mode in a setup main window: a picture from the
// application-preset profile "APP_<code>.ini" (family 3, family 4 on the
// firmware-200 line) with the option module's picture, a page of the
// introduction window (family 4), or a text file of the language directory
// (family 5). Each shows the running run mode when the window shows and the
// selected one when the list's selection changes.
#pragma once

#include <string>

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr char kApplicationPictureName[] = "3_APP_";
inline constexpr char kApplicationPictureStart[] = "3_APP_0.BMP";
inline constexpr char kModifiedMarkName[] = "Modified";
inline constexpr char kIntroductionContainerName[] = "IntroCont";
inline constexpr char kRunModeTextName[] = "BaText";
inline constexpr char kOptionModulePictureSuffix[] = "_1";
inline constexpr int kApplicationListParameter = 152;

// The bitmap that shows application `k` of a device of `deviceCode` and
// firmware `version`: the value of key k in the section of the version's
// tens ("200") of "APP_<code thousands>.ini" in the working directory, or
// "<code / 1000>_APP_<k>" when the file, section or value is missing.
std::string ApplicationPictureName(int deviceCode, double version, int k);

// All take the calling widget and return 1.
int CB_3_ShowRunMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_3_SelectRunMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_ShowRunMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_SelectRunMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_3_ShowHollin(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_ShowHollin(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_ShowRunMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_SelectRunMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_ShowRunMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_SelectRunMode(GwCore* widget, GwEvent* event, GwUD userData);
