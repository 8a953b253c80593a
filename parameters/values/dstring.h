// The program's counted text value: a heap buffer with a stored length, a
// capacity and a grow step. Failures are thrown as constant C strings.
#pragma once

#include <cstdint>
#include <string_view>

// Texts thrown by dstring (caught as const char*).
namespace dstring_errors {
inline constexpr const char* kNoMemory = "dstring -> No memory available";
inline constexpr const char* kInvalidCopySource = "dstring -> Invalid source object for copy constructor";
inline constexpr const char* kInvalidSizeInt = "dstring -> Invalid size during initialization with type int";
inline constexpr const char* kInvalidSizeLong = "dstring -> Invalid size during initialization with type long";
inline constexpr const char* kInvalidSizeUnsignedInt =
    "dstring -> Invalid size during initialization with type unsigned int";
inline constexpr const char* kInvalidSizeUnsignedLong =
    "dstring -> Invalid size during initialization with type unsigned long";
inline constexpr const char* kInvalidSizeDouble = "dstring -> Invalid size during initialization with type double";
}  // namespace dstring_errors

class dstring {
public:
    // Smallest grow step, in characters; also the capacity of an empty string.
    static constexpr int32_t kMinGrowStep = 32;
    // Capacity reserved for the text of a formatted int or unsigned.
    static constexpr int32_t kIntTextCapacity = 32;
    // Capacity reserved for the text of a formatted long, unsigned long or double.
    static constexpr int32_t kLongTextCapacity = 64;

    // Empty; capacity and grow step kMinGrowStep.
    dstring();
    // A copy of `text` (null: empty) with room for `step` more characters; the
    // grow step is `step`, at least kMinGrowStep.
    dstring(const char* text, int32_t step = kMinGrowStep);
    // Same capacity, grow step and text as `src`.
    dstring(const dstring& src);
    dstring& operator=(const dstring& other) { return Assign(other); }
    ~dstring();

    static dstring FromText(const char* text, int32_t step) { return dstring(text, step); }
    // The value through a printf format ("long" is 32 bits). A text longer
    // than the reserved capacity throws the invalid-size text of its type.
    static dstring FromInt(int32_t value, const char* format);
    static dstring FromUnsigned(uint32_t value, const char* format);
    static dstring FromLong(int32_t value, const char* format);
    static dstring FromUnsignedLong(uint32_t value, const char* format);
    static dstring FromDouble(double value, const char* format);

    // Starts afresh: empty, capacity and grow step max(step, kMinGrowStep).
    void Reserve(int32_t step);

    // Appends in place while the new length stays below the capacity, else
    // moves to a buffer of new length + grow step.
    dstring& Append(const dstring& other);
    dstring& operator+=(const dstring& other) { return Append(other); }
    dstring Plus(const dstring& other) const;
    dstring operator+(const dstring& other) const { return Plus(other); }
    dstring Concat(dstring other) const { return Plus(other); }
    dstring ConcatText(const char* text) const { return Plus(dstring(text)); }

    // Copies in place when the capacity holds the text, else moves to a
    // buffer of its length + grow step.
    dstring& Assign(const dstring& other);
    dstring& AssignText(const char* text) { return Assign(dstring(text)); }
    dstring& AssignChar(char c);
    void Clear();

    // Removes the leading run of `c`, unless the text is nothing but `c`.
    void TrimLeft(char c);
    // Removes the trailing run of `c`.
    void TrimRight(char c);
    // Characters pos .. pos+count-1, cut at the end of the text; empty when
    // pos or count is negative or pos lies beyond the end.
    dstring Mid(int32_t pos, int32_t count) const;
    // Inserts `text` before position `pos`; nothing when pos is outside 0..length.
    void Insert(int32_t pos, const dstring& text);
    // The character at `pos`, 0 outside the text.
    char GetAt(int32_t pos) const;
    // Index of the first occurrence of `s`, -1 if none.
    int32_t Find(const dstring& s) const;

    static bool IsEqual(const dstring& a, const dstring& b);
    friend bool operator==(const dstring& a, const dstring& b) { return IsEqual(a, b); }

    // Replaces the first occurrence of a non-empty `find`.
    void ReplaceFirst(const dstring& find, const dstring& with);
    // Replaces the first two occurrences of a non-empty `find`, left to right;
    // the second is looked for after the first replacement.
    void Replace(const char* find, const char* with);

    const char* Text() const { return buffer_ != nullptr ? buffer_ : ""; }
    std::string_view View() const { return {Text(), static_cast<size_t>(length_)}; }
    int32_t Length() const { return length_; }
    int32_t Capacity() const { return capacity_; }
    int32_t GrowStep() const { return growStep_; }

private:
    dstring(std::string_view text, int32_t step);
    static dstring Formatted(std::string_view text, int32_t capacity, const char* sizeError);
    // Moves to a new zeroed buffer of `capacity` characters holding first + second.
    void Rebuild(int64_t capacity, std::string_view first, std::string_view second);
    // Replaces the first occurrence of `find` at or after `start`; returns the
    // position after the replacement, or -1 when there is none.
    int32_t ReplaceFrom(std::string_view find, std::string_view with, int32_t start);

    char* buffer_ = nullptr;
    int32_t length_ = 0;
    int32_t capacity_ = 0;
    int32_t growStep_ = 0;
};
