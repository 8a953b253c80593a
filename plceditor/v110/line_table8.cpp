// Program table of V1.10: reset, renumbering, recognition and listing.
#include "plceditor/v110/line_table8.h"

#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/opcodes8.h"

namespace plc {

namespace {

constexpr std::string_view kProgramHead = "%P00";

// The largest label step of 10, 5, 2 and 1 that spreads `used` lines over
// the labels 1..254.
int RenumberStep(int used) {
    if (used == 0) return 10;
    const int room = LineTable8::kMaxLines / used;
    for (int step : {10, 5, 2}) {
        if (room >= step) return step;
    }
    return 1;
}

}  // namespace

LineTable8::LineTable8() = default;

void LineTable8::resetTable() {
    for (LineEntry8& entry : entries_) entry.Clear();
    names_.Clear();
    section_ = section8::kOutside;
    programDefined_ = false;
    textDefined_ = false;
    programName_.clear();
}

bool LineTable8::renumberLines(int& status) {
    int used = 0;
    for (int i = 1; i <= kMaxLines; ++i) {
        if (entries_[i].Used()) ++used;
    }
    const int step = RenumberStep(used);

    std::array<LineEntry8, kEntries> renumbered{};
    // New label of each old one; 0 for labels that no line holds.
    std::array<uint16_t, kEntries> newIndex{};
    int next = step;
    for (int old = 1; old <= kMaxLines; ++old) {
        if (!entries_[old].Used()) continue;
        if (next > kMaxLines) {
            status = msg::kRenumberError;
            return false;
        }
        renumbered[next] = entries_[old];
        newIndex[old] = static_cast<uint16_t>(next);
        next += step;
    }
    for (int i = 1; i <= kMaxLines; ++i) {
        LineEntry8& entry = renumbered[i];
        if (entry.OperandKind() != operand_kind::kTarget) continue;
        const uint16_t target = entry.Target();
        entry.SetTarget(target > kMaxLines ? op8::kEndTarget : newIndex[target]);
    }
    entries_ = renumbered;
    status = msg::kNoError;
    return true;
}

bool LineTable8::isLineTable8Program() const {
    const LineEntry8& start = entries_[kStartEntry];
    if (start.Opcode() != op8::kJump) return false;
    const uint16_t first = start.Target();
    return first < kEntries && entries_[first].Used();
}

bool LineTable8::programHeadText(std::string& text) const {
    if (!isLineTable8Program()) {
        text.clear();
        return false;
    }
    text = kProgramHead;
    return true;
}

bool LineTable8::nextListingLine(std::string& text, int& line, int& status) {
    for (int i = listingCursor_; i <= kMaxLines; ++i) {
        const LineEntry8& entry = entries_[i];
        if (!entry.Used() && entry.Opcode() == op8::kNoCode) continue;
        status = decodeLine8(text, i) ? msg::kNoError : msg::kTextCodingError;
        line = entry.SourceLine();
        listingCursor_ = i + 1;
        return true;
    }
    listingCursor_ = 1;
    return false;
}

}  // namespace plc
