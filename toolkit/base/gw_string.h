// The toolkit's string class: a byte string with the few operations the
// program uses, a number text and the toolkit's date-time text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class GwString {
public:
    GwString() = default;
    GwString(const char* text) : bytes_(text != nullptr ? text : "") {}  // null is empty
    GwString(std::string_view bytes) : bytes_(bytes) {}
    GwString(const std::string& bytes) : bytes_(bytes) {}

    // printf "%g": 15.0 gives "15", 0.00005 gives "5e-05".
    static GwString FromDouble(double value);
    // The clock's local time as "DD.MM.YYYY HH:MM:SS".
    static GwString CurrentDateTime();

    GwString& Append(std::string_view bytes) {
        bytes_.append(bytes);
        return *this;
    }
    GwString& operator+=(std::string_view bytes) { return Append(bytes); }
    GwString& operator+=(const char* text) { return Append(text != nullptr ? text : ""); }
    GwString& operator+=(char c) {
        bytes_ += c;
        return *this;
    }

    const char* c_str() const { return bytes_.c_str(); }
    size_t length() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    void clear() { bytes_.clear(); }
    const std::string& str() const { return bytes_; }
    operator std::string_view() const { return bytes_; }

    friend bool operator==(const GwString& a, const GwString& b) { return a.bytes_ == b.bytes_; }
    friend GwString operator+(GwString a, std::string_view b) { return a.Append(b); }

private:
    std::string bytes_;
};
