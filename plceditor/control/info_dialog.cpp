#include "plceditor/control/info_dialog.h"

#include "plceditor/control/dialog_widgets.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_label.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

namespace {
constexpr char kBitmap[] = "207";
}  // namespace

void RunInfoDialog(GwCore* owner) {
    GwCore* window = new GwDialogFrame(kInfoDialogName, owner, true, "Information about PLC editor");
    (new GwPicture("Bitmap", window))->set_bitmap(kBitmap);
    (new GwLabel("Text", window))->set_text(kEditorVersionText);
    window->set_default_button(AddButton(window, "OK", "OK", GwRESULT_OK));
    window->go();
    window->destroy();
}

}  // namespace sindel
