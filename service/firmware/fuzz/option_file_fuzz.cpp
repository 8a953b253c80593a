// Feeds arbitrary text to the boot-loader tool's option-file reader: every
// line matched as an option.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/firmware/loader_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LoaderOptions options;
    for (const std::string& line : OptionFileLines(std::string_view(reinterpret_cast<const char*>(data), size))) {
        ParseLoaderOption(line, options, OptionSource::kOptionFile);
        ParseLoaderOption(line, options, OptionSource::kCommandLine);
    }
    return 0;
}
