#include "app/shell/data_set_callbacks.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/main/main_object.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/signature_watch.h"
#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/wait.h"
#include "app/services/window_handler.h"
#include "families/ruvex_data_set_copy.h"
#include "parameters/datasetcopy/dataset_copy.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/text_helpers.h"
#include "paratools/partbase/part_base_editor.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/text_file.h"
#include "scope/recorder/scope_recorder.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

constexpr int kErrorDeviceAccess = 5;
constexpr int kErrorWindowMissing = 7;
constexpr int kWarningFileUnreadable = 10;
constexpr int kInfoFileWithoutData = 13;
constexpr int kQuestionOverwrite = 42;
constexpr int kQuestionReset = 87;
constexpr int kErrorNoAnswerAfterReset = 88;
constexpr int kInfoDeviceRunning = 107;
constexpr int kInfoCopyDeviceRunning = 110;
constexpr int kActivityWriteDataSet = 2;
constexpr int kActivityReadDataSet = 3;
constexpr int kActivityReset = 5;
constexpr uint32_t kResetStepMs = 1000;
constexpr char kParaFileFilter[] = "*.??D";
constexpr char kChooserTitleKey[] = "ChooseParaBaseFile";
// Parameter whose name tells that the device keeps its descriptions in a
// description file of its own.
constexpr int kDescriptionIdParameter = 112;
constexpr char kDescriptionIdName[] = "DSLID";

struct DataSetState {
    std::string FileToDeviceDir;
    std::string DeviceToFileDir;
    std::string PartialBaseDir;
    std::unique_ptr<ParaBase> PrintBase;
};

DataSetState& State() {
    static DataSetState state;
    return state;
}

platform::ResetHook ResetState([] { State() = DataSetState(); });

Main* ActiveMain() { return GetMain(); }

GwCore* FrameOf(GwCore* widget) {
    return widget != nullptr && widget->frame() != nullptr ? widget->frame() : GetMainWindow();
}

// A chooser of parameter base files starting in `directory` (the user data
// directory when empty); the chosen path, empty on cancel.
std::string ChooseParameterFile(GwCore* parent, const char* id, int mode, const std::string& directory) {
    GwFileSelector chooser(parent, id);
    const char* title = GetProfileText(kTitlesSection, kChooserTitleKey);
    chooser.set_title(title != nullptr ? title : "");
    chooser.set_filter(kParaFileFilter);
    chooser.set_mode(mode);
    chooser.set_directory(directory.empty() ? GetUserDataDir() : directory);
    if (!chooser.go()) return std::string();
    return chooser.selection();
}

// Warning 10 with the error of `base`: the numbered message names the
// working base's error, and these files go into bases of their own.
void ShowFileWarning(ParaBase& base, GwCore* parent) {
    const dstring caption = GetMessageString(kWarningFileUnreadable, kMainMessagesSection);
    const std::string text = std::string(base.MessageBuffer) + "!";
    ShowMessageBox(text.c_str(), kWarningBox, parent, caption.Text());
}

// 0 once the file set was read and holds a device's data; else warning 10
// or info 13 was shown.
int LoadFileSet(ParaBase& base, const std::string& path, GwCore* parent) {
    base.InitFile(path.c_str());
    if (base.ReadFileBase() != 0) {
        ShowFileWarning(base, parent);
        return 1;
    }
    if (base.GetDeviceKind() == 0) {
        ShowInfoMessageFor(kInfoFileWithoutData, &base, parent);
        return 1;
    }
    return 0;
}

// Keeps the file set paths of a device's base: pointing it at a user's file
// for one transfer must not make that file its cache, which a new archive
// would delete.
class KeptFilePaths {
public:
    explicit KeptFilePaths(ParaBase& base) : base_(base) {
        for (int which : kWhich) saved_[which] = base.GetPath(which);
    }
    ~KeptFilePaths() {
        for (int which : kWhich) base_.SetPath(which, saved_[which].c_str());
    }
    KeptFilePaths(const KeptFilePaths&) = delete;
    KeptFilePaths& operator=(const KeptFilePaths&) = delete;

private:
    static constexpr int kWhich[] = {kDFilePath, kTFilePath, kXFilePath};
    ParaBase& base_;
    std::array<std::string, kFilePathCount> saved_;
};

std::string TrimmedName(ParaBase& base, int number) {
    std::string name = base.GetParameterName(number);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

}  // namespace

