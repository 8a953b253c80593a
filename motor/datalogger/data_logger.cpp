#include "motor/datalogger/data_logger.h"

#include "platform/files/text_file.h"
#include "platform/system/clock.h"

namespace {

constexpr std::string_view kRule = "-------------------------------------------------------------------------";
constexpr std::string_view kTitle = "                    Torvane Event Logger File";
constexpr std::string_view kLogOut = "*** Log out ***";

std::string_view OrEmpty(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

std::string Entry(std::string_view text) {
    std::string entry = DataLogger::GetTimeText();
    entry += '\t';
    entry += text;
    entry += "\n\n";
    return entry;
}

}  // namespace

DataLogger::DataLogger(std::string_view path) : path_(path) {
    if (path_.empty()) return;
    file_ = platform::OpenFile(path_, "a");
    if (file_ == nullptr) return;
    if (std::fseek(file_, 0, SEEK_END) == 0 && std::ftell(file_) > kMaxLogFileBytes) {
        std::fclose(file_);
        file_ = platform::OpenFile(path_, "w");
        if (file_ == nullptr) return;
    }
    std::string header;
    header += kRule;
    header += '\n';
    header += kTitle;
    header += '\n';
    header += "Login:\t";
    header += GetTimeText();
    header += '\n';
    header += kRule;
    header += '\n';
    Write(header);
}

DataLogger::~DataLogger() {
    if (file_ == nullptr) return;
    std::string logout = GetTimeText();
    logout += '\t';
    logout += kLogOut;
    logout += '\n';
    Write(logout);
    std::fclose(file_);
}

std::string DataLogger::GetTimeText() { return platform::CTimeText(platform::TheClock().WallSeconds()); }

void DataLogger::WriteEntry(std::string_view text) {
    if (file_ != nullptr) Write(Entry(text));
}

void DataLogger::WriteEntryText(const char* text) { WriteEntry(OrEmpty(text)); }

void DataLogger::WriteText(std::string_view text) { Write(text); }

void DataLogger::Put(const char* text) { Write(OrEmpty(text)); }

void DataLogger::WriteLine(std::string_view text) {
    if (file_ == nullptr) return;
    std::string line(text);
    line += '\n';
    Write(line);
}

void DataLogger::PutLine(const char* text) { WriteLine(OrEmpty(text)); }

// Each entry goes out in one write and is flushed at once: entries from the
// bus worker's log lines never interleave with others, and what was logged
// before a crash is on the disk.
void DataLogger::Write(std::string_view bytes) {
    if (file_ == nullptr || bytes.empty()) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
    std::fflush(file_);
}
