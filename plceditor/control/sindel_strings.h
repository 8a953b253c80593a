// The control's string table: type names, command texts, the editor's
// messages and the code generators' display names, by string number. The
// translators' own messages (57682 ...) come from the PLC core's table.
#pragma once

#include <string>
#include <string_view>

namespace sindel {

namespace ids {
constexpr int kControlTypeName = 1;
constexpr int kPropPageTypeName = 2;
constexpr int kPropPageCaption = 200;

// Commands of the editor window (menu, toolbar, string texts).
constexpr int kCmdNew = 32768;
constexpr int kCmdOpen = 32769;
constexpr int kCmdSave = 32770;
constexpr int kCmdCut = 32771;
constexpr int kCmdCopy = 32772;
constexpr int kCmdPaste = 32773;
constexpr int kCmdUndo = 32774;
constexpr int kCmdSearchReplace = 32775;
constexpr int kCmdPrint = 32776;
constexpr int kCmdHelp = 32777;
constexpr int kCmdCheckSyntax = 32778;
constexpr int kCmdRenum = 32779;
constexpr int kCmdInsertProgram = 32780;
constexpr int kCmdReadFromFile = 32781;
constexpr int kCmdSaveInFile = 32782;
constexpr int kCmdReadFromDevice = 32783;
constexpr int kCmdSaveInDevice = 32784;
constexpr int kCmdPageSetup = 32785;
constexpr int kCmdExit = 32786;
constexpr int kCmdSelectAll = 32787;
constexpr int kCmdSaveAs = 32788;
constexpr int kCmdInfo = 32789;
constexpr int kCmdRecentFile = 32791;
constexpr int kCmdCodeGenerator = 32792;
constexpr int kCmdCommentOut = 32793;
constexpr int kCmdCommentIn = 32794;

constexpr int kReallyReplaceAll = 32888;
constexpr int kReplaceWith = 32889;
constexpr int kNoProgrammeCreateBody = 32890;
constexpr int kProgramBody = 32891;
constexpr int kSourceFileFilter = 32892;
constexpr int kErrorAtOpening = 32893;
constexpr int kErrorAtSaving = 32894;
constexpr int kSaveChangedProgramme = 32895;
constexpr int kSearchReplaceCaption = 32896;
constexpr int kConformityFound = 32897;
constexpr int kCouldNotBeCreated = 32899;
constexpr int kNoProgrammeFilePath = 32900;
constexpr int kNoTextDeclarationPath = 32901;
constexpr int kMarginsOutOfRange = 32902;
constexpr int kFileNotOpenedCompletely = 32903;
constexpr int kMaxDocumentSize = 32904;
constexpr int kNotEnoughMemory = 32905;
constexpr int kCreateProgramBodyHere = 32906;
constexpr int kCannotCreateBody = 32907;
constexpr int kBodyNotWithoutErrors = 32908;
constexpr int kMaximumMemory = 32909;
constexpr int kSwitchGenerator = 32910;
constexpr int kBodyNeedsEmptyLine = 32911;

// The editor's lines and boxes around a translation.
constexpr int kCompilingRuns = 57728;    // ", Compiling runs...."
constexpr int kTooManyErrors = 57729;    // the check stops at its error limit
constexpr int kChecksumUsed = 57730;     // "Checksum: %1 of memory used."
constexpr int kCheckErrorCount = 57731;  // "%1 Error. Syntax check ends with error."
constexpr int kCheckEndsWithError = 57732;
constexpr int kTextCoding = 57733;  // ", Text coding..."
constexpr int kLineNotReplaced = 57734;
constexpr int kTextCodingErrorCount = 57735;
constexpr int kTextCodingDone = 57736;
constexpr int kTextDeclarationMade = 57737;
constexpr int kProgrammeFileMade = 57738;
constexpr int kNoValidProgrammeHead = 57739;
constexpr int kTextDeclarationNotMade = 57741;
constexpr int kInternalTextCodingError = 57742;
constexpr int kTextCodingEndsWithError = 57743;
constexpr int kAskRenumberPrograms = 57744;
constexpr int kOnlyProgramNumberErrors = 57745;
constexpr int kCheckDone = 57747;
constexpr int kDecodeProgress = 57748;

// Display names of the code generators: kGeneratorNames + generator index.
constexpr int kGeneratorNames = 57749;
}  // namespace ids

// The text of a string number ("" when there is none).
std::string_view LoadString(int id);

// A text with "%1" (and "%2") replaced by the arguments, every occurrence.
std::string FormatString(std::string_view text, std::string_view arg1, std::string_view arg2 = {});
std::string FormatString(int id, std::string_view arg1, std::string_view arg2 = {});

}  // namespace sindel
