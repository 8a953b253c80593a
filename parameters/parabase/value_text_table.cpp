#include "parameters/parabase/value_text_table.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "platform/base/quoted_text.h"
#include "platform/files/text_file.h"
#include "toolkit/base/gw_number.h"

namespace {

// Lines of a T file that are read at most; a line may be of any length (a
// parameter with 256 texts of 32 characters needs over 8000 bytes).
constexpr int kMaxFileLines = 1000;
// Columns of the number at the start of a line, and where the texts begin.
constexpr size_t kNumberColumns = 4;
constexpr size_t kFirstTextColumn = 5;
// The column between number and texts: a blank on a line of plain tokens,
// this mark on a line of quoted texts (texts that hold blanks, are empty or
// start with a blank cannot be plain tokens).
constexpr char kQuotedLineMark = '=';

// Takes the next line, ending after a line feed; a CR before the line feed
// is dropped. `length` is the length with its line feed, `text` the line
// without it.
bool NextLine(std::string_view& rest, std::string& text, size_t& length) {
    if (rest.empty()) return false;
    text.clear();
    bool lineFeed = false;
    while (!rest.empty()) {
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

bool IsQuotedLine(const std::string& line) {
    return line.size() > kFirstTextColumn && line[kNumberColumns] == kQuotedLineMark &&
           line[kFirstTextColumn] == platform::kTextQuote;
}

// The texts of a line of plain tokens: every blank-separated token.
std::vector<std::string> PlainTexts(const std::string& line) {
    std::vector<std::string> texts;
    size_t pos = kFirstTextColumn;
    while (pos < line.size()) {
        const size_t end = std::min(line.find(' ', pos), line.size());
        if (end > pos) texts.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    return texts;
}

// The texts of a quoted line: each in quotes, a quote inside doubled, the
// texts separated by blanks. A text without its closing quote runs to the
// end of the line; a word outside quotes is a text of its own.
std::vector<std::string> QuotedTexts(const std::string& line) {
    std::vector<std::string> texts;
    size_t pos = kFirstTextColumn;
    while (pos < line.size()) {
        if (line[pos] == ' ') {
            ++pos;
            continue;
        }
        std::string text;
        if (line[pos] != platform::kTextQuote) {
            const size_t end = std::min(line.find(' ', pos), line.size());
            text = line.substr(pos, end - pos);
            pos = end;
        } else {
            pos = platform::ReadQuotedText(line, pos, &text);
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

void LogSyntaxError(const std::string& where, const char* path) {
    TheDataLogger().WriteEntry("Syntax error in Line " + where + "in File " + path);
}

}  // namespace

void ValueTextTable::Clear() {
    rows_.fill(Row{});
    texts_.clear();
}

bool ValueTextTable::Add(int number, std::string_view text, bool first) {
    if (number < 0 || number > kHighestParameter || GetCount() >= kMaxTexts) return false;
    Row& row = rows_[number];
    if (!first && row.number != number) return false;
    // A text ends at its first zero byte, as a text from the drive does.
    texts_.emplace_back(text.substr(0, std::min(text.find('\0'), kTextLength)));
    const auto index = static_cast<uint16_t>(texts_.size() - 1);
    if (first) row = Row{static_cast<uint16_t>(number), index, index};
    row.last = index;
    return true;
}

bool ValueTextTable::AddFirstText(int number, const char* text) {
    return Add(number, text != nullptr ? text : "", true);
}

bool ValueTextTable::AddNextText(int number, const char* text) {
    return Add(number, text != nullptr ? text : "", false);
}

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

namespace {

// A text a line of plain tokens keeps: one that reads back as itself.
bool IsPlainToken(const std::string& text) { return !text.empty() && text.find(' ') == std::string::npos; }

}  // namespace

bool ValueTextTable::WriteFile(const char* path) const {
    std::string file;
    for (const Row& row : rows_) {
        if (row.number == 0) continue;
        const auto begin = texts_.begin() + row.first;
        const auto end = texts_.begin() + row.last + 1;
        const bool plain = std::all_of(begin, end, IsPlainToken);
        std::string line = platform::Format("%4d", row.number);
        line += plain ? ' ' : kQuotedLineMark;
        for (auto text = begin; text != end; ++text) line += (plain ? *text : platform::QuotedText(*text)) + " ";
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
        for (const std::string& text : IsQuotedLine(line) ? QuotedTexts(line) : PlainTexts(line)) {
            Add(number, text, first);
            first = false;
        }
    }
    return true;
}
