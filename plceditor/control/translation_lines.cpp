#include "plceditor/control/translation_lines.h"

#include <cstdint>
#include <ctime>

#include "platform/base/format.h"
#include "platform/system/clock.h"
#include "plceditor/control/sindel_strings.h"
#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/program_words.h"
#include "plceditor/v110/line_table8.h"

namespace sindel {

namespace {
constexpr char kCountFormat[] = "%ld ";
constexpr char kStampFormat[] = "; %d/%m/%Y, %H:%M, ";
constexpr size_t kStampChars = 32;
constexpr char kCommentMark = ';';
constexpr char kBlanks[] = " \t";
}  // namespace

std::string_view CutComment(std::string_view line) { return line.substr(0, line.find(kCommentMark)); }

bool HasText(std::string_view text) { return text.find_first_not_of(kBlanks) != std::string_view::npos; }

std::string GeneratorName(int generator) { return std::string(LoadString(ids::kGeneratorNames + generator)); }

std::string HeadingLine(int generator, int id) { return GeneratorName(generator) + std::string(LoadString(id)); }

std::string ErrorLine(int line, int id) {
    return FormatString(id,
                        platform::Format(plc::kLinePrefixFormat, static_cast<int32_t>(line), static_cast<int32_t>(id)));
}

std::string UnreplacedLine(int line) {
    return FormatString(
        ids::kLineNotReplaced,
        platform::Format(
            plc::kLinePrefixFormat, static_cast<int32_t>(line), static_cast<int32_t>(kUnreplacedLineNumber)));
}

std::string CountLine(int count, int id) {
    return FormatString(id, platform::Format(kCountFormat, static_cast<int32_t>(count)));
}

std::string ChecksumLine(const plc::PlcCompiler& store) {
    uint32_t crc = 0;
    double percent = 0;
    int used = 0;
    store.programChecksumInfo(crc, percent, used);
    return FormatString(ids::kChecksumUsed, plc::ChecksumText(crc, percent, used, store.recordCapacity()));
}

std::string ChecksumLine(const plc::LineTable8& table) {
    uint16_t xor_sum = 0;
    uint16_t add_sum = 0;
    double percent = 0;
    int count = 0;
    table.programAddXor(xor_sum, add_sum, percent, count);
    return FormatString(ids::kChecksumUsed, plc::AddXorText(add_sum, xor_sum, percent, count, table.maxLines()));
}

std::string DateStamp() {
    const std::tm now = platform::LocalNow();
    char text[kStampChars] = {};
    std::strftime(text, sizeof text, kStampFormat, &now);
    return text;
}

std::string MessageBody(int id) {
    std::string text = FormatString(id, "");
    if (!text.empty() && text[0] == ' ') text.erase(0, 1);
    return text;
}

}  // namespace sindel
