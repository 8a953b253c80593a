// The syntax checks of the three generators, the driver around the checks
// of V2.10 and V3.10, and the decode that writes a checked program back
// into the edit lines in the generator's own form.
#include <algorithm>
#include <vector>

#include "plceditor/adapter/edit_control.h"
#include "plceditor/adapter/message_box.h"
#include "plceditor/control/decode_progress_dialog.h"
#include "plceditor/control/plc_commands.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/sindel_strings.h"
#include "plceditor/control/translation_lines.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/v210/decoder_v210.h"
#include "plceditor/v210/line_compiler_v210.h"
#include "plceditor/v310/line_compiler_v310.h"
#include "plceditor/v310/program_walker.h"
#include "plceditor/v310/record_decoder.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

namespace {

using plc::msg::kNoError;

bool IsProgramNumberError(int id) {
    return id == plc::msg::kProgramNumberNotRising || id == plc::msg::kProgramNumberUsed;
}

// Program numbers are lax for the length of a scope, strict again after it.
class LaxProgramNumbers {
public:
    explicit LaxProgramNumbers(plc::PlcCompiler& store) : store_(store) { store_.setStrictProgramNumbers(false); }
    ~LaxProgramNumbers() { store_.setStrictProgramNumbers(true); }
    LaxProgramNumbers(const LaxProgramNumbers&) = delete;
    LaxProgramNumbers& operator=(const LaxProgramNumbers&) = delete;

private:
    plc::PlcCompiler& store_;
};

}  // namespace

EditControl& PlcCommands::Edit() const { return *editor_.Edit(); }
int PlcCommands::LineCount() const { return Edit().Buffer().LineCount(); }
void PlcCommands::Append(const std::string& line) { editor_.AppendMessage(line); }
void PlcCommands::Append(int id) { editor_.AppendMessage(std::string(LoadString(id))); }
int PlcCommands::Box(const std::string& text, BoxButtons buttons, BoxIcon icon) {
    return editor_.ShowMessage(text, buttons, icon);
}

Generator20 PlcCommands::Current20() {
    if (editor_.Generator() == kGeneratorV210)
        return {kGeneratorV210, editor_.Generators().v210, &plc::v210::compileSourceLine, plc::v210::DecoderV210()};
    return {kGeneratorV310, editor_.Generators().v310, &plc::v310::compileSourceLine, plc::DecoderV310()};
}

void PlcCommands::CheckSyntax() {
    if (!editor_.IsOpen()) return;
    if (editor_.Generator() == kGeneratorV110)
        CheckV110();
    else
        RunDriver(kDriverCheck);
}

int PlcCommands::Check20(const Generator20& generator) {
    plc::PlcCompiler& store = generator.store;
    store.resetStore();
    editor_.ClearMessages();
    Append(HeadingLine(generator.index, ids::kCompilingRuns));
    std::vector<int> errors;
    const int lines = LineCount();
    for (int j = 0; j < lines; ++j) {
        std::string text;
        if (!editor_.GetLine(j, &text)) {
            Append(ErrorLine(j + 1, plc::msg::kLineReadError));
            return plc::msg::kLineReadError;
        }
        const std::string_view rest = CutComment(text);
        if (rest.empty()) continue;
        if (static_cast<int>(errors.size()) >= kMaxErrors) {
            Append(ids::kTooManyErrors);
            return ids::kTooManyErrors;
        }
        // A fault found at a program's END names the line it lies in.
        int line = j;
        const int result = generator.compile(store, rest, line);
        if (result != kNoError) {
            errors.push_back(result);
            Append(ErrorLine(line + 1, result));
        }
    }

    int line = lines - 1;
    if (!errors.empty()) {
        int count = static_cast<int>(errors.size());
        if (!std::all_of(errors.begin(), errors.end(), IsProgramNumberError)) {
            Append(CountLine(count, ids::kCheckErrorCount));
            return ids::kCheckEndsWithError;
        }
        int result = kNoError;
        {
            LaxProgramNumbers lax(store);
            result = store.linkProgram(line);
        }
        if (result != kNoError) {
            Append(ErrorLine(line + 1, result));
            ++count;
        }
        Append(CountLine(count, ids::kCheckErrorCount));
        return result != kNoError ? ids::kCheckEndsWithError : ids::kOnlyProgramNumberErrors;
    }
    const int result = store.linkProgram(line);
    if (result != kNoError) {
        Append(ErrorLine(line + 1, result));
        Append(CountLine(1, ids::kCheckErrorCount));
        return result;
    }
    Append(ids::kCheckDone);
    Append(ChecksumLine(store));
    return kNoError;
}

int PlcCommands::CheckWithLaxNumbers(const Generator20& generator) {
    LaxProgramNumbers lax(generator.store);
    return Check20(generator);
}

void PlcCommands::ShowCheckFailure(int result) {
    if (result == ids::kOnlyProgramNumberErrors)
        Box(std::string(LoadString(result)), BoxButtons::kOk, BoxIcon::kInformation);
    else
        Box(std::string(LoadString(ids::kCheckEndsWithError)), BoxButtons::kOk, BoxIcon::kError);
}

