#include "families/pos_program_transfer.h"

#include <cstring>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/services_hooks.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/text_helpers.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/staged_file.h"
#include "platform/files/text_file.h"

namespace {

constexpr int kRuvexFamily = 4;
constexpr int kRuvexProgramParameter = 751;

constexpr char kEndMarker[] =
    "\x1b"
    "E";
constexpr char kScrambledHeader[] = "\x50\x4d\x8b\x16";
constexpr size_t kHeaderBytes = 8;
// Program numbers one listing keeps; further "P" replies are skipped.
constexpr size_t kMaxListedPrograms = 100;
// Failed reads of a program line in a row before the upload gives up.
constexpr int kMaxLineReadFailures = 10;
constexpr size_t kMaxPlainLine = 511;

constexpr int kMsgLineNotSent = 2008;
constexpr int kMsgReadFailed = 2009;
constexpr int kMsgFileNotOpened = 2010;
constexpr int kMsgNoDevice = 2014;
constexpr int kMsgStartRefused = 2026;
constexpr int kMsgSaveRefused = 2028;
constexpr int kMsgScrambledNotRead = 2038;

struct PosProgramTransferState {
    int Parameter = 0;
};

PosProgramTransferState& TheTransferState() {
    static PosProgramTransferState state;
    return state;
}

platform::ResetHook ResetTransferState([] { TheTransferState() = {}; });

bool WriteText(ParaBase* base, const std::string& text) {
    return base->WriteValueString(PosProgramParameter(), dstring(text.c_str())) == 0;
}

bool ReadText(ParaBase* base, std::string* text) {
    dstring value;
    if (base->ReadValueString(PosProgramParameter(), value) != 0) return false;
    *text = std::string(value.View());
    return true;
}

ParaBase* ActiveDeviceBase() { return Main::OnlineDevicePresent() ? Main::ActiveBase() : nullptr; }

// The lines of the scrambled form, or the message that stops the download.
int ScrambledLines(const std::string& bytes, std::vector<std::string>* lines) {
    if (bytes.size() <= kHeaderBytes) return kMsgScrambledNotRead;
    uint32_t length = 0;
    for (int i = 3; i >= 0; --i) length = (length << 8) | static_cast<uint8_t>(bytes[4 + static_cast<size_t>(i)]);
    // The length is held to the bytes that follow the header; nothing read
    // (a length of 0 too) stops the download before "%SAV" could store an
    // empty program.
    std::string text = bytes.substr(kHeaderBytes, length);
    if (text.empty()) return kMsgScrambledNotRead;
    UnscramblePosProgram(reinterpret_cast<uint8_t*>(text.data()), text.size());
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) lines->push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}

// One plain line cleaned as it is sent; empty when nothing is sent.
std::string CleanPlainLine(std::string line) {
    if (line.size() > kMaxPlainLine) line.resize(kMaxPlainLine);
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    RemoveBlanks(buffer.data());
    ToUpperInPlace(buffer.data());
    CutComment(buffer.data());
    TabsToBlanks(buffer.data());
    std::string cleaned(buffer.data());
    while (!cleaned.empty() && (cleaned.back() == '\n' || cleaned.back() == '\r')) cleaned.pop_back();
    return cleaned;
}

std::string CleanScrambledLine(std::string line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    ToUpperInPlace(buffer.data());
    CutComment(buffer.data());
    TabsToBlanks(buffer.data());
    return std::string(buffer.data());
}

// The lines of a plain file as read: LF ends a line, a CR before it stays
// to be cut by the cleaning.
std::vector<std::string> PlainLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

int& PosProgramParameter() { return TheTransferState().Parameter; }

void SelectPosProgramParameter() {
    Main* main = GetMain();
    if (main != nullptr && main->GetActiveDeviceFamily() == kRuvexFamily)
        PosProgramParameter() = kRuvexProgramParameter;
}

void UnscramblePosProgram(uint8_t* buffer, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        uint8_t b = static_cast<uint8_t>(buffer[i] ^ 0x3C);
        b = static_cast<uint8_t>((b >> 1) | (b << 7));
        buffer[i] = static_cast<uint8_t>(b ^ 0x96);
    }
}

bool TransferMessenger::Show(int number) { return ShowErrorMessage(number, GetMainWindow()); }

