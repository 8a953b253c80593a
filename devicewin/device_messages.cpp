#include "devicewin/device_messages.h"

#include <cmath>
#include <memory>
#include <string>

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/line_breaks.h"
#include "app/services/message_text.h"
#include "bus/base/device_parameters.h"
#include "devicewin/device_text_file.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/poll_timer.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "platform/system/sound.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/base/gw_string.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/profile/gw_profile.h"

namespace {

// The message profile of the active device and the folder of the last
// saved log, for the whole program run.
struct DeviceMessagesState {
    std::unique_ptr<GwProfile> Messages;  // null: no message file loaded
    std::string SaveFolder;               // empty: the user data directory
};

DeviceMessagesState& TheDeviceMessagesState() {
    static DeviceMessagesState state;
    return state;
}

const platform::ResetHook kResetDeviceMessagesState([] { TheDeviceMessagesState() = DeviceMessagesState{}; });

constexpr char kFirmwareDataDirectory[] = "..\\FIRMDATA";
constexpr char kMessageFileExtension[] = "ERR";
constexpr char kClassMessageFileFormat[] = "%d_ERR";
constexpr char kClassMessageFileExtension[] = "TXT";
constexpr char kMessagesSection[] = "DeviceMessages";
constexpr char kDefaultSection[] = "PREMESSAGE";
constexpr char kDefaultKey[] = "Default";
constexpr char kLogName[] = "MessageText";
constexpr char kSpeakerName[] = "Speaker";
constexpr char kChordFile[] = ".\\chord.wav";
constexpr char kSaveFilterFormat[] = "%s (*.txt)|*.txt|%s (*.*)|*|";
constexpr uint32_t kMessagePollWeightMs = 2000;
constexpr uint32_t kMessagePollMinimumMs = 1000;

// The device's message file: the firmware-version file, nearest versions
// allowed, else the one of its type class.
std::string MessageFilePath(Main& main) {
    const DataBus* bus = main.GetActiveBus();
    const BusDeviceRecord* record = bus != nullptr ? bus->GetDevice(main.GetActiveAddress()) : nullptr;
    char path[kParaPathSize] = {};
    if (record != nullptr && ParaBase::FindVersionFile(kFirmwareDataDirectory,
                                                       kMessageFileExtension,
                                                       path,
                                                       record->typeNumber,
                                                       main.GetActiveDeviceVersion(),
                                                       true)) {
        return path;
    }
    const std::string name = platform::Format(kClassMessageFileFormat, main.GetActiveDeviceTypeClass());
    return GwMakepath("", kFirmwareDataDirectory, name.c_str(), kClassMessageFileExtension).str();
}

// The profile of an existing message file; null without one.
std::unique_ptr<GwProfile> LoadMessages(Main& main) {
    const std::string path = MessageFilePath(main);
    if (!platform::FindExisting(path)) return nullptr;
    auto profile = std::make_unique<GwProfile>(path);
    return profile->is_valid() ? std::move(profile) : nullptr;
}

// The value of the key in the section; null when either is missing.
const char* Entry(GwProfile& profile, const char* section, const char* key) {
    if (!profile.select_section(section) || !profile.key_exists(key)) return nullptr;
    return profile.read(key);
}

// The number the drive reports, truncated to its low byte.
uint8_t MessageNumber(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 2147483648.0) return 0;
    return static_cast<uint8_t>(static_cast<int64_t>(value) & 0xFF);
}

// The text of message m, or nothing when the file has no messages section.
bool MessageText(GwProfile& messages, uint8_t m, std::string* text) {
    const std::string pre = ExpandLineBreaks(Entry(messages, kDefaultSection, kDefaultKey));
    if (!messages.section_exists(kMessagesSection)) return false;
    const std::string key = std::to_string(m);
    if (const char* own = Entry(messages, kMessagesSection, key.c_str())) {
        *text = ExpandLineBreaks(own);
        return true;
    }
    // The default comes from a file: its conversions are checked.
    *text = platform::FormatChecked(pre, {platform::FormatArg(static_cast<int>(m))}).text;
    return true;
}

