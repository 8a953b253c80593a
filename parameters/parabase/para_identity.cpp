// The firmware behind a table: the checksum comparison with the device, the
// per-version files ("d_vvv_ff.ext") and the description file they choose.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "app/services/app_files.h"
#include "motor/datalogger/data_logger.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "platform/files/paths.h"
#include "platform/system/clock.h"
#include "scope/rounding/significant_digits.h"
#include "toolkit/base/gw_number.h"
#include "toolkit/base/gw_path.h"

namespace {

// Description files: the extension, the file of every version of device
// class 1 from version 100 on, and the standard file.
constexpr char kDescriptionExtension[] = "PIT";
constexpr char kClassOneFileName[] = "1_000_00";
constexpr char kStandardFileName[] = "tarn_std";
constexpr int kClassOne = 1;
// From this version on only the exact version's file serves.
constexpr float kExactVersionsFrom = 100.0f;

// Per-version file names and how the nearest is found.
constexpr char kVersionNameFormat[] = "%01d_%03d_%02d";
constexpr char kSameVersionPattern[] = "%01d_%03d_??";
constexpr char kAnyVersionPattern[] = "%01d_???_??";
constexpr int kFractionDigits = 2;
constexpr double kFractionScale = 100.0;
constexpr int kFirstFractionDistance = 99;
constexpr int kFirstVersionDistance = 999;

constexpr uint32_t kMillisecondsPerSecond = 1000;

int Truncated(double v) {
    return static_cast<int>(TruncClamped(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void CopyPath(char* out, const std::string& path) {
    const size_t n = std::min(path.size(), static_cast<size_t>(kParaPathSize - 1));
    std::memcpy(out, path.data(), n);
    out[n] = '\0';
}

// The blank-free parts of a file name without its extension, split at '_'.
std::string NamePart(const std::string& stem, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = stem.find('_', start);
        if (start == std::string::npos) return "";
        ++start;
    }
    return stem.substr(start, stem.find('_', start) - start);
}

std::string Stem(const std::string& fileName) { return fileName.substr(0, fileName.rfind('.')); }

}  // namespace

std::string ParaBase::EntryName(int number) const {
    const ParameterEntry* e = GetEntry(number);
    if (e == nullptr) return "";
    return std::string(e->name, strnlen(e->name, kEntryNameSize));
}

bool ParaBase::StoredDeviceCode(uint16_t* code) const {
    *code = 0;
    int32_t raw = 0;
    if (!IsPresent(kDeviceCodeParameter) || !IsUnsignedType(entries_[kDeviceCodeParameter].type) ||
        StoredRaw(kDeviceCodeParameter, 0, &raw) != kParaOk)
        return false;
    *code = static_cast<uint16_t>(raw);
    return true;
}

bool ParaBase::IsFileBaseCompatible() {
    if (EntryName(kChecksumAddParameter) != kChecksumAddName || EntryName(kChecksumXorParameter) != kChecksumXorName)
        return true;
    const std::string fileAdd = FormatStoredValue(kChecksumAddParameter, 0, false);
    const std::string fileXor = FormatStoredValue(kChecksumXorParameter, 0, false);
    uint32_t storedAdd = 0, storedXor = 0;
    GetValueU32(kChecksumAddParameter, &storedAdd);
    GetValueU32(kChecksumXorParameter, &storedXor);

    uint32_t deviceAdd = 0, deviceXor = 0;
    if (ReadValueU32(kChecksumAddParameter, &deviceAdd) != kParaOk) return false;
    if (ReadValueU32(kChecksumXorParameter, &deviceXor) != kParaOk) return false;
    if (deviceAdd == storedAdd && deviceXor == storedXor) return true;

    std::string line = "ParaBase::IsFileBaseCompatible(): Parameter base file incompatible -> ";
    line += std::string(" CSADD (File) = ") + fileAdd;
    line += std::string(" CSXOR (File) = ") + fileXor;
    line += std::string(" CSADD (device) = ") + FormatStoredValue(kChecksumAddParameter, 0, false);
    line += std::string(" CSXOR (device) = ") + FormatStoredValue(kChecksumXorParameter, 0, false);
    TheDataLogger().WriteEntry(line);
    return false;
}

bool ParaBase::FindVersionFile(const char* dir, const char* ext, char* outPath, uint16_t deviceCode, float version,
                               bool allowOtherVersion) {
    if (outPath == nullptr) return false;
    outPath[0] = '\0';
    dir = dir != nullptr ? dir : "";
    ext = ext != nullptr ? ext : "";
    const int deviceClass = deviceCode / kDeviceClassDivisor;
    const double v = version;
    const int mainVersion = Truncated(v);
    const double fraction = (v - std::floor(v)) * kFractionScale;
    const int fractionDigits = Truncated(RoundToSignificantDigits(fraction, kFractionDigits));

    auto pathOf = [&](const std::string& name) { return GwMakepath("", dir, name.c_str(), ext).str(); };

    const std::string exact = pathOf(platform::Format(kVersionNameFormat, deviceClass, mainVersion, fractionDigits));
    CopyPath(outPath, exact);
    if (platform::FileExists(exact)) return true;

    // The nearest fraction of the same main version; a later file wins a tie.
    const int wanted = Truncated(std::ceil(fraction));
    int best = kFirstFractionDistance;
    std::string chosen;
    for (const platform::DirEntry& entry :
         platform::ListDirectory(pathOf(platform::Format(kSameVersionPattern, deviceClass, mainVersion)))) {
        if (entry.is_directory) continue;
        const std::string stem = Stem(entry.name);
        const int distance = std::abs(GwAtoi(NamePart(stem, 2).c_str()) - wanted);
        if (distance <= best) {
            best = distance;
            chosen = stem;
        }
    }
    if (!chosen.empty()) {
        CopyPath(outPath, pathOf(chosen));
        return true;
    }
    if (!allowOtherVersion) return false;

    // Any version of the class: the first, or for versions below 100 the
    // nearest main version (a later file wins a tie).
    chosen.clear();
    best = kFirstVersionDistance;
    for (const platform::DirEntry& entry :
         platform::ListDirectory(pathOf(platform::Format(kAnyVersionPattern, deviceClass)))) {
        if (entry.is_directory) continue;
        const std::string stem = Stem(entry.name);
        if (chosen.empty()) chosen = stem;
        if (v >= kExactVersionsFrom) continue;
        const int distance = std::abs(GwAtoi(NamePart(stem, 1).c_str()) - Truncated(std::floor(v)));
        if (distance <= best) {
            best = distance;
            chosen = stem;
        }
    }
    if (chosen.empty()) return false;
    CopyPath(outPath, pathOf(chosen));
    return true;
}

void ParaBase::WaitSeconds(int n) {
    platform::BusyWait(static_cast<uint32_t>(static_cast<uint8_t>(n)) * kMillisecondsPerSecond);
}

int ParaBase::OpenDescriptionFileForTable() {
    descriptionFile_.reset();
    uint16_t code = 0;
    StoredDeviceCode(&code);
    float version = 0.0f;
    if (GetValueFloat(kFirmwareVersionParameter, &version) != kParaOk) version = 0.0f;
    const std::string dir = GetLanguageDir();
    char path[kParaPathSize] = {};

    bool chosen = false;
    if (version >= kExactVersionsFrom) {
        if (FindVersionFile(dir.c_str(), kDescriptionExtension, path, code, version, false)) {
            chosen = true;
        } else if (code / kDeviceClassDivisor == kClassOne) {
            CopyPath(path, GwMakepath("", dir.c_str(), kClassOneFileName, kDescriptionExtension).str());
            chosen = true;
        } else if (GetValueFloat(kAlternateVersionParameter, &version) != kParaOk) {
            version = 0.0f;
        }
    }
    // The nearest version's path is taken whether a file was found or not.
    if (!chosen) FindVersionFile(dir.c_str(), kDescriptionExtension, path, code, version, true);

    SetPath(kDescriptionFilePath, path);
    descriptionFile_ = std::make_unique<ParaDescriptionFile>(paths_[kDescriptionFilePath]);
    if (descriptionFile_->IsOpen()) return kParaOk;
    SetPath(kDescriptionFilePath, GwMakepath("", dir.c_str(), kStandardFileName, kDescriptionExtension).c_str());
    descriptionFile_ = std::make_unique<ParaDescriptionFile>(paths_[kDescriptionFilePath]);
    if (descriptionFile_->IsOpen()) return kParaOk;
    descriptionFile_.reset();
    return SetMessage(kParaNoDescriptionFile, {paths_[kDescriptionFilePath]});
}
