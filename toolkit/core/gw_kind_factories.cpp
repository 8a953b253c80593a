// The classes of the kinds this library implements.
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_label.h"
#include "toolkit/core/gw_media.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_scrolled_container.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_toggle_list.h"

GwKindFactory GwBuiltinKindFactory(GwKind kind) {
    switch (kind) {
        case GwAPPLFRAME_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwApplFrame(n, p); };
        case GwDIALOGFRAME_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwDialogFrame(n, p); };
        case GwSCROLLEDCONTAINER_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwScrolledContainer(n, p); };
        case GwCONTAINER_CLASS:
        case GwTABPAGE_CLASS:
        case GwDOCKINGCONTAINER_CLASS:
            return [](GwKind k, const std::string& n, GwCore* p) -> GwCore* {
                return new GwContainer(n, p, GwRect{0, 0, 10, 10}, k);
            };
        case GwRADIOGROUP_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwRadioGroup(n, p); };
        case GwLABEL_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwLabel(n, p); };
        case GwEDIT_CLASS:
        case GwTEXT_CLASS:
            return [](GwKind k, const std::string& n, GwCore* p) -> GwCore* { return new GwEdit(n, p, k); };
        case GwFORMATEDIT_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwFormatEdit(n, p); };
        case GwPUSHBUTTON_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwPushButton(n, p); };
        case GwTOGGLE_CLASS:
        case GwCHECK_CLASS:
        case GwRADIO_CLASS:
            return [](GwKind k, const std::string& n, GwCore* p) -> GwCore* { return new GwToggle(n, p, k); };
        case GwTOGGLELIST_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwToggleList(n, p); };
        case GwSLIDER_CLASS:
        case GwGAUGE_CLASS:
        case GwPROGRESS_CLASS:
            return [](GwKind k, const std::string& n, GwCore* p) -> GwCore* { return new GwSlider(n, p, k); };
        case GwPICTURE_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwPicture(n, p); };
        case GwMEDIA_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwMedia(n, p); };
        case GwMULTILIST_CLASS:
            return [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwMultiList(n, p); };
        case GwCOMBO_CLASS:
        case GwSELECTIONLIST_CLASS:
            return [](GwKind k, const std::string& n, GwCore* p) -> GwCore* { return new GwCombo(n, p, k); };
        default:
            return nullptr;
    }
}
