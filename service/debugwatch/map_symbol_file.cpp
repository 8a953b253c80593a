#include "service/debugwatch/map_symbol_file.h"

#include <utility>

#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "platform/base/format.h"
#include "platform/files/text_file.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr char kCannotOpen[] = "Cannot open File ´%s´!";
constexpr char kCannotCreate[] = "Cannot create File ´%s´!";
constexpr char kBadFormat[] = "Bad format of mapfile ´%s´ !";
constexpr char kCannotRead[] = "Cannot read file ´%s´!";
constexpr char kStatusField[] = "State1";

void ShowStatus(const std::string& text) {
    GwCore* main = GetMainWindow();
    if (GwCore* field = main != nullptr ? main->child(kStatusField) : nullptr) field->set_text(text);
}

}  // namespace

MapSymbolFile::MapSymbolFile(std::string mapPath, std::string cachePath)
    : mapPath_(std::move(mapPath)), cachePath_(std::move(cachePath)) {
    valid_ = Convert();
}

MapSymbolFile::MapSymbolFile(std::string cachePath) : cachePath_(std::move(cachePath)) { valid_ = OpenCache(); }

bool MapSymbolFile::Fail(const char* format, const std::string& path) {
    message_ = platform::Format(format, path.c_str());
    ShowErrorText(message_.c_str());
    return false;
}

bool MapSymbolFile::Convert() {
    Close();
    const std::optional<std::string> map = platform::ReadBinaryFile(mapPath_);
    if (!map) return Fail(kCannotOpen, mapPath_);
    std::string cache;
    if (ConvertMapText(*map, &cache) != MapConversion::kConverted) return Fail(kBadFormat, mapPath_);
    if (!platform::ReplaceFile(cachePath_, cache)) return Fail(kCannotCreate, cachePath_);
    if (!OpenCache()) return Fail(kCannotOpen, cachePath_);
    return true;
}

bool MapSymbolFile::OpenCache() {
    Close();
    const std::optional<std::vector<std::string>> lines = platform::ReadTextLines(cachePath_);
    if (!lines) return false;
    for (const std::string& line : *lines) {
        if (std::optional<CacheSymbol> symbol = ParseCacheLine(line)) symbols_.push_back(std::move(*symbol));
    }
    valid_ = true;
    return true;
}

std::optional<std::string> MapSymbolFile::First() {
    if (!valid_) return std::nullopt;
    next_ = 0;
    if (symbols_.empty()) {
        Fail(kCannotRead, mapPath_);
        return std::nullopt;
    }
    return Next();
}

std::optional<std::string> MapSymbolFile::Next() {
    if (!valid_ || next_ >= symbols_.size()) return std::nullopt;
    return symbols_[next_++].Name;
}

int MapSymbolFile::CountLines() const { return valid_ ? static_cast<int>(symbols_.size()) : 0; }

std::optional<std::string> MapSymbolFile::FindAddressByName(std::string_view name) const {
    if (!valid_) return std::nullopt;
    for (const CacheSymbol& symbol : symbols_) {
        if (symbol.Name == name) return symbol.Address;
    }
    return std::nullopt;
}

std::optional<std::string> MapSymbolFile::FindNameByAddress(uint32_t address) const {
    if (!valid_) return std::nullopt;
    for (const CacheSymbol& symbol : symbols_) {
        ShowStatus(symbol.Name);
        if (ParseHexAddress(symbol.Address) == address) return symbol.Name;
    }
    return std::nullopt;
}

void MapSymbolFile::Close() {
    symbols_.clear();
    next_ = 0;
    valid_ = false;
}
