// The virtual drive's table file: a plain line format of its own (see
// sim/README.md). Every error names the line it was found on.
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

#include "sim/drive_table.h"

namespace sim {

namespace {

constexpr int kHighestLevel = 15;
constexpr int kHighestValueIndex = 255;
// Reads that still see the starting value of a settling parameter when the
// table does not say.
constexpr int kDefaultSettlingReads = 1;
// Most reads a table may let a settling value or a run-mode change wait for.
constexpr int kMostAwaitedReads = 0xFFFF;

struct Token {
    std::string key;    // empty for a bare word
    std::string value;  // the word itself, or what follows '='
};

class LineError {
public:
    explicit LineError(std::string what) : what_(std::move(what)) {}
    const std::string& What() const { return what_; }

private:
    std::string what_;
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// Splits at blanks; key="text with blanks" keeps its blanks.
std::vector<Token> Tokenize(std::string_view line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '=') ++i;
        Token token;
        if (i < line.size() && line[i] == '=') {
            token.key = std::string(line.substr(start, i - start));
            ++i;
            if (i < line.size() && line[i] == '"') {
                size_t close = line.find('"', i + 1);
                if (close == std::string_view::npos) throw LineError("unterminated quote");
                token.value = std::string(line.substr(i + 1, close - i - 1));
                i = close + 1;
            } else {
                size_t value_start = i;
                while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
                token.value = std::string(line.substr(value_start, i - value_start));
            }
            if (token.key.empty()) throw LineError("\"=" + token.value + "\" has no key");
        } else {
            token.value = std::string(line.substr(start, i - start));
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

// A decimal number (optionally negative) or 0x and hex digits, as the 32-bit
// pattern it stands for.
uint32_t Number(const std::string& text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && digits.front() == '-') {
        negative = true;
        digits.remove_prefix(1);
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    uint64_t magnitude = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        throw LineError("\"" + text + "\" is not a number");
    const uint64_t limit = negative ? uint64_t{1} << 31 : std::numeric_limits<uint32_t>::max();
    if (magnitude > limit) throw LineError("\"" + text + "\" does not fit 32 bits");
    return negative ? static_cast<uint32_t>(-static_cast<int64_t>(magnitude)) : static_cast<uint32_t>(magnitude);
}

int SmallNumber(const std::string& text, int lowest, int highest, const std::string& what) {
    uint32_t raw = Number(text);
    auto value = static_cast<int64_t>(static_cast<int32_t>(raw));
    if (value < lowest || value > highest) {
        throw LineError(what + " " + text + " is outside " + std::to_string(lowest) + ".." + std::to_string(highest));
    }
    return static_cast<int>(value);
}

void DefaultLimits(DriveParameter& p) {
    const DriveType& type = *p.type;
    if (type.is_string) return;
    if (type.is_float) {
        p.minimum = 0xFF800000;  // minus infinity
        p.maximum = 0x7F800000;  // plus infinity
        return;
    }
    int bits = type.width > 0 ? type.width * 8 : 32;
    if (type.code == '1') bits = 8;
    if (type.code == '3') bits = 16;
    if (type.is_signed) {
        p.minimum = static_cast<uint32_t>(-(int64_t{1} << (bits - 1)));
        p.maximum = static_cast<uint32_t>((int64_t{1} << (bits - 1)) - 1);
    } else {
        p.minimum = 0;
        p.maximum = static_cast<uint32_t>((uint64_t{1} << bits) - 1);
    }
}

void ParseDrive(const std::vector<Token>& tokens, DriveTable& table) {
    for (size_t i = 1; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.key == "type") {
            table.type_number = Number(t.value);
        } else if (t.key == "version") {
            table.version = Number(t.value);
        } else if (t.key == "status") {
            table.status = static_cast<uint16_t>(SmallNumber(t.value, 0, 0xFFFF, "status"));
        } else if (t.key == "runmode") {
            table.run_mode.enabled = true;
            table.run_mode.reads_before = SmallNumber(t.value, 0, kMostAwaitedReads, "runmode");
        } else {
            throw LineError("unknown key \"" + (t.key.empty() ? t.value : t.key) + "\"");
        }
    }
}

void ParseParameter(const std::vector<Token>& tokens, DriveTable& table) {
    if (tokens.size() < 4 || !tokens[1].key.empty() || !tokens[2].key.empty() || !tokens[3].key.empty())
        throw LineError("param needs a number, a name and a type");
    DriveParameter p;
    p.number = SmallNumber(tokens[1].value, 0, kHighestParameter, "parameter number");
    if (table.Find(p.number) != nullptr)
        throw LineError("parameter " + std::to_string(p.number) + " is described twice");
    p.name = tokens[2].value;
    if (p.name.size() > kMaxNameLength) throw LineError("name \"" + p.name + "\" is longer than 6 characters");
    p.type = FindDriveType(tokens[3].value);
    if (p.type == nullptr) throw LineError("unknown type \"" + tokens[3].value + "\"");
    DefaultLimits(p);

    std::optional<uint32_t> value;
    std::optional<uint32_t> settles;
    std::optional<int> after;
    std::optional<size_t> elements;
    std::vector<uint32_t> values;
    for (size_t i = 4; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.key.empty()) {
            if (t.value == "hex")
                p.flags |= kFlagHex;
            else if (t.value == "readonly")
                p.read_only = true;
            else
                throw LineError("unknown word \"" + t.value + "\"");
        } else if (t.key == "unit") {
            p.unit_index = static_cast<uint8_t>(SmallNumber(t.value, 0, 0xFF, "unit"));
        } else if (t.key == "kind") {
            if (t.value.size() != 1) throw LineError("kind \"" + t.value + "\" is not one character");
            p.kind = t.value[0];
        } else if (t.key == "min") {
            p.minimum = Number(t.value);
        } else if (t.key == "max") {
            p.maximum = Number(t.value);
        } else if (t.key == "default") {
            p.default_value = Number(t.value);
        } else if (t.key == "value" && p.type->is_string) {
            if (t.value.size() > kMaxTextLength) throw LineError("text value is longer than 128 characters");
            p.text = t.value;
        } else if (t.key == "value") {
            value = Number(t.value);
        } else if (t.key == "settles") {
            settles = Number(t.value);
        } else if (t.key == "after") {
            after = SmallNumber(t.value, 0, kMostAwaitedReads, "after");
        } else if (t.key == "read") {
            p.read_level = static_cast<uint8_t>(SmallNumber(t.value, 0, kHighestLevel, "read level"));
        } else if (t.key == "write") {
            p.write_level = static_cast<uint8_t>(SmallNumber(t.value, 0, kHighestLevel, "write level"));
        } else if (t.key == "keypad") {
            p.keypad_group = static_cast<uint8_t>(SmallNumber(t.value, 0, 0xFF, "keypad group"));
        } else if (t.key == "sc") {
            p.sc_group = static_cast<uint8_t>(SmallNumber(t.value, 0, 0xFF, "sc group"));
        } else if (t.key == "elements") {
            if (p.type->width == 0) throw LineError(std::string("type ") + p.type->name + " cannot be an array");
            elements = static_cast<size_t>(SmallNumber(t.value, 1, static_cast<int>(kMaxArrayElements), "elements"));
        } else if (t.key == "values") {
            std::stringstream list(t.value);
            std::string item;
            while (std::getline(list, item, ',')) values.push_back(Number(item));
        } else {
            throw LineError("unknown key \"" + t.key + "\"");
        }
    }
    auto check = [&](uint32_t raw, const std::string& what) {
        if (!p.InRange(raw)) throw LineError(what + " is outside the parameter's limits");
    };
    check(p.default_value, "default");
    p.value = value.value_or(p.default_value);
    check(p.value, "value");
    if (elements) {
        p.flags |= kFlagArray;
        if (values.size() > *elements) {
            throw LineError(std::to_string(values.size()) + " values for " + std::to_string(*elements) + " elements");
        }
        p.elements.assign(*elements, p.value);
        for (size_t i = 0; i < values.size(); ++i) {
            check(values[i], "element " + std::to_string(i));
            p.elements[i] = values[i];
        }
    } else if (!values.empty()) {
        throw LineError("values without elements");
    }
    if (after && !settles) throw LineError("after without settles");
    if (settles) {
        if (p.type->is_string || elements) throw LineError("only a single number can settle");
        check(*settles, "settles");
        p.settling = {true, *settles, after.value_or(kDefaultSettlingReads)};
    }
    table.Put(std::move(p));
}

void ParseText(std::string_view line, DriveTable& table) {
    // text <number> <index> <the text to the end of the line>
    std::string_view rest = Trim(line.substr(4));
    size_t blank = rest.find_first_of(" \t");
    const char* kTextFields = "text needs a parameter number, an index and a text";
    if (blank == std::string_view::npos) throw LineError(kTextFields);
    std::string number_text(rest.substr(0, blank));
    rest = Trim(rest.substr(blank));
    blank = rest.find_first_of(" \t");
    std::string index_text(rest.substr(0, blank));
    std::string text(blank == std::string_view::npos ? std::string_view{} : Trim(rest.substr(blank)));
    if (index_text.empty() || text.empty()) throw LineError(kTextFields);
    int number = SmallNumber(number_text, 0, kHighestParameter, "parameter number");
    int index = SmallNumber(index_text, 0, kHighestValueIndex, "value index");
    DriveParameter* p = table.Find(number);
    if (p == nullptr) throw LineError("text for parameter " + number_text + ", which is not described above");
    if (text.size() > kMaxTextLength) throw LineError("text is longer than 128 characters");
    p->value_texts[index] = text;
    p->flags |= kFlagValueTexts;
}

}  // namespace

std::optional<DriveTable> DriveTable::Parse(std::string_view text, const std::string& source, std::string* error) {
    DriveTable table;
    int line_number = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++line_number;
        std::string_view content = Trim(line);
        if (content.empty() || content.front() == '#') continue;
        try {
            std::string_view keyword = content.substr(0, content.find_first_of(" \t"));
            if (keyword == "text") {
                ParseText(content, table);
                continue;
            }
            std::vector<Token> tokens = Tokenize(content);
            if (keyword == "drive")
                ParseDrive(tokens, table);
            else if (keyword == "param")
                ParseParameter(tokens, table);
            else
                throw LineError("unknown record \"" + std::string(keyword) + "\"");
        } catch (const LineError& e) {
            if (error != nullptr) *error = source + " line " + std::to_string(line_number) + ": " + e.What();
            return std::nullopt;
        }
    }
    return table;
}

std::optional<DriveTable> DriveTable::Load(const std::string& path, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (error != nullptr) *error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::stringstream bytes;
    bytes << file.rdbuf();
    std::string name = path.substr(path.find_last_of('/') + 1);
    return Parse(bytes.str(), name, error);
}

}  // namespace sim
