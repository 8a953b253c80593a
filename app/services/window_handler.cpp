// The window list and the stored window placements.
#include "app/services/window_handler.h"

#include <algorithm>
#include <cstring>

#include "app/services/app_files.h"
#include "app/services/services_hooks.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_screen.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kPosSectionPrefix[] = "Pos_";
constexpr char kAutostartKey[] = "autostart";

struct WindowHandlerState {
    WindowHandler Windows;
    // The placement and size last read for a window, which the callers keep
    // a pointer to.
    WindowPlacement Placement;
    WindowDimension Dimension;
};

WindowHandlerState& State() {
    static WindowHandlerState state;
    return state;
}

platform::ResetHook ResetState([] {
    State().Windows.Reset();
    State().Placement = WindowPlacement();
    State().Dimension = WindowDimension();
});

bool IsValid(const GwCore* window) { return window != nullptr && GwRcMgr::is_valid_child(window); }

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// Selects the window's "Pos_" section when the main profile has one whose
// name is exactly "Pos_" and the window name (letter case included).
GwProfile* SelectExactPosSection(const std::string& name) {
    GwProfile* profile = MainProfile();
    if (profile == nullptr) return nullptr;
    const std::string section = kPosSectionPrefix + name;
    for (int i = 0; i < profile->section_count(); ++i) {
        if (section == profile->section_name(i)) return profile->select_section(i) ? profile : nullptr;
    }
    return nullptr;
}

void SetAutostart(const std::string& name, long value) {
    if (GwProfile* profile = SelectExactPosSection(name)) profile->write_int(kAutostartKey, value);
}

// The section of a window for reading its placement (any letter case).
GwProfile* SelectPosSection(GwCore* window) {
    GwProfile* profile = MainProfile();
    if (window == nullptr || profile == nullptr) return nullptr;
    return profile->select_section((kPosSectionPrefix + window->name()).c_str()) ? profile : nullptr;
}

// The size of the window's first control as its definition gives it.
GwDimension DefinitionDimension(GwCore* window) {
    const GwCore* first = window->first_control();
    const GwRect own = first != nullptr ? first->definition_rect() : window->definition_rect();
    return {own.width, own.height};
}

// A stored size the window cannot be used at is replaced by its definition's
// own: one never saved (the starting pair, or no "Dim" at all) and one below
// the window's least usable size (a first control that is not the window's
// client area always gets its own).
void MendDimension(GwCore* window, bool read, int& width, int& height) {
    const WindowDimension never;
    const GwDimension least = window->least_usable_size();
    if (read && (width != never.width || height != never.height) && width >= least.width && height >= least.height)
        return;
    const GwDimension own = DefinitionDimension(window);
    width = own.width;
    height = own.height;
}

// A stored position at which the window (at the size it gets) is off the
// screen is replaced by its definition's own.
void MendPosition(GwCore* window, bool read, const WindowPlacement& placement, int& x, int& y) {
    const GwDimension size =
        window->client_area() != nullptr ? GwDimension{placement.width, placement.height} : window->dimension();
    if (read && GwOnScreen({x, y, size.width, size.height})) return;
    const GwRect own = window->definition_rect();
    x = own.x;
    y = own.y;
}

}  // namespace

WindowHandler& TheWindowHandler() { return State().Windows; }

void WindowHandler::Reset() {
    for (Entry& entry : entries_) entry = Entry();
    iteration_ = 0;
    count_ = 0;
    locked_ = false;
}

int WindowHandler::Add(GwCore* window, int online, WindowCallback closeCallback, WindowCallback activateCallback,
                       int keep) {
    if (locked_) return 1;
    UpdateList();
    if (window == nullptr || count_ >= kMaxEntries) return 0;
    std::string caption = window->title();
    if (caption.empty()) caption = window->name();
    if (caption.empty()) caption = "NONAME";
    TheDataLogger().WriteEntry(std::string("WindowHandler->Add ") + (online ? "online window " : "offline window ") +
                               Quoted(caption));
    if (IndexOf(window) >= 0) return 0;
    if (const WindowPlacement* placement = GetSavedWindowPlacement(window)) {
        window->restore();
        ApplyWindowPlacement(window,
                             *placement,
                             (window->decoration() & GwDECORATION_SIZABLE) != 0,
                             (window->decoration() & GwDECORATION_MOVABLE) != 0);
    }
    entries_[count_] = Entry{window, online, closeCallback, activateCallback, keep, window->name()};
    ++count_;
    return 1;
}

