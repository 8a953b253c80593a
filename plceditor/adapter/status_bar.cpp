#include "plceditor/adapter/status_bar.h"

#include "toolkit/core/gw_label.h"

namespace sindel {

StatusBar::StatusBar(const std::string& name, GwCore* parent, int parts) : GwContainer(name, parent) {
    for (int i = 0; i < parts; ++i) panes_.push_back(new GwLabel("Pane" + std::to_string(i), this));
    borderless_.assign(panes_.size(), false);
}

void StatusBar::SetParts(const std::vector<int>& right_edges) {
    edges_ = right_edges;
    int left = 0;
    for (size_t i = 0; i < panes_.size(); ++i) {
        int right = i < edges_.size() ? edges_[i] : left;
        panes_[i]->set_rect({left, 0, right - left, kHeight});
        left = right;
    }
}

void StatusBar::SetText(int part, const std::string& text, bool borderless) {
    if (part < 0 || part >= PartCount()) return;
    panes_[part]->set_text(text);
    borderless_[part] = borderless;
}

std::string StatusBar::Text(int part) const {
    return part >= 0 && part < PartCount() ? panes_[part]->text() : std::string();
}

bool StatusBar::IsBorderless(int part) const { return part >= 0 && part < PartCount() && borderless_[part]; }

void StatusBar::PlaceAtBottom(int client_width, int client_height) {
    set_rect({0, client_height - kHeight, client_width, kHeight});
}

}  // namespace sindel
