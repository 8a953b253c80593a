#include "parameters/parabase/value_text_table.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "platform/files/text_file.h"
#include "toolkit/base/gw_number.h"

namespace {

// Lines of a T file that are read at most, and bytes of one line (as a line
// buffer of 2048 bytes holds them with the terminator).
constexpr int kMaxFileLines = 1000;
constexpr size_t kMaxLineBytes = 2047;
// Columns of the number at the start of a line, and where the texts begin.
constexpr size_t kNumberColumns = 4;
constexpr size_t kFirstTextColumn = 5;

// Takes the next line as a line reader delivers it: up to kMaxLineBytes bytes,
// ending after a line feed; a CR before the line feed is dropped. `length` is
// the length with its line feed, `text` the line without it.
bool NextLine(std::string_view& rest, std::string& text, size_t& length) {
    if (rest.empty()) return false;
    text.clear();
    bool lineFeed = false;
    while (!rest.empty() && text.size() < kMaxLineBytes) {
        const char c = rest.front();
        if (c == '\r' && rest.size() > 1 && rest[1] == '\n') {
            rest.remove_prefix(1);
            continue;
        }
        rest.remove_prefix(1);
        if (c == '\n') {
            lineFeed = true;
            break;
        }
        text += c;
    }
    length = text.size() + (lineFeed ? 1 : 0);
    return true;
}

void LogSyntaxError(const std::string& where, const char* path) {
    TheDataLogger().WriteEntry("Syntax error in Line " + where + "in File " + path);
}

}  // namespace

void ValueTextTable::Clear() {
    rows_.fill(Row{});
    texts_.clear();
}

bool ValueTextTable::Add(int number, const char* text, bool first) {
    if (number < 0 || number > kHighestParameter || GetCount() >= kMaxTexts) return false;
    Row& row = rows_[number];
    if (!first && row.number != number) return false;
    std::string_view t = text != nullptr ? std::string_view(text) : std::string_view();
    texts_.emplace_back(t.substr(0, kTextLength));
    const auto index = static_cast<uint16_t>(texts_.size() - 1);
    if (first) row = Row{static_cast<uint16_t>(number), index, index};
    row.last = index;
    return true;
}

bool ValueTextTable::AddFirstText(int number, const char* text) { return Add(number, text, true); }

bool ValueTextTable::AddNextText(int number, const char* text) { return Add(number, text, false); }

const char* ValueTextTable::GetValueText(int number, int value) const {
    if (number < 0 || number > kHighestParameter) return nullptr;
    const Row& row = rows_[number];
    if (row.number == 0) return nullptr;
    const int span = row.last - row.first;
    const int v = static_cast<uint8_t>(value);
    if (v > span) {
        if (number == kKeypadGroupParameter && v == span + 3) return kValueGroupText;
        return nullptr;
    }
    const std::string& text = texts_[row.first + v];
    return text == kEmptyTextMark ? " " : text.c_str();
}

void ValueTextTable::CutAfterFirstWord(int number, int value) {
    if (number < 0 || number > kHighestParameter) return;
    const Row& row = rows_[number];
    const int v = static_cast<uint8_t>(value);
    if (row.number == 0 || v > row.last - row.first) return;
    std::string& text = texts_[row.first + v];
    const size_t word = text.find_first_not_of(' ');
    if (word == std::string::npos) return;
    const size_t blank = text.find(' ', word);
    if (blank != std::string::npos) text.resize(blank);
}

namespace {

// A text as one blank-separated token of a T file: its first word, shown as
// the text is shown, or the empty-text mark, so no later text moves up.
std::string FileToken(const std::string& text) {
    const size_t word = text.find_first_not_of(' ');
    if (word == std::string::npos) return ValueTextTable::kEmptyTextMark;
    return text.substr(word, text.find(' ', word) - word);
}

}  // namespace

bool ValueTextTable::WriteFile(const char* path) const {
    std::string file;
    for (const Row& row : rows_) {
        if (row.number == 0) continue;
        std::string line = platform::Format("%4d ", row.number);
        for (int i = row.first; i <= row.last; ++i) line += FileToken(texts_[i]) + " ";
        file += line + "\r\n";
    }
    return platform::ReplaceFile(path != nullptr ? path : "", file);
}

bool ValueTextTable::ReadFile(const char* path) {
    if (path == nullptr) return false;
    const std::optional<std::string> bytes = platform::ReadBinaryFile(path);
    if (!bytes) return false;
    std::string_view rest(*bytes);
    std::string line;
    size_t length = 0;
    for (int lineNumber = 1; lineNumber <= kMaxFileLines; ++lineNumber) {
        if (!NextLine(rest, line, length)) return true;
        if (length < kFirstTextColumn) {
            LogSyntaxError(platform::Format("%u", lineNumber), path);
            return false;
        }
        const std::string numberText = line.substr(0, kNumberColumns);
        const int number = GwAtoi(numberText.c_str());
        if (number == 0) {
            LogSyntaxError(numberText, path);
            continue;
        }
        bool first = true;
        size_t pos = kFirstTextColumn;
        while (pos < line.size()) {
            const size_t end = std::min(line.find(' ', pos), line.size());
            if (end > pos) {
                const std::string token = line.substr(pos, end - pos);
                if (first) AddFirstText(number, token.c_str());
                else AddNextText(number, token.c_str());
                first = false;
            }
            pos = end + 1;
        }
    }
    return true;
}
