#include "service/debugwatch/debug_watch.h"

#include <optional>
#include <unordered_set>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "service/debugwatch/watch_types.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr int kNoDeviceMessage = 6;
constexpr int kWindowMissingMessage = 7;
constexpr uint32_t kFirstRefreshMs = 500;
// Progress of the symbol load moves every this many names.
constexpr int kProgressEvery = 50;
// Longest texts taken from a stored row or key (with the terminator).
constexpr size_t kAddressTextSize = 31;
constexpr size_t kStoredAddressSize = 32;
constexpr size_t kStoredTypeSize = 64;

constexpr char kDirectoriesSection[] = "Directories";
constexpr char kSymbolDirKey[] = "DebugSymbolDir";
constexpr char kDefaultSymbolDir[] = "..\\FIRMDATA";
constexpr char kStoredListSection[] = "DEBUG_Addresses_%d";
constexpr char kAddressKey[] = "Address%d";
constexpr char kTypeKey[] = "DataType%d";
constexpr char kStatusField[] = "State1";

constexpr char kChooseMapTitle[] = "MAP-Datei wählen";
constexpr char kMapFilter[] = "*.map|*.map|";
constexpr char kLoadingSymbols[] = "Lade Symbolinformationen ...";
constexpr char kUpdatingAddresses[] = "Update der Symboladressen ...";
constexpr char kInvalidSymbolFile[] = "Die Symboldatei ist ungültig";

DebugWatchState& State() {
    static DebugWatchState state;
    return state;
}

const platform::ResetHook kResetDebugWatch([] { State() = DebugWatchState(); });

GwCore* FrameOf(GwCore* widget) { return widget != nullptr ? widget->frame() : nullptr; }

GwCore* ChildOf(GwCore* window, const char* name) { return window != nullptr ? window->child(name) : nullptr; }

void ClearStatusField() {
    GwCore* main = GetMainWindow();
    if (GwCore* field = main != nullptr ? main->child(kStatusField) : nullptr) field->set_text("");
}

GwProfile* StoredListSection(bool create) {
    Main* main = GetMain();
    GwProfile* profile = MainProfile();
    if (main == nullptr || profile == nullptr) return nullptr;
    const std::string section = platform::Format(kStoredListSection, main->GetActiveDeviceTypeClass());
    return profile->select_section(section.c_str(), create) ? profile : nullptr;
}

std::string Row(const std::string& address, const std::string& name, const std::string& type) {
    return address + "|" + name + "|" + type + "|";
}

// Runs the type dialog over the window; the chosen button sets CurrentType.
void RunTypeDialog(GwCore* window) {
    GwCore* dialog = GwRcMgr::load(window != nullptr ? window : GetMainWindow(), kDebugOptionsDialog, 1);
    if (dialog == nullptr) {
        ShowErrorMessage(kWindowMissingMessage);
        return;
    }
    dialog->go();
    if (dialog->is_alive()) dialog->destroy();
}

void AppendRow(const std::string& row) {
    if (GwMultiList* list = WatchListOf(FindWatchWindow())) list->add_row(row);
}

void RestoreStoredRows(GwMultiList& list, const MapSymbolFile& symbols) {
    GwProfile* profile = StoredListSection(false);
    if (profile == nullptr) return;
    const int rows = profile->key_count() / 2;
    for (int i = 0; i < rows; ++i) {
        const std::string addressKey = platform::Format(kAddressKey, i);
        const std::string typeKey = platform::Format(kTypeKey, i);
        if (!profile->key_exists(addressKey.c_str()) || !profile->key_exists(typeKey.c_str())) continue;
        const std::string address = std::string(profile->read(addressKey.c_str())).substr(0, kStoredAddressSize - 1);
        const std::string type = std::string(profile->read(typeKey.c_str())).substr(0, kStoredTypeSize - 1);
        const std::optional<std::string> name = symbols.FindNameByAddress(ParseHexAddress(address).value_or(0));
        if (name) list.add_row(Row(address, *name, type));
    }
}

void StoreWatchList(GwCore* window) {
    GwMultiList* list = WatchListOf(window);
    GwProfile* profile = StoredListSection(true);
    if (list == nullptr || profile == nullptr) return;
    profile->clear_section();
    for (int i = 0; i < list->row_count(); ++i) {
        profile->write(platform::Format(kAddressKey, i).c_str(),
                       list->cell(i, kAddressColumn, kAddressTextSize).c_str());
        profile->write(platform::Format(kTypeKey, i).c_str(), list->cell(i, kTypeColumn).c_str());
    }
}

