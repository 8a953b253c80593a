#include "devicewin/para_spreadsheet.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/services/device_error.h"
#include "app/services/user_level.h"
#include "devicewin/device_context.h"
#include "devicewin/widget_display.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_types.h"
#include "parameters/values/dstring.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr int kFrameAllowance = 18;
constexpr char kUnitMarker[] = "%U_";

// The titles between vertical bars, empty ones kept in their places.
std::vector<std::string> SplitTitles(const std::string& text) {
    std::vector<std::string> titles;
    if (text.empty()) return titles;
    size_t start = 0;
    for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        titles.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    titles.push_back(text.substr(start));
    return titles;
}

int PresentColumnParameter(ParaBase* base, GwSpreadSheet* sheet, int column) {
    const int n = ParameterFromWidgetName(base, sheet->column_id(column));
    return n != 0 && base->IsPresent(n) ? n : 0;
}

// A column title: the text before "%U_" and, when a parameter number follows
// it, that parameter's value text in brackets.
std::string ColumnTitle(ParaBase* base, const std::string& title) {
    const size_t marker = title.find(kUnitMarker);
    if (marker == std::string::npos) return title;
    const int unit = LeadingNumber(title, marker + sizeof(kUnitMarker) - 1);
    dstring text;
    if (unit != 0) {
        if (base->IsOnline()) {
            base->ReadValueString(unit, text);
        } else {
            base->GetValueString(unit, text);
        }
    }
    return title.substr(0, marker) + " [" + text.Text() + "]";
}

// Reads the column's parameter from the device: in scrolling mode only the
// rows in view. False when the user gave up on the device.
bool ReadColumn(ParaBase* base, GwSpreadSheet* sheet, int n, bool scrolling) {
    int first = 0;
    int count = base->GetValueCount(n);
    if (scrolling && sheet->visible_rows() > 0) {
        first = std::max(sheet->first_visible_row() - 1, 0);
        count = sheet->visible_rows();
    }
    if (base->ReadBusParameter(n, first, count) == 0) return true;
    return ShowDeviceError(kDeviceErrorMessage, base, sheet->frame());
}

void SetColumnAccess(GwSpreadSheet* sheet, int column, bool on) {
    if (GwCellAttribute* attribute = sheet->column_attribute(column)) {
        attribute->selectable = on;
        attribute->editable = on;
    }
}

}  // namespace

int CB_CreatParaSpreadSheet(GwCore* widget, GwEvent*, GwUD userData) {
    auto* sheet = dynamic_cast<GwSpreadSheet*>(widget);
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (sheet == nullptr || context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    const int k = LeadingNumber(userData.string());
    if (k == 0 || !base->IsPresent(k)) return 1;
    int rows = 0;
    const ParameterEntry* entry = base->GetEntry(k);
    if ((entry->flags & kFlagArray) != 0) {
        rows = base->GetValueCount(k);
    } else {
        double value = 0.0;
        if (ReadShownValue(base, k, &value) != 0) return 1;
        rows = TruncatedValue(value);
    }
    sheet->set_row_count(rows + 1);
    sheet->set_title_rows(1);
    sheet->set_title_columns(1);
    return 1;
}

int CB_ShowParaSpreadSheet(GwCore* widget, GwEvent* event, GwUD userData) {
    auto* sheet = dynamic_cast<GwSpreadSheet*>(widget);
    if (sheet == nullptr || event == nullptr || event->type != GwCB_USER) return 1;
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    context->ReloadFirmwareTexts();
    ParaBase* base = context->Base.get();
    int first = LeadingNumber(userData.string());
    const bool scrolling = first < 0;
    if (scrolling) first = 0;
    // The rows after the last one with an id stay empty, so that no
    // take-over writes them.
    const int lastShown = sheet->row_count() - first - 1;
    for (int row = 1; row < sheet->row_count(); ++row) {
        sheet->set_row_id(row, row <= lastShown ? std::to_string(first + row - 1) : std::string());
    }
    const bool editing = sheet->cell_has_focus();
    const int rowParameter = PresentColumnParameter(base, sheet, 1);
    if (rowParameter == 0) return 1;
    for (int row = 1; row <= lastShown; ++row) {
        dstring title;
        context->GetValueText(title, rowParameter, first + row - 1);
        sheet->set_contents(row, 0, title.Text());
    }
    if (!editing) FitSpreadSheetColumn(sheet, 0);
    const std::vector<std::string> titles = SplitTitles(sheet->aux_text());
    if (!titles.empty()) sheet->set_contents(0, 0, titles[0]);
    for (int column = 1; column < sheet->column_count(); ++column) {
        const int n = PresentColumnParameter(base, sheet, column);
        if (n == 0) continue;
        SetColumnAccess(sheet, column, base->IsWriteAllowed(n, GetUserLevel()));
        if (static_cast<size_t>(column) < titles.size())
            sheet->set_contents(0, column, ColumnTitle(base, titles[column]));
        if (base->IsOnline() && !ReadColumn(base, sheet, n, scrolling)) break;
        SetupColumnFormat(base, n, sheet->column_attribute(column));
        for (int row = 1; row <= lastShown; ++row) {
            sheet->set_contents(row, column, base->GetDispatchedValueText(n, first + row - 1));
        }
    }
    SetColumnAccess(sheet, 0, false);
    if (GwCellAttribute* titleRow = sheet->row_attribute(0)) {
        titleRow->selectable = false;
        titleRow->editable = false;
    }
    return 1;
}

int CB_SetParaValue(GwCore* widget, GwEvent*, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    const int n = LeadingNumber(widget->name());
    if (n == 0) return 1;
    const double value = std::strtod(userData.string().c_str(), nullptr);
    if (base->IsOnline()) {
        base->WriteValueDouble(n, value);
    } else {
        base->SetValueDouble(n, value);
    }
    return 1;
}

int CB_ResizeSpreadSheet(GwCore* widget, GwEvent*, GwUD userData) {
    auto* sheet = dynamic_cast<GwSpreadSheet*>(widget);
    const int column = LeadingNumber(userData.string());
    if (sheet != nullptr && column >= 0 && column < sheet->column_count()) FitSpreadSheetColumn(sheet, column);
    return 1;
}

void FitSpreadSheetColumn(GwSpreadSheet* sheet, int column) {
    int width = sheet->width() - kFrameAllowance;
    for (int other = 0; other < sheet->column_count(); ++other) {
        if (other != column) width -= sheet->column_width(other);
    }
    if (width > 1) sheet->set_column_width(column, width);
}
