// The boot-loader tool's console: its messages by number, and where its texts
// go (the transcript, status line and slider of the download's progress
// window when one is bound, the program log, and the tool's own log file).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/format.h"
#include "toolkit/core/gw_ref.h"

class GwCore;

// Numbers of the loader messages ("FLM_%03d" in "FirmLoaderMessages").
namespace loader_message {
inline constexpr int kUsageEnd = 0;
inline constexpr int kUnknownOption = 1;        // the option or line
inline constexpr int kOptionFileNotOpened = 2;  // file name
inline constexpr int kStepFailed = 4;           // the step's error text
inline constexpr int kDownloadStart = 5;        // firmware file name
inline constexpr int kDeviceType = 6;           // device label
inline constexpr int kFileNotOpened = 7;        // file name
inline constexpr int kHexFileError = 8;         // file name
inline constexpr int kHexFileErrorNote = 9;
inline constexpr int kHexErrorBase = 10;  // + the error of ReadHexIntoImage
inline constexpr int kComputingChecksums = 17;
inline constexpr int kChecksums = 18;  // sum, exclusive-or
inline constexpr int kWritingImage = 19;
inline constexpr int kColdStart = 20;  // device label
inline constexpr int kWarmStart = 21;
inline constexpr int kSwitchFailed = 22;
inline constexpr int kNoBusRate = 25;
inline constexpr int kUsageOptions = 26;
inline constexpr int kUsage = 27;
inline constexpr int kFirmwareTransferStart = 28;
inline constexpr int kSendingSecondLoader = 29;
inline constexpr int kSendingFirmware = 30;
inline constexpr int kFirmwareSent = 31;
// A file refused before the transfer: file name, line number, the fault's
// text, which is message kHexLineFaultBase + HexLineFault (the length
// mismatch with the field and the bytes carried, the unknown type with the
// type).
inline constexpr int kHexFileLineFault = 54;
inline constexpr int kHexLineFaultBase = 54;
}  // namespace loader_message

inline constexpr char kLoaderMessagesSection[] = "FirmLoaderMessages";
inline constexpr char kLoaderMessageKeyFormat[] = "FLM_%03d";
// Size of the console's message buffer, terminator included.
inline constexpr int kLoaderMessageSize = 512;

// The widgets of the download's progress window that the console writes.
struct LoaderControls {
    GwRef<> window;  // parent of the console's boxes
    GwRef<> show;    // transcript
    GwRef<> state;   // status line
    GwRef<> slider;  // progress of a line transfer
};

class LoaderConsole {
public:
    LoaderConsole() = default;
    ~LoaderConsole();
    LoaderConsole(const LoaderConsole&) = delete;
    LoaderConsole& operator=(const LoaderConsole&) = delete;

    // Text of loader message `number` with its arguments, in the message
    // buffer (cut to its size). A number without text gives its key. The
    // text comes from a file, so its conversions are checked against the
    // arguments.
    const char* GetMessage(int number, const std::vector<platform::FormatArg>& args = {});
    // The same text without touching the message buffer.
    std::string FormatMessage(int number, const std::vector<platform::FormatArg>& args = {}) const;
    // Puts `text` into the message buffer (cut to its size) and returns it.
    const char* SetMessage(const std::string& text);
    // The message buffer: the text of the last message.
    const char* Buffer() const { return buffer_; }

    // Each also writes the text to the program log as an entry.
    // Report: then Transcript (the program log gets the text twice).
    void Report(const char* text);
    // Sets the status line.
    void Status(const char* text);
    // Sets the status line, writes the own log and processes events.
    void StatusAndLog(const char* text);
    // Appends to the transcript, writes the own log and processes events.
    void Transcript(const char* text);
    // Lets the user interface run pending events; moves a virtual clock on by
    // at most a millisecond. False when the cancel flag is set.
    bool ProcessEvents();

    // Opens the own log file (mode "w"), closing one that is open; on failure
    // says so on the standard error stream and goes on without.
    void OpenLogFile(const std::string& name);
    void CloseLogFile();
    bool HasLogFile() const { return logFile_ != nullptr; }

    // Widgets of the progress window, bound while it is shown; the console
    // checks they still exist before each use.
    void SetControls(const LoaderControls& controls) { controls_ = controls; }
    const LoaderControls& Controls() const { return controls_; }
    // The slider widget when it still exists, else null.
    GwCore* Slider() const;
    GwCore* Window() const;

    void SetLanguage(char language) { language_ = language; }
    char Language() const { return language_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }

    // Back to the state of program start (tests).
    void Reset();

private:
    void WriteLog(const char* text);

    char buffer_[kLoaderMessageSize] = {};
    std::FILE* logFile_ = nullptr;
    LoaderControls controls_;
    bool cancel_ = false;
    char language_ = '1';
};

// The tool's one console.
LoaderConsole& TheLoaderConsole();
