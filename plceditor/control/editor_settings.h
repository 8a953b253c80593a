// The editor's settings in its profile ".\PlcEdit.ini": the section and key
// names, and the font and page margins that the edit control, page setup and
// printing share.
#pragma once

#include <string>

#include "plceditor/adapter/log_font.h"
#include "plceditor/adapter/private_profile.h"

namespace sindel {

namespace profile_keys {
constexpr char kCodeGenerator[] = "CodeGenerator";
constexpr char kVersion[] = "Version";
constexpr char kMemorySize[] = "MemorySize";
constexpr char kMenu[] = "Menu";
constexpr char kLastPath[] = "LastPath";
constexpr char kInterpreter[] = "Interpreter";
constexpr char kMax32BitCodeArray[] = "Max32BitCodeArray";
constexpr char kPage[] = "Page";
constexpr char kTop[] = "Top";
constexpr char kLeft[] = "Left";
constexpr char kFont[] = "Font";
constexpr char kFaceName[] = "FaceName";
constexpr char kSize[] = "Size";
constexpr char kWeight[] = "Weight";
constexpr char kIsItalic[] = "IsItalic";
constexpr char kIsUnderline[] = "IsUnderline";
constexpr char kIsStrikeOut[] = "IsStrikeOut";
}  // namespace profile_keys

// [Menu] "LastPath" when there is no recent file.
constexpr char kNoRecentFile[] = "?";
constexpr int kDefaultMarginMm = 10;
constexpr char kDefaultFaceName[] = "MS Sans Serif";
constexpr int kDefaultFontSizeTenths = 80;  // tenths of a point

// Character height of a font of `size_tenths` tenths of a point: the size
// times -10/72, truncated toward zero (80 gives -11).
int FontHeightFromSize(int size_tenths);

// The editor font described by the profile's [Font] values.
LogFont EditorFontFromProfile(const PrivateProfile& profile);

int TopMarginMm(const PrivateProfile& profile);
int LeftMarginMm(const PrivateProfile& profile);

}  // namespace sindel
