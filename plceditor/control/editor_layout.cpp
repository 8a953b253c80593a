#include "plceditor/control/editor_layout.h"

namespace sindel {

namespace {

// Widths of the status parts that show the generator and the line, counted
// from the right edge.
constexpr int kGeneratorPartFromRight = 140;
constexpr int kGapPartFromRight = 110;
constexpr int kLinePartFromRight = 50;
constexpr double kEditShareOfHeight = 0.7;

}  // namespace

std::vector<int> StatusPartEdges(int client_width) {
    return {0,
            client_width - kGeneratorPartFromRight,
            client_width - kGapPartFromRight,
            client_width - kLinePartFromRight,
            client_width};
}

EditorLayout LayoutEditor(int client_width, int client_height, const TemplateMetrics& m) {
    const int available = client_height - m.status_height - m.toolbar_band - m.gap;
    const int edit_height = static_cast<int>(available * kEditShareOfHeight);
    EditorLayout layout;
    layout.edit = {0, m.toolbar_band, client_width, edit_height};
    layout.list = {0, m.gap + m.toolbar_band + edit_height, client_width, m.gap + available - edit_height};
    return layout;
}

}  // namespace sindel
