// The PLC word file between a drive's PLC program parameters and the PLC
// editor control: one 32-bit word per line as eight hexadecimal digits,
// written with CR LF, read with LF or CR LF and digits of either case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The most words a word file is counted to.
inline constexpr int kMaxPlcWordCount = 32767;

// The line of one word: "%08X" and CR LF.
std::string FormatPlcWord(uint32_t word);

// Reads the words of a word file's text in order. A line that is not a word
// (one to eight hexadecimal digits, blanks around them allowed) ends the
// words: nothing is read past it and nothing taken from its rest.
class PlcWordReader {
public:
    explicit PlcWordReader(std::string_view text) : text_(text) {}

    // The next word; false at the end of the words.
    bool Next(uint32_t* word);
    // The words from the start, at most kMaxPlcWordCount; reading starts over.
    int CountWords();
    void Rewind();

private:
    std::string_view text_;
    size_t position_ = 0;
    bool ended_ = false;
};

// The word of one line without its line end; false when it is not a word.
bool ParsePlcWordLine(std::string_view line, uint32_t* word);
