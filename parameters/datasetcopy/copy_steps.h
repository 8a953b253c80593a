// What both directions of the data-set copy share: the file selector of the
// first steps, the chosen path and the choices read from a script window.
#pragma once

#include <string>

#include "parameters/datasetcopy/dataset_copy.h"
#include "parameters/values/dstring.h"
#include "toolkit/core/gw_ref.h"

class GwCore;

namespace datasetcopy {

// The file selector of a first step (a target for the copy to a file, an
// existing source for the copy to the device), over the widget's frame and
// starting in the direction's remembered folder. On a choice the folder is
// remembered and the path becomes the chosen path; false when the user
// cancelled or chose nothing.
bool ChooseFile(GwCore* widget, CopyDirection direction);

// The D file path of the chosen path: its drive and folder, its name (in
// lower case when asked) and the extension "00d", whatever was chosen.
std::string ChosenDFilePath(bool lowerCaseName);

// What the user left in a script window when pressing its button.
struct ScriptWindowChoice {
    dstring script;       // the "Script" text, empty without the child
    int groupItem = 0;    // first selected "Group" item, -1 for none
    bool saveIt = false;  // "SaveIt" present and ticked
    GwRef<> owner;        // the window that opened the script window
};
// Reads the script window of `widget` and destroys it.
ScriptWindowChoice TakeScriptWindow(GwCore* widget);

}  // namespace datasetcopy
