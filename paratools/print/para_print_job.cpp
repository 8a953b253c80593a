#include "paratools/print/para_print_job.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <sstream>

#include "parameters/parabase/para_base.h"
#include "paratools/print/device_link.h"
#include "paratools/print/para_print_settings.h"
#include "paratools/print/print_date.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/draw/gw_device_context.h"

namespace {

constexpr char kSurroundColour[] = "DarkSlateGrey";
constexpr char kEdgeColour[] = "black";
constexpr char kCellColour[] = "white";
constexpr char kChangedCellColour[] = "grey";
// The blocks after a row's first line stand this many columns further in,
// so each row begins at the margin.
constexpr int kContinuationIndent = 2;
// Width in device units of the preview's band along the left and top edges.
constexpr int kPreviewBand = 10;
// The footer's last character ends this many columns before the right edge.
constexpr int kFooterRightGap = 2;
constexpr int kTitleColumn = 10;
// Comment lines start this many columns after the end of their label.
constexpr int kCommentIndent = 12;
// The logo is scaled as on a screen of this width (height three quarters).
constexpr double kReferenceScreenWidth = 1024;
constexpr double kLogoMeasureDivisor = 24.7;
constexpr int kLogoTopLines = 14;
constexpr int kLogoRightColumns = 4;
constexpr int kRevisionParameter = 106;
const char kMeasureSample[] = "fX";

bool IsBreak(char c) { return c == ' ' || c == '.' || c == '-' || c == ','; }

// The columns the longest word of a text takes in the context's font, with
// the blank that follows it when another word comes (a wrapped piece keeps
// its break character).
int LongestWordColumns(GwDeviceContext& dc, const std::string& text) {
    int longest = 0;
    std::istringstream in(text);
    std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string word = words[i] + (i + 1 < words.size() ? " " : "");
        GwDimension extent;
        int columns = static_cast<int>(word.size());
        if (dc.text_extent(word, &extent) && dc.x_factor() > 0)
            columns = std::max(columns, static_cast<int>(std::ceil(extent.width / dc.x_factor())));
        longest = std::max(longest, columns);
    }
    return longest;
}

// The columns a text takes in the context's font.
int TextColumns(GwDeviceContext& dc, const std::string& text) {
    GwDimension extent;
    if (!dc.text_extent(text, &extent) || dc.x_factor() <= 0) return static_cast<int>(text.size());
    return static_cast<int>(std::ceil(extent.width / dc.x_factor()));
}

std::string TrimmedEnd(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// The longest start of a text that ends before one of its separators and
// fits `columns`; empty when no start does.
std::string FittingStart(GwDeviceContext& dc, const std::string& text, const std::string& separator, int columns) {
    for (size_t at = text.rfind(separator); at != std::string::npos && at > 0; at = text.rfind(separator, at - 1)) {
        std::string start = TrimmedEnd(text.substr(0, at));
        if (!start.empty() && TextColumns(dc, start) <= columns) return start;
    }
    return {};
}

}  // namespace

ParaPrintJob::ParaPrintJob(ParaPrintSettings* settings, ParaBase* base, std::vector<PrintProperty> properties,
                           PrintFrameTexts frame)
    : settings_(settings != nullptr && settings->IsValid() ? settings : nullptr),
      base_(base != nullptr && base->TableLoaded ? base : nullptr),
      properties_(std::move(properties)),
      frame_(std::move(frame)) {
    properties_.resize(kPrintColumnCount);
    valid_ = settings_ != nullptr && base_ != nullptr;
    if (settings_ != nullptr) {
        bodyFont_ = platform::Format(kBodyFontFormat, settings_->FontSize);
        captionFont_ = platform::Format(kCaptionFontFormat, settings_->FontSize);
    }
}

void ParaPrintJob::SetupPrintDevice(GwDeviceContext& dc) {
    dc.reset_mapping();
    dc.set_text_colour(kEdgeColour);
    leftMargin_ = 8;
    topLine_ = 2;
    bottomMargin_ = 2;
    columnGap_ = 4;
    lineSpacing_ = 0.0;
    if (settings_ != nullptr) {
        bodyFont_ = platform::Format(kBodyFontFormat, settings_->FontSize);
        captionFont_ = platform::Format(kCaptionFontFormat, settings_->FontSize);
    }
}

