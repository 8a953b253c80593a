#include "toolkit/core/gw_frame.h"

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"

GwApplFrame::GwApplFrame(const std::string& name, GwCore* parent) : GwCore(GwAPPLFRAME_CLASS, name, parent) {
    set_close_mode(GwCLOSE_DESTROY);
}

GwDialogFrame::GwDialogFrame(const std::string& name, GwCore* parent, bool modal, const std::string& title)
    : GwCore(GwDIALOGFRAME_CLASS, name, parent) {
    if (modal) set_modality(1);
    if (!title.empty()) set_title(title);
}

GwContainer::GwContainer(const std::string& name, GwCore* parent, const GwRect& rect, GwKind kind)
    : GwCore(kind, name, parent) {
    if (!(rect == GwRect{0, 0, 10, 10})) set_rect(rect);
}

void GwContainer::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    border_ = def.flag("border", language, border_);
    shadow_ = def.flag("shadow", language, shadow_);
}

void GwContainer::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    if (auto* c = dynamic_cast<GwContainer*>(copy)) {
        c->border_ = border_;
        c->shadow_ = shadow_;
    }
}
