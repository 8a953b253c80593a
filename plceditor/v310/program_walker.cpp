// The program walker over a linked code array.
#include "plceditor/v310/program_walker.h"

#include <algorithm>

#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"

namespace plc {

int ProgramWalker::findProgramEnds(int& used) {
    store_.SetWalkerState(walker::kStart);
    used = store_.UsedRecords();
    const auto code = store_.CodeArray();
    const int capacity = store_.recordCapacity();
    if (capacity == 0 || code[0].Opcode() != op::kProgramHead) return msg::kNoProgram;
    int heads = 0;
    while (heads < capacity && code[heads].Opcode() == op::kProgramHead) ++heads;
    int lastEnd = -1;
    for (int h = 0; h < heads; ++h) {
        int end = code[h].Target();
        while (end < capacity && code[end].Opcode() != op::kProgramEnd) ++end;
        if (end >= capacity) return msg::kMissingProgramEnd;
        code[h].SetEndIndex(static_cast<uint16_t>(end));
        lastEnd = std::max(lastEnd, end);
    }
    // A code array read from a file has no used records in the store; the
    // records up to the last END are what the walk covers, as after a link.
    used = lastEnd + 1;
    return msg::kNoError;
}

bool ProgramWalker::decodeNextLine(std::string& text, int& line, int& message) {
    text.clear();
    message = msg::kNoError;
    const int state = store_.WalkerState();
    if (state == walker::kStart) {
        head_ = -1;
        next_ = 0;
        firstHead_ = true;
    }
    switch (state) {
        case walker::kStart:
        case walker::kFinished:
            return StartProgram(text, line, message);
        case walker::kInProgram:
            return DecodeStatement(text, line, message);
        default:
            message = msg::kInternalError;
            return false;
    }
}

bool ProgramWalker::StartProgram(std::string& text, int& line, int& message) {
    const auto code = store_.CodeArray();
    const int capacity = store_.recordCapacity();
    const int h = head_ + 1;
    if (h >= capacity) {
        if (store_.WalkerState() != walker::kFinished) message = msg::kMissingProgramEnd;
        return false;
    }
    CodeRecord& head = code[h];
    if (head.Opcode() != op::kProgramHead) {
        // Behind the last head the walk is over; no head at all is a fault.
        if (firstHead_) {
            message = head.Opcode() == op::kNoCode ? msg::kNoProgram : msg::kProgramHeadError;
        }
        return false;
    }
    firstHead_ = false;
    const int first = head.Target();
    const int end = head.EndIndex();
    if (first >= capacity || end >= capacity || first > end) {
        message = msg::kProgramHeadError;
        return false;
    }
    int i = first;
    for (; i <= end; ++i) {
        if (code[i].Target() == end) code[i].SetEndFlag(true);
        if (code[i].Opcode() == op::kProgramEnd) break;
    }
    if (i < end) {
        message = msg::kProgramHeadError;
        return false;
    }
    head_ = h;
    first_ = first;
    end_ = end;
    next_ = first;
    if (!DecodeRecord20(dialect_, code, text, h, h, kLabelStep)) message = msg::kRenumberError;
    line = head.SourceLine();
    store_.SetWalkerState(walker::kInProgram);
    return true;
}

bool ProgramWalker::DecodeStatement(std::string& text, int& line, int& message) {
    const auto code = store_.CodeArray();
    if (!DecodeRecord20(dialect_, code, text, next_, first_ - 1, kLabelStep)) {
        message = msg::kRenumberError;
    }
    line = code[next_].SourceLine();
    if (next_ == end_) {
        store_.SetWalkerState(walker::kFinished);
    } else {
        ++next_;
    }
    return true;
}

}  // namespace plc
