// GwRef: a reference to a widget that is kept beyond the call that got it (a
// cache, a window's state, a window list, a timer's or a dialog's owner).
// Widgets are handles whose memory the toolkit frees some time after their
// destroy, and a new widget may then be made at the same address; a raw
// pointer checked by address cannot tell that new widget from its own. A
// reference holds the widget's serial number, which no later widget gets, so
// it answers null once its widget is destroyed, disconnected or freed, and
// never hands out a widget made since at the same address.
#pragma once

#include <cstddef>
#include <cstdint>

class GwCore;

// The widget's serial number (0 for null or a widget that is not valid).
uint64_t GwSerialOf(const GwCore* widget);
// True while `widget` is valid (GwRcMgr::is_valid_child) and is the widget
// that had `serial`; reads only the memory of a live widget.
bool GwIsCurrent(const GwCore* widget, uint64_t serial);

template <typename T = GwCore>
class GwRef {
public:
    GwRef() = default;
    GwRef(std::nullptr_t) {}
    // A widget that is no longer valid gives an empty reference.
    GwRef(T* widget) : widget_(widget), serial_(GwSerialOf(widget)) {}

    // The widget while it is valid, else null; every use of a reference as
    // a pointer goes through this check.
    T* get() const { return widget_ != nullptr && GwIsCurrent(widget_, serial_) ? widget_ : nullptr; }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
    void reset() { *this = GwRef(); }

private:
    T* widget_ = nullptr;
    uint64_t serial_ = 0;
};