std::optional<PreviewMeasure> ParaPrintJob::MeasurePreviewPage(GwDeviceContext& dc) {
    SetupPrintDevice(dc);
    dc.set_font(bodyFont_);
    GwDimension extent;
    if (!dc.text_extent("Xf", &extent) || extent.height <= 0 || extent.width < 2) return std::nullopt;
    GwDimension page = dc.size();
    if (settings_ != nullptr && settings_->PaperFormat != 0) std::swap(page.width, page.height);
    PreviewMeasure m;
    m.lines = static_cast<int>(page.height / static_cast<double>(extent.height) / (1 + lineSpacing_));
    m.columns = static_cast<int>(page.width / (extent.width / 2.0));
    return m;
}

GwDimension ParaPrintJob::PreviewPictureSize(GwDeviceContext& dc, const PreviewMeasure& measure) {
    dc.set_font(bodyFont_);
    GwDimension extent;
    if (!dc.text_extent(kMeasureSample, &extent) || extent.height <= 0 || extent.width < 2) return {0, 0};
    // The band along the left and top edges, and as much again beyond the
    // page's right and bottom edges.
    return {static_cast<int>(std::ceil(measure.columns * (extent.width / 2.0))) + 2 * kPreviewBand,
            static_cast<int>(std::ceil(measure.lines * static_cast<double>(extent.height))) + 2 * kPreviewBand};
}

bool ParaPrintJob::MeasurePage(GwDeviceContext& dc) {
    GwDimension extent;
    // A failed measure leaves nothing to divide by: the page cannot be laid out.
    if (!dc.text_extent(kMeasureSample, &extent) || extent.height <= 0 || extent.width < 2) return false;
    const GwDimension page = dc.size();
    linesPerPage_ = static_cast<int>(page.height / static_cast<double>(extent.height) / (1 + lineSpacing_));
    columnsPerPage_ = static_cast<int>(page.width / (extent.width / 2.0));
    return linesPerPage_ > 0 && columnsPerPage_ > 0 && dc.set_char_grid(columnsPerPage_, linesPerPage_);
}

std::string ParaPrintJob::ValueText(int number) { return base_->FormatStoredValue(number, 0, false); }

bool ParaPrintJob::HasName(int number, const char* name) {
    return std::string(base_->GetParameterName(number)) == name;
}

std::string ParaPrintJob::HeaderDateLine() const { return frame_.Text(0) + " " + date_; }

std::string ParaPrintJob::SourceLine(const std::string& sep) {
    if (base_->GetBus() != nullptr) return frame_.Text(2) + sep + ToolsDeviceLabel();
    return frame_.Text(1) + sep + base_->GetPath(kDFilePath);
}

std::string ParaPrintJob::SerialPart(const std::string& sep) {
    if (!HasName(kSerialNumberParameter, "S_NR ")) return {};
    return frame_.Text(4) + sep + ValueText(kSerialNumberParameter);
}

std::string ParaPrintJob::VersionText() {
    std::string version = ValueText(kFirmwareVersionParameter);
    if (HasName(kRevisionParameter, "CRIDX")) version += "-" + ValueText(kRevisionParameter);
    return version;
}

std::string ParaPrintJob::IdentityLine(const std::string& sep) {
    return frame_.Text(3) + sep + ValueText(kDeviceCodeParameter) + sep + sep + SerialPart(sep) + sep + sep +
           frame_.Text(9) + sep + VersionText();
}

std::string ParaPrintJob::ChecksumLine(const std::string& sep) {
    if (!HasName(kChecksumAddParameter, kChecksumAddName)) return {};
    return frame_.Text(10) + sep + "CSADD=" + ValueText(kChecksumAddParameter) + sep +
           "CSXOR=" + ValueText(kChecksumXorParameter);
}

std::string ParaPrintJob::TitleText() {
    std::string title = date_ + "   ";
    title += base_->GetBus() != nullptr ? ToolsDeviceLabel() : std::string(base_->GetPath(kDFilePath));
    title += " V" + ValueText(kFirmwareVersionParameter);
    if (HasName(kRevisionParameter, "CRIDX")) title += "-" + ValueText(kRevisionParameter);
    if (HasName(kSerialNumberParameter, "S_NR ")) title += " (" + ValueText(kSerialNumberParameter) + " )";
    return title;
}

