#include "plceditor/control/editor_settings.h"

namespace sindel {

namespace {
constexpr double kHeightPerSizeTenth = -0.1388888888888889;  // -10/72
}

int FontHeightFromSize(int size_tenths) { return static_cast<int>(size_tenths * kHeightPerSizeTenth); }

LogFont EditorFontFromProfile(const PrivateProfile& profile) {
    using namespace profile_keys;
    LogFont font;
    font.height = FontHeightFromSize(profile.GetInt(kFont, kSize, kDefaultFontSizeTenths));
    font.weight = profile.GetInt(kFont, kWeight, kFontWeightNormal);
    font.italic = profile.GetInt(kFont, kIsItalic, 0) != 0;
    font.underline = profile.GetInt(kFont, kIsUnderline, 0) != 0;
    font.strike_out = profile.GetInt(kFont, kIsStrikeOut, 0) != 0;
    font.face_name = profile.GetString(kFont, kFaceName, kDefaultFaceName);
    return font;
}

int TopMarginMm(const PrivateProfile& profile) {
    return profile.GetInt(profile_keys::kPage, profile_keys::kTop, kDefaultMarginMm);
}

int LeftMarginMm(const PrivateProfile& profile) {
    return profile.GetInt(profile_keys::kPage, profile_keys::kLeft, kDefaultMarginMm);
}

}  // namespace sindel
