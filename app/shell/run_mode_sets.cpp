#include "app/shell/run_mode_sets.h"

#include "app/main/main_object.h"
#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/device_error.h"
#include "app/services/file_name_component.h"
#include "app/services/message_box.h"
#include "app/services/window_handler.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_timers.h"

namespace {

constexpr int kInfoDeviceRunning = 107;
constexpr int kDeviceErrorMessage = 5;
constexpr int kActivityReadDataSet = 3;
constexpr char kInstallingFormat[] = "Installiere Betriebsart \"%s\"";
constexpr char kWritingFormat[] = "Schreibe Betriebsartdaten in Datei \"%s\"";

// Keeps the file set paths of the device's base across the run, so the
// last run mode's file does not become the device's cache.
class KeptFilePaths {
public:
    explicit KeptFilePaths(ParaBase& base) : base_(base) {
        for (int which : {kDFilePath, kTFilePath, kXFilePath}) saved_[which] = base.GetPath(which);
    }
    ~KeptFilePaths() {
        for (int which : {kDFilePath, kTFilePath, kXFilePath}) base_.SetPath(which, saved_[which].c_str());
    }
    KeptFilePaths(const KeptFilePaths&) = delete;
    KeptFilePaths& operator=(const KeptFilePaths&) = delete;

private:
    ParaBase& base_;
    std::string saved_[kFilePathCount];
};

std::string OutputPath(Main& main, const std::string& modeName) {
    std::string dir = GetUserDataDir();
    if (dir.empty() || (dir.back() != '\\' && dir.back() != '/')) dir += '\\';
    return dir + RunModeFileComponent(main.GetActiveDeviceLabel()) + "_" + RunModeFileComponent(modeName);
}

}  // namespace

int CB_GenerateRunModeParaSets(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (main == nullptr || !main->HasOnlineDevice()) return 1;
    DeviceSetupContext* context = main->GetSetupContext();
    if (context == nullptr || !context->Base) return 1;
    if (!ShowQuestionText(kRunModeSetsQuestion)) return 1;
    if (!context->Base->IsOnline()) return 1;
    if (context->CheckStatusWordBit()) {
        ShowInfoMessageFor(kInfoDeviceRunning, context->Base.get(), widget != nullptr ? widget->frame() : nullptr);
        return 1;
    }
    TheWindowHandler().CloseDeviceWindows();

    ParaBase& selector = *context->Base;
    ParaBase* active = main->ActiveParaBase();
    double highest = 0.0;
    selector.GetMaximumAsDouble(kRunModeSelectParameter, &highest);
    const int count = static_cast<int>(highest);
    KeptFilePaths kept(*active);
    ActivMessage activity("");
    for (int mode = 1; mode <= count; ++mode) {
        // Named by the value's own text: the stored value is still the
        // previous run mode here.
        const std::string name = selector.FormatRawValue(kRunModeSelectParameter, mode, false);
        activity.ShowText(platform::Format(kInstallingFormat, name).c_str());
        GwProcessPendingEvents();
        const RunModeReached reached = AwaitRunMode(*context, mode, nullptr);
        if (reached == RunModeReached::kWriteFailed) return 1;
        if (reached == RunModeReached::kYes) main->SetStoredRunMode(static_cast<uint16_t>(mode));
        if (reached == RunModeReached::kNo &&
            !ShowErrorText(platform::Format(kRunModeNotReachedFormat, name).c_str())) {
            return 1;
        }

        const std::string path = OutputPath(*main, name);
        active->InitFile(path.c_str());
        activity.ShowMessage(kActivityReadDataSet);
        if (active->ReadBusData(false) != 0) {
            ShowErrorMessageFor(kDeviceErrorMessage, active);
            break;
        }
        activity.ShowText(platform::Format(kWritingFormat, active->GetPath(kDFilePath)).c_str());
        if (active->WriteFileBase() != 0) {
            ShowWarningMessageFor(kDeviceErrorMessage, active);
            break;
        }
    }
    return 1;
}
