// The V1.10 program table as files: the binary programme file of two words
// per entry, the text declaration file, and the ADD/XOR checksum.
#include <vector>

#include "platform/base/format.h"
#include "plceditor/core/programme_file.h"
#include "plceditor/v110/line_table8.h"

namespace plc {

namespace {

// Entries 0 and 255, which a complete compile always uses, are not counted.
constexpr int kLinkEntries = 2;
// The usage is shown as a share of the 255 entries beside entry 0.
constexpr double kPercentPerEntry = 100.0 / 255.0;
constexpr int kHalfwordsPerEntry = 4;

}  // namespace

void LineTable8::programAddXor(uint16_t& xorSum, uint16_t& addSum, double& percent, int& count) const {
    xorSum = 0;
    addSum = 0;
    count = 0;
    for (const LineEntry8& entry : entries_) {
        if (entry.Used()) ++count;
        for (int h = 0; h < kHalfwordsPerEntry; ++h) {
            const uint16_t halfword = entry.CodeHalfword(h);
            xorSum = static_cast<uint16_t>(xorSum ^ halfword);
            addSum = static_cast<uint16_t>(addSum + halfword);
        }
    }
    if (count > 1) count -= kLinkEntries;
    percent = count * kPercentPerEntry;
}

std::string AddXorText(uint16_t addSum, uint16_t xorSum, double percent, int count, int total) {
    return platform::Format("0x%04X ADD, 0x%04X XOR - %.1lf%% (%ld/%ld)",
                            addSum,
                            xorSum,
                            percent,
                            static_cast<int32_t>(count),
                            static_cast<int32_t>(total));
}

bool LineTable8::writeBinaryFile(std::string& path) const {
    std::vector<uint32_t> words;
    words.reserve(kFileWords);
    for (const LineEntry8& entry : entries_) {
        words.push_back(entry.CodeWord(0));
        words.push_back(entry.CodeWord(1));
    }
    return WriteProgrammeWordFile(path, words);
}

bool LineTable8::readBinaryFile(const std::string& path) {
    const auto words = ReadProgrammeWordFile(path, kFileWords);
    if (!words) return false;
    ReadBinaryWords(*words);
    return true;
}

void LineTable8::ReadBinaryWords(std::span<const uint32_t> words) {
    for (std::size_t w = 0; w < words.size() && w < static_cast<std::size_t>(kFileWords); ++w) {
        entries_[w / 2].SetCodeWord(static_cast<int>(w % 2), words[w]);
    }
    for (LineEntry8& entry : entries_) entry.SetUsed(entry.Opcode() != 0);
}

bool LineTable8::writeTextDeclarationFile(std::string& directory) const {
    // Without %TEXT(NAME) there is no file name; a file named ".txt" would
    // only hide the missing declaration.
    if (!hasNamedProgram()) return false;
    return names_.writeTextDeclarationFile(directory, programName_);
}

}  // namespace plc
