// Walks a linked code array program by program and turns it back into
// source lines: the program heads first prepare their END indices, then each
// call delivers the next line (a head "%Pnn", a statement or END) with the
// source line it came from. Labels are renumbered N010, N020, ... from each
// program's first statement.
#pragma once

#include <string>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/v310/record_decoder.h"

namespace plc {

class ProgramWalker {
public:
    // Label step of the decoded programs.
    static constexpr int kLabelStep = 10;

    explicit ProgramWalker(PlcCompiler& store, const DecoderDialect& dialect = DecoderV310())
        : store_(store), dialect_(dialect) {}

    // Before a walk: sets the store's walker state to its start, finds the
    // first END record behind each head's first statement and stores its
    // index in the head. kNoProgram when record 0 is no head,
    // kMissingProgramEnd when a program has no END below the record
    // capacity, else kNoError. `used` is the number of records the programs
    // span (the store's used records after a translation).
    int findProgramEnds(int& used);

    // Delivers the next line in `text` with its source line; true while
    // there is one. `message` is kNoError, kRenumberError for a record that
    // could not be decoded (its error text is still delivered), or why the
    // walk stopped: kNoProgram or kProgramHeadError for a bad first record
    // or head, kMissingProgramEnd when the walk ran off the records,
    // kInternalError for an unknown walker state.
    bool decodeNextLine(std::string& text, int& line, int& message);

private:
    bool StartProgram(std::string& text, int& line, int& message);
    bool DecodeStatement(std::string& text, int& line, int& message);

    PlcCompiler& store_;
    const DecoderDialect& dialect_;
    int head_ = -1;  // the current program's head
    int first_ = 0;  // its first statement
    int end_ = 0;    // its END record
    int next_ = 0;   // the record decoded next
    bool firstHead_ = true;
};

}  // namespace plc
