#include "families/pos_prog_editor.h"

#include <string>

#include "app/services/app_files.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/profile/gw_profile.h"

namespace {

std::string g_editor;

platform::ResetHook ResetState([] { g_editor.clear(); });

}  // namespace

const char* GetPosProgEditor() {
    GwProfile* profile = MainProfile();
    if (profile != nullptr && profile->select_section("Externals")) g_editor = profile->read("PosProgEditor");
    if (g_editor.empty()) g_editor = kDefaultPosProgEditor;
    return g_editor.c_str();
}
