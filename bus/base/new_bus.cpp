#include "bus/base/new_bus.h"

#include <string>
#include <string_view>

#include "bus/base/hex_text.h"
#include "platform/base/format.h"

namespace {

// Character positions of the description record read from parameter 34.
constexpr TextField kNumberField{0, 4};
constexpr TextField kNameField{4, 5};
constexpr TextField kUnitIndexField{9, 2};
constexpr size_t kKindPos = 11;
constexpr size_t kTypePos = 12;
constexpr TextField kMinimumField{15, 8};
constexpr TextField kMaximumField{23, 8};
constexpr TextField kDefaultField{31, 8};
constexpr TextField kReadLevelField{39, 2};
constexpr TextField kWriteLevelField{41, 2};
constexpr TextField kFlagsField{43, 4};
constexpr TextField kKeypadGroupField{47, 2};
constexpr TextField kScGroupField{49, 2};
constexpr size_t kRecordLength = 51;

constexpr std::string_view kNoUnitText = "-----";

}  // namespace

bool NewBus::ReadParameterInfo(int number, ParameterEntry& entry, bool& notPresent, int address) {
    notPresent = false;
    dstring answer;
    if (!WriteParameterText(kDescriptionRequestParameter, platform::Format("%d", number).c_str(), address) ||
        !ReadParameterText(kDescriptionRequestParameter, answer, address)) {
        return false;
    }
    if (answer.Length() == 0) {
        notPresent = true;
        return false;
    }
    const std::string_view record = answer.View();
    // A short record cannot be the description asked for.
    if (record.size() < kRecordLength || HexFieldValue(record, kNumberField) != static_cast<uint32_t>(number)) {
        entry.number = 0;
        return false;
    }
    entry.number = static_cast<int16_t>(number);
    CopyCut(entry.name, kEntryNameSize, record.substr(kNameField.pos, kNameField.length));
    dstring unit;
    ReadValueText(kUnitTextParameter, static_cast<uint8_t>(HexFieldValue(record, kUnitIndexField)), unit, address);
    CopyCut(entry.unit, kEntryUnitSize, unit.View() == kNoUnitText ? std::string_view() : unit.View());
    entry.kind = record[kKindPos];
    entry.type = record[kTypePos];
    entry.minimum = static_cast<int32_t>(HexFieldValue(record, kMinimumField));
    entry.maximum = static_cast<int32_t>(HexFieldValue(record, kMaximumField));
    entry.defaultValue = static_cast<int32_t>(HexFieldValue(record, kDefaultField));
    entry.access =
        static_cast<uint8_t>(HexFieldValue(record, kReadLevelField) + 16 * HexFieldValue(record, kWriteLevelField));
    entry.flags = static_cast<uint16_t>(HexFieldValue(record, kFlagsField));
    entry.extraWords[0] = 0;
    entry.extraWords[1] = 0;
    entry.KPGroup = static_cast<uint8_t>(HexFieldValue(record, kKeypadGroupField));
    entry.SCGroup = static_cast<uint8_t>(HexFieldValue(record, kScGroupField));
    lastError_ = 0;
    return true;
}

const char* NewBus::ReadValueText(int number, uint8_t index, dstring& text, int address) {
    text.Clear();
    // A text read after a failed selection would belong to another value.
    if (!WriteParameterText(kValueTextRequestParameter, platform::Format("%d", number).c_str(), address) ||
        !WriteParameterValue(kValueIndexParameter, index, address) ||
        !ReadParameterText(kValueTextRequestParameter, text, address)) {
        return nullptr;
    }
    return text.Text();
}

bool NewBus::ReadSampleBlock(uint8_t* destination, uint16_t& count, bool& lastBlock, int address) {
    uint16_t n = count;
    const bool ok = ReadBlock(kSampleBlockParameter, destination, 0, n, 1, address);
    count = n;
    if (ok) lastBlock = (n == 0);
    return ok;
}
