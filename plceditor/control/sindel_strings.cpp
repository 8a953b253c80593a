#include "plceditor/control/sindel_strings.h"

#include <algorithm>
#include <iterator>

#include "plceditor/core/plc_messages.h"

namespace sindel {

namespace {

struct Entry {
    int id;
    std::string_view text;
};

// Sorted by number.
// clang-format off
constexpr Entry kStrings[] = {
    {1, "Sindel Control"},
    {2, "Sindel Property Page"},
    {200, "General"},
    {32768, "New"},
    {32769, "Open"},
    {32770, "Save"},
    {32771, "Cut"},
    {32772, "Copy"},
    {32773, "Paste"},
    {32774, "Undo"},
    {32775, "Search/Replace"},
    {32776, "Print"},
    {32777, "Help"},
    {32778, "Check syntax"},
    {32779, "Renum"},
    {32780, "Insert Program"},
    {32781, "Read PLC program from file (device setting)"},
    {32782, "Save PLC program into file (device setting)"},
    {32783, "Read PLC program from device"},
    {32784, "Save PLC program into device"},
    {32785, "Page setup"},
    {32786, "Exit"},
    {32787, "Select all"},
    {32788, "Save as"},
    {32789, "Info"},
    {32791, "Recent file"},
    {32792, "Codegenerator"},
    {32793, "Comment out marked lines"},
    {32794, "Comment in marked lines"},
    {32888, "Really replace in the whole document ?"},
    {32889, "Replace '%1' with '%2'."},
    {32890, "No programme available.\nNow create programme body ?"},
    {32891, "\r\n%P00\r\n;TODO: Insert own programme code here\r\nEND\r\n"},
    {32892, "PLC-Program (*.plc)|*.plc|all files (*.*)|*.*|"},
    {32893, "Error at opening of\n"},
    {32894, "Error at saving of\n"},
    {32895, "Do you like to save the changed process programme ?"},
    {32896, "Search/Replace"},
    {32897, "Conformity found/replaced."},
    {32899, " could not be created."},
    {32900, "No valied path data found for programme file."},
    {32901, "No valied path data found for text declaration file."},
    {32902, "Values of margins are out of the value range (0..100).\n Please correct setting."},
    {32903, "Due to its size file cannot be opened completely!"},
    {32904, "Max. size of document is reached.\nSave and reduce size of document before datas are lost."},
    {32905, "Not enough working memory for this application."},
    {32906, "Crate a new program body at actual cursor position?"},
    {32907,
     "Can not create a new program body!\nInfo:\nIf you want to insert a new program body please place the "
     "cursor\n\t - above a program,\n\t - at the end of a program or\n\t - between to programs\nbut never "
     "inside a program!\n"},
    {32908,
     "A new program body can not created without errors.\nInfo:\n\nIf you want to insert a new program body "
     "please place the cursor\n\t - above a program,\n\t - at the end of a program or\n\t - between to "
     "programs\nbut never inside a program!\n"},
    {32909, "The maximum memory is %1 of 32-Bit elements.\nPleace correct your settings!"},
    {32910, "Switch to code generator %1\nand start conversion."},
    {32911,
     "Can not create a new program body!\nIf you want to insert a new program body please place the cursor in "
     "an empty line."},
    {57728, ", Compiling runs...."},
    {57729, "Maximum number of errors of 30 errors exceeded. Syntax check aborted."},
    {57730, "Checksum: %1 of memory used."},
    {57731, "%1 Error. Syntax check ends with error."},
    {57732, "Syntax check ends with error."},
    {57733, ", Text coding..."},
    {57734, "%1 rogramme line cannot be replaced."},
    {57735, "%1 Error. Textcoding of programme sequence ends with error."},
    {57736, "Textcoding - 0 Error(s), 0 Warning(s)."},
    {57737, "Text declaration file was made - "},
    {57738, "Binary programme file was made - "},
    {57739, "; No valid programme or programme head (%Pxx) found."},
    {57741, "Can not create the text declarastion file -"},
    {57742, "Internal Error at textcoding of programme sequence."},
    {57743, "Textcoding of programme sequence ends with error."},
    {57744,
     "Ther are only erros at the program numbers detected (program deleted or inserted).\nCorrect the program "
     "numbers automatically?"},
    {57745,
     "Ther are only erros at the program numbers detected (program deleted or inserted).\nWith the "
     "renum-function you can correct this error automatically."},
    {57747, "Syntax check - 0 Error(s), 0 Warning(s)."},
    {57748, "Renum und decode program..."},
    {57749, "PLC V1.10"},
    {57750, "PLC V2.10"},
    {57751, "PLC V3.10"},
};
// clang-format on

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

}  // namespace

std::string_view LoadString(int id) {
    auto it = std::lower_bound(
        std::begin(kStrings), std::end(kStrings), id, [](const Entry& e, int key) { return e.id < key; });
    if (it != std::end(kStrings) && it->id == id) return it->text;
    return plc::MessageText(id);
}

std::string FormatString(std::string_view text, std::string_view arg1, std::string_view arg2) {
    // One pass, so an argument that holds "%2" stays as it is.
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += text[i + 1] == '1' ? arg1 : arg2;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string FormatString(int id, std::string_view arg1, std::string_view arg2) {
    return FormatString(LoadString(id), arg1, arg2);
}

}  // namespace sindel
