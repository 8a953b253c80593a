#include "devicewin/device_window.h"

#include <cctype>
#include <cstdlib>

#include "app/services/window_handler.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

// Nonzero when the text starts with a number other than 0.
int LeadingNumber(const std::string& text) { return std::atoi(text.c_str()); }

std::string BaseName(const std::string& name) {
    std::string base;
    if (name.size() > 1 && name[1] == '_' && LeadingNumber(name.substr(0, 1)) != 0) base = name.substr(2);
    if (name.size() > 5 && name[5] == '_' && LeadingNumber(name.substr(2, 3)) != 0) base = name.substr(6);
    return base;
}

unsigned StoredUnsigned(ParaBase* base, int number) {
    double value = 0.0;
    if (base == nullptr || base->GetValueDouble(number, &value) != kParaOk || !(value > 0.0)) return 0;
    return value < 4294967295.0 ? static_cast<unsigned>(value) : 0;
}

}  // namespace

std::vector<std::string> DeviceWindowCandidates(const std::string& name, ParaBase* base) {
    const std::string baseName = BaseName(name);
    const unsigned family = StoredUnsigned(base, kDeviceCodeParameter) / kDeviceClassDivisor;
    const unsigned line92 = StoredUnsigned(base, kFirmwareVersionParameter) / 10 * 10;
    const unsigned line90 = StoredUnsigned(base, kAlternateVersionParameter) / 10 * 10;
    return {
        platform::Format("%u_%03u_", family, line92) + baseName,
        platform::Format("%u_%03u_", family, line90) + baseName,
        platform::Format("%u_", family) + baseName,
        name,
    };
}

GwCore* LoadDeviceWindowForVersion(GwCore* parent, std::string name, ParaBase* base) {
    for (const std::string& candidate : DeviceWindowCandidates(name, base)) {
        if (GwCore* listed = TheWindowHandler().FindByName(candidate.c_str())) return listed;
        if (GwCore* loaded = GwRcMgr::load(parent, candidate.c_str(), 1)) return loaded;
    }
    return nullptr;
}

int CB_CloseDeviceWindow(GwCore* window, GwEvent*, GwUD) {
    if (window == nullptr || !GwRcMgr::is_valid_child(window)) return 1;
    GwCore* frame = window->frame();
    if (frame != nullptr) {
        // Copied first: destroying a dialog changes the child list.
        const std::vector<GwCore*> children = frame->children();
        for (GwCore* child : children) {
            if (child == frame || !GwRcMgr::is_valid_child(frame, child)) continue;
            if (!child->is_class(GwDIALOGFRAME_CLASS)) continue;
            GwRcMgr::disconnect_frame(child);
            child->hide();
            child->destroy();
        }
    }
    // A window's own "Close" button hands over itself: the window it closes
    // is its frame (the list knows only frames, so the button alone would
    // close nothing).
    GwCore* target = window->is_frame() || frame == nullptr ? window : frame;
    // A hidden window has left the window list already; as the hide of a
    // window that closes by destroying, this ends it as the list's close would.
    if (TheWindowHandler().Close(target) == 0 && target->is_frame() && !target->is_shown() &&
        target->close_mode() == GwCLOSE_DESTROY) {
        GwRcMgr::disconnect_frame(target);
        target->destroy();
    }
    return 1;
}
