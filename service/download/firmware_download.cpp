#include "service/download/firmware_download.h"

#include <optional>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/wait.h"
#include "bus/base/device_parameters.h"
#include "bus/serial/tarn_bus.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/parameter_name.h"
#include "platform/base/format.h"
#include "service/download/device_class_chooser.h"
#include "service/download/firmld_progress.h"
#include "service/download/loader_option_sets.h"
#include "service/download/memory_dump.h"
#include "service/download/void_slider.h"
#include "service/firmware/kelbo_main.h"
#include "service/firmware/loader_console.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/profile/gw_profile.h"

namespace {

// Main messages.
constexpr int kNetworkScanWarning = 46;
constexpr int kWarmStartQuestion = 47;
constexpr int kColdStartQuestion = 48;
constexpr int kToolFailedError = 50;
constexpr int kColdLoadedInfo = 51;
constexpr int kWarmLoadedInfo = 52;
constexpr int kNoDeviceFoundInfo = 53;
constexpr int kConfirmFileQuestion = 55;
constexpr int kServiceStateWarning = 145;
constexpr int kDeviceRunningWarning = 150;
// Activity message of the reconnection.
constexpr int kConnectActivity = 11;
constexpr double kConnectProgressMaximum = 10;
constexpr int kConnectTries = 9;
constexpr uint32_t kConnectRetryMs = 1000;

constexpr char kDirectoriesSection[] = "Directories";
constexpr char kFirmwareDirKey[] = "FirmwareDir";
constexpr char kDefaultFirmwareDir[] = ".\\";
constexpr char kTarnBusSection[] = "TarnBus";
constexpr char kLoaderRateKey[] = "Loaderrate";
constexpr char kFirmwareTitleKey[] = "ChooseFirmware";
constexpr char kFirmwareFilter[] = "*.hex|*.hex|";

// A warm Pesco names its hardware here.
constexpr int kHardwareIdParameter = 17;
constexpr char kHardwareIdName[] = "HWID";
constexpr uint32_t kHardwareId32F = 1;
constexpr uint32_t kHardwareId16F = 0;

// The tool takes at most this many arguments.
constexpr size_t kMaxLoaderArguments = 20;

std::string MainText(int number) {
    return GetMessageString(static_cast<unsigned>(number), kMainMessagesSection).Text();
}

std::string MainTextWith(int number, const std::string& argument) {
    return platform::FormatChecked(MainText(number), {argument}).text;
}

// A main message with its argument, ended as a numbered box of that kind is.
std::string MainStatement(int number, const std::string& argument) { return MainTextWith(number, argument) + "!"; }
std::string MainQuestion(int number, const std::string& argument) { return MainTextWith(number, argument) + "?"; }

std::string FirmwareDir() {
    GwProfile* profile = MainProfile();
    if (profile != nullptr && profile->select_section(kDirectoriesSection) && profile->key_exists(kFirmwareDirKey)) {
        return profile->read(kFirmwareDirKey);
    }
    return kDefaultFirmwareDir;
}

void StoreFirmwareDir(const std::string& dir) {
    GwProfile* profile = MainProfile();
    if (profile != nullptr && profile->select_section(kDirectoriesSection, true)) {
        profile->write(kFirmwareDirKey, dir.c_str());
    }
}

uint32_t LoaderRate() {
    GwProfile* profile = MainProfile();
    if (profile != nullptr && profile->select_section(kTarnBusSection) && profile->key_exists(kLoaderRateKey)) {
        return static_cast<uint32_t>(profile->read_int(kLoaderRateKey));
    }
    return kDefaultLoaderRate;
}

// What the hardware identification of a warm Pesco selects; nullopt when it
// cannot be read or names no known variant.
std::optional<int> WarmPescoVariant(ParaBase* base) {
    if (base == nullptr || !HasParameterTrimmedNamed(*base, kHardwareIdParameter, kHardwareIdName)) {
        return kPescoVariant16F;
    }
    uint32_t id = 0;
    if (base->ReadValueU32(kHardwareIdParameter, &id) != kParaOk) return std::nullopt;
    if (id == kHardwareId32F) return kPescoVariant32F;
    if (id == kHardwareId16F) return kPescoVariant16F;
    return std::nullopt;
}

// Splits at blanks, line feeds and tabs.
std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    while (words.size() < kMaxLoaderArguments) {
        at = line.find_first_not_of(" \n\t", at);
        if (at == std::string::npos) break;
        const size_t end = line.find_first_of(" \n\t", at);
        words.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end;
    }
    return words;
}