void ParaPrintJob::StartList() {
    list_ = BuildPrintList(*base_, *settings_);
    currentGroup_ = kNoCurrentGroup;
    listPosition_ = 0;
    elementCounter_ = 0;
}

void ParaPrintJob::DrawFooter(GwDeviceContext& dc, const PreviewMeasure* preview, bool withTitle) {
    const int columns = preview != nullptr ? preview->columns : columnsPerPage_;
    const int lines = preview != nullptr ? preview->lines : linesPerPage_;
    // The last line of the page: a text anchored at the line equal to the
    // line count would stand below the paper.
    const int footerLine = lines - 1;
    if (withTitle) dc.draw_text(kTitleColumn, footerLine, title_);
    dc.draw_text(
        columns - kFooterRightGap, footerLine, frame_.Text(8) + " " + std::to_string(pageCounter_), GwALIGN_RIGHT);
}

ParaPrintJob::LogoPlace ParaPrintJob::DrawLogo(GwDeviceContext& dc, const PreviewMeasure* preview) {
    GwDimension size;
    if (frame_.logoBitmap.empty() || !dc.can_draw_bitmaps() || !dc.bitmap_size(frame_.logoBitmap, &size)) return {};
    double scale = 1.0;
    const GwDimension page = dc.size();
    if (preview == nullptr) {
        const bool tall = page.height > page.width;
        const double reference = tall ? kReferenceScreenWidth * 3 / 4 : kReferenceScreenWidth;
        scale = page.width / reference;
    }
    const double vertical = dc.device_caps(GwLOGPIXELSY) / kLogoMeasureDivisor;
    const double horizontal = dc.device_caps(GwLOGPIXELSX) / kLogoMeasureDivisor;
    const double top = kLogoTopLines * vertical + 10;
    // In the preview the page is the measured columns in the window's grid.
    const double pageRight = preview != nullptr ? preview->columns * dc.x_factor() : page.width;
    const double right = pageRight - kLogoRightColumns * horizontal + 10;
    const double left = right - size.width * scale;
    if (!dc.draw_bitmap(frame_.logoBitmap, dc.device_to_x(left), dc.device_to_y(top), scale)) return {};
    return {true,
            dc.device_to_x(left),
            dc.device_to_y(top),
            static_cast<int>(std::ceil(dc.device_to_y(top + size.height * scale)))};
}

void ParaPrintJob::DrawHeaderText(GwDeviceContext& dc, int column, std::string text, const LogoPlace& logo) {
    const std::string groups(6, ' ');
    for (;;) {
        const bool beside = logo.drawn && currentLine_ + 1 > logo.top && currentLine_ < logo.below;
        const int room = static_cast<int>(std::floor(logo.left)) - 1 - column;
        if (!beside || room < 1 || TextColumns(dc, text) <= room) break;
        std::string start;
        for (const std::string& separator : {groups, std::string(3, ' '), std::string(" ")}) {
            start = FittingStart(dc, text, separator, room);
            if (!start.empty()) break;
        }
        if (start.empty()) start = FitCell(dc, text, room).front();
        dc.draw_text(column, currentLine_, start);
        const size_t rest = text.find_first_not_of(' ', start.size());
        if (rest == std::string::npos) return;
        text.erase(0, rest);
        ++currentLine_;
    }
    dc.draw_text(column, currentLine_, text);
}