bool PlcCommands::RunDriver(int mode) {
    if (!editor_.IsOpen()) return false;
    if (editor_.Generator() == kGeneratorV110) mode = -1;  // no driver for V1.10
    const Generator20 generator = Current20();
    int result = kNoError;
    switch (mode) {
        case kDriverCheck:
        case kDriverTranslate:
            result = Check20(generator);
            if (result != kNoError) {
                ShowCheckFailure(result);
                return false;
            }
            return mode == kDriverCheck || Decode20(generator);
        case kDriverInserted:
            return CheckWithLaxNumbers(generator) == kNoError && Decode20(generator);
        case kDriverRenumber:
            result = Check20(generator);
            if (result == ids::kOnlyProgramNumberErrors) {
                if (Box(std::string(LoadString(ids::kAskRenumberPrograms)), BoxButtons::kYesNo, BoxIcon::kQuestion) !=
                    GwRESULT_YES)
                    return false;
                result = CheckWithLaxNumbers(generator);
            }
            if (result != kNoError) {
                Box(std::string(LoadString(ids::kCheckEndsWithError)), BoxButtons::kOk, BoxIcon::kError);
                return false;
            }
            return Decode20(generator);
        default:
            Box(std::string(LoadString(ids::kInternalTextCodingError)), BoxButtons::kOk, BoxIcon::kError);
            return false;
    }
}

bool PlcCommands::Decode20(const Generator20& generator) {
    Append("");
    Append(HeadingLine(generator.index, ids::kTextCoding));
    plc::ProgramWalker walker(generator.store, generator.dialect);
    int errors = 0;
    int last = kNoError;
    int line = 0;
    DecodeProgressDialog progress;
    progress.Run(
        editor_.Window(),
        [&] {
            int used = 0;
            last = walker.findProgramEnds(used);
            return last == kNoError ? used : 0;
        },
        [&] {
            if (last != kNoError) return false;
            std::string text;
            if (!walker.decodeNextLine(text, line, last)) return false;
            if (last != kNoError) {
                Append(ErrorLine(line + 1, last));
                ++errors;
            }
            if (!editor_.ReplaceLine(line, text)) {
                Append(UnreplacedLine(line + 1));
                ++errors;
            }
            return true;
        });
    if (last != kNoError) {
        Append(ErrorLine(line + 1, last));
        ++errors;
    }
    if (errors == 0) {
        Append(ids::kTextCodingDone);
        return true;
    }
    Append(CountLine(errors, ids::kTextCodingErrorCount));
    Box(std::string(LoadString(ids::kTextCodingEndsWithError)), BoxButtons::kOk, BoxIcon::kError);
    return false;
}

bool PlcCommands::CheckV110() {
    if (!editor_.IsOpen()) return false;
    plc::LineTable8& table = editor_.Generators().v110;
    if (Edit().Buffer().Length() == 0) {
        if (Box(std::string(LoadString(ids::kNoProgrammeCreateBody)), BoxButtons::kYesNo, BoxIcon::kQuestion) ==
            GwRESULT_YES) {
            Edit().set_text(DateStamp() + editor_.Window()->title() + "\r\n\r\n%TEXT(NAME)\r\nEND\r\n\r\n" +
                            std::string(LoadString(ids::kProgramBody)));
            editor_.SetModified(true);
        }
        return false;
    }
    table.resetTable();
    editor_.ClearMessages();
    Append(HeadingLine(kGeneratorV110, ids::kCompilingRuns));
    int errors = 0;
    const int lines = LineCount();
    for (int j = 0; j < lines; ++j) {
        std::string text;
        if (!editor_.GetLine(j, &text)) {
            Append(ErrorLine(j + 1, plc::msg::kLineReadError));
            ++errors;
            continue;
        }
        const std::string_view rest = CutComment(text);
        if (rest.empty()) continue;
        if (errors >= kMaxErrors) {
            Append(ids::kTooManyErrors);
            Box(std::string(LoadString(ids::kCheckEndsWithError)), BoxButtons::kOk, BoxIcon::kError);
            return false;
        }
        int line = j;
        const int result = table.enterLine(rest, line);
        if (result != kNoError) {
            Append(ErrorLine(line + 1, result));
            ++errors;
        }
    }
    if (table.inTextSection()) {
        Append(ErrorLine(lines, plc::msg::kMissingTextEnd));
        ++errors;
    }
    if (!table.programDefined()) {
        Append(ErrorLine(lines, table.inProgramSection() ? plc::msg::kMissingProgramEnd : plc::msg::kNoProgram));
        ++errors;
    }
    if (errors == 0) {
        Append(ids::kCheckDone);
        Append(ChecksumLine(table));
        return true;
    }
    Append(CountLine(errors, ids::kCheckErrorCount));
    Box(std::string(LoadString(ids::kCheckEndsWithError)), BoxButtons::kOk, BoxIcon::kError);
    return false;
}

bool PlcCommands::Translate() {
    return editor_.Generator() == kGeneratorV110 ? CheckV110() : RunDriver(kDriverTranslate);
}

}  // namespace sindel
