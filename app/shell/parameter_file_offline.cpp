#include "app/shell/parameter_file_offline.h"

#include <cstring>

#include "app/main/editor_context.h"
#include "app/main/main_object.h"
#include "app/main/user_levels.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "devicewin/device_window.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

constexpr size_t kMaxPathLength = 260;
constexpr int kWarningFileUnreadable = 10;
constexpr int kInfoFileWithoutData = 13;
constexpr int kErrorWindowMissing = 7;
constexpr int kParameterEditorUserData = 2;
constexpr char kParameterEditorName[] = "ParameterEditor";
constexpr char kSetupMainSuffix[] = "_SetupMain";
constexpr char kDataSetExtension[] = "00d";

// The folder of the last parameter file opened offline.
struct OfflineFileState {
    std::string LastDirectory;
};

OfflineFileState& State() {
    static OfflineFileState state;
    return state;
}

platform::ResetHook ResetState([] { State() = {}; });

// 0 after the file set was read and holds a device's data; else the message
// was shown.
int LoadFileSet(ParaBase& base, const char* path) {
    base.InitFile(path);
    if (base.ReadFileBase() != 0) {
        ShowWarningMessage(kWarningFileUnreadable);
        return 1;
    }
    if (base.GetDeviceKind() == 0) {
        ShowInfoMessage(kInfoFileWithoutData);
        return 1;
    }
    return 0;
}

// Setup windows are per family: the thousands of the type number, the small
// families 1 and 2 sharing family 5's.
int SetupFamily(ParaBase& base) {
    uint16_t type = 0;
    base.GetValueU16(kDeviceCodeParameter, &type);
    const int family = type / kDeviceClassDivisor;
    return family == 1 || family == 2 ? 5 : family;
}

int OpenParameterEditorForFile(ParaBase& base) {
    TheWindowHandler().CloseByName(kParameterEditorName);
    GwCore* editor = GwRcMgr::load(GetMainWindow(), kParameterEditorName, 1);
    if (editor == nullptr) {
        ShowErrorMessage(kErrorWindowMissing);
        return 0;
    }
    editor->set_user_data(GwUD(kParameterEditorUserData));
    TheParameterEditorContext().Mode = kEditorModeFile;
    editor->set_document_option(1);
    editor->set_title(TitleUpToBracket(editor->title()) + " [" + base.GetPath(kDFilePath) + "]");
    TheWindowHandler().Add(editor, 0);
    editor->show();
    return 1;
}

}  // namespace

const std::string& LastParameterFileDirectory() { return State().LastDirectory; }

std::string TitleUpToBracket(const std::string& title) { return title.substr(0, title.find('[')); }

int OpenParameterFileOffline(const char* path, bool keepFile) {
    Main* main = GetMain();
    if (path == nullptr || main == nullptr || std::strlen(path) > kMaxPathLength) return 0;
    GwString drive, dir, name;
    GwSplitpath(path, &drive, &dir, &name, nullptr);
    State().LastDirectory = std::string(drive.c_str()) + dir.c_str();

    ParaBase& base = main->OwnParaBase();
    if (LoadFileSet(base, path) != 0) return 0;
    TheParameterEditorContext().Base = &base;
    if (!main->HasOnlineDevice()) RefreshUserLevelOffline(&base);

    const int kind = base.GetDeviceKind();
    if (!keepFile && kind >= 3 && kind <= 7) {
        const GwString dataSet = GwMakepath(drive.c_str(), dir.c_str(), name.c_str(), kDataSetExtension);
        if (LoadFileSet(base, dataSet.c_str()) != 0) return 0;
        return OpenSetupMainOffline();
    }
    return OpenParameterEditorForFile(base);
}

int OpenSetupMainOffline() {
    ParaBase* base = TheParameterEditorContext().Base;
    if (base == nullptr) return 0;
    const std::string name = std::to_string(SetupFamily(*base)) + kSetupMainSuffix;
    // Closed first: the loader would hand back the listed window itself.
    TheWindowHandler().CloseByName(name.c_str());
    GwCore* window = LoadDeviceWindowForVersion(GetMainWindow(), name, base);
    if (window == nullptr) {
        ShowErrorMessage(kErrorWindowMissing);
        return 0;
    }
    window->set_user_data(GwUD("offline"));
    window->set_document_option(1);
    TheWindowHandler().Add(window, 0);
    window->show();
    return 1;
}
