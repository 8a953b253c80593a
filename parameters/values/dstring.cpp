// Buffer management of the counted text; the buffer always holds capacity + 1
// bytes with the text and the byte after the last capacity position NUL.
#include "parameters/values/dstring.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <string>

#include "platform/base/format.h"

namespace {

// Largest capacity whose buffer size (capacity + 1) still fits an int32.
constexpr int64_t kMaxCapacity = std::numeric_limits<int32_t>::max() - 1;

int32_t ClampStep(int32_t step) { return std::max(step, dstring::kMinGrowStep); }

std::string FormatValue(const char* format, const platform::FormatArg& value) {
    if (format == nullptr) return {};
    return platform::FormatChecked(format, {value}).text;
}

}  // namespace

dstring::dstring() { Reserve(kMinGrowStep); }

// A null text is an empty string of the default capacity.
dstring::dstring(const char* text, int32_t step)
    : dstring(text != nullptr ? std::string_view(text) : std::string_view(), text != nullptr ? step : kMinGrowStep) {}

dstring::dstring(std::string_view text, int32_t step) {
    growStep_ = ClampStep(step);
    // A negative step would leave the text without room; it reserves nothing.
    Rebuild(static_cast<int64_t>(text.size()) + std::max(step, 0), text, {});
}

dstring::dstring(const dstring& src) {
    if (src.buffer_ == nullptr) throw dstring_errors::kInvalidCopySource;
    growStep_ = src.growStep_;
    Rebuild(src.capacity_, src.View(), {});
}

dstring::~dstring() {
    delete[] buffer_;
    buffer_ = nullptr;
    length_ = 0;
    capacity_ = 0;
}

void dstring::Rebuild(int64_t capacity, std::string_view first, std::string_view second) {
    const int64_t length = static_cast<int64_t>(first.size()) + static_cast<int64_t>(second.size());
    if (capacity < length || capacity > kMaxCapacity) throw dstring_errors::kNoMemory;
    char* fresh = new (std::nothrow) char[capacity + 1]();
    if (fresh == nullptr) throw dstring_errors::kNoMemory;
    // Both parts may lie in the old buffer, so it is freed only after copying.
    if (!first.empty()) std::memcpy(fresh, first.data(), first.size());
    if (!second.empty()) std::memcpy(fresh + first.size(), second.data(), second.size());
    delete[] buffer_;
    buffer_ = fresh;
    length_ = static_cast<int32_t>(length);
    capacity_ = static_cast<int32_t>(capacity);
}

void dstring::Reserve(int32_t step) {
    growStep_ = ClampStep(step);
    Rebuild(growStep_, {}, {});
}

dstring dstring::Formatted(std::string_view text, int32_t capacity, const char* sizeError) {
    dstring result;
    result.Reserve(capacity);
    if (static_cast<int64_t>(text.size()) > result.capacity_) throw sizeError;
    std::memcpy(result.buffer_, text.data(), text.size());
    result.length_ = static_cast<int32_t>(text.size());
    return result;
}

dstring dstring::FromInt(int32_t value, const char* format) {
    return Formatted(FormatValue(format, value), kIntTextCapacity, dstring_errors::kInvalidSizeInt);
}

dstring dstring::FromUnsigned(uint32_t value, const char* format) {
    return Formatted(FormatValue(format, value), kIntTextCapacity, dstring_errors::kInvalidSizeUnsignedInt);
}

dstring dstring::FromLong(int32_t value, const char* format) {
    return Formatted(FormatValue(format, value), kLongTextCapacity, dstring_errors::kInvalidSizeLong);
}

dstring dstring::FromUnsignedLong(uint32_t value, const char* format) {
    return Formatted(FormatValue(format, value), kLongTextCapacity, dstring_errors::kInvalidSizeUnsignedLong);
}

dstring dstring::FromDouble(double value, const char* format) {
    return Formatted(FormatValue(format, value), kLongTextCapacity, dstring_errors::kInvalidSizeDouble);
}

