// The code store's files: the binary programme file, the text declaration
// file, and the checksum of the memory image both are made from.
#include <array>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/program_words.h"
#include "plceditor/core/programme_file.h"

namespace plc {

namespace {

// Words that hold the halfwords of `capacity` records.
std::size_t WordsForRecords(int capacity) { return (static_cast<std::size_t>(capacity) * 3 + 1) / 2; }

}  // namespace

bool PlcCompiler::writeBinaryProgrammeFile(std::string& path) const {
    if (path.empty()) return false;
    std::array<uint32_t, kMaxMemoryWords> words{};
    const std::span<uint32_t> image(words.data(), static_cast<std::size_t>(memorySize_));
    PackProgramWords(code_, recordCapacity_, image);
    return WriteProgrammeWordFile(path, image);
}

bool PlcCompiler::readBinaryProgrammeFile(const std::string& path) {
    const auto words = ReadProgrammeWordFile(path, WordsForRecords(recordCapacity_));
    if (!words) return false;
    LoadCodeWords(*words);
    return true;
}

void PlcCompiler::ReadBinaryProgrammeText(std::string_view text) {
    LoadCodeWords(ScanProgrammeWords(text, WordsForRecords(recordCapacity_)));
}

void PlcCompiler::LoadCodeWords(std::span<const uint32_t> words) {
    // A file shorter than the memory must not leave a previous program's
    // records behind the ones it holds.
    for (CodeRecord& record : code_) record.Clear();
    UnpackProgramWords(words, recordCapacity_, code_);
}

bool PlcCompiler::writeTextDeclarationFile(std::string& directory) const {
    return names_.writeTextDeclarationFile(directory, textName_);
}

void PlcCompiler::programChecksumInfo(uint32_t& crc, double& percent, int& used) const {
    std::array<uint32_t, kMaxMemoryWords> words{};
    PackProgramWords(code_, recordCapacity_, std::span<uint32_t>(words.data(), static_cast<std::size_t>(memorySize_)));
    std::array<uint8_t, std::size_t{kMaxMemoryWords} * kBytesPerWord> bytes{};
    for (int k = 0; k < memorySize_; ++k) {
        for (int b = 0; b < kBytesPerWord; ++b)
            bytes[k * kBytesPerWord + b] = static_cast<uint8_t>(words[k] >> (8 * b));
    }
    crc = programCrc32(bytes.data(), static_cast<uint32_t>(memorySize_ * kBytesPerWord));
    used = usedRecords_;
    percent = UsagePercent(usedRecords_, recordCapacity_);
}

}  // namespace plc
