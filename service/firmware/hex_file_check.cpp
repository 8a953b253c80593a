#include "service/firmware/hex_file_check.h"

#include <vector>

#include "platform/base/hex_digit.h"
#include "platform/files/text_file.h"
#include "service/firmware/intel_hex.h"
#include "service/firmware/loader_console.h"

namespace {

// Digits of a record besides its data: length, address (2), type, checksum.
constexpr size_t kFrameDigits = 10;

HexFileCheck Fault(HexLineFault fault, uint32_t line) {
    HexFileCheck check;
    check.fault = fault;
    check.line = line;
    return check;
}

// One non-empty line; `type` gets the record's type when it passes.
HexFileCheck CheckRecordLine(std::string_view line, uint32_t number, uint8_t& type) {
    if (line.front() != ':') return Fault(HexLineFault::kNoRecordMark, number);
    const std::string_view digits = line.substr(1);
    for (char c : digits) {
        if (platform::UpperHexDigitValue(c) < 0) return Fault(HexLineFault::kNotHexDigit, number);
    }
    if (digits.size() % 2 != 0) return Fault(HexLineFault::kOddDigitCount, number);
    if (digits.size() < kFrameDigits) return Fault(HexLineFault::kTooShort, number);

    // The record reader frames a record by its length field; only a field
    // that agrees with the line lets it read exactly this line.
    const uint32_t carried = static_cast<uint32_t>((digits.size() - kFrameDigits) / 2);
    const uint32_t field =
        static_cast<uint32_t>(platform::UpperHexDigitValue(digits[0]) * 16 + platform::UpperHexDigitValue(digits[1]));
    if (field != carried) {
        HexFileCheck check = Fault(HexLineFault::kLengthMismatch, number);
        check.lengthField = field;
        check.dataBytes = carried;
        return check;
    }
    HexTextReader reader(line);
    HexRecord record;
    if (ReadHexRecord(reader, record, kMaxHexFieldLength) != kHexOk) return Fault(HexLineFault::kChecksum, number);
    switch (record.type) {
        case kHexDataRecord:
        case kHexEndRecord:
            break;
        case kHexSegmentRecord:
        case kHexLinearRecord:
            if (record.length < 2) return Fault(HexLineFault::kBadAddressRecord, number);
            break;
        default: {
            HexFileCheck check = Fault(HexLineFault::kUnknownType, number);
            check.recordType = record.type;
            return check;
        }
    }
    type = record.type;
    return {};
}

}  // namespace

HexFileCheck CheckHexText(std::string_view text) {
    uint32_t number = 0;
    uint32_t lastRecord = 0;
    bool ended = false;
    for (const std::string& line : platform::SplitLines(text)) {
        ++number;
        if (line.empty()) continue;
        if (ended) return Fault(HexLineFault::kAfterEndRecord, number);
        uint8_t type = 0;
        const HexFileCheck check = CheckRecordLine(line, number, type);
        if (!check.Passed()) return check;
        lastRecord = number;
        ended = type == kHexEndRecord;
    }
    if (!ended) return Fault(HexLineFault::kNoEndRecord, lastRecord + 1);
    return {};
}

std::string HexFileFaultText(std::string_view file, const HexFileCheck& check) {
    namespace msg = loader_message;
    const LoaderConsole& console = TheLoaderConsole();
    const int number = msg::kHexLineFaultBase + static_cast<int>(check.fault);
    std::vector<platform::FormatArg> args;
    if (check.fault == HexLineFault::kLengthMismatch) args = {check.lengthField, check.dataBytes};
    if (check.fault == HexLineFault::kUnknownType) args = {check.recordType};
    const std::string fault = console.FormatMessage(number, args);
    return console.FormatMessage(msg::kHexFileLineFault, {std::string(file), check.line, fault});
}

int RefuseMalformedHexFile(std::string_view path, std::string_view text, TransferFamily family, int code) {
    const HexFileCheck check = CheckHexText(text);
    if (check.Passed()) return 0;
    SetTransferText(family, HexFileFaultText(path, check));
    return code;
}