// The symbol names in cache order without later duplicates, with the
// progress window moving over the reading, the sorting out and the filling.
// The progress runs events, so the window is looked up after each step.
void FillSymbolNames(MapSymbolFile& symbols) {
    const int n = symbols.CountLines();
    ProgressMessage progress(kLoadingSymbols, 3.0 * n, FindWatchWindow());
    std::vector<std::string> read;
    for (std::optional<std::string> name = symbols.First(); name; name = symbols.Next()) {
        if (static_cast<int>(read.size()) % kProgressEvery == 0) progress.SetValue(static_cast<double>(read.size()));
        read.push_back(std::move(*name));
    }
    std::unordered_set<std::string> seen;
    for (size_t i = 0; i < read.size(); ++i) {
        if (static_cast<int>(i) % kProgressEvery == 0) progress.SetValue(static_cast<double>(n + static_cast<int>(i)));
        if (!seen.insert(read[i]).second) read[i].clear();
    }
    if (GwCombo* names = SymbolNamesOf(FindWatchWindow())) names->delete_all();
    for (size_t i = 0; i < read.size(); ++i) {
        if (static_cast<int>(i) % kProgressEvery == 0) {
            progress.SetValue(static_cast<double>(2 * n + static_cast<int>(i)));
        }
        GwCombo* names = SymbolNamesOf(FindWatchWindow());
        if (names == nullptr) return;
        if (!read[i].empty()) names->append(read[i]);
    }
    if (GwCombo* names = SymbolNamesOf(FindWatchWindow()); names != nullptr && names->count() > 0) {
        names->select_item(0);
    }
    ClearStatusField();
}

// Rows whose symbol is still known get its new address; the others go.
void UpdateRowAddresses(const MapSymbolFile& symbols) {
    GwMultiList* list = WatchListOf(FindWatchWindow());
    if (list == nullptr || list->row_count() == 0) return;
    ActivMessage activity(kUpdatingAddresses, FindWatchWindow());
    list = WatchListOf(FindWatchWindow());
    for (int i = 0; list != nullptr && i < list->row_count();) {
        const std::optional<std::string> address = symbols.FindAddressByName(list->cell(i, kNameColumn));
        if (!address) {
            list->delete_row(i);
            continue;
        }
        list->set_cell(i, kAddressColumn, *address);
        list->set_cell(i, kValueColumn, "");
        ++i;
    }
}

}  // namespace

DebugWatchState& TheDebugWatch() { return State(); }

GwCore* FindWatchWindow() { return TheWindowHandler().FindByName(kDebugWatchFrame); }

GwMultiList* WatchListOf(GwCore* window) {
    return window != nullptr ? window->child<GwMultiList>(kWatchList) : nullptr;
}

GwCombo* SymbolNamesOf(GwCore* window) {
    return window != nullptr ? window->child<GwCombo>(kSymbolNameField) : nullptr;
}

std::string SymbolCachePath() {
    Main* main = GetMain();
    if (main == nullptr) return "";
    return platform::Format("..\\TMP\\MAPFILE_%d_V%s.TMP", main->GetActiveDeviceFamily(), main->GetVersionTag().Text());
}

std::string DebugSymbolDir() {
    GwProfile* profile = MainProfile();
    if (profile != nullptr && profile->select_section(kDirectoriesSection) && profile->key_exists(kSymbolDirKey)) {
        return profile->read(kSymbolDirKey);
    }
    return kDefaultSymbolDir;
}

void LoadDebugWatch(GwCore* window) {
    Main* main = GetMain();
    if (main == nullptr || main->ActiveParaBase() == nullptr) {
        ShowInfoMessage(kNoDeviceMessage, window);
        return;
    }
    GwCore::set_global_cursor(GwCURSOR_WAIT);
    DebugWatchState& state = State();
    state.Symbols = std::make_shared<MapSymbolFile>(SymbolCachePath());
    state.SymbolDir = DebugSymbolDir();
    if (state.Symbols->IsValid()) {
        // Only an empty cache shows a box (which runs events); then there is
        // nothing to fill in and no stored row has a symbol.
        std::vector<std::string> read;
        for (std::optional<std::string> name = state.Symbols->First(); name; name = state.Symbols->Next()) {
            read.push_back(std::move(*name));
        }
        if (GwCombo* names = read.empty() ? nullptr : SymbolNamesOf(window)) {
            for (const std::string& name : read) {
                if (names->find(name) < 0) names->append(name);
            }
            if (names->count() > 0) names->select_item(0);
        }
        if (GwMultiList* list = read.empty() ? nullptr : WatchListOf(window)) RestoreStoredRows(*list, *state.Symbols);
        ClearStatusField();
    }
    GwCore::set_global_cursor(GwCURSOR_ARROW);
}

int CB_CreateDebug(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = FrameOf(widget);
    for (const char* name : {kSymbolNameField, kSymbolAddressField, kWatchList}) {
        if (ChildOf(window, name) == nullptr) {
            ShowErrorMessage(kWindowMissingMessage, window);
            break;
        }
    }
    return 1;
}

int CB_ShowDebug(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = FrameOf(widget);
    if (GwMultiList* list = WatchListOf(window)) list->clear();
    // Information 6 without a device comes from the load, once.
    LoadDebugWatch(window);
    Main* main = GetMain();
    if (main == nullptr || main->ActiveParaBase() == nullptr) return 1;
    if (GwMultiList* list = WatchListOf(FindWatchWindow())) list->start_timer(kFirstRefreshMs);
    return 1;
}

