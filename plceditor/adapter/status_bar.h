// The editor's status bar as a toolkit widget: a row of text parts with
// right edges set by the window on every size change.
#pragma once

#include <string>
#include <vector>

#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_ref.h"

namespace sindel {

class StatusBar : public GwContainer {
public:
    StatusBar(const std::string& name, GwCore* parent, int parts);

    int PartCount() const { return static_cast<int>(panes_.size()); }
    // Right edges of the parts, in client coordinates.
    void SetParts(const std::vector<int>& right_edges);
    const std::vector<int>& PartEdges() const { return edges_; }
    // Text of a part; out of range does nothing / reads empty.
    void SetText(int part, const std::string& text, bool borderless = false);
    std::string Text(int part) const;
    bool IsBorderless(int part) const;
    // Puts the bar along the bottom of a client area of that size.
    void PlaceAtBottom(int client_width, int client_height);

    static constexpr int kHeight = 20;

protected:
    ~StatusBar() override = default;

private:
    std::vector<GwRef<>> panes_;
    std::vector<bool> borderless_;
    std::vector<int> edges_;
};

}  // namespace sindel
