// The watch list's refresh: one visible row per tick, its memory read through
// the active device's parameters 30, 31 and 32.
#include <optional>
#include <string>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "devicewin/poll_timer.h"
#include "parameters/parabase/para_base.h"
#include "service/debugwatch/debug_watch.h"
#include "service/debugwatch/map_conversion.h"
#include "service/debugwatch/watch_types.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_multi_list.h"

namespace {

constexpr int kAddressLowParameter = 30;
constexpr int kAddressHighParameter = 31;
constexpr int kMemoryWordParameter = 32;
constexpr int kDeviceErrorMessage = 5;
constexpr int kNoDeviceMessage = 6;
constexpr size_t kCellTextSize = 31;
// The refresh timer's record: maximum, interval at 9600 baud, minimum.
constexpr uint32_t kRefreshMaximumMs = 100000;
constexpr uint32_t kRefreshAt9600Ms = 1000;
constexpr uint32_t kRefreshMinimumMs = 200;

// One 16-bit word of the drive's memory; nullopt when a call failed.
std::optional<uint16_t> ReadMemoryWord(ParaBase& base, uint32_t address) {
    if (base.WriteValueU32(kAddressHighParameter, address >> 16) != 0) return std::nullopt;
    if (base.WriteValueU32(kAddressLowParameter, address & 0xFFFF) != 0) return std::nullopt;
    int32_t raw = 0;
    if (base.ReadRawValue(kMemoryWordParameter, &raw) != 0) return std::nullopt;
    return static_cast<uint16_t>(raw & 0xFFFF);
}

struct RowRange {
    int First = 0;
    int End = 0;  // one past the last
};

// The visible rows, or every row when the visible ones pass the end.
RowRange VisibleRows(const GwMultiList& list) {
    RowRange range{list.first_visible(), list.first_visible() + list.visible_count()};
    if (range.End > list.row_count()) range = {0, list.row_count()};
    return range;
}

// Reads and shows one row; sets WatchStatusFlag when a read failed, and then
// leaves the row's value as it was. The bus may run events while it waits, so
// the list is looked up again after the reads.
void RefreshRow(int row, ParaBase& base) {
    GwMultiList* list = WatchListOf(FindWatchWindow());
    if (list == nullptr || row >= list->row_count()) return;
    const std::string type = list->cell(row, kTypeColumn, kCellTextSize);
    const uint32_t address = ParseHexAddress(list->cell(row, kAddressColumn, kCellTextSize)).value_or(0);
    const std::optional<uint16_t> w0 = ReadMemoryWord(base, address);
    std::optional<uint16_t> w1 = uint16_t{0};
    if (w0 && IsDoubleWordType(type)) w1 = ReadMemoryWord(base, address + 2);
    if (!w0 || !w1) {
        TheDebugWatch().WatchStatusFlag = true;
        return;
    }
    list = WatchListOf(FindWatchWindow());
    if (list == nullptr || row >= list->row_count()) return;
    const std::optional<std::string> value = FormatWatchValue(type, address, *w0, *w1);
    if (!value) {
        list->delete_row(row);
        return;
    }
    if (*value != list->cell(row, kValueColumn, kCellTextSize)) list->set_cell(row, kValueColumn, *value);
}

void CloseWatchWindow() {
    if (GwCore* window = FindWatchWindow()) window->close();
}

}  // namespace

int CB_UpdateDbList(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (main == nullptr || !main->CheckTimerIntegrity(widget, true)) return 1;
    auto* list = dynamic_cast<GwMultiList*>(widget);
    if (list == nullptr || list->row_count() == 0) return 1;
    ParaBase* base = main->ActiveParaBase();
    if (!main->HasOnlineDevice() || base == nullptr) {
        ShowErrorMessage(kNoDeviceMessage, widget->frame());
        if (GwMultiList* shown = WatchListOf(FindWatchWindow())) shown->stop_timer();
        CloseWatchWindow();
        return 1;
    }
    list->stop_timer();
    DebugWatchState& state = TheDebugWatch();
    const RowRange range = VisibleRows(*list);
    if (state.RowIndex >= range.End) state.RowIndex = range.First;
    RefreshRow(state.RowIndex, *base);
    if (++state.RowIndex >= range.End) state.RowIndex = range.First;

    if (state.WatchStatusFlag) {
        // The box runs events: the window may be gone when it is answered.
        if (!main->ShowActiveDeviceError(kDeviceErrorMessage, FindWatchWindow())) {
            CloseWatchWindow();
            return 1;
        }
        state.WatchStatusFlag = false;
    }
    PollTimer timer{kRefreshMaximumMs, kRefreshAt9600Ms, kRefreshMinimumMs, WatchListOf(FindWatchWindow())};
    timer.Restart();
    return 1;
}
