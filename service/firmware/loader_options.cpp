#include "service/firmware/loader_options.h"

#include "platform/files/text_file.h"
#include "service/firmware/loader_device_types.h"
#include "service/firmware/transfer_codes.h"
#include "toolkit/base/gw_number.h"

namespace {

enum class Option {
    kDevice,
    kLogFile,
    kNoEffect,
    kPort,
    kBootstrapBaud,
    kLineBaud,
    kBooter,
    kLoader,
    kSecondLoader,
    kFirmware,
    kOptionFile,
    kCompare,
    kNoChecksums,
    kUsage
};

struct OptionPrefix {
    const char* prefix;
    Option option;
};

// In matching order: longer prefixes before the shorter ones they begin with.
constexpr OptionPrefix kOptions[] = {
    {"-d", Option::kDevice},
    {"-lg", Option::kLogFile},
    {"-ns", Option::kNoEffect},
    {"-p", Option::kPort},
    {"-bb", Option::kBootstrapBaud},
    {"-bl", Option::kLineBaud},
    {"-b", Option::kBooter},
    {"-l", Option::kLoader},
    {"-2l", Option::kSecondLoader},
    {"-f", Option::kFirmware},
    {"-if", Option::kOptionFile},
    {"-t", Option::kCompare},
    {"-nc", Option::kNoChecksums},
    {"-?", Option::kUsage},
};

int32_t Number(std::string_view value) { return GwAtol(std::string(value).c_str()); }

// Whether the value begins with a number, as the number read takes it
// (blanks, a sign, then a digit).
bool StartsWithNumber(std::string_view value) {
    const size_t start = value.find_first_not_of(" \t");
    if (start == std::string_view::npos) return false;
    value.remove_prefix(start);
    if (value.front() == '+' || value.front() == '-') value.remove_prefix(1);
    return !value.empty() && value.front() >= '0' && value.front() <= '9';
}

}  // namespace

OptionResult ParseLoaderOption(std::string_view text, LoaderOptions& options, OptionSource source) {
    for (const OptionPrefix& entry : kOptions) {
        const std::string_view prefix(entry.prefix);
        if (!text.starts_with(prefix)) continue;
        const std::string_view value = text.substr(prefix.size());
        // "-bboot.hex" and "-blink.hex" name booter files; "-bb" and "-bl"
        // are rates only with a number.
        const bool rate = entry.option == Option::kBootstrapBaud || entry.option == Option::kLineBaud;
        if (rate && !StartsWithNumber(value)) continue;
        switch (entry.option) {
            case Option::kDevice: {
                const int32_t index = Number(value);
                if (FindLoaderDeviceType(index) == nullptr) return OptionResult::kUnknown;
                options.deviceType = index;
                return OptionResult::kTaken;
            }
            case Option::kLogFile:
                options.logFile = value;
                return OptionResult::kLogFile;
            case Option::kNoEffect:
                return OptionResult::kTaken;
            case Option::kPort:
                options.port = static_cast<unsigned>(Number(value));
                return OptionResult::kTaken;
            case Option::kBootstrapBaud:
                options.bootstrapBaud = Number(value);
                return OptionResult::kTaken;
            case Option::kLineBaud: {
                // Trailing letters ("57600l") are ignored by the number read.
                const int32_t baud = Number(value);
                if (LoaderBaudCode(baud) < 0) return OptionResult::kUnknown;
                options.lineBaud = baud;
                return OptionResult::kTaken;
            }
            case Option::kBooter:
                options.booterFile = value;
                return OptionResult::kTaken;
            case Option::kLoader:
                options.loaderFile = value;
                return OptionResult::kTaken;
            case Option::kSecondLoader:
                options.secondLoaderFile = value;
                return OptionResult::kTaken;
            case Option::kFirmware:
                options.firmwareFile = value;
                return OptionResult::kTaken;
            case Option::kOptionFile:
                if (source != OptionSource::kCommandLine) return OptionResult::kUnknown;
                options.optionFile = value;
                return OptionResult::kTaken;
            case Option::kCompare:
                options.compareIdentification = true;
                return OptionResult::kTaken;
            case Option::kNoChecksums:
                options.noChecksums = true;
                return OptionResult::kTaken;
            case Option::kUsage:
                return source == OptionSource::kCommandLine ? OptionResult::kUsage : OptionResult::kUnknown;
        }
    }
    return OptionResult::kUnknown;
}

std::vector<std::string> OptionFileLines(std::string_view text) {
    std::vector<std::string> lines = platform::SplitLines(text);
    for (std::string& line : lines) line = line.substr(0, line.find('\t'));
    return lines;
}