bool ParaPrintJob::DrawFirstPage(GwDeviceContext& dc, const PreviewMeasure* preview) {
    if (!valid_) return false;
    date_ = PrintDateText();
    dc.set_font(bodyFont_);
    if (preview != nullptr) {
        const GwDimension area = dc.size();
        dc.reset_mapping();
        dc.fill_rect(0, 0, kPreviewBand, area.height, kSurroundColour);
        dc.fill_rect(0, 0, area.width, kPreviewBand, kSurroundColour);
        dc.set_foreground(kEdgeColour);
        dc.move_origin(kPreviewBand, kPreviewBand);
    }
    if (!MeasurePage(dc)) {
        if (preview != nullptr) dc.move_origin(-kPreviewBand, -kPreviewBand);
        return false;
    }
    const LogoPlace logo = DrawLogo(dc, preview);

    currentLine_ = topLine_;
    title_ = TitleText();
    const std::string sep = "   ";
    auto line = [&](const std::string& text) {
        DrawHeaderText(dc, leftMargin_, text, logo);
        ++currentLine_;
    };
    line(HeaderDateLine());
    line(SourceLine(sep));
    line(IdentityLine(sep));
    const std::string checksums = ChecksumLine(sep);
    if (!checksums.empty()) line(checksums);
    if (settings_->IncludeComment) {
        ++currentLine_;
        dc.draw_text(leftMargin_, currentLine_, frame_.Text(6));
        const int column = static_cast<int>(frame_.Text(6).size()) + kCommentIndent;
        std::string rest = settings_->Comment;
        for (;;) {
            const size_t lf = rest.find('\n');
            DrawHeaderText(dc, column, rest.substr(0, lf), logo);
            if (lf == std::string::npos) break;
            rest.erase(0, lf + 1);
            ++currentLine_;
        }
        ++currentLine_;
    }

    dc.set_font(bodyFont_);
    pageCounter_ = 1;
    DrawFooter(dc, preview, false);
    // The table starts below the logo: the logo has its own place.
    currentLine_ = std::max(currentLine_, logo.below);
    currentLine_ += 2;
    StartList();
    const bool more = DrawTable(dc, preview);
    if (preview != nullptr) {
        // The window beyond the page is surround; the page's own right and
        // bottom edges are drawn.
        const GwDimension area = dc.size();
        const double right = dc.device_to_x(area.width - kPreviewBand);
        const double bottom = dc.device_to_y(area.height - kPreviewBand);
        if (right > preview->columns)
            dc.fill_rect(preview->columns, 0, right, std::max<double>(bottom, preview->lines), kSurroundColour);
        if (bottom > preview->lines) dc.fill_rect(0, preview->lines, right, bottom, kSurroundColour);
        dc.set_foreground(kEdgeColour);
        dc.draw_line(preview->columns, 0, preview->columns, preview->lines);
        dc.draw_line(0, preview->lines, preview->columns, preview->lines);
        dc.move_origin(-kPreviewBand, -kPreviewBand);
    }
    return more;
}

bool ParaPrintJob::DrawNextPage(GwDeviceContext& dc) {
    if (!valid_) return false;
    dc.set_font(bodyFont_);
    ++pageCounter_;
    DrawFooter(dc, nullptr, true);
    currentLine_ = topLine_;
    return DrawTable(dc, nullptr);
}

std::vector<std::string> ParaPrintJob::WrapCell(const std::string& text, int width) {
    // A width below 1 would never move on.
    const int w = std::max(width, 1);
    const int length = static_cast<int>(text.size());
    if (length <= w) return {text};
    std::vector<std::string> pieces;
    int start = 0;
    int end = w - 1;
    while (start < length) {
        int stop = std::min(end, length - 1);
        if (end < length - 1) {
            for (int b = end; b >= start; --b) {
                if (!IsBreak(text[b])) continue;
                if (b >= start + w / 2) stop = b;
                break;
            }
        }
        pieces.push_back(text.substr(start, stop - start + 1));
        start = stop + 1;
        end = stop + w;
    }
    return pieces;
}

ParaPrintJob::TableBlocks ParaPrintJob::FitColumns(GwDeviceContext& dc, int pageColumns) const {
    const int rightEdge = pageColumns - leftMargin_;
    // A page too narrow for any margin keeps the columns in one line.
    const bool fit = rightEdge > leftMargin_;
    std::vector<std::vector<TableColumn>> blocks(1);
    int x = leftMargin_;
    for (int c = 0; c < kPrintColumnCount; ++c) {
        if (!settings_->PProp[c]) continue;
        int width = std::max(properties_[c].width, LongestWordColumns(dc, properties_[c].caption));
        if (fit) width = std::max(1, std::min(width, rightEdge - leftMargin_ - kContinuationIndent));
        if (fit && !blocks.back().empty() && x + width > rightEdge) {
            blocks.emplace_back();
            x = leftMargin_ + kContinuationIndent;
        }
        blocks.back().push_back({c, x, width});
        x += width + columnGap_;
    }
    return blocks;
}