ResetStep ResetStepOf(int family) {
    switch (family) {
        case 3:
            return {kResetCodeDefault, 11};
        case 4:
            return {kResetCodeLong, 16};
        case 5:
        case 6:
        case 7:
            return {kResetCodeLong, 11};
        default:
            return {kResetCodeDefault, 11};
    }
}

ParaBase& PrintParaBase() {
    if (!State().PrintBase) State().PrintBase = std::make_unique<ParaBase>();
    return *State().PrintBase;
}

void ReleaseProgramBases() { State().PrintBase.reset(); }

void CopyFileData2Device() {
    ParaBase* active = Main::ActiveBase();
    GwCore* parent = GetMainWindow();
    const std::string path = ChooseParameterFile(parent, "FileToDevice", GwFILESELECTOR_OPEN, State().FileToDeviceDir);
    if (path.empty()) return;
    State().FileToDeviceDir = DirectoryOfPath(path);
    TheWindowHandler().CloseDeviceWindows();
    if (!ShowRiskNoteAdjustmentChanged(parent)) return;
    ParaBase file;
    if (LoadFileSet(file, path, parent) != 0 || active == nullptr) return;
    for (;;) {
        int result = 0;
        {
            ActivMessage activity(kActivityWriteDataSet);
            result = active->WriteBusData(file);
        }
        if (result == 0 || !ShowWarningMessageFor(kErrorDeviceAccess, active, parent)) return;
    }
}

void CopyDevice2File() {
    ParaBase* active = Main::ActiveBase();
    if (active == nullptr) return;
    GwCore* parent = GetMainWindow();
    KeptFilePaths kept(*active);
    for (;;) {
        const std::string path =
            ChooseParameterFile(parent, "DeviceToFile", GwFILESELECTOR_SAVE, State().DeviceToFileDir);
        if (path.empty()) return;
        State().DeviceToFileDir = DirectoryOfPath(path);
        active->InitFile(path.c_str());
        if (!active->FileBaseExists() || ShowQuestionMessage(kQuestionOverwrite, parent)) break;
    }
    int result = 0;
    {
        ActivMessage activity(kActivityReadDataSet);
        result = active->ReadBusData(false);
    }
    if (result != 0) {
        ShowErrorMessageFor(kErrorDeviceAccess, active, parent);
        return;
    }
    if (active->WriteFileBase() != 0) ShowWarningMessageFor(kErrorDeviceAccess, active, parent);
}

namespace {

// Families whose copy goes through the script window.
bool CopiesThroughScriptWindow(int family) { return family == 3 || (family >= 5 && family <= 7); }

}  // namespace

int CB_CopyFileData2Device(GwCore* widget, GwEvent* event, GwUD userData) {
    Main* main = ActiveMain();
    GwCore* frame = FrameOf(widget);
    if (main == nullptr || !CloseDeviceControlForCopy(frame)) return 1;
    if (main->IsActiveDeviceRunning()) {
        ShowInfoMessage(kInfoCopyDeviceRunning, frame);
        return 1;
    }
    const int family = main->GetActiveDeviceFamily();
    if (family == 4) {
        OpenRuvexCopyToDevice(widget);
    } else if (CopiesThroughScriptWindow(family)) {
        RunCopyFileData2Device(widget, event, userData);
    } else {
        CopyFileData2Device();
    }
    return 1;
}

int CB_CopyDevice2File(GwCore* widget, GwEvent* event, GwUD userData) {
    Main* main = ActiveMain();
    if (main == nullptr || !CloseDeviceControlForCopy(FrameOf(widget))) return 1;
    const int family = main->GetActiveDeviceFamily();
    if (family == 4) {
        OpenRuvexCopyToFile(widget);
    } else if (CopiesThroughScriptWindow(family)) {
        RunCopyDevice2File(widget, event, userData);
    } else {
        CopyDevice2File();
    }
    return 1;
}

int CB_PrintParaFile(GwCore* widget, GwEvent*, GwUD) {
    GwCore* parent = FrameOf(widget);
    // This chooser always starts in the user data directory.
    const std::string path = ChooseParameterFile(parent, "PrintFile", GwFILESELECTOR_OPEN, std::string());
    if (path.empty()) return 1;
    ParaBase& base = PrintParaBase();
    if (LoadFileSet(base, path, parent) != 0) return 1;
    GwCore* wizard = GwRcMgr::load(GetMainWindow(), kPrintWizardWindow, 1);
    if (wizard == nullptr) {
        ShowErrorMessage(kErrorWindowMissing, parent);
        return 1;
    }
    wizard->set_user_data(GwUD(static_cast<void*>(&base)));
    wizard->show();
    return 1;
}