const char* RunLoaderTool(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    TheLoaderConsole().SetLanguage(static_cast<char>(GetLanguageNumber()));
    return KelboMain(static_cast<int>(arguments.size()), argv.data());
}

// Reads the firmware version of the active device and tells the user what
// was loaded.
void ReportLoadedFirmware(Main& main, bool warm) {
    ParaBase* base = main.ActiveParaBase();
    if (base == nullptr || !main.HasOnlineDevice()) return;
    if (base->ReadBusParameter(kFirmwareVersionParameter, 0, base->GetValueCount(kFirmwareVersionParameter)) !=
        kParaOk) {
        ShowErrorMessageFor(kParaBaseErrorMessage, base);
        return;
    }
    const std::string version = base->GetDispatchedValueText(kFirmwareVersionParameter, 0);
    ShowInfoText(MainStatement(warm ? kWarmLoadedInfo : kColdLoadedInfo, version).c_str());
}

class FirmwareDownload {
public:
    int Run();

private:
    // Steps 5 to 8: false when the procedure ends.
    bool FindClass();
    bool ChooseFile();
    bool WriteOptions();
    void RunTool();
    void Reconnect();

    Main& main_ = *GetMain();
    bool warm_ = false;
    int deviceClass_ = 0;
    int variant_ = 0;
    float version_ = 0.0f;
    int startAddress_ = -1;
    std::string firmwareFile_;
    std::vector<std::string> arguments_;
    unsigned port_ = 0;
    int32_t baud_ = 0;
};

int FirmwareDownload::Run() {
    while (main_.IsActiveDeviceRunning()) {
        if (!ShowWarningMessage(kDeviceRunningWarning)) return 0;
    }
    SetFirmwareDownloadFinished(false);
    TarnBus* serial = main_.GetSerialBus();
    if (serial == nullptr || main_.GetActiveBus() != serial) {
        SetFirmwareDownloadFinished(true);
        return 1;
    }
    port_ = serial->GetPortNumber();
    baud_ = static_cast<int32_t>(serial->GetBaudRate());
    if (FindClass() && ChooseFile() && WriteOptions()) {
        RunTool();
    }
    SetFirmwareDownloadFinished(true);
    return 1;
}

bool FirmwareDownload::FindClass() {
    if (main_.HasOnlineDevice()) {
        warm_ = true;
        while (main_.ReadActiveDeviceServiceFlag()) {
            if (!ShowWarningMessage(kServiceStateWarning)) return false;
        }
        // The drive stores its version in single precision: read it so, or a
        // stored 2.15 would compare as above 2.15.
        if (ParaBase* base = main_.ActiveParaBase()) base->ReadValueFloat(kFirmwareVersionParameter, &version_);
        if (!ShowQuestionMessage(kWarmStartQuestion)) return false;
        if (main_.LastSearchWasScan()) {
            ShowWarningMessage(kNetworkScanWarning);
            return false;
        }
        deviceClass_ = main_.GetActiveDeviceFamily();
        startAddress_ = main_.GetActiveAddress();
        if (deviceClass_ == kClassPesco) variant_ = WarmPescoVariant(main_.ActiveParaBase()).value_or(-1);
        return true;
    }
    if (!ShowQuestionMessage(kColdStartQuestion)) return false;
    DeviceClassChoice choice;
    if (!RunDeviceClassChooser(choice)) return false;
    deviceClass_ = choice.deviceClass;
    variant_ = choice.variant;
    return true;
}

bool FirmwareDownload::ChooseFile() {
    char title[kMessageTextSize];
    GetMessageText(title, kTitlesSection, kFirmwareTitleKey, kMessageTextSize);
    GwFileSelector selector(GetMainWindow(), "ChooseFirmware");
    selector.set_title(title);
    selector.set_filter(kFirmwareFilter);
    selector.set_directory(FirmwareDir());
    if (!selector.go() || !selector.selection_ok()) return false;
    firmwareFile_ = selector.selection();
    StoreFirmwareDir(selector.directory());
    if (!ShowQuestionText(MainQuestion(kConfirmFileQuestion, firmwareFile_).c_str())) return false;
    return ShowRiskNoteAdjustmentChanged(GetMainWindow());
}

