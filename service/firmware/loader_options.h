// The boot-loader tool's options, from its arguments and its option file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct LoaderOptions {
    int deviceType = 0;                            // "-d": index of the device type table
    std::string logFile;                           // "-lg": the tool's own log
    unsigned port = 2;                             // "-p"
    int32_t bootstrapBaud = 19200;                 // "-bb"; 0 selects the warm start
    int32_t lineBaud = 57600;                      // "-bl"
    std::string booterFile = "booter.hex";         // "-b"
    std::string loaderFile = "loader.hex";         // "-l"
    std::string secondLoaderFile = "loader2.hex";  // "-2l"
    std::string firmwareFile = "firmld.hex";       // "-f"
    std::string optionFile;                        // "-if" (command line only)
    bool compareIdentification = false;            // "-t"
    bool noChecksums = false;                      // "-nc"
};

enum class OptionResult {
    kTaken,
    kLogFile,  // "-lg": the caller opens the log file now
    kUsage,    // "-?"
    kUnknown,  // no option, an option not allowed here, or a value the tool cannot use
};

enum class OptionSource { kCommandLine, kOptionFile };

// Matches one argument or option-file line by prefix; the first option of
// the tool's order that matches wins ("-bb" and "-bl" before "-b", "-lg"
// before "-l"); "-bb" without a number after it is "-b" with a file name. A device type outside the table and a line
// rate the loader has no baud code for are refused as unknown.
OptionResult ParseLoaderOption(std::string_view text, LoaderOptions& options, OptionSource source);

// The lines of an option file (read in text mode), each cut at its first
// tab.
std::vector<std::string> OptionFileLines(std::string_view text);
