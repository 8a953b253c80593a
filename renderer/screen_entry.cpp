// The renderer's entry points: torvan starts it when a display is there, and
// the screen check reads the comparison and the places of widgets from it.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QApplication>
#include <QScreen>
#include <cstdlib>
#include <cstring>
#include <string>

// Xlib defines macros (Bool, Status, CursorShape) that Qt's headers refuse,
// so it comes after them.
#include <X11/Xlib.h>

#include "platform/base/log_sink.h"
#include "renderer/screen_fonts.h"
#include "renderer/screen_renderer.h"
#include "toolkit/core/gw_screen.h"

namespace screen {
int Walk(const std::string& path);
bool Locate(const std::string& name, QRect* rect);
bool ShownText(const std::string& identifier, std::string* text);
}  // namespace screen

namespace {

bool CanOpenX11() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return false;
    Display* connection = XOpenDisplay(nullptr);
    if (connection == nullptr) return false;
    XCloseDisplay(connection);
    return true;
}

bool CanOpenWayland() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (display == nullptr || *display == '\0') return false;
    std::string path = display;
    if (path[0] != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (runtime == nullptr) return false;
        path = std::string(runtime) + "/" + path;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

// Starts Qt and installs the renderer as the toolkit's observer and
// interaction. Returns 0, with a log line, when no display can be opened:
// the program then runs without a screen.
extern "C" int torvan_screen_start() {
    if (QApplication::instance() != nullptr) return screen::Screen::Instance() != nullptr ? 1 : 0;
    const bool x11 = CanOpenX11();
    const bool wayland = !x11 && CanOpenWayland();
    if (!x11 && !wayland) {
        platform::LogLine("screen: the display cannot be opened; the program runs without a screen");
        return 0;
    }
    // The GUI library must not end the process over a display it cannot use.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", x11 ? "xcb" : "wayland", 1);
    static int argc = 1;
    static char name[] = "torvan";
    static char* argv[] = {name, nullptr};
    auto* app = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(screen::DefaultFont());
    if (QScreen* primary = app->primaryScreen()) {
        const QRect area = primary->availableGeometry();
        GwSetScreenSize({area.width(), area.height()});
    }
    static screen::Screen* renderer = new screen::Screen();
    GwAttachObserver(renderer);
    GwSetInteraction(renderer);
    platform::LogLine("screen: windows on the " + std::string(x11 ? "X11" : "Wayland") + " display");
    return 1;
}

// Writes the comparison of every visible model widget with the screen to
// `path`; returns the number of differences (-1 without a renderer).
extern "C" int torvan_screen_walk(const char* path) {
    if (screen::Screen::Instance() == nullptr || path == nullptr) return -1;
    return screen::Walk(path);
}

// The global rectangle (x, y, width, height) of a widget by identifier, a
// menu item of an open menu, or a dialog button of the renderer by name.
extern "C" int torvan_screen_locate(const char* name, int* rect) {
    if (screen::Screen::Instance() == nullptr || name == nullptr || rect == nullptr) return 0;
    QRect r;
    if (!screen::Locate(name, &r)) return 0;
    rect[0] = r.x();
    rect[1] = r.y();
    rect[2] = r.width();
    rect[3] = r.height();
    return 1;
}

// The text the screen shows for a model widget, as UTF-8.
extern "C" int torvan_screen_text(const char* identifier, char* text, int size) {
    std::string shown;
    if (screen::Screen::Instance() == nullptr || identifier == nullptr || text == nullptr || size <= 0 ||
        !screen::ShownText(identifier, &shown))
        return 0;
    std::snprintf(text, static_cast<size_t>(size), "%s", shown.c_str());
    return 1;
}
