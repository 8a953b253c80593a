#include "families/pos_prog_editor.h"

#include <string>

#include "app/services/app_files.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/profile/gw_profile.h"

namespace {

struct PosProgEditorState {
    std::string Editor;
};

PosProgEditorState& State() {
    static PosProgEditorState state;
    return state;
}

platform::ResetHook ResetState([] { State() = {}; });

}  // namespace

const char* GetPosProgEditor() {
    GwProfile* profile = MainProfile();
    if (profile != nullptr && profile->select_section("Externals")) State().Editor = profile->read("PosProgEditor");
    if (State().Editor.empty()) State().Editor = kDefaultPosProgEditor;
    return State().Editor.c_str();
}
