#include "service/debugwatch/map_conversion.h"

#include <cctype>
#include <cstdint>
#include <vector>

namespace {

constexpr std::string_view kSymbolTableHeading = "Symbol table ";
constexpr std::string_view kInterruptTableHeading = "Interrupt table:";
constexpr std::string_view kLeftEntryMark = ".....";
constexpr std::string_view kRightEntryMark = "....";
constexpr std::string_view kNoName = "<NO NAME>";
constexpr std::string_view kEntryMark = "_ENTRY";
// After the name: two tokens, the address, the kind.
constexpr size_t kAddressToken = 2;
constexpr size_t kKindToken = 3;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads the text as a buffer of kMapLineLength characters reads it: a line
// longer than the buffer comes in several pieces. Line ends are dropped.
class MapLineReader {
public:
    explicit MapLineReader(std::string_view text) : text_(text) {}

    std::optional<std::string_view> Next() {
        if (position_ >= text_.size()) return std::nullopt;
        const size_t room = kMapLineLength - 1;
        size_t end = text_.find('\n', position_);
        const bool ended = end != std::string_view::npos && end - position_ < room;
        if (!ended) end = std::min(text_.size(), position_ + room);
        std::string_view line = text_.substr(position_, end - position_);
        position_ = ended ? end + 1 : end;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

private:
    std::string_view text_;
    size_t position_ = 0;
};

std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        const size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (i > start) tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsSkippedName(std::string_view name, std::string_view previous) {
    if (name.empty()) return true;
    if (name.size() > 1 && std::isdigit(static_cast<unsigned char>(name[1])) != 0) return true;
    if (name.find(kNoName) != std::string_view::npos || name.find(kEntryMark) != std::string_view::npos) return true;
    return name == previous;
}

bool IsSkippedKind(std::string_view kind) { return kind.front() == 'D' || kind == "FAR" || kind == "BIT"; }

// One entry: the name before its first point, then blank-separated tokens.
void ConvertEntry(std::string_view entry, std::string& previous, std::string* cache) {
    const size_t point = entry.find('.');
    if (point == std::string_view::npos) return;
    const std::string_view name = Trimmed(entry.substr(0, point));
    if (IsSkippedName(name, previous)) return;
    const std::vector<std::string_view> tokens = Tokens(entry.substr(point));
    if (tokens.size() <= kKindToken || IsSkippedKind(tokens[kKindToken])) return;
    std::string_view address = tokens[kAddressToken];
    address = address.substr(0, address.find('h'));
    if (address.empty()) return;
    cache->append(name).append(" ").append(address).append("\n");
    previous = std::string(name);
}

}  // namespace

MapConversion ConvertMapText(std::string_view mapText, std::string* cache) {
    MapLineReader reader(mapText);
    std::optional<std::string_view> line;
    do {
        line = reader.Next();
        if (!line) return MapConversion::kBadFormat;
    } while (line->substr(0, kSymbolTableHeading.size()) != kSymbolTableHeading);

    std::string previous;
    while ((line = reader.Next())) {
        if (line->find(kInterruptTableHeading) != std::string_view::npos) return MapConversion::kConverted;
        // The left entry ends where the right one begins.
        if (line->find(kLeftEntryMark) != std::string_view::npos) {
            ConvertEntry(line->substr(0, kRightEntryColumn), previous, cache);
        }
        if (line->size() > kRightEntryColumn) {
            const std::string_view right = line->substr(kRightEntryColumn);
            if (right.find(kRightEntryMark) != std::string_view::npos) ConvertEntry(right, previous, cache);
        }
    }
    return MapConversion::kBadFormat;
}

std::optional<CacheSymbol> ParseCacheLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t blank = line.rfind(' ');
    if (blank == std::string_view::npos || blank == 0 || blank + 1 == line.size()) return std::nullopt;
    return CacheSymbol{std::string(line.substr(0, blank)), std::string(line.substr(blank + 1))};
}

std::optional<uint32_t> ParseHexAddress(std::string_view text) {
    uint64_t value = 0;
    size_t digits = 0;
    for (char c : text) {
        const int digit = std::isxdigit(static_cast<unsigned char>(c)) == 0 ? -1
                          : std::isdigit(static_cast<unsigned char>(c)) != 0
                              ? c - '0'
                              : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        if (digit < 0) break;
        // Like "%lx" into 32 bits: the low bits of a longer number stay.
        value = ((value << 4) | static_cast<uint64_t>(digit)) & 0xFFFFFFFFu;
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return static_cast<uint32_t>(value);
}
