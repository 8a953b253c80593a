// The debug watch window "DebugDevice": firmware symbols of the active device
// from its symbol cache, and a watch list of memory cells refreshed one row
// per tick through the drive's memory-read parameters.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "service/debugwatch/map_symbol_file.h"
#include "service/debugwatch/watch_types.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

class GwCombo;
class GwCore;
class GwMultiList;

inline constexpr char kDebugWatchFrame[] = "DebugDevice";
inline constexpr char kDebugOptionsDialog[] = "DebugOptions";
// Children of the watch window.
inline constexpr char kSymbolNameField[] = "DbName";
inline constexpr char kSymbolAddressField[] = "DbAddress";
inline constexpr char kWatchList[] = "DbList";
// Columns of a watch-list row "address|name|type|value".
inline constexpr int kAddressColumn = 0;
inline constexpr int kNameColumn = 1;
inline constexpr int kTypeColumn = 2;
inline constexpr int kValueColumn = 3;

// Program-wide state of the watch, for as long as the program runs.
struct DebugWatchState {
    std::shared_ptr<MapSymbolFile> Symbols;
    std::string CurrentType = kDefaultWatchType;  // the type new rows get
    int RowIndex = 0;                             // the row the next refresh tick reads
    bool WatchStatusFlag = false;                 // a memory read failed since the last report
    std::string SymbolDir;                        // where the MAP-file chooser starts
};
DebugWatchState& TheDebugWatch();

// The listed watch window, found again by name after a modal run (which may
// have closed it); null when there is none.
GwCore* FindWatchWindow();
// The window's children, null when missing or of another kind.
GwMultiList* WatchListOf(GwCore* window);
GwCombo* SymbolNamesOf(GwCore* window);

// "..\TMP\MAPFILE_<family>_V<version tag>.TMP" of the active device.
std::string SymbolCachePath();
// [Directories] "DebugSymbolDir" of the main profile, else "..\FIRMDATA".
std::string DebugSymbolDir();

// At show time: the active device's existing symbol cache into "DbName" and
// the stored watch list of its type class into "DbList" (rows whose address
// has a symbol). Without an active device, information 6 and nothing else.
void LoadDebugWatch(GwCore* window);

int CB_CreateDebug(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowDebug(GwCore* widget, GwEvent* event, GwUD userData);
int CB_NewMapFile(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ExitDebug(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetSymbol(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetShowType(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetAddress(GwCore* widget, GwEvent* event, GwUD userData);
// The list's timer: one visible row read and shown per tick (watch_refresh).
int CB_UpdateDbList(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DeleteSymbol(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowAddress(GwCore* widget, GwEvent* event, GwUD userData);

// Every callback of the watch window and its options dialog under its name,
// ended by the null entry; the program joins it into its general table.
const GwFuncDesc* DebugWatchCallbacks();