bool TransferMessenger::ShowWith(int number, int value) {
    const std::string format(GetMessageString(static_cast<unsigned>(number), "Main-Messages").View());
    const std::string text = platform::FormatChecked(format, {platform::FormatArg(std::to_string(value))}).text;
    ShowErrorTextBox(text.c_str(), GetMainWindow());
    return false;
}

bool UploadPosPrograms(const char* path) {
    SelectPosProgramParameter();
    ParaBase* base = ActiveDeviceBase();
    if (base == nullptr || PosProgramParameter() == 0) {
        TransferMessenger::Show(kMsgNoDevice);
        return false;
    }
    if (path == nullptr || *path == '\0') {
        TransferMessenger::Show(kMsgFileNotOpened);
        return false;
    }
    std::string filePath = path;
    if (filePath.find('.') == std::string::npos) filePath += ".prg";
    platform::StagedFile file;
    if (!file.Open(filePath)) {
        TransferMessenger::Show(kMsgFileNotOpened);
        return false;
    }
    if (!WriteText(base, "%DIR")) {
        TransferMessenger::Show(kMsgReadFailed);
        file.Commit();
        return false;
    }
    std::vector<std::string> listed;
    std::string reply;
    while (ReadText(base, &reply) && reply != kEndMarker) {
        if (!reply.empty() && reply[0] == 'P' && listed.size() < kMaxListedPrograms)
            listed.push_back(reply.substr(1, 2));
    }
    for (const std::string& number : listed) {
        if (!WriteText(base, "%RDP" + number)) {
            TransferMessenger::Show(kMsgReadFailed);
            file.Commit();
            return false;
        }
        std::string program;
        int failures = 0;
        for (;;) {
            if (!ReadText(base, &reply)) {
                if (++failures >= kMaxLineReadFailures) {
                    TransferMessenger::Show(kMsgReadFailed);
                    file.Commit();
                    return false;
                }
                continue;
            }
            failures = 0;
            if (reply == kEndMarker) break;
            program += reply + "\r\n";
        }
        program += "\r\n";
        file.Write(program);
    }
    return file.Commit();
}

bool DownloadPosProgram(const char* path) {
    bool shown = false;
    ParaBase* base = nullptr;
    auto abort = [&]() {
        if (base != nullptr && PosProgramParameter() != 0) {
            WriteText(base, "END");
            WriteText(base, kEndMarker);
        }
        return false;
    };
    for (;;) {
        SelectPosProgramParameter();
        base = ActiveDeviceBase();
        if (base != nullptr && PosProgramParameter() != 0 && path != nullptr && *path != '\0') break;
        shown = true;
        if (!TransferMessenger::Show(kMsgNoDevice)) return abort();
    }
    std::string bytes;
    for (;;) {
        if (auto read = platform::ReadBinaryFile(path)) {
            bytes = std::move(*read);
            break;
        }
        shown = true;
        if (!TransferMessenger::Show(kMsgFileNotOpened)) return abort();
    }
    while (!WriteText(base, "%CLPxx")) {
        shown = true;
        if (!TransferMessenger::Show(kMsgStartRefused)) return abort();
    }
    int count = 0;
    if (bytes.compare(0, 4, kScrambledHeader) == 0) {
        std::vector<std::string> lines;
        if (const int message = ScrambledLines(bytes, &lines); message != 0) {
            TransferMessenger::Show(message);
            return abort();
        }
        for (const std::string& line : lines) {
            ++count;
            const std::string cleaned = CleanScrambledLine(line);
            if (!cleaned.empty() && !WriteText(base, cleaned)) {
                TransferMessenger::ShowWith(kMsgLineNotSent, count);
                return abort();
            }
        }
    } else {
        for (const std::string& line : PlainLines(bytes)) {
            ++count;
            const std::string cleaned = CleanPlainLine(line);
            if (HasControlChars(cleaned.c_str()) != 0) {
                TransferMessenger::ShowWith(kMsgLineNotSent, count);
                return abort();
            }
            if (!cleaned.empty() && !WriteText(base, cleaned)) {
                TransferMessenger::ShowWith(kMsgLineNotSent, count);
                return abort();
            }
        }
    }
    WriteText(base, kEndMarker);
    if (!WriteText(base, "%SAV")) {
        TransferMessenger::ShowWith(kMsgSaveRefused, count);
        return abort();
    }
    return !shown;
}
