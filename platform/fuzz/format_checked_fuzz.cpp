// Fuzz target of the checked formatting with format strings as message files
// bring them: the first line is the format, each further byte picks one
// argument (a signed or unsigned number, a double, a text, a pointer). Any
// format and arguments give a text of bounded length, never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t end = input.find('\n');
    const std::string_view format = input.substr(0, end);
    const std::string_view picks = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    std::vector<platform::FormatArg> args;
    for (unsigned char pick : picks) {
        switch (pick % 8) {
            case 0:
                args.emplace_back(static_cast<int>(pick) - 128);
                break;
            case 1:
                args.emplace_back(std::numeric_limits<int64_t>::min());
                break;
            case 2:
                args.emplace_back(std::numeric_limits<uint32_t>::max());
                break;
            case 3:
                args.emplace_back(pick * 1.0e300);
                break;
            case 4:
                args.emplace_back(std::numeric_limits<double>::quiet_NaN());
                break;
            case 5:
                args.emplace_back(std::string(pick % 40, 'x'));
                break;
            case 6:
                args.emplace_back(static_cast<const void*>(data));
                break;
            default:
                args.emplace_back(-1.5e-300);
                break;
        }
    }
    const platform::FormatResult result = platform::FormatChecked(format, args);
    // Every conversion takes an argument and gives at most a field of 4096
    // characters plus the argument's own digits; more means a width or
    // precision was taken without limit.
    constexpr size_t kMostPerConversion = 2 * 4096 + 512;
    if (result.text.size() > format.size() + args.size() * kMostPerConversion) std::abort();
    return 0;
}
