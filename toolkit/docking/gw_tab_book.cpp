#include "toolkit/docking/gw_tab_book.h"

#include "toolkit/core/gw_rcmgr.h"

namespace {

const bool g_registered = [] {
    GwSetKindFactory(GwTABBOOK_CLASS,
                     [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwTabBook(n, p); });
    return true;
}();

}  // namespace

bool GwTabBook::IsPage(const GwCore* page) const {
    return GwRcMgr::is_valid_child(page) && page->parent() == this && page->is_class(GwTABPAGE_CLASS);
}

bool GwTabBook::include_page(GwCore* page, bool on) {
    if (!IsPage(page)) return false;
    page->set_considered(on);
    GwContentChange change;
    change.kind = GwContentKind::kPagesChanged;
    notify_content(change);
    if (!on && page == active_) activate_first_page();
    return true;
}

bool GwTabBook::is_page_included(const GwCore* page) const { return IsPage(page) && page->is_shown(); }

bool GwTabBook::activate_first_page() {
    active_ = nullptr;
    for (GwCore* c : children()) {
        if (is_page_included(c)) {
            active_ = c;
            notify(GwProperty::kSelection);
            record("active page", c->name());
            return true;
        }
    }
    return false;
}

GwCore* GwTabBook::active_page() const { return IsPage(active_) && active_->is_shown() ? active_ : nullptr; }

bool GwTabBook::user_select_page(GwCore* page) {
    if (!is_page_included(page) || !is_sensitive()) return false;
    active_ = page;
    notify(GwProperty::kSelection);
    record("active page", page->name());
    GwEvent ev;
    for (GwCore* c : children()) {
        if (c == page) break;
        if (IsPage(c)) ++ev.value;
    }
    fire(GwCB_SELECT, ev);
    return true;
}
