// The symbols of a drive firmware: converted once from the linker MAP file
// into a symbol cache file ("name address" lines), then read from the cache.
// Every query answers nothing while the instance is not valid.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/debugwatch/map_conversion.h"

class MapSymbolFile {
public:
    // Converts the MAP file into the cache file (Convert).
    MapSymbolFile(std::string mapPath, std::string cachePath);
    // Opens an existing cache file (OpenCache); the MAP path stays empty.
    explicit MapSymbolFile(std::string cachePath);

    // Writes the cache from the MAP file and opens it. Each failure shows its
    // text in an error box and gives false: "Cannot open File ´<map>´!",
    // "Bad format of mapfile ´<map>´ !", "Cannot create File ´<cache>´!",
    // "Cannot open File ´<cache>´!". A MAP file of bad format leaves the
    // cache as it was.
    bool Convert();
    // Reads the cache file; false, without a box, when it cannot be opened.
    bool OpenCache();
    bool IsValid() const { return valid_; }

    // Symbol names in file order. First shows "Cannot read file ´<map>´!" in
    // an error box when the cache holds no symbol.
    std::optional<std::string> First();
    std::optional<std::string> Next();
    int CountLines() const;
    // Exact, case-sensitive name comparison; the address text.
    std::optional<std::string> FindAddressByName(std::string_view name) const;
    // The first symbol whose address text, read as hexadecimal, is the
    // address; shows each name it passes in the main window's "State1".
    std::optional<std::string> FindNameByAddress(uint32_t address) const;
    void Close();

    const std::string& MapPath() const { return mapPath_; }
    const std::string& CachePath() const { return cachePath_; }
    // The text of the last failure.
    const std::string& MessageBuffer() const { return message_; }

private:
    bool Fail(const char* format, const std::string& path);

    std::string mapPath_;
    std::string cachePath_;
    std::vector<CacheSymbol> symbols_;
    size_t next_ = 0;
    std::string message_;
    bool valid_ = false;
};
