// Message identifiers of the PLC translators and their texts. Every line
// compiler, line entry, link pass and decoder step answers with one of these
// numbers; kNoError means success. "%1" in a text is the place where the
// editor puts its line prefix.
#pragma once

#include <string>
#include <string_view>

namespace plc {

namespace msg {
constexpr int kNoError = 57682;
constexpr int kUnknownCommandOrNoLabel = 57683;
constexpr int kLineTooLong = 57684;
constexpr int kInternalError = 57685;
constexpr int kLabelError = 57686;
constexpr int kUnexpectedAssignation = 57687;
constexpr int kFaultyJumpDestination = 57688;
constexpr int kLabelAlreadyUsed = 57689;
constexpr int kLineReadError = 57690;
constexpr int kMissingProgramEnd = 57691;
constexpr int kNameNotFound = 57692;
constexpr int kNameTooLong = 57693;
constexpr int kNoProgramHead = 57694;
constexpr int kUnknownTextCommand = 57695;
constexpr int kTextAlreadyDefined = 57696;
constexpr int kFaultyCounter = 57697;
constexpr int kFaultyFloat = 57698;
constexpr int kFaultyInteger = 57699;
constexpr int kFaultyFlag = 57700;
constexpr int kFaultyTimer = 57701;
constexpr int kUnknownVariable = 57702;
constexpr int kFaultySetOperator = 57703;
constexpr int kProgramAlreadyDefined = 57704;
constexpr int kMissingTextEnd = 57705;
constexpr int kNoProgram = 57706;
constexpr int kFaultyIoNumber = 57707;
constexpr int kFaultySetValue = 57708;
constexpr int kMissingBracket = 57709;
constexpr int kFaultyCompareValue = 57710;
constexpr int kNoFollowingAddress = 57711;
constexpr int kJumpTargetMissing = 57712;
constexpr int kLabelsNotRising = 57713;
constexpr int kRenumberError = 57714;
constexpr int kTextCodingError = 57715;
constexpr int kUnknownGoCommand = 57716;
constexpr int kUnknownTextDefinitionCommand = 57717;
constexpr int kUnknownProgramDefinitionCommand = 57718;
constexpr int kProgramNumberError = 57719;
constexpr int kProgramNumberNotRising = 57720;
constexpr int kProgramDefinitionInternal = 57721;
constexpr int kLabelNotFound = 57722;
constexpr int kOutOfMemory = 57723;
constexpr int kNoProgramEndInCode = 57724;
constexpr int kProgramHeadError = 57725;
constexpr int kProgramNotFound = 57726;
constexpr int kProgramNumberUsed = 57727;
constexpr int kNotSupported = 57746;
constexpr int kWrongTouchProbe = 57779;
constexpr int kWrongEventProgram = 57780;
}  // namespace msg

// What the editor puts in place of "%1": the line number and the count of
// faults so far.
constexpr std::string_view kLinePrefixFormat = "  LINE(%03ld): ERR(%02ld) -";

// The text of a translator message, "%1" included; empty for an identifier
// that is not a translator message.
std::string_view MessageText(int id);

// ---- Decoder lines of records that hold no valid statement ------------------

constexpr std::string_view kUnknownOpcodeText = "; ERROR: UNKOWN OPCODE.";
// With the record's label or index.
constexpr std::string_view kNoCodeFormat = "N%03d (!) ERROR: NO CODE FOUND";

// The remark line of reserved command `number` (1 for the first reserved
// opcode): "; PLC: Reserved Command - 01 " (the first three end with a
// blank), "; PLC: Reserved Command - 04".
std::string ReservedCommandRemark(int number);

}  // namespace plc
