// Texts of the translator messages, exactly as the editor shows them.
#include "plceditor/core/plc_messages.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "platform/base/format.h"

namespace plc {

namespace {

// Reserved commands whose remark ends with a blank.
constexpr int kReservedWithBlank = 3;

struct MessageEntry {
    int id;
    std::string_view text;
};

// Sorted by identifier.
// clang-format off
constexpr MessageEntry kMessages[] = {
    {57682, "%1 Translate the programme without error."},
    {57683,
     "%1 Unknown command or missing comment character. Programme line does not start with a lable "
     "(Nxxx) or an END-assignation."},
    {57684,
     "%1 lines or variable texts too long or end of programme line cannot be found. Probably a "
     "comment character ';' is missing."},
    {57685, "%1 Internal error of interpreter."},
    {57686, "%1 Error at lable adressing (Nxxx)."},
    {57687, "%1 Unexpected assignation or unknown command."},
    {57688, "%1 Faulty jump destination. Example: JMP (...) Nxxx; JMP (...) END."},
    {57689, "%1 Label (Nxxx) is already used in programme."},
    {57690, "%1 Error at reading the programme line."},
    {57691, "%1 Missing END-assignation of programme % Pxx ... END."},
    {57692,
     "%1 Error at name % TEXT(NAME), DEF .. = NAME. No name found, name contains special "
     "characters."},
    {57693, "%1 Error at name % TEXT(NAME), DEF .. = NAME. Name too long (max. 32 characters)."},
    {57694, "%1 No or faulty programme head % Pxx or Text declaration head  % TEXT(Name) found."},
    {57695,
     "%1 Unknown command during text definition ! Example for definition: DEF Hxx = Name_of_Hxx."},
    {57696, "%1 Text definition % TEXT(Name) already made."},
    {57697, "%1 Faulty Counter-Number (Cxxx)."},
    {57698, "%1 Faulty Float-Number (Fxxx)."},
    {57699, "%1 Faulty Integer-Number (Hxxx)."},
    {57700, "%1 Faulty Flag-Number (Mxxx)."},
    {57701, "%1 Faulty Timer-Number (Zxxx)."},
    {57702,
     "%1 Unknown variable ! No variable type integer Hxxx, Float Fxxx, Flag Mxxx, Timer Zxxx or "
     "Counter Cxxx."},
    {57703, "%1 Faulty Set-Operator."},
    {57704, "%1 Programme definition % Pxx is already defined."},
    {57705, "%1 Missing END-assignation of Text declaration % TEXT(Name) ...END."},
    {57706, "%1 No programme % Pxx ... END or program-head %Pxx found."},
    {57707, "%1 Faulty number of used input/output."},
    {57708, "%1 Faulty set value."},
    {57709, "%1 Missing bracket ']' at end of print."},
    {57710,
     "%1 Faulty benchmark figure. Jumps can only be made to Null or unlike Null. Example: JMP( "
     "Hxxx = 0 ) Nyyy; JMP( Fxxx != 0.0 ) Nyyy."},
    {57711, "%1 Internal error: no following address found."},
    {57712, "%1 Jump destination JMP (...) Nxxx not available."},
    {57713, "%1 Command sequence not in rising raw. Probably wrong name of lable."},
    {57714, "%1 Error at new-numbering of programme sequence."},
    {57715, "%1 Error at text coding of programme sequence."},
    {57716, "%1 Unknown GO-command (GO W A/R Hxx, GO A/R Hxx, GO 0+Hxx, GO 0)."},
    {57717, "%1 Unknown command in text definition."},
    {57718, "%1 Unknown command in program definition."},
    {57719, "%1 Error at new program number."},
    {57720, "%1 Program number not in rising raw or error in command steps."},
    {57721, "%1 Internal error at program definition."},
    {57722, "%1 Error at checking syntax. Label not found."},
    {57723, "%1 To many commands, not enough memory."},
    {57724, "%1 Internal error at checking syntax. No end of program in precompiled code found."},
    {57725, "%1 Error in prograsm head, compiling abort."},
    {57726, "%1 Can not find any program!?"},
    {57727, "%1 Program number still exists!"},
    {57746, "%1 This command is not supprted by this compiler version."},
    {57779, "%1 wrong touchprobe channel."},
    {57780, "%1 wrong number of event program."},
};
// clang-format on

}  // namespace

std::string_view MessageText(int id) {
    auto it = std::lower_bound(
        std::begin(kMessages), std::end(kMessages), id, [](const MessageEntry& e, int key) { return e.id < key; });
    if (it == std::end(kMessages) || it->id != id) return {};
    return it->text;
}

std::string ReservedCommandRemark(int number) {
    std::string remark = platform::Format("; PLC: Reserved Command - %02d", number);
    if (number <= kReservedWithBlank) remark += ' ';
    return remark;
}

}  // namespace plc
