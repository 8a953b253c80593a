// The program's list of its open tool and device windows: find, raise and
// close them in groups, and keep their positions and an "autostart" mark in
// the main profile under "Pos_" and the window name.
#pragma once

#include <string>

#include "toolkit/core/gw_ref.h"

class GwCore;

// Callbacks of a listed window: called when the list closes or raises it.
using WindowCallback = void (*)();

// Stored placement of a window.
struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 10;
    int height = 10;
};
struct WindowDimension {
    int width = 10;
    int height = 10;
};

class WindowHandler {
public:
    static constexpr int kMaxEntries = 50;

    // 1 added (or the list is locked), 0 for a null window, a full list or a
    // window already listed.
    int Add(GwCore* window, int online, WindowCallback closeCallback = nullptr,
            WindowCallback activateCallback = nullptr, int keep = 0);
    // 1 removed (or locked), 0 for a bad index. Saves the placement unless the
    // window is minimised and clears its "autostart".
    int Delete(int index);
    int DeleteWindow(GwCore* window);
    // 1 closed (or locked), 0 when the window is not listed.
    int Close(GwCore* window);
    int CloseByName(const char* name);
    // Close every online window (device windows only) and mark it for
    // reopening; return the number of entries left.
    int CloseAll();
    int CloseDeviceWindows();
    void CloseAllForUserLevel();
    void CloseAllOnExit();
    // Raise a window: its activate callback, else the focus. 0 for a bad
    // index or an invalid window.
    int ActivateEntry(int index);
    int Activate(GwCore* window);
    GwCore* First();
    GwCore* Next();
    int IndexOf(GwCore* window);
    // First valid, visible child of the main window named exactly `name`.
    GwCore* FindByName(const char* name);
    bool HasOnlineWindow();
    bool IsOnlineWindow(GwCore* window);
    // Removes entries whose windows were destroyed, hidden or detached.
    void UpdateList();

    int Count() const { return count_; }

    // Empties the list (tests and program end).
    void Reset();

private:
    struct Entry {
        GwRef<> window;
        int online = 0;

        WindowCallback close = nullptr;
        WindowCallback activate = nullptr;
        int keep = 0;
        std::string name;  // kept so a destroyed window can still be named
    };
    template <typename Select>
    void CloseSelected(Select select);

    Entry entries_[kMaxEntries];
    int iteration_ = 0;
    int count_ = 0;
    bool locked_ = false;
};

// The one window list of the program.
WindowHandler& TheWindowHandler();

// Placement stored for the window, or null for a null window or one without a
// "Pos_" section. Points to a static record that keeps the last values read.
// The stored size is that of the window's first control, its client area
// where it has one. A size never saved or below the window's least usable
// size, and a position off the screen, come back as the definition's own.
const WindowPlacement* GetSavedWindowPlacement(GwCore* window);
const WindowDimension* GetSavedWindowDimension(GwCore* window);
// Puts a window at a placement: its first control (the client area, which
// the window follows) at the size, when asked, and the window at the
// position, when asked.
void ApplyWindowPlacement(GwCore* window, const WindowPlacement& placement, bool size = true, bool position = true);
// Writes "Pos" and "Dim" of the window; 0 for a null window.
int SaveWindowPlacement(GwCore* window);