int CB_NewMapFile(GwCore* widget, GwEvent*, GwUD) {
    DebugWatchState& state = State();
    if (state.SymbolDir.empty()) state.SymbolDir = DebugSymbolDir();
    GwFileSelector chooser(FrameOf(widget));
    chooser.set_title(kChooseMapTitle);
    chooser.set_filter(kMapFilter);
    chooser.set_directory(state.SymbolDir);
    chooser.set_mode(GwFILESELECTOR_OPEN);
    if (!chooser.go() || chooser.selection().empty()) return 1;
    state.SymbolDir = chooser.directory();
    if (GwProfile* profile = MainProfile(); profile != nullptr && profile->select_section(kDirectoriesSection, true)) {
        profile->write(kSymbolDirKey, state.SymbolDir.c_str());
    }
    state.Symbols.reset();
    // Held here: a show while the progress runs events may replace it.
    const std::shared_ptr<MapSymbolFile> symbols =
        std::make_shared<MapSymbolFile>(chooser.selection(), SymbolCachePath());
    state.Symbols = symbols;
    if (!symbols->IsValid()) {
        ShowInfoText(kInvalidSymbolFile, FindWatchWindow());
        return 1;
    }
    FillSymbolNames(*symbols);
    UpdateRowAddresses(*symbols);
    return 1;
}

int CB_ExitDebug(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = FrameOf(widget);
    StoreWatchList(window);
    if (GwMultiList* list = WatchListOf(window)) list->stop_timer();
    TheWindowHandler().DeleteWindow(window);
    return 1;
}

int CB_SetSymbol(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = FrameOf(widget);
    // The dialog is modal: the name cannot change while it runs.
    GwCombo* names = SymbolNamesOf(window);
    const std::string name = names != nullptr ? names->text() : std::string();
    RunTypeDialog(window);
    const MapSymbolFile* symbols = State().Symbols.get();
    const std::optional<std::string> address = symbols != nullptr ? symbols->FindAddressByName(name) : std::nullopt;
    if (address) AppendRow(Row(*address, name, State().CurrentType));
    return 1;
}

int CB_SetShowType(GwCore* widget, GwEvent*, GwUD) {
    if (widget != nullptr && !widget->text().empty()) State().CurrentType = widget->text();
    return 1;
}

int CB_SetAddress(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = FrameOf(widget);
    GwCore* field = ChildOf(window, kSymbolAddressField);
    const std::string text = field != nullptr ? field->text() : std::string();
    if (text.empty()) return 1;
    GwCore::set_global_cursor(GwCURSOR_WAIT);
    const uint32_t address = ParseHexAddress(text).value_or(0);
    const MapSymbolFile* symbols = State().Symbols.get();
    const std::optional<std::string> name = symbols != nullptr ? symbols->FindNameByAddress(address) : std::nullopt;
    ClearStatusField();
    if (GwCombo* names = SymbolNamesOf(window)) names->set_text(name.value_or(""));
    GwCore::set_global_cursor(GwCURSOR_ARROW);
    if (name) return 1;
    RunTypeDialog(window);
    AppendRow(Row(platform::Format("%lX", address), "", State().CurrentType));
    return 1;
}

int CB_DeleteSymbol(GwCore* widget, GwEvent*, GwUD) {
    GwMultiList* list = WatchListOf(FrameOf(widget));
    if (list != nullptr && list->selected_index() >= 0) list->delete_row(list->selected_index());
    return 1;
}

int CB_ShowAddress(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = FrameOf(widget);
    GwCore* field = ChildOf(window, kSymbolAddressField);
    if (field == nullptr) return 1;
    field->set_text("");
    GwCombo* names = SymbolNamesOf(window);
    const MapSymbolFile* symbols = State().Symbols.get();
    if (names == nullptr || symbols == nullptr) return 1;
    if (const std::optional<std::string> address = symbols->FindAddressByName(names->selection_text())) {
        field->set_text(*address);
    }
    return 1;
}

const GwFuncDesc* DebugWatchCallbacks() {
    static const GwFuncDesc table[] = {
        {"CB_CreateDebug", CB_CreateDebug},
        {"CB_ShowDebug", CB_ShowDebug},
        {"CB_NewMapFile", CB_NewMapFile},
        {"CB_ExitDebug", CB_ExitDebug},
        {"CB_SetSymbol", CB_SetSymbol},
        {"CB_SetShowType", CB_SetShowType},
        {"CB_SetAddress", CB_SetAddress},
        {"CB_UpdateDbList", CB_UpdateDbList},
        {"CB_DeleteSymbol", CB_DeleteSymbol},
        {"CB_ShowAddress", CB_ShowAddress},
        {nullptr, nullptr},
    };
    return table;
}
