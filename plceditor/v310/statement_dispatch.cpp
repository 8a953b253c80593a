// Choosing the statement reader by the leading keyword, with the rules of the
// generator that reads.
#include "plceditor/v310/statement_readers.h"

namespace plc::v310 {

namespace {

int ReadFirstMatching(std::span<const StatementKeyword> keywords, const StatementRules& rules, LineParser& parser,
                      CompiledStatement& statement) {
    for (const StatementKeyword& entry : keywords) {
        if (!parser.matchKeyword(entry.keyword)) continue;
        ReaderArg arg = entry.arg;
        arg.rules = &rules;
        return entry.read(parser, statement, arg);
    }
    return kNoMatch;
}

}  // namespace

const StatementRules& RulesOf(const ReaderArg& arg) { return arg.rules != nullptr ? *arg.rules : RulesV310(); }

int ReadStatementByKeywords(std::span<const StatementKeyword> beforeNamedTargets,
                            std::span<const StatementKeyword> afterNamedTargets, const StatementRules& rules,
                            LineParser& parser, CompiledStatement& statement) {
    if (const int result = ReadFirstMatching(beforeNamedTargets, rules, parser, statement); result != kNoMatch) {
        return result;
    }
    if (const int result = ReadSetNamedTarget(parser, statement, rules); result != kNoMatch) {
        return result;
    }
    return ReadFirstMatching(afterNamedTargets, rules, parser, statement);
}

}  // namespace plc::v310