bool FirmwareDownload::WriteOptions() {
    LoaderOptionRequest request;
    request.deviceClass = deviceClass_;
    request.warm = warm_;
    request.variant = variant_;
    request.firmwareVersion = version_;
    request.loaderRate = LoaderRate();
    request.port = port_;
    request.firmwareFile = firmwareFile_;
    const std::optional<std::vector<std::string>> lines = LoaderOptionSet(request);
    if (!lines) {
        ShowInfoText(kInvalidDeviceClassText);
        return false;
    }
    if (WriteLoaderOptionFile(kOptionFileName, *lines)) {
        arguments_ = SplitCommandLine(platform::Format(kLoaderCommandFormat, kOptionFileName));
    } else {
        // Each option an argument of its own, so a path with blanks stays whole.
        arguments_ = {"kelbo"};
        arguments_.insert(arguments_.end(), lines->begin(), lines->end());
    }
    return true;
}

void FirmwareDownload::RunTool() {
    // Set so the signature watch leaves the device alone; closing the bus
    // uncouples every device and clears it again.
    UncouplingPending = true;
    main_.CloseTarnBus();
    GwProcessPendingEvents();
    GwCore* progress = GwRcMgr::load(GetMainWindow(), kFirmwareProgressWindow, 1);
    if (progress != nullptr) progress->show();

    const char* failure = RunLoaderTool(arguments_);
    GwCore* mainWindow = GetMainWindow();
    if (mainWindow != nullptr && mainWindow->is_alive() && mainWindow->frame_state() == GwSTATE_MINIMIZED) {
        mainWindow->restore();
    }
    if (failure != nullptr) {
        ShowErrorText(MainStatement(kToolFailedError, failure).c_str());
    } else if (GwSlider* slider = dynamic_cast<GwSlider*>(TheLoaderConsole().Slider())) {
        slider->set_value(slider->end());
    }
    TheLoaderConsole().SetControls({});
    if (progress != nullptr && progress->is_alive()) {
        progress->hide();
        progress->destroy();
    }
    const bool reopened = main_.OpenTarnBus(baud_, port_, true);
    if (failure == nullptr) {
        if (reopened) Reconnect();
        if (startAddress_ < 0) startAddress_ = main_.FoundDevices()[0];
        DataBus* bus = main_.GetActiveBus();
        if (startAddress_ < 0 || bus == nullptr || bus->GetDevice(startAddress_) == nullptr) {
            ShowInfoMessage(kNoDeviceFoundInfo);
        } else {
            main_.SetActiveDevice(startAddress_);
            ReportLoadedFirmware(main_, warm_);
        }
    }
}

void FirmwareDownload::Reconnect() {
    bool connected = false;
    {
        ProgressMessage progress(kConnectActivity, kConnectProgressMaximum);
        VoidSlider slider;
        for (int attempt = 1; attempt <= kConnectTries && !connected; ++attempt) {
            progress.SetValue(static_cast<double>(attempt));
            if (attempt > 1) WaitMilliseconds(kConnectRetryMs);
            DataBus* bus = main_.GetActiveBus();
            connected = bus != nullptr && bus->ConnectDevice(&slider);
        }
    }
    if (connected) main_.SearchDevice();
}

}  // namespace

int CB_LoadFirmwareBrenta(GwCore*, GwEvent*, GwUD) {
    DeviceBusyGuard busy;
    if (GetMain() == nullptr) return 1;
    FirmwareDownload download;
    return download.Run();
}

const GwFuncDesc* FirmwareDownloadCallbacks() {
    static const GwFuncDesc kCallbacks[] = {
        {"CB_ShowDeviceClass", CB_ShowDeviceClass},
        {"CB_ChooseDeviceClass", CB_ChooseDeviceClass},
        {"CB_CancelChooseDeviceClass", CB_CancelChooseDeviceClass},
        {"CB_ShowFirmldProgress", CB_ShowFirmldProgress},
        {"CB_CloseFirmldProgress", CB_CloseFirmldProgress},
        {"CB_SetDumpAddress", CB_SetDumpAddress},
        {"CB_IncrementAdr", CB_IncrementAdr},
        {"CB_DecrementAdr", CB_DecrementAdr},
        {"CB_HideDump", CB_HideDump},
        {nullptr, nullptr},
    };
    return kCallbacks;
}
