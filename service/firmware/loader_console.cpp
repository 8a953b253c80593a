#include "service/firmware/loader_console.h"

#include <algorithm>
#include <cstring>

#include "app/services/message_text.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/text_file.h"
#include "platform/system/clock.h"
#include "platform/system/event_pump.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

// How far one round of event processing may move a virtual clock, so the
// callers' millisecond time limits hold.
constexpr uint64_t kEventStepUs = 1000;

bool EndsWithLineFeed(const char* text) {
    const size_t length = std::strlen(text);
    return length > 0 && text[length - 1] == '\n';
}

platform::ResetHook ResetState([] { TheLoaderConsole().Reset(); });

}  // namespace

LoaderConsole::~LoaderConsole() { CloseLogFile(); }

std::string LoaderConsole::FormatMessage(int number, const std::vector<platform::FormatArg>& args) const {
    char text[kLoaderMessageSize];
    const std::string key = platform::Format(kLoaderMessageKeyFormat, number);
    GetMessageText(text, kLoaderMessagesSection, key.c_str(), kLoaderMessageSize);
    return platform::FormatChecked(text, args).text;
}

const char* LoaderConsole::GetMessage(int number, const std::vector<platform::FormatArg>& args) {
    return SetMessage(FormatMessage(number, args));
}

const char* LoaderConsole::SetMessage(const std::string& text) {
    const size_t length = std::min(text.size(), static_cast<size_t>(kLoaderMessageSize - 1));
    std::memcpy(buffer_, text.data(), length);
    buffer_[length] = '\0';
    return buffer_;
}

void LoaderConsole::Report(const char* text) {
    TheDataLogger().WriteEntryText(text);
    Transcript(text);
}

void LoaderConsole::Status(const char* text) {
    TheDataLogger().WriteEntryText(text);
    if (GwCore* state = controls_.state) state->set_text(text);
}

void LoaderConsole::StatusAndLog(const char* text) {
    Status(text);
    WriteLog(text);
    ProcessEvents();
}

void LoaderConsole::Transcript(const char* text) {
    TheDataLogger().WriteEntryText(text);
    if (GwCore* show = controls_.show) {
        show->set_text(show->text() + text + (EndsWithLineFeed(text) ? "" : "\n"));
    }
    WriteLog(text);
    ProcessEvents();
}

bool LoaderConsole::ProcessEvents() {
    platform::Clock& clock = platform::TheClock();
    platform::PumpEvents(clock.NowUs() + kEventStepUs);
    if (!clock.IsVirtual()) clock.Sleep(0);
    return !cancel_;
}

void LoaderConsole::OpenLogFile(const std::string& name) {
    CloseLogFile();
    logFile_ = platform::OpenFile(name, "w");
    if (logFile_ == nullptr) {
        std::fputs(platform::Format("Kann die Protokolldatei %s nicht oeffnen!\n", name).c_str(), stderr);
    }
}

void LoaderConsole::CloseLogFile() {
    if (logFile_ != nullptr) std::fclose(logFile_);
    logFile_ = nullptr;
}

GwCore* LoaderConsole::Slider() const { return controls_.slider; }

GwCore* LoaderConsole::Window() const { return controls_.window; }

void LoaderConsole::Reset() {
    CloseLogFile();
    buffer_[0] = '\0';
    controls_ = LoaderControls();
    cancel_ = false;
    language_ = '1';
}

void LoaderConsole::WriteLog(const char* text) {
    if (logFile_ == nullptr) return;
    std::fputs(text, logFile_);
    if (!EndsWithLineFeed(text)) std::fputc('\n', logFile_);
    // Kept on disk line by line, so the log tells how far a download came
    // even when the program does not end normally.
    std::fflush(logFile_);
}

LoaderConsole& TheLoaderConsole() {
    static LoaderConsole console;
    return console;
}
