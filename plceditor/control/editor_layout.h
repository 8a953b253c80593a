// Where the editor window's parts go for a client size: the status bar's
// part edges, the edit control and the message list below it, from the
// distances measured on the window's template.
#pragma once

#include <vector>

#include "toolkit/core/gw_types.h"

namespace sindel {

// Distances measured on the template at start-up.
struct TemplateMetrics {
    int status_height = 0;  // window bottom - list bottom
    int gap = 0;            // list top - edit bottom
    int toolbar_band = 0;   // toolbar button height + 2 x gap
};

struct EditorLayout {
    GwRect edit;
    GwRect list;
};

// Right edges of the five status bar parts for a client width.
std::vector<int> StatusPartEdges(int client_width);

// The edit control takes 70 % of the height left below the toolbar band and
// above the status bar; the list the rest.
EditorLayout LayoutEditor(int client_width, int client_height, const TemplateMetrics& metrics);

}  // namespace sindel
