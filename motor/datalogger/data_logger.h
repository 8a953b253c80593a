// The program's plain-text event log: the program log "..\TMP\DataLogger.txt",
// open for the whole run, and short-lived logs such as "..\TMP\ident.txt".
// Writes only; texts are written as they stand, never used as formats.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Paths of the program log and of the motor identification's log.
inline constexpr char kProgramLogPath[] = "..\\TMP\\DataLogger.txt";
inline constexpr char kIdentLogPath[] = "..\\TMP\\ident.txt";

// A log file larger than this (bytes) is started afresh when a logger opens it.
inline constexpr int64_t kMaxLogFileBytes = 3000000;

class DataLogger {
public:
    // Opens `path` (the program's Windows form) for appending, empties a file
    // larger than kMaxLogFileBytes, and writes the header with the log-in time.
    // When the file cannot be opened every later write does nothing; nothing
    // is reported.
    explicit DataLogger(std::string_view path);
    // Writes the log-out entry and closes the file.
    ~DataLogger();

    DataLogger(const DataLogger&) = delete;
    DataLogger& operator=(const DataLogger&) = delete;

    // The current local time as ctime text: 24 characters and a line feed.
    static std::string GetTimeText();

    // One time-stamped entry: the time text, a tab, the text, two line feeds.
    void WriteEntry(std::string_view text);
    void WriteEntryText(const char* text);
    // The text alone.
    void WriteText(std::string_view text);
    void Put(const char* text);
    // The text and one line feed.
    void WriteLine(std::string_view text);
    void PutLine(const char* text);

    // The path as it was given.
    const std::string& GetPath() const { return path_; }

private:
    void Write(std::string_view bytes);

    std::string path_;
    std::FILE* file_ = nullptr;
};

// The program log on kProgramLogPath, opened when the program loads (relative
// to the start-up directory; a missing "..\TMP" is not created) and closed with
// its log-out entry at exit. Never null: outside that lifetime it is silent.
DataLogger& TheDataLogger();

// Sends the log lines of the platform and toolkit layers to the program log as
// time-stamped entries. The program calls it once at start.
void ConnectLogSinkToDataLogger();