int WindowHandler::Delete(int index) {
    if (locked_) return 1;
    if (index < 0 || index >= count_) return 0;
    Entry& entry = entries_[index];
    // A window the toolkit has destroyed is named by the name it was listed
    // under and left untouched: nothing of it is read or saved.
    const bool valid = IsValid(entry.window);
    const std::string name = valid ? entry.window->name() : entry.name;
    TheDataLogger().WriteEntry("WindowHandler->Delete window " + Quoted(name));
    SetAutostart(name, 0);
    if (valid && entry.window->frame_state() != GwSTATE_MINIMIZED && entry.window->frame_state() != GwSTATE_MAXIMIZED) {
        SaveWindowPlacement(entry.window);
    }
    std::move(entries_ + index + 1, entries_ + count_, entries_ + index);
    --count_;
    entries_[count_] = Entry();
    return 1;
}

int WindowHandler::DeleteWindow(GwCore* window) {
    if (locked_) return 1;
    const int index = IndexOf(window);
    return index >= 0 ? Delete(index) : 0;
}

int WindowHandler::Close(GwCore* window) {
    if (locked_) return 1;
    const int index = IndexOf(window);
    if (index < 0) {
        DeleteWindow(window);
        return 0;
    }
    TheDataLogger().WriteEntry("WindowHandler -> closing window " + Quoted(window->name()));
    if (WindowCallback close = entries_[index].close) {
        window->set_focus();
        close();
    }
    DeleteWindow(window);
    if (!IsValid(window)) return 1;  // the close callback ended it already
    switch (window->close_mode()) {
        case GwCLOSE_HIDE:
            // A closed window ticks no more ("DeviceList" of the network list).
            window->stop_timers_within();
            window->hide();
            break;
        case GwCLOSE_DESTROY:
            GwRcMgr::disconnect_frame(window);
            window->destroy();
            break;
        default:
            break;
    }
    return 1;
}

int WindowHandler::CloseByName(const char* name) { return Close(FindByName(name)); }

template <typename Select>
void WindowHandler::CloseSelected(Select select) {
    UpdateList();
    int index = 0;
    while (index < count_) {
        Entry& entry = entries_[index];
        if (!select(entry)) {
            ++index;
            continue;
        }
        const std::string name = IsValid(entry.window) ? entry.window->name() : entry.name;
        const int before = count_;
        Close(entry.window);
        SetAutostart(name, 1);
        // The list has shifted down over the closed entry; the entries before
        // it were looked at already. An entry that did not leave is passed.
        if (count_ >= before) ++index;
    }
}

int WindowHandler::CloseAll() {
    if (locked_) return 1;
    CloseSelected([](const Entry& entry) { return entry.online != 0; });
    return count_;
}

int WindowHandler::CloseDeviceWindows() {
    if (locked_) return 1;
    static constexpr const char* kDeviceWindowMarks[] = {"AOP", "AOC", "AOW", "PosModEditor", "DeviceControl"};
    CloseSelected([](const Entry& entry) {
        if (entry.online == 0 || !IsValid(entry.window)) return false;
        const std::string& name = entry.window->name();
        return std::any_of(std::begin(kDeviceWindowMarks), std::end(kDeviceWindowMarks), [&](const char* mark) {
            return name.find(mark) != std::string::npos;
        });
    });
    return count_;
}

void WindowHandler::CloseAllForUserLevel() {
    CloseSelected([this](const Entry& entry) {
        if (entry.keep == 0) return true;
        // Kept windows are redrawn; the lock keeps their callbacks from
        // changing the list meanwhile.
        if (IsValid(entry.window)) {
            locked_ = true;
            entry.window->hide();
            entry.window->show();
            locked_ = false;
        }
        return false;
    });
}

void WindowHandler::CloseAllOnExit() {
    if (locked_) return;
    UpdateList();
    if (GwProfile* profile = MainProfile()) {
        for (int i = 0; i < profile->section_count(); ++i) {
            if (std::strstr(profile->section_name(i), kPosSectionPrefix) != nullptr && profile->select_section(i)) {
                profile->write_int(kAutostartKey, 0);
            }
        }
    }
    while (count_ > 0) {
        const std::string name = IsValid(entries_[0].window) ? entries_[0].window->name() : entries_[0].name;
        const int before = count_;
        Close(entries_[0].window);
        if (count_ >= before) Delete(0);
        SetAutostart(name, 1);
    }
}

