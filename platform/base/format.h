// printf-style formatting with the meanings the program's formats were
// written for: "long" is 32 bits ("%ld", "%lu", "%08lX" format 32-bit values,
// so -1 gives "FFFFFFFF"), "%05s" pads with zeros, "%e" and "%g" use the C99
// two-digit exponent. Arguments are checked against the conversions: no
// format string, and above all none read from a file, reaches printf
// unchecked.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace platform {

// One argument of a formatted text.
class FormatArg {
public:
    template <typename T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T>, int> = 0>
    FormatArg(T v) : value_(static_cast<int64_t>(v)) {}
    template <typename T,
              std::enable_if_t<std::is_integral_v<T> && !std::is_signed_v<T> && !std::is_same_v<T, bool>, int> = 0>
    FormatArg(T v) : value_(static_cast<uint64_t>(v)) {}
    FormatArg(bool v) : value_(static_cast<int64_t>(v)) {}
    FormatArg(double v) : value_(v) {}
    FormatArg(float v) : value_(static_cast<double>(v)) {}
    FormatArg(const char* v) : value_(std::string(v != nullptr ? v : "(null)")) {}
    FormatArg(const std::string& v) : value_(v) {}
    FormatArg(std::string_view v) : value_(std::string(v)) {}
    FormatArg(const void* v) : value_(Pointer{reinterpret_cast<uintptr_t>(v)}) {}

    struct Pointer {
        uintptr_t address;
    };
    using Value = std::variant<int64_t, uint64_t, double, std::string, Pointer>;
    const Value& value() const { return value_; }

private:
    Value value_;
};

struct FormatResult {
    std::string text;
    // False when a conversion had no argument, an argument of the wrong kind
    // (a string for "%d", a number for "%s"), or was not understood. The
    // conversion is then left in the text as written, and an argument left
    // over is an error too.
    bool ok = true;
};

// Formats with the conversions checked against the arguments.
FormatResult FormatChecked(std::string_view format, const std::vector<FormatArg>& args);

// Formats a format string of the program's own. A mismatch is a programming
// error; it never crashes, the text shows the conversion as written.
template <typename... Args>
std::string Format(std::string_view format, const Args&... args) {
    return FormatChecked(format, std::vector<FormatArg>{FormatArg(args)...}).text;
}

}  // namespace platform