void AddLogLine(GwCore* log, const std::string& text) {
    std::string current = log->text();
    auto* edit = dynamic_cast<GwEdit*>(log);
    const size_t maximum = edit != nullptr ? static_cast<size_t>(edit->max_length()) : 0;
    if (maximum > 0 && current.size() + kDeviceMessageHeadroom > maximum) current.clear();
    log->set_text(GwString::CurrentDateTime().str() + "\t" + text + "\n" + current);
}

bool SpeakerOn(GwCore* log) {
    auto* speaker = dynamic_cast<GwToggle*>(log->frame_child(kSpeakerName));
    return speaker != nullptr && speaker->is_checked();
}

GwCore* LogOf(GwCore* widget) { return widget != nullptr ? widget->frame_child(kLogName) : nullptr; }

}  // namespace

int DMSG_Show(GwCore* widget, GwEvent*, GwUD) {
    DeviceMessagesState& state = TheDeviceMessagesState();
    state.Messages.reset();
    Main* main = GetMain();
    if (widget == nullptr || main == nullptr || !main->HasOnlineDevice()) return 1;
    state.Messages = LoadMessages(*main);
    DeviceTextFile& file = TheDeviceTextFile();
    file.SetToActiveDevice();
    std::string log;
    file.Load(log);
    widget->set_text(log);
    widget->start_timer(kFirstPollPeriodMs);
    return 1;
}

int DMSG_Hide(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    widget->stop_timer();
    const std::string log = widget->text();
    if (!log.empty()) TheDeviceTextFile().Save(log);
    return 1;
}

int DMSG_Timer(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (main == nullptr || widget == nullptr || !main->CheckTimerIntegrity(widget, true)) return 1;
    PollTimer timer{kDeviceWindowPollMaximumMs, kMessagePollWeightMs, kMessagePollMinimumMs, widget};
    widget->stop_timer();
    PollTimerRestartAtEnd restart(timer);
    ParaBase* base = main->ActiveParaBase();
    if (base == nullptr || !main->HasOnlineDevice()) return 1;
    double value = 0.0;
    if (ReportDeviceAccessError(base->ReadValueDouble(kDeviceMessageParameter, &value), widget->frame(), nullptr)) {
        return 1;
    }
    const uint8_t m = MessageNumber(value);
    if (m == 0) return 1;
    GwProfile* messages = TheDeviceMessagesState().Messages.get();
    std::string text;
    if (messages == nullptr || !MessageText(*messages, m, &text)) return 0;
    AddLogLine(widget, text);
    if (SpeakerOn(widget)) platform::PlaySoundFile(kChordFile);
    ReportDeviceAccessError(base->WriteValueU8(kDeviceMessageParameter, m), widget->frame(), nullptr);
    return 1;
}

int DMSG_Reset(GwCore* widget, GwEvent*, GwUD) {
    TheDeviceTextFile().Save("");
    if (GwCore* log = LogOf(widget)) log->set_text("");
    return 1;
}

int DMSG_SaveAs(GwCore* widget, GwEvent*, GwUD) {
    char textFiles[kMessageTextSize] = {};
    char allFiles[kMessageTextSize] = {};
    GetMessageText(textFiles, kTitlesSection, "TextFiles", kMessageTextSize);
    GetMessageText(allFiles, kTitlesSection, "AllFiles", kMessageTextSize);
    DeviceMessagesState& state = TheDeviceMessagesState();
    GwFileSelector selector(widget != nullptr ? widget->frame() : nullptr);
    selector.set_mode(GwFILESELECTOR_SAVE);
    selector.set_filter(platform::Format(kSaveFilterFormat, textFiles, allFiles));
    selector.set_directory(state.SaveFolder.empty() ? GetUserDataDir() : state.SaveFolder);
    if (!selector.go()) return 1;
    state.SaveFolder = selector.directory();
    const std::string path = selector.selection();
    if (path.empty()) return 1;
    GwProcessPendingEvents();
    GwCore* log = LogOf(widget);
    SaveTextAs(log != nullptr ? log->text() : std::string(), path);
    return 1;
}
