// The tab book: its tab pages are taken into the tab set (shown) or left out
// (hidden); one included page is the active one.
#pragma once

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_ref.h"

class GwTabBook : public GwCore {
public:
    GwTabBook(const std::string& name, GwCore* parent) : GwCore(GwTABBOOK_CLASS, name, parent) {}

    // Takes a page of this book into the tab set or leaves it out; leaving
    // out the active page makes the first included page active.
    bool include_page(GwCore* page, bool on);
    bool is_page_included(const GwCore* page) const;
    // The first included page becomes active; false when none is included.
    bool activate_first_page();
    // The active page, or null.
    GwCore* active_page() const;
    // The user clicks the tab of an included page: it becomes the active
    // page and the select binding runs with its index among the pages in
    // `value`. False, nothing changed, for a page that is not included.
    bool user_select_page(GwCore* page);

protected:
    ~GwTabBook() override = default;

private:
    bool IsPage(const GwCore* page) const;
    GwRef<> active_;
};
