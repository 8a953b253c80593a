// Fuzz target of the window loader with the toolkit's further kinds: any
// definition text gives windows whose menus, trees, spreadsheets, docking
// frames, drawings and control slots can be used, never a crash or a
// runaway allocation.
#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/hosting/gw_ole_control.h"
#include "toolkit/menus/gw_menu_item.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/tree/gw_tree.h"

namespace {

int Use(GwCore* w, GwUD) {
    if (auto* item = dynamic_cast<GwMenuItem*>(w)) item->choose();
    if (auto* sheet = dynamic_cast<GwSpreadSheet*>(w)) {
        sheet->scroll_to(sheet->row_count() - 1, 0);
        if (sheet->user_edit(1, 1)) sheet->user_confirm();
    }
    if (auto* tree = dynamic_cast<GwTree*>(w)) tree->locate_entry(0, 0);
    if (auto* frame = dynamic_cast<GwDockingFrame*>(w)) frame->set_placement(frame->placement());
    if (auto* drawing = dynamic_cast<GwDrawing*>(w)) drawing->device_context()->draw_line(0, 0, 1, 1);
    if (auto* control = dynamic_cast<GwOleControl*>(w)) control->invoke(1, {}, nullptr);
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    GwParseResult parsed = GwParseDefinitions(text, "fuzz.cgw");
    if (parsed.ok && GwRcMgr::use_text(text, "fuzz.cgw")) {
        for (const auto& window : parsed.file.windows) {
            GwCore* w = GwRcMgr::load(nullptr, window->name.c_str(), 1);
            if (w == nullptr) continue;
            w->show();
            w->walk_through_children(Use, GwUD());
            w->destroy();
        }
    }
    GwRcMgr::reset();
    return 0;
}