std::vector<std::string> ParaPrintJob::FitCell(GwDeviceContext& dc, const std::string& text, int width) const {
    const double limit = width * dc.x_factor();
    std::vector<std::string> out;
    for (std::string piece : WrapCell(text, width)) {
        do {
            size_t n = piece.size();
            GwDimension extent;
            while (n > 1 && dc.text_extent(piece.substr(0, n), &extent) && extent.width > limit) {
                --n;
                while (n > 1 && (static_cast<unsigned char>(piece[n]) & 0xC0) == 0x80) --n;  // whole characters
            }
            out.push_back(piece.substr(0, n));
            piece.erase(0, n);
        } while (!piece.empty());
    }
    return out;
}

bool ParaPrintJob::DrawTable(GwDeviceContext& dc, const PreviewMeasure* preview) {
    if (!valid_) return false;
    const ParaPrintSettings& s = *settings_;
    dc.set_font(captionFont_);
    blocks_ = FitColumns(dc, preview != nullptr ? preview->columns : columnsPerPage_);
    const TableBlocks& blocks = blocks_;
    int endX = leftMargin_;
    for (const auto& block : blocks)
        if (!block.empty()) endX = std::max(endX, block.back().x + block.back().width + columnGap_);

    // Draws the cells of one line of the table, block after block; the line
    // after the lowest one used.
    auto drawBlocks = [&](int top,
                          const std::function<std::string(int column)>& text,
                          const std::function<std::string(int column)>& backgroundOf) {
        int y = top;
        for (const auto& block : blocks) {
            int lowest = y;
            for (const TableColumn& col : block) {
                const std::string bg = backgroundOf(col.column);
                const auto pieces = FitCell(dc, text(col.column), col.width);
                for (size_t i = 0; i < pieces.size(); ++i)
                    dc.draw_text(col.x, y + static_cast<int>(i), pieces[i], GwALIGN_LEFT, bg);
                lowest = std::max(lowest, y + static_cast<int>(pieces.size()) - 1);
            }
            y = lowest + 1;
        }
        return y;
    };

    dc.set_font(captionFont_);
    const int belowCaptions = drawBlocks(
        currentLine_, [&](int c) { return properties_[c].caption; }, [](int) { return std::string(); });
    dc.set_font(bodyFont_);
    dc.draw_line(leftMargin_, currentLine_, endX, currentLine_);
    dc.draw_line(leftMargin_, belowCaptions, endX, belowCaptions);
    if (preview != nullptr) linesPerPage_ = preview->lines;

    int y = belowCaptions + 1;
    bool rowPlaced = false;
    // A row takes at least one line per block.
    const int rowLines = static_cast<int>(blocks.size());
    while (listPosition_ < kPrintListSize && list_[listPosition_] != 0) {
        const int number = list_[listPosition_];
        const int rows = PrintRowCount(*base_, s, number);
        for (; elementCounter_ < rows; ++elementCounter_) {
            // A page that has no row yet takes one anyway, so a page too small
            // for any row still moves the print on.
            if (bottomMargin_ + y + rowLines - 1 >= linesPerPage_ && rowPlaced) return true;
            const int group = base_->GetEntry(number)->KPGroup;
            if (s.ClusterByGroup && group != currentGroup_) {
                currentGroup_ = group;
                y += 1;
                const char* own = base_->GetKPGroupName(group);
                const std::string heading =
                    "(" + std::string(own != nullptr ? own : "") + ") " + TranslatedGroupName(*base_, group);
                dc.draw_text(leftMargin_, y, heading);
                dc.draw_line(leftMargin_, y + 1, endX, y + 1);
                y += 2;
            }
            const int element = elementCounter_;
            auto backgroundOf = [&](int c) -> std::string {
                if (c == kStoredValueColumn && s.MarkChanged) {
                    const std::string stored = base_->FormatStoredValue(number, element, true);
                    if (stored != base_->FormatRawValue(number, base_->GetEntry(number)->defaultValue, true))
                        return kChangedCellColour;
                }
                return kCellColour;
            };
            y = drawBlocks(
                y, [&](int c) { return PrintCellText(*base_, c, number, element); }, backgroundOf);

            rowPlaced = true;
        }
        elementCounter_ = 0;
        ++listPosition_;
    }
    return false;
}