int WindowHandler::ActivateEntry(int index) {
    if (index < 0 || index >= count_ || !IsValid(entries_[index].window)) return 0;
    if (WindowCallback activate = entries_[index].activate) {
        activate();
    } else {
        entries_[index].window->set_focus();
    }
    return 1;
}

int WindowHandler::Activate(GwCore* window) { return ActivateEntry(IndexOf(window)); }

GwCore* WindowHandler::First() {
    UpdateList();
    iteration_ = 0;
    return Next();
}

GwCore* WindowHandler::Next() {
    // A window destroyed since First is passed over, not taken for the end.
    while (iteration_ >= 0 && iteration_ < count_) {
        if (GwCore* window = entries_[iteration_++].window) return window;
    }
    return nullptr;
}

int WindowHandler::IndexOf(GwCore* window) {
    UpdateList();
    if (!IsValid(window)) return -1;
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].window == window) return i;
    }
    return -1;
}

GwCore* WindowHandler::FindByName(const char* name) {
    UpdateList();
    if (name == nullptr) return nullptr;
    GwCore* main = GetMainWindow();
    for (int i = 0; i < count_; ++i) {
        GwCore* window = entries_[i].window;
        if (!IsValid(window) || !window->is_visible()) continue;
        if (main != nullptr && !GwRcMgr::is_valid_child(main, window)) continue;
        if (window->name() == name) return window;
    }
    return nullptr;
}

bool WindowHandler::HasOnlineWindow() {
    UpdateList();
    return std::any_of(entries_, entries_ + count_, [](const Entry& entry) { return entry.online != 0; });
}

bool WindowHandler::IsOnlineWindow(GwCore* window) {
    const int index = IndexOf(window);
    return index >= 0 && entries_[index].online != 0;
}

void WindowHandler::UpdateList() {
    if (locked_) return;
    GwCore* main = GetMainWindow();
    int index = 0;
    while (index < count_) {
        GwCore* window = entries_[index].window;
        // Without a main window (before it exists) the child test is left
        // out: every listed window would fail it.
        const bool keep =
            IsValid(window) && window->is_visible() && (main == nullptr || GwRcMgr::is_valid_child(main, window));
        if (keep) {
            ++index;
            continue;
        }
        const std::string name = IsValid(window) ? window->name() : entries_[index].name;
        TheDataLogger().WriteEntry("WindowHandler->UpdateList: Automatic delete of invalid window " + Quoted(name) +
                                   " out of window list");
        Delete(index);  // the next entry moves to `index`
    }
}

const WindowPlacement* GetSavedWindowPlacement(GwCore* window) {
    GwProfile* profile = SelectPosSection(window);
    if (profile == nullptr) return nullptr;
    const bool position = profile->read_position("Pos", State().Placement.x, State().Placement.y);
    const bool dimension = profile->read_dimension("Dim", State().Placement.width, State().Placement.height);
    MendDimension(window, dimension, State().Placement.width, State().Placement.height);
    MendPosition(window, position, State().Placement, State().Placement.x, State().Placement.y);
    return &State().Placement;
}

const WindowDimension* GetSavedWindowDimension(GwCore* window) {
    GwProfile* profile = SelectPosSection(window);
    if (profile == nullptr) return nullptr;
    const bool dimension = profile->read_dimension("Dim", State().Dimension.width, State().Dimension.height);
    MendDimension(window, dimension, State().Dimension.width, State().Dimension.height);
    return &State().Dimension;
}

void ApplyWindowPlacement(GwCore* window, const WindowPlacement& placement, bool size, bool position) {
    if (window == nullptr) return;
    if (GwCore* first = window->first_control(); size && first != nullptr)
        first->set_dimension({placement.width, placement.height});
    if (position) window->set_position({placement.x, placement.y});
}

int SaveWindowPlacement(GwCore* window) {
    if (window == nullptr) return 0;
    GwProfile* profile = MainProfile();
    if (profile == nullptr || !profile->create_section((kPosSectionPrefix + window->name()).c_str())) return 1;
    const GwPosition position = window->position();
    profile->write_position("Pos", position.x, position.y);
    if (GwCore* first = window->first_control()) {
        const GwDimension dimension = first->dimension();
        profile->write_dimension("Dim", dimension.width, dimension.height);
    }
    return 1;
}
