// The oscilloscope's list of recordable variables, read from the variable list
// file of a firmware version ("..\FIRMDATA\<class>_<major>_<minor>.MCW"), and
// the factors that turn a variable's raw samples into physical values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One variable the drive's recorder can record.
struct ScopeVariable {
    std::string name;                // key of the display text
    std::string unit;                // "none" is stored empty
    uint8_t fraction_bits = 0;       // binary fraction digits of the raw sample
    double factor = 0.0;             // scale; 0 or less selects factor table entry -factor
    int32_t width_kind = 0;          // 1 = 16-bit samples, 2 = 32-bit samples
    uint16_t index_within_kind = 0;  // counted in file order, for kind 1 and for all others apart
    uint8_t level = 0;               // user level from which the variable is offered
};

class ScopeVariableList {
public:
    static constexpr size_t kMaxEntries = 256;
    static constexpr size_t kMaxNameLength = 50;   // bytes kept of a name
    static constexpr size_t kMaxUnitLength = 20;   // bytes kept of a unit
    static constexpr size_t kMaxLineLength = 254;  // bytes of one line of the file

    // Makes a factor table of one value from the time base `time`: the smallest
    // power of two 2^0 .. 2^14 not below time * sqrt(2), else time * sqrt(2)
    // itself; then reads the list file.
    void InitWithTimeBase(std::string_view path, double time);
    // Takes a copy of the factor table, then reads the list file.
    void InitWithFactorTable(std::string_view path, std::span<const double> factors);

    // A name or unit (cut to `maxLength`) as a field of the list file: as it
    // is, or in quotes with its quotes doubled when it is empty, holds a
    // separator or starts with a quote, so it reads back unchanged.
    static std::string FileField(std::string_view text, size_t maxLength);

    // Empties the list, keeps `path`, and reads one variable per line: name,
    // unit, fraction bits, factor, width kind, level, separated by blanks or
    // commas; a field in quotes may hold them. Entries beyond kMaxEntries are not added. False when the file
    // cannot be opened, or at the first line that lacks a field, holds no
    // number where one belongs, or is longer than kMaxLineLength; the entries
    // before that line stay. Names and units longer than their maximum are cut.
    // Whether the whole file was read is kept (IsValid).
    bool ReadListFile(std::string_view path);
    // The same for the file's text already in memory (LF or CR LF lines).
    bool ReadListText(std::string_view text);

    void SetFactorTable(std::span<const double> factors);

    // Makes current the first variable of width kind `kind` with that index
    // within its kind; false when there is none.
    bool SelectByKindIndex(uint16_t index, int32_t kind);
    // Makes current the first variable of that name, compared without regard
    // to case; false when there is none.
    bool SelectByName(std::string_view name);

    // The current variable's factor when it is above 0, else the factor table's
    // entry at minus the factor; 0 when that lies outside the table or there is
    // no current variable.
    double GetCurrentFactor() const;

    // True when the last read reached the end of the file.
    bool IsValid() const { return valid_; }
    const std::vector<ScopeVariable>& Entries() const { return entries_; }
    // The current variable; null when the list is empty.
    const ScopeVariable* Current() const;
    uint16_t CurrentIndex() const { return current_; }
    const std::vector<double>& FactorTable() const { return factors_; }
    const std::string& Path() const { return path_; }

private:
    void Clear();
    // Makes current the first entry that matches; false (current kept) when none does.
    template <typename Matches>
    bool SelectFirst(Matches matches);

    std::vector<ScopeVariable> entries_;
    uint16_t current_ = 0;
    std::vector<double> factors_;
    bool valid_ = false;
    std::string path_;
};
