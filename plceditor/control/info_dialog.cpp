#include "plceditor/control/info_dialog.h"

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
    auto* ok = new GwPushButton("OK", window);
    ok->set_text("OK");
    ok->set_result_code(GwRESULT_OK);
    window->set_default_button(ok);
    window->go();
    window->destroy();
}

}  // namespace sindel
