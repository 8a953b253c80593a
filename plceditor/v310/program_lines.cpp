// Text block, program head, label and END lines of the 20-byte generators.
#include "plceditor/v310/program_lines.h"

#include <string>

#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"

namespace plc {

namespace {

constexpr std::string_view kVariableLetters = "CFHMZ";

int CompileTextHead(PlcCompiler& store, LineParser& parser) {
    if (store.TextBlockSeen()) return msg::kTextAlreadyDefined;
    store.MarkTextBlockSeen();
    store.SetTranslationState(translation::kInTextBlock);
    std::string name;
    if (!parser.matchKeyword("(") || !parser.ScanTextName(name)) return msg::kNameNotFound;
    // The scanner stops after 32 characters; no ")" there means a longer name.
    if (!parser.matchKeyword(")")) return msg::kNameTooLong;
    if (const int end = parser.ExpectEnd(); end != msg::kNoError) return end;
    store.SetTextName(name);
    return msg::kNoError;
}

int CompileProgramHead(PlcCompiler& store, LineParser& parser, int line, const ProgramLineRules& rules) {
    const int position = store.AdvanceProgramPosition();
    store.SetTranslationState(translation::kInProgram);
    uint8_t number = 0;
    if (parser.ReadNumber(number, 0, kMaxProgramNumber, msg::kProgramNumberError) != msg::kNoError) {
        return msg::kProgramNumberError;
    }
    int result = msg::kNoError;
    if (store.StrictProgramNumbers() && number != position) {
        result = rules.outOfOrderHead(store, position, number);
    }
    store.SetProgramNumber(position, number);
    if (const int end = parser.ExpectEnd(); end != msg::kNoError) return end;
    if (position >= kMaxPrograms) return msg::kProgramNumberError;
    const int appended = store.appendHead(op::kProgramHead, static_cast<uint8_t>(position), line);
    return appended != msg::kNoError ? appended : result;
}

int CompileOutside(PlcCompiler& store, LineParser& parser, int line, const ProgramLineRules& rules) {
    if (parser.matchKeyword(kTextHeadKeyword)) return CompileTextHead(store, parser);
    if (parser.matchKeyword(kProgramHeadKeyword)) {
        return CompileProgramHead(store, parser, line, rules);
    }
    return msg::kNoProgramHead;
}

int CompileDefinition(PlcCompiler& store, LineParser& parser) {
    const int letterAt = parser.MatchOneOf(kVariableLetters);
    if (letterAt < 0) return msg::kUnknownVariable;
    const char letter = kVariableLetters[letterAt];
    uint8_t index = 0;
    if (const int read = parser.ReadIndex(letter, index); read != msg::kNoError) return read;
    if (!parser.matchKeyword("=")) return msg::kFaultySetOperator;
    std::string name;
    if (!parser.ScanDefName(name)) return msg::kNameNotFound;
    if (const int end = parser.ExpectEnd(); end != msg::kNoError) return end;
    store.Names().SetName(letter, index, name);
    return msg::kNoError;
}

int CompileInTextBlock(PlcCompiler& store, LineParser& parser) {
    if (parser.matchKeyword(kDefKeyword)) return CompileDefinition(store, parser);
    if (parser.matchKeyword(kEndKeyword)) {
        store.SetTranslationState(translation::kOutside);
        return parser.ExpectEnd();
    }
    return msg::kUnknownTextCommand;
}

int CompileInProgram(PlcCompiler& store, LineParser& parser, int& line, const ProgramLineRules& rules) {
    if (parser.matchKeyword("N")) {
        uint16_t label = 0;
        if (const int read = parser.ReadNumber(label, kMinLabel, kMaxLabel, msg::kLabelError); read != msg::kNoError) {
            return read;
        }
        CompiledStatement statement;
        const int result = rules.statement(parser, statement);
        if (result == kNoMatch) return msg::kUnexpectedAssignation;
        if (result != msg::kNoError) return result;
        if (const int end = parser.ExpectEnd(); end != msg::kNoError) return end;
        return AppendStatement(store, label, statement, line);
    }
    if (parser.matchKeyword(kEndKeyword)) {
        store.SetTranslationState(translation::kOutside);
        if (const int end = parser.ExpectEnd(); end != msg::kNoError) return end;
        return store.CloseProgram(line);
    }
    return msg::kUnknownCommandOrNoLabel;
}

}  // namespace

int CompileProgramLine(PlcCompiler& store, std::string_view text, int& line, const ProgramLineRules& rules) {
    LineParser parser(text);
    switch (store.TranslationState()) {
        case translation::kOutside:
            return CompileOutside(store, parser, line, rules);
        case translation::kInTextBlock:
            return CompileInTextBlock(store, parser);
        case translation::kInProgram:
            return CompileInProgram(store, parser, line, rules);
        default:
            return msg::kInternalError;
    }
}

int CompileSourceProgramLine(PlcCompiler& store, std::string_view text, int& line, const ProgramLineRules& rules) {
    std::string normalised;
    if (const int result = NormaliseSourceLine(text, normalised); result != msg::kNoError) {
        return result;
    }
    if (normalised.empty()) return msg::kNoError;
    return CompileProgramLine(store, normalised, line, rules);
}

}  // namespace plc
