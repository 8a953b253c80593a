// The editor's message list as a toolkit widget: one text per row, rows
// always added at the end, and a double-click handler.
#pragma once

#include <functional>
#include <string>

#include "toolkit/core/gw_multi_list.h"

namespace sindel {

class ListBox : public GwMultiList {
public:
    ListBox(const std::string& name, GwCore* parent);

    // Adds a row at the end; returns its index.
    int AddString(const std::string& text);
    void ResetContent() { clear(); }
    int GetCount() const { return count(); }
    // The row's text; empty out of range.
    std::string GetText(int index) const { return row_text(index); }

    // Called with the row the user double-clicked.
    void SetDoubleClickHandler(std::function<void(int row)> handler) { double_click_ = std::move(handler); }

protected:
    ~ListBox() override = default;

private:
    static int OnActivate(GwCore* widget, GwEvent* event, GwUD ud);
    std::function<void(int)> double_click_;
};

}  // namespace sindel
