// The value texts of a parameter table's enumerated parameters: the text for
// each value of each parameter, read from the device or from the base's T
// file, and the T file itself ("%4d " and the texts, each followed by a
// blank, one line per parameter; a parameter with a text that is empty or
// holds a blank is written "%4d=" with every text in quotes).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parameters/parabase/para_types.h"

class ValueTextTable {
public:
    static constexpr int kMaxTexts = 30000;
    // Characters kept of one text.
    static constexpr size_t kTextLength = 32;
    // The drive's and the older T files' stand-in for an empty text; it is
    // kept as it is and shown as " ".
    static constexpr char kEmptyTextMark[] = "-----";
    // Parameter whose value texts name the keypad groups; three values past
    // its last text stand for the "_VAL " group.
    static constexpr int kKeypadGroupParameter = 8;
    static constexpr char kValueGroupText[] = "_VAL ";

    ValueTextTable() = default;

    // Forgets every row and text.
    void Clear();
    // Starts the texts of `number` with the text for value 0. False for a
    // number outside 0..999 or a full table.
    bool AddFirstText(int number, const char* text);
    // Adds the text for the next value of `number`. False for a number
    // outside 0..999, a number without a first text, or a full table.
    bool AddNextText(int number, const char* text);
    // The text for `value` (taken as a byte) of parameter `number`, or null.
    // A stored "-----" reads as " ".
    const char* GetValueText(int number, int value) const;
    int GetCount() const { return static_cast<int>(texts_.size()); }

    // Writes the T file (CR LF lines); false when it cannot be written. Every
    // text reads back as it is stored.
    bool WriteFile(const char* path) const;
    // Adds the texts of a T file (lines of any length); false when it cannot
    // be opened or a line is too short to hold a number. The reasons are
    // logged.
    bool ReadFile(const char* path);

private:
    struct Row {
        uint16_t number = 0;  // 0: no texts
        uint16_t first = 0;
        uint16_t last = 0;
    };

    bool Add(int number, std::string_view text, bool first);

    std::vector<std::string> texts_;
    std::array<Row, kParameterCount> rows_{};
};