int CB_PrintADevPara(GwCore* widget, GwEvent*, GwUD) {
    ParaBase* active = Main::ActiveBase();
    if (active == nullptr) return 1;
    GwCore* wizard = GwRcMgr::load(GetMainWindow(), kPrintWizardWindow, 1);
    if (wizard == nullptr) {
        ShowErrorMessage(kErrorWindowMissing, FrameOf(widget));
        return 1;
    }
    TheWindowHandler().Add(wizard, 1);
    wizard->set_user_data(GwUD(static_cast<void*>(active)));
    wizard->show();
    return 1;
}

int CB_MakeParcialBase(GwCore* widget, GwEvent*, GwUD) {
    GwCore* parent = FrameOf(widget);
    const std::string path = ChooseParameterFile(parent, "PartialBase", GwFILESELECTOR_OPEN, State().PartialBaseDir);
    if (path.empty()) return 0;
    State().PartialBaseDir = DirectoryOfPath(path);
    auto base = std::make_unique<ParaBase>();
    base->InitFile(path.c_str());
    if (base->ReadFileBase() != 0) {
        ShowWarningMessageFor(kErrorDeviceAccess, base.get(), parent);
        return 1;
    }
    if (base->GetDeviceKind() == 0) {
        ShowInfoMessageFor(kInfoFileWithoutData, base.get(), parent);
        return 1;
    }
    // The editor owns the base from here: it closes an open editor first,
    // titles, lists and shows its window, and says when it cannot load it.
    OpenPartBaseEditor(std::move(base), GetMainWindow());
    return 1;
}

int CB_NewParameterArchiv(GwCore*, GwEvent*, GwUD) {
    Main* main = ActiveMain();
    if (main == nullptr || !main->HasOnlineDevice()) return 1;
    ParaBase* active = main->ActiveParaBase();
    {
        // The engine reads the device's variable list while the device is
        // still known; it lets go of the base before the base is dropped.
        ScopeRecorder engine(active, "");
        if (active->GetDescriptionFile() != nullptr &&
            TrimmedName(*active, kDescriptionIdParameter) == kDescriptionIdName) {
            platform::RemoveFile(active->GetPath(kDescriptionFilePath));
        }
        platform::RemoveFile(active->GetPath(kDFilePath));
    }
    main->UncoupleAllDevices();
    main->SearchDevice();
    const int first = main->FoundDevices()[0];
    if (first >= 0) main->SetActiveDevice(first);
    return 1;
}

int CB_ResetDeviceParaSet(GwCore* widget, GwEvent*, GwUD) {
    Main* main = ActiveMain();
    GwCore* parent = FrameOf(widget);
    if (main != nullptr && main->HasOnlineDevice()) {
        if (main->IsActiveDeviceRunning()) {
            ShowInfoMessage(kInfoDeviceRunning, parent);
            return 1;
        }
        ParaBase* active = main->ActiveParaBase();
        const ResetStep step = ResetStepOf(main->GetActiveDeviceFamily());
        if (ShowQuestionMessage(kQuestionReset, parent) && ShowRiskNoteAdjustmentChanged(parent)) {
            TheWindowHandler().CloseAll();
            ProgressMessage progress(kActivityReset, step.waitSeconds - 1);
            // A drive that starts its reset may not answer this write; the
            // read after the wait tells whether it came back.
            active->WriteValueU16(kResetCommandParameter, step.code);
            ModalFlag = true;
            for (int second = 0; second < step.waitSeconds; ++second) {
                progress.SetValue(static_cast<double>(second));
                WaitMilliseconds(kResetStepMs);
            }
            ModalFlag = false;
            uint16_t code = 0;
            if (active->ReadValueU16(kResetCommandParameter, &code) != 0) {
                ShowErrorMessage(kErrorNoAnswerAfterReset, parent);
            }
        }
    }
    if (GwCore* container = MainChild("MainContainer")) CB_CheckDeviceSignature(container, nullptr, GwUD());
    return 1;
}
