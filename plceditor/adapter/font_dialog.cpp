#include "plceditor/adapter/font_dialog.h"

#include <cmath>
#include <cstdlib>

#include "platform/base/format.h"
#include "toolkit/base/gw_number.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

namespace {

constexpr int kTenthsPerPoint = 10;
constexpr int kPointsPerInch = 72;

GwEdit* AddEdit(GwCore* parent, const char* name, const std::string& text, int format) {
    auto* edit = new GwEdit(name, parent, GwFORMATEDIT_CLASS);
    edit->set_format_type(format);
    edit->set_text(text);
    return edit;
}

GwToggle* AddCheck(GwCore* parent, const char* name, bool on) {
    auto* check = new GwToggle(name, parent, GwCHECK_CLASS);
    check->set_checked(on);
    return check;
}

void AddButton(GwCore* parent, const char* name, const char* text, int result) {
    auto* button = new GwPushButton(name, parent);
    button->set_text(text);
    button->set_result_code(result);
}

}  // namespace

std::optional<FontChoice> ChooseFont(GwCore* owner, const LogFont& seed) {
    auto* window = new GwDialogFrame("FontDialog", owner, true, "Font");
    // In floating point: a height from a hand-edited profile times the
    // scale would overflow an int.
    const double seed_tenths =
        std::round(std::abs(double(seed.height)) * kPointsPerInch * kTenthsPerPoint / kFontDialogScreenDpi);
    GwEdit* face = AddEdit(window, "FaceName", seed.face_name, GwFORMAT_TEXT);
    GwEdit* size = AddEdit(window, "Size", platform::Format("%.1f", seed_tenths / kTenthsPerPoint), GwFORMAT_DECIMAL);
    size->set_precision(1);
    GwEdit* weight = AddEdit(window, "Weight", std::to_string(seed.weight), GwFORMAT_INTEGER);
    GwToggle* italic = AddCheck(window, "Italic", seed.italic);
    GwToggle* underline = AddCheck(window, "Underline", seed.underline);
    GwToggle* strike_out = AddCheck(window, "StrikeOut", seed.strike_out);
    AddButton(window, "OK", "OK", GwRESULT_OK);
    AddButton(window, "Cancel", "Cancel", GwRESULT_CANCEL);

    std::optional<FontChoice> choice;
    if (window->go() == GwRESULT_OK && window->is_alive()) {
        FontChoice chosen;
        chosen.point_size_tenths = static_cast<int>(std::lround(std::atof(size->text().c_str()) * kTenthsPerPoint));
        chosen.font.face_name = face->text();
        chosen.font.height = -static_cast<int>(
            std::lround(chosen.point_size_tenths * double(kFontDialogScreenDpi) / (kPointsPerInch * kTenthsPerPoint)));
        chosen.font.weight = GwAtoi(weight->text().c_str());
        chosen.font.italic = italic->is_checked();
        chosen.font.underline = underline->is_checked();
        chosen.font.strike_out = strike_out->is_checked();
        choice = chosen;
    }
    window->destroy();
    return choice;
}

}  // namespace sindel
