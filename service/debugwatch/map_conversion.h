// The linker MAP file's symbol table turned into the symbol cache's text, and
// the cache's lines read back. No files here: callers bring the bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Lines of a MAP file are read in pieces of at most this many characters.
inline constexpr size_t kMapLineLength = 300;
// A line's right-hand entry starts at this character.
inline constexpr size_t kRightEntryColumn = 68;

enum class MapConversion {
    kConverted,
    kBadFormat,  // no "Symbol table " heading, or no "Interrupt table:" after it
};

// Appends "name address\n" to `cache` for every accepted entry of the symbol
// table between the line starting "Symbol table " and the line holding
// "Interrupt table:". `cache` may hold a part when the result is kBadFormat.
MapConversion ConvertMapText(std::string_view mapText, std::string* cache);

struct CacheSymbol {
    std::string Name;
    std::string Address;  // hexadecimal digits without prefix or suffix
};

// One cache line "name address" (a CR before the end is ignored); nullopt
// for a line without both parts.
std::optional<CacheSymbol> ParseCacheLine(std::string_view line);

// The leading hexadecimal digits of a text as a number (as "%lx" reads them);
// nullopt when the text does not start with one.
std::optional<uint32_t> ParseHexAddress(std::string_view text);
