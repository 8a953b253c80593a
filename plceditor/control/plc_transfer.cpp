// The programme transfers: saving a translated program as the binary
// programme file and the text declaration file and handing it to the host,
// asking the host for a programme file, and reading a programme file back
// into source text with the generator that made it.
#include "platform/base/format.h"
#include "plceditor/adapter/edit_control.h"
#include "plceditor/adapter/message_box.h"
#include "plceditor/control/editor_settings.h"
#include "plceditor/control/plc_commands.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/sindel_strings.h"
#include "plceditor/control/translation_lines.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/v310/program_walker.h"

namespace sindel {

namespace {

using plc::msg::kNoError;
constexpr char kLineEnd[] = "\r\n";
constexpr char kProgramEndLine[] = "END";
// How the missing V1.10 program head is listed: no message id.
constexpr char kNoHeadPrefix[] = "  LINE(%03ld): ERR() - ";

// A decoded text with the 1-based number of the line added next, so that an
// error names the line the user finds it in.
class DecodedText {
public:
    explicit DecodedText(int generator) {
        Add(DateStamp() + GeneratorName(generator));
        Add("");
    }
    void Add(const std::string& line) {
        text_ += line + kLineEnd;
        ++lines_;
    }
    int NextLine() const { return lines_ + 1; }
    std::string Take(std::string tail) { return std::move(text_) + tail; }

private:
    std::string text_;
    int lines_ = 0;
};

}  // namespace

void PlcCommands::SaveProgramme(bool device) {
    if (!editor_.IsOpen() || !Translate()) return;
    PlcGenerators& generators = editor_.Generators();
    const bool v110 = editor_.Generator() == kGeneratorV110;
    plc::PlcCompiler& store = editor_.Generator() == kGeneratorV210 ? generators.v210 : generators.v310;
    ControlLink& control = editor_.Control();

    std::string path;
    if (!control.GetTmpFileName(&path)) {
        Box(std::string(LoadString(ids::kNoProgrammeFilePath)), BoxButtons::kOk, BoxIcon::kError);
        return;
    }
    const std::string name = path;
    if (!(v110 ? generators.v110.writeBinaryFile(path) : store.writeBinaryProgrammeFile(path))) {
        Box(name + std::string(LoadString(ids::kCouldNotBeCreated)), BoxButtons::kOk, BoxIcon::kError);
        return;
    }
    Append(std::string(LoadString(ids::kProgrammeFileMade)) + path);

    const std::string project = v110 ? generators.v110.programName() : store.textName();
    // An online project name goes into the device; an empty one would wipe
    // the name the device holds.
    const bool named = v110 ? generators.v110.hasNamedProgram() : store.hasNamedProgram();
    const std::weak_ptr<const int> life = editor_.Life();
    if (device) {
        control.FirePlcFileToDevice(path);
    } else {
        control.FirePlcUpDateProjName(project, false);
        if (life.expired()) return;
        control.FirePlcFileToArchiv(path);
    }
    if (life.expired() || !editor_.IsOpen()) return;

    std::string directory;
    if (!control.GetPlcProjPath(&directory)) {
        Box(std::string(LoadString(ids::kNoTextDeclarationPath)), BoxButtons::kOk, BoxIcon::kError);
        return;
    }
    if (v110) {
        if (generators.v110.writeTextDeclarationFile(directory))
            Append(std::string(LoadString(ids::kTextDeclarationMade)) + directory);
    } else if (named) {
        const bool made = store.writeTextDeclarationFile(directory);
        Append(std::string(LoadString(made ? ids::kTextDeclarationMade : ids::kTextDeclarationNotMade)) + directory);
    }
    if (device && named) control.FirePlcUpDateProjName(project, true);
}

void PlcCommands::ReadFromHost(bool device) {
    if (!editor_.IsOpen()) return;
    ControlLink& control = editor_.Control();
    const std::weak_ptr<const int> life = editor_.Life();
    std::string answer;
    if (device)
        control.FirePlcFileFromDevice(&answer);
    else
        control.FirePlcFileFromArchiv(&answer);
    if (life.expired() || !editor_.IsOpen()) return;
    if (answer.empty()) {
        Box(std::string(LoadString(ids::kNoProgrammeFilePath)), BoxButtons::kOk, BoxIcon::kError);
        return;
    }
    // A host that left the name as it was has no file for us.
    if (!HasText(answer)) return;
    ReadProgrammeFile(answer);
}

bool PlcCommands::ReadProgrammeFile(const std::string& path) {
    if (!editor_.IsOpen()) return false;
    PlcGenerators& generators = editor_.Generators();
    generators.v110.resetTable();
    bool read = generators.v110.readBinaryFile(path);
    generators.v310.resetStore();
    read = generators.v310.readBinaryProgrammeFile(path) && read;
    generators.v210.resetStore();
    read = generators.v210.readBinaryProgrammeFile(path) && read;
    if (!read) {
        Box(std::string(LoadString(ids::kErrorAtOpening)) + path + ".", BoxButtons::kOk, BoxIcon::kError);
        return false;
    }
    const int recognised = generators.v110.isLineTable8Program() ? kGeneratorV110
                           : generators.v310.hasProgramHead()    ? kGeneratorV310
                           : generators.v210.hasProgramHead()    ? kGeneratorV210
                                                                 : -1;
    // The text stays as it is until there is a program to put in its place.
    if (recognised < 0) {
        editor_.ClearMessages();
    } else {
        if (!editor_.New()) return false;
        if ((recognised == kGeneratorV110) != (editor_.Generator() == kGeneratorV110)) {
            Box(FormatString(ids::kSwitchGenerator, GeneratorName(recognised)), BoxButtons::kOk, BoxIcon::kInformation);
            editor_.SetGenerator(recognised);
            editor_.Profile().WriteInt(profile_keys::kCodeGenerator, profile_keys::kVersion, recognised);
        }
    }
    Append(HeadingLine(editor_.Generator(), ids::kTextCoding));
    std::string text;
    const int errors = editor_.Generator() == kGeneratorV110 ? DecodeV110Text(&text) : Decode20Text(Current20(), &text);
    if (recognised >= 0) {
        Edit().set_text(text);
        editor_.SetModified(true);
    }
    if (errors == 0) {
        Append(ids::kTextCodingDone);
    } else {
        const std::string count = CountLine(errors, ids::kTextCodingErrorCount);
        Append(count);
        Box(count, BoxButtons::kOk, BoxIcon::kError);
    }
    return recognised >= 0;
}

int PlcCommands::DecodeV110Text(std::string* text) {
    plc::LineTable8& table = editor_.Generators().v110;
    DecodedText decoded(kGeneratorV110);
    int errors = 0;
    std::string line_text;
    if (table.programHeadText(line_text)) {
        decoded.Add(line_text);
    } else {
        const std::string missing(LoadString(ids::kNoValidProgrammeHead));
        Append(platform::Format(kNoHeadPrefix, static_cast<int32_t>(decoded.NextLine())) + missing);
        decoded.Add(missing);
        ++errors;
    }
    int line = 0;
    int status = kNoError;
    while (table.nextListingLine(line_text, line, status)) {
        if (status != kNoError) {
            Append(ErrorLine(decoded.NextLine(), status));
            ++errors;
        }
        decoded.Add(line_text);
    }
    *text = decoded.Take(kProgramEndLine);
    return errors;
}

int PlcCommands::Decode20Text(const Generator20& generator, std::string* text) {
    plc::ProgramWalker walker(generator.store, generator.dialect);
    DecodedText decoded(generator.index);
    int errors = 0;
    int used = 0;
    int line = 0;
    int result = walker.findProgramEnds(used);
    if (result == kNoError) {
        std::string line_text;
        while (walker.decodeNextLine(line_text, line, result)) {
            if (result != kNoError) {
                Append(ErrorLine(decoded.NextLine(), result));
                ++errors;
            }
            decoded.Add(line_text);
            if (line_text == kProgramEndLine) decoded.Add("");
        }
    }
    if (result != kNoError) {
        Append(ErrorLine(line + 1, result));
        ++errors;
    }
    *text = decoded.Take("");
    return errors;
}

}  // namespace sindel
