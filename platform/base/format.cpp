// The project's printf: parses each conversion itself, checks it against its
// argument and hands the C library only a rebuilt, single-conversion format.
#include "platform/base/format.h"

#include <cstdio>
#include <optional>

namespace platform {

namespace {

// Widths and precisions above this are not understood: no format of the
// program needs more, and it bounds what one conversion can allocate.
constexpr int64_t kMaxFieldChars = 4096;

struct Conversion {
    bool left = false;   // '-'
    bool plus = false;   // '+'
    bool space = false;  // ' '
    bool alt = false;    // '#'
    bool zero = false;   // '0'
    int64_t width = 0;
    std::optional<int64_t> precision;
    bool width_from_arg = false;
    bool precision_from_arg = false;
    int length_bits = 32;  // integer size the length modifier gives
    char conversion = 0;
};

// Reads digits as a count; null when it exceeds the bound.
std::optional<int64_t> ReadCount(std::string_view format, size_t* pos) {
    int64_t value = 0;
    while (*pos < format.size() && format[*pos] >= '0' && format[*pos] <= '9') {
        value = value * 10 + (format[*pos] - '0');
        if (value > kMaxFieldChars) return std::nullopt;
        ++*pos;
    }
    return value;
}

// Parses the conversion that starts after '%' at `pos`; on success `pos` is
// past it. Null when it is not one this formatter understands.
std::optional<Conversion> ParseSpec(std::string_view format, size_t* pos) {
    Conversion conv;
    size_t& p = *pos;
    for (; p < format.size(); ++p) {
        char c = format[p];
        if (c == '-')
            conv.left = true;
        else if (c == '+')
            conv.plus = true;
        else if (c == ' ')
            conv.space = true;
        else if (c == '#')
            conv.alt = true;
        else if (c == '0')
            conv.zero = true;
        else
            break;
    }
    if (p < format.size() && format[p] == '*') {
        conv.width_from_arg = true;
        ++p;
    } else {
        std::optional<int64_t> width = ReadCount(format, &p);
        if (!width) return std::nullopt;
        conv.width = *width;
    }
    if (p < format.size() && format[p] == '.') {
        ++p;
        if (p < format.size() && format[p] == '*') {
            conv.precision_from_arg = true;
            ++p;
        } else {
            conv.precision = ReadCount(format, &p);
            if (!conv.precision) return std::nullopt;
        }
    }
    if (format.substr(p, 2) == "hh") {
        conv.length_bits = 8;
        p += 2;
    } else if (format.substr(p, 2) == "ll") {
        conv.length_bits = 64;
        p += 2;
    } else if (p < format.size() && format[p] == 'h') {
        conv.length_bits = 16;
        ++p;
    } else if (p < format.size() && (format[p] == 'l' || format[p] == 'L')) {
        ++p;  // "long" and "%LX" are 32 bits, as the formats were written for
    }
    if (p >= format.size()) return std::nullopt;
    conv.conversion = format[p++];
    switch (conv.conversion) {
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
        case 'c':
        case 's':
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'p':
            return conv;
        default:
            return std::nullopt;  // "%n" among them: never written through
    }
}

std::optional<int64_t> IntegerOf(const FormatArg& arg) {
    if (auto v = std::get_if<int64_t>(&arg.value())) return *v;
    if (auto v = std::get_if<uint64_t>(&arg.value())) return static_cast<int64_t>(*v);
    return std::nullopt;
}

// The C conv for one conversion, rebuilt from parsed parts only.
std::string CConversion(const Conversion& conv, const char* length, char conversion) {
    std::string s = "%";
    if (conv.left) s += '-';
    if (conv.plus) s += '+';
    if (conv.space) s += ' ';
    if (conv.alt) s += '#';
    if (conv.zero) s += '0';
    if (conv.width > 0) s += std::to_string(conv.width);
    if (conv.precision) s += "." + std::to_string(*conv.precision);
    s += length;
    s += conversion;
    return s;
}

template <typename T>
void AppendC(std::string* out, const std::string& c_spec, T value) {
    int n = std::snprintf(nullptr, 0, c_spec.c_str(), value);
    if (n <= 0) return;
    std::string buffer(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(buffer.data(), buffer.size(), c_spec.c_str(), value);
    out->append(buffer.data(), static_cast<size_t>(n));
}

// Strings and characters are padded here: '0' pads with zeros, as the
// program's "%05s" formats expect.
void AppendPadded(std::string* out, const Conversion& conv, std::string_view text) {
    size_t pad = conv.width > static_cast<int64_t>(text.size()) ? static_cast<size_t>(conv.width) - text.size() : 0;
    if (!conv.left) out->append(pad, conv.zero ? '0' : ' ');
    out->append(text);
    if (conv.left) out->append(pad, ' ');
}

// Narrows an integer argument to the conversion's size and signedness.
int64_t SignedOfWidth(int64_t v, int bits) {
    switch (bits) {
        case 8:
            return static_cast<int8_t>(v);
        case 16:
            return static_cast<int16_t>(v);
        case 32:
            return static_cast<int32_t>(v);
        default:
            return v;
    }
}
uint64_t UnsignedOfWidth(int64_t v, int bits) {
    uint64_t u = static_cast<uint64_t>(v);
    return bits >= 64 ? u : u & ((uint64_t{1} << bits) - 1);
}

// Appends one converted value; false when the argument is of the wrong kind.
bool Convert(std::string* out, const Conversion& conv, const FormatArg& arg) {
    const FormatArg::Value& value = arg.value();
    switch (conv.conversion) {
        case 'd':
        case 'i': {
            std::optional<int64_t> v = IntegerOf(arg);
            if (!v) return false;
            AppendC(out, CConversion(conv, "ll", 'd'), static_cast<long long>(SignedOfWidth(*v, conv.length_bits)));
            return true;
        }
        case 'u':
        case 'x':
        case 'X':
        case 'o': {
            std::optional<int64_t> v = IntegerOf(arg);
            if (!v) return false;
            AppendC(out,
                    CConversion(conv, "ll", conv.conversion),
                    static_cast<unsigned long long>(UnsignedOfWidth(*v, conv.length_bits)));
            return true;
        }
        case 'c': {
            std::optional<int64_t> v = IntegerOf(arg);
            if (!v) return false;
            char c = static_cast<char>(*v);
            AppendPadded(out, conv, std::string_view(&c, 1));
            return true;
        }
        case 's': {
            auto s = std::get_if<std::string>(&value);
            if (s == nullptr) return false;
            std::string_view text(*s);
            if (conv.precision && *conv.precision < static_cast<int64_t>(text.size()))
                text = text.substr(0, static_cast<size_t>(*conv.precision));
            AppendPadded(out, conv, text);
            return true;
        }
        case 'p': {
            auto p = std::get_if<FormatArg::Pointer>(&value);
            if (p == nullptr) return false;
            AppendC(out, CConversion(conv, "", 'p'), reinterpret_cast<const void*>(p->address));
            return true;
        }
        default: {  // f F e E g G
            auto d = std::get_if<double>(&value);
            if (d == nullptr) return false;
            AppendC(out, CConversion(conv, "", conv.conversion), *d);
            return true;
        }
    }
}

}  // namespace

FormatResult FormatChecked(std::string_view format, const std::vector<FormatArg>& args) {
    FormatResult result;
    std::string& out = result.text;
    size_t next_arg = 0;
    auto take = [&]() -> const FormatArg* { return next_arg < args.size() ? &args[next_arg++] : nullptr; };
    size_t pos = 0;
    while (pos < format.size()) {
        size_t percent = format.find('%', pos);
        if (percent == std::string_view::npos) {
            out.append(format.substr(pos));
            break;
        }
        out.append(format.substr(pos, percent - pos));
        if (format.substr(percent, 2) == "%%") {
            out += '%';
            pos = percent + 2;
            continue;
        }
        size_t end = percent + 1;
        std::optional<Conversion> conv = ParseSpec(format, &end);
        std::string_view as_written = format.substr(percent, end - percent);
        pos = end;
        if (!conv) {
            // Not understood: left as written, consuming no argument.
            out.append(as_written);
            result.ok = false;
            continue;
        }
        bool good = true;
        if (conv->width_from_arg) {
            const FormatArg* a = take();
            std::optional<int64_t> w = a ? IntegerOf(*a) : std::nullopt;
            // A negative width from an argument means left-justified.
            if (w && *w < 0 && *w >= -kMaxFieldChars) {
                conv->left = true;
                w = -*w;
            }
            if (w && *w >= 0 && *w <= kMaxFieldChars)
                conv->width = *w;
            else
                good = false;
        }
        if (conv->precision_from_arg) {
            const FormatArg* a = take();
            std::optional<int64_t> p = a ? IntegerOf(*a) : std::nullopt;
            if (!p || *p > kMaxFieldChars)
                good = false;
            else if (*p >= 0)
                conv->precision = *p;  // a negative one counts as omitted
        }
        const FormatArg* value = take();
        if (!good || value == nullptr || !Convert(&out, *conv, *value)) {
            out.append(as_written);
            result.ok = false;
        }
    }
    if (next_arg < args.size()) result.ok = false;
    return result;
}

}  // namespace platform
