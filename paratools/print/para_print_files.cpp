// The two file destinations of a parameter print: a plain text file and a
// tab-separated file for a spreadsheet program, with the page's header
// information and one line per printed row.
#include <cstdio>

#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "paratools/print/para_print_job.h"
#include "paratools/print/para_print_settings.h"
#include "paratools/print/print_date.h"
#include "paratools/print/text_output_file.h"

namespace {

// Headings are centred in a line of this many characters.
constexpr int kHeadingLineWidth = 78;
// Columns whose numbers the spreadsheet gets as plain integers.
bool IsIntegerColumn(int c) { return c == 0 || c == 1 || c == 11 || c == 12; }

}  // namespace

bool ParaPrintJob::WriteTextFile(const std::string& path) {
    if (!valid_) return false;
    TextOutputFile out(path);
    if (!out.IsOpen()) return false;
    const std::string sep = "   ";
    date_ = PrintDateText();
    out.Put(HeaderDateLine() + "\n");
    out.Put(SourceLine(sep) + "\n");
    out.Put(IdentityLine(sep) + "\n");
    const std::string checksums = ChecksumLine(sep);
    if (!checksums.empty()) out.Put(checksums + "\n");
    const ParaPrintSettings& s = *settings_;
    if (s.IncludeComment) out.Put(frame_.Text(6) + sep + s.Comment + "\n");
    out.Put(CaptionLine());
    StartList();
    WalkRows(
        [&](int number) {
            const int group = base_->GetEntry(number)->KPGroup;
            if (!s.ClusterByGroup || group == currentGroup_) return;
            currentGroup_ = group;
            const std::string text = " " + TranslatedGroupName(*base_, group) + " ";
            const int length = static_cast<int>(text.size());
            const std::string stars(length < kHeadingLineWidth ? (kHeadingLineWidth - length) / 2 : 0, '*');
            out.Put("\n" + stars + text + stars + "\n\n");
        },
        [&](int number, int element) {
            for (int c = 0; c < kPrintColumnCount; ++c)
                if (s.PProp[c]) out.Put(PrintCellText(*base_, c, number, element) + "\t");
            out.Put("\n");
        });
    return out.Close();
}

bool ParaPrintJob::WriteSpreadsheetFile(const std::string& path) {
    if (!valid_) return false;
    TextOutputFile out(path);
    if (!out.IsOpen()) return false;
    const std::string sep = "  ";
    const ParaPrintSettings& s = *settings_;
    for (int c = 0; c < kPrintColumnCount; ++c)
        if (s.PProp[c]) out.Put("\t");
    out.Put("\n");
    date_ = PrintDateText();
    out.Put(HeaderDateLine() + "\n");
    out.Put(SourceLine(sep) + "\n");
    out.Put(frame_.Text(3) + sep + ValueText(kDeviceCodeParameter) + "\n" + SerialPart(sep) + "\n" + frame_.Text(9) +
            sep + VersionText() + "\n");
    const std::string checksums = ChecksumLine(sep);
    if (!checksums.empty()) out.Put(checksums + "\n");
    out.Put("\n");
    if (s.IncludeComment) out.Put(frame_.Text(6) + sep + s.Comment + "\n\n");
    out.Put(CaptionLine());
    StartList();
    WalkRows([](int) {},
             [&](int number, int element) {
                 for (int c = 0; c < kPrintColumnCount; ++c) {
                     if (!s.PProp[c]) continue;
                     // The integer columns are numbers already; their text is
                     // the same as "%d" gives.
                     dstring cell(PrintCellText(*base_, c, number, element).c_str());
                     if (!IsIntegerColumn(c)) cell.Replace(",", ".");
                     out.Put(std::string(cell.Text()) + "\t");
                 }
                 out.Put("\n");
             });
    return out.Close();
}

std::string ParaPrintJob::CaptionLine() const {
    std::string line;
    for (int c = 0; c < kPrintColumnCount; ++c)
        if (settings_->PProp[c]) line += properties_[c].caption + "\t";
    return line + "\n\n";
}

void ParaPrintJob::WalkRows(const std::function<void(int number)>& beforeParameter,
                            const std::function<void(int number, int element)>& row) {
    for (int pos = 0; pos < kPrintListSize && list_[pos] != 0; ++pos) {
        const int number = list_[pos];
        beforeParameter(number);
        const int rows = PrintRowCount(*base_, *settings_, number);
        for (int element = 0; element < rows; ++element) row(number, element);
    }
}
