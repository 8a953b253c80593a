// Small value types and fixed codes of the toolkit: geometry, dialog result
// codes, cursors, frame states. Shared by every widget kind.
#pragma once

#include <cstdint>
#include <string>

struct GwPosition {
    int x = 0;
    int y = 0;
    bool operator==(const GwPosition&) const = default;
};

struct GwDimension {
    int width = 0;
    int height = 0;
    bool operator==(const GwDimension&) const = default;
};

struct GwRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const GwRect&) const = default;
};

// Result codes of the box buttons and modal runs. Callers treat 6, 8, 9 and
// 10 as positive answers and every other code as negative.
constexpr int GwRESULT_CANCEL = 2;
constexpr int GwRESULT_YES = 6;
constexpr int GwRESULT_NO = 7;
constexpr int GwRESULT_OK = 8;

// Cursor atoms of GwCore::global_cursor.
constexpr int GwCURSOR_ARROW = 1;
constexpr int GwCURSOR_WAIT = 2;

// Frame states (GwCore::frame_state).
constexpr int GwSTATE_NORMAL = 1;
constexpr int GwSTATE_MINIMIZED = 2;
constexpr int GwSTATE_MAXIMIZED = 3;

// Decoration bits of a frame: its position and its size are kept by the
// window list when these are set.
constexpr int GwDECORATION_MOVABLE = 0x10;
constexpr int GwDECORATION_SIZABLE = 0x20;

// Close modes (GwCore::set_close_mode): what a close request does.
constexpr int GwCLOSE_HIDE = 1;
constexpr int GwCLOSE_DESTROY = 2;

// State word bits (GwCore::state).
constexpr int GwSTATE_BIT_ENABLED = 0x1;
constexpr int GwSTATE_BIT_VISIBLE = 0x2;

// Event codes of a push button pressed and released.
constexpr int GwBUTTON_DOWN = 4097;
constexpr int GwBUTTON_UP = 8193;

// Mouse event state bits.
constexpr int GwMOUSE_BUTTON1 = 0x001;
constexpr int GwMOUSE_DOUBLE = 0x200;

// Key codes of key events; printable characters are their own code.
constexpr int GwKEY_BACKSPACE = 8;
constexpr int GwKEY_TAB = 9;
constexpr int GwKEY_CLEAR = 12;
constexpr int GwKEY_RETURN = 13;
constexpr int GwKEY_ESCAPE = 27;
constexpr int GwKEY_DELETE = 127;
constexpr int GwKEY_F1 = 0x1070;

// Size of a font that names none ("Arial" instead of "Arial,8").
constexpr int kGwDefaultFontPoints = 10;

// A font as a screen draws it: face and size in points.
struct GwFontInfo {
    std::string face;
    int points = kGwDefaultFontPoints;
};

// Width of one character in the headless text metrics.
constexpr int GwCHAR_WIDTH_UNITS = 7;
