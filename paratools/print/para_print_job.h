// One print or preview pass of a parameter print: the header of the first
// page, the table of selected columns and parameters with wrapped cells,
// group headings and footers, laid out in a grid of body-font characters on
// the toolkit's device contexts; and the two file layouts.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "paratools/print/para_print_list.h"
#include "toolkit/core/gw_types.h"

class GwDeviceContext;
class ParaBase;
class ParaPrintSettings;

// One output column as the "ParaProperties" definition gives it.
struct PrintProperty {
    std::string caption;
    int width = 0;
};

// What the page frame shows, by index, from the "PrintFrame" definition.
struct PrintFrameTexts {
    std::vector<std::string> texts;
    std::string logoBitmap;  // the bitmap of entry 7
    std::string Text(int i) const { return i >= 0 && i < static_cast<int>(texts.size()) ? texts[i] : ""; }
};

// A page measured in body-font characters.
struct PreviewMeasure {
    int columns = 0;
    int lines = 0;
};

inline constexpr char kPrintDocumentName[] = "Torvane parameter data";
inline constexpr char kBodyFontFormat[] = "PrintFont%d";
inline constexpr char kCaptionFontFormat[] = "TitleFont%d";

class ParaPrintJob {
public:
    // Takes the settings only when valid and the base only when it holds
    // data.
    ParaPrintJob(ParaPrintSettings* settings, ParaBase* base, std::vector<PrintProperty> properties,
                 PrintFrameTexts frame);

    bool IsValid() const { return valid_; }

    void SetupPrintDevice(GwDeviceContext& dc);
    // The printer page in body-font characters (width and height swapped for
    // PaperFormat 1); none when the text cannot be measured.
    std::optional<PreviewMeasure> MeasurePreviewPage(GwDeviceContext& dc);
    // The size a preview picture on `dc` needs to show the whole page of
    // `measure` with its surround band: the page's columns and lines in the
    // body font's character cells of `dc`.
    GwDimension PreviewPictureSize(GwDeviceContext& dc, const PreviewMeasure& measure);
    // Each returns whether pages remain.
    bool DrawFirstPage(GwDeviceContext& dc, const PreviewMeasure* preview);
    bool DrawNextPage(GwDeviceContext& dc);
    bool DrawTable(GwDeviceContext& dc, const PreviewMeasure* preview);

    bool WriteTextFile(const std::string& path);
    bool WriteSpreadsheetFile(const std::string& path);

    int PageCounter() const { return pageCounter_; }
    int LinesPerPage() const { return linesPerPage_; }
    int ColumnsPerPage() const { return columnsPerPage_; }

    // The wrapped pieces of a cell text at `width` characters.
    static std::vector<std::string> WrapCell(const std::string& text, int width);

    // A selected column placed in the table: its index, its first character
    // column and its width.
    struct TableColumn {
        int column = 0;
        int x = 0;
        int width = 0;
    };
    // The selected columns of the last table drawn, in order, laid out in
    // blocks that each fit the printable width of the page (the left margin
    // on both sides): a row whose columns do not fit in one line goes on in
    // the next block below it (two columns further in), so no column is
    // ever left out. A column is at least as wide as the longest word of its
    // caption in the caption font, and at most the printable width.
    using TableBlocks = std::vector<std::vector<TableColumn>>;
    const TableBlocks& LastTableBlocks() const { return blocks_; }

private:
    // Header texts shared by the page and the files.
    std::string HeaderDateLine() const;
    std::string SourceLine(const std::string& sep);
    std::string SerialPart(const std::string& sep);
    std::string VersionText();
    // Device type, serial part and firmware version on one line.
    std::string IdentityLine(const std::string& sep);
    std::string ChecksumLine(const std::string& sep);
    std::string TitleText();
    bool HasName(int number, const char* name);
    std::string ValueText(int number);
    bool MeasurePage(GwDeviceContext& dc);
    void DrawFooter(GwDeviceContext& dc, const PreviewMeasure* preview, bool withTitle);
    // The blocks of the table on `dc` (in the caption font) for a page of
    // `pageColumns`.
    TableBlocks FitColumns(GwDeviceContext& dc, int pageColumns) const;
    // Where the logo stands on the page's grid of lines and columns.
    struct LogoPlace {
        bool drawn = false;
        double left = 0;
        double top = 0;
        int below = 0;  // the first line below it
    };
    LogoPlace DrawLogo(GwDeviceContext& dc, const PreviewMeasure* preview);
    // Draws a header text from `column` on the current line. Beside the logo
    // it ends a column before it: what does not fit goes on the next lines,
    // parted between its groups of fields where it can (the current line is
    // then the last one drawn).
    void DrawHeaderText(GwDeviceContext& dc, int column, std::string text, const LogoPlace& logo);
    // A text's wrapped pieces at `width` columns, each also cut where its
    // real width would run past the column.
    std::vector<std::string> FitCell(GwDeviceContext& dc, const std::string& text, int width) const;
    void StartList();
    // The file layouts' caption line and their walk over the rows of the list.
    std::string CaptionLine() const;
    void WalkRows(const std::function<void(int number)>& beforeParameter,
                  const std::function<void(int number, int element)>& row);

    int leftMargin_ = 8;
    int topLine_ = 2;
    int bottomMargin_ = 2;
    int columnGap_ = 4;
    double lineSpacing_ = 0.0;
    std::string bodyFont_;
    std::string captionFont_;
    ParaPrintSettings* settings_ = nullptr;
    ParaBase* base_ = nullptr;
    std::vector<PrintProperty> properties_;
    PrintFrameTexts frame_;
    bool valid_ = false;
    int listPosition_ = 0;
    int elementCounter_ = 0;
    int currentLine_ = 0;
    int linesPerPage_ = 0;
    int columnsPerPage_ = 0;
    int pageCounter_ = 0;
    int currentGroup_ = kNoCurrentGroup;
    std::string title_;
    PrintList list_{};
    TableBlocks blocks_;
    std::string date_;
};