dstring& dstring::Append(const dstring& other) {
    const int64_t newLength = static_cast<int64_t>(length_) + other.length_;
    if (newLength < capacity_ && &other != this) {
        std::memcpy(buffer_ + length_, other.buffer_, other.length_);
        length_ = static_cast<int32_t>(newLength);
        buffer_[length_] = '\0';
    } else {
        Rebuild(newLength + growStep_, View(), other.View());
    }
    return *this;
}

dstring dstring::Plus(const dstring& other) const {
    dstring result(*this);
    result.Append(other);
    return result;
}

dstring& dstring::Assign(const dstring& other) {
    if (other.length_ <= capacity_ && &other != this) {
        std::memcpy(buffer_, other.buffer_, other.length_);
        length_ = other.length_;
        buffer_[length_] = '\0';
    } else {
        Rebuild(static_cast<int64_t>(other.length_) + growStep_, other.View(), {});
    }
    return *this;
}

dstring& dstring::AssignChar(char c) {
    if (capacity_ > 0) {
        buffer_[0] = c;
        buffer_[1] = '\0';
        length_ = 1;
        return *this;
    }
    const char text[2] = {c, '\0'};
    return Append(dstring(std::string_view(text, 1), kMinGrowStep));
}

void dstring::Clear() {
    length_ = 0;
    buffer_[0] = '\0';
}

void dstring::TrimLeft(char c) {
    const size_t run = View().find_first_not_of(c);
    if (run == std::string_view::npos || run == 0) return;
    std::memmove(buffer_, buffer_ + run, length_ - run);
    length_ -= static_cast<int32_t>(run);
    buffer_[length_] = '\0';
}

void dstring::TrimRight(char c) {
    while (length_ > 0 && buffer_[length_ - 1] == c) --length_;
    buffer_[length_] = '\0';
}

dstring dstring::Mid(int32_t pos, int32_t count) const {
    if (pos < 0 || count < 0 || pos > length_) return dstring();
    return dstring(View().substr(pos, count), kMinGrowStep);
}

void dstring::Insert(int32_t pos, const dstring& text) {
    if (pos < 0 || pos > length_) return;
    Assign(Mid(0, pos) + text + Mid(pos, length_));
}

char dstring::GetAt(int32_t pos) const { return pos >= 0 && pos < length_ ? buffer_[pos] : '\0'; }

int32_t dstring::Find(const dstring& s) const {
    const size_t at = View().find(s.View());
    return at == std::string_view::npos ? -1 : static_cast<int32_t>(at);
}

bool dstring::IsEqual(const dstring& a, const dstring& b) { return a.View() == b.View(); }

int32_t dstring::ReplaceFrom(std::string_view find, std::string_view with, int32_t start) {
    if (find.empty()) return -1;
    const size_t at = View().find(find, start);
    if (at == std::string_view::npos) return -1;
    const int32_t pos = static_cast<int32_t>(at);
    const int32_t findLength = static_cast<int32_t>(find.size());
    dstring replaced = Mid(0, pos);
    replaced.Append(dstring(with, kMinGrowStep));
    replaced.Append(Mid(pos + findLength, length_));
    Assign(replaced);
    return pos + static_cast<int32_t>(with.size());
}

void dstring::ReplaceFirst(const dstring& find, const dstring& with) {
    // `find` or `with` may be this string; work on copies of their texts.
    const std::string findText(find.View());
    const std::string withText(with.View());
    ReplaceFrom(findText, withText, 0);
}

void dstring::Replace(const char* find, const char* with) {
    // The texts may point into this string's buffer, which a replacement frees.
    const std::string findText = find != nullptr ? find : "";
    const std::string withText = with != nullptr ? with : "";
    const int32_t next = ReplaceFrom(findText, withText, 0);
    if (next >= 0) ReplaceFrom(findText, withText, next);
}
