#include "renderer/adapters/adapters.h"
#include "toolkit/core/gw_core.h"

namespace screen {

const Adapter& AdapterFor(const GwCore* widget) {
    if (widget->is_class(GwDOCKINGFRAME_CLASS)) return DockingPaneAdapter();
    if (widget->is_frame() || widget->parent() == nullptr) return FrameWindowAdapter();
    switch (widget->kind()) {
        case GwLABEL_CLASS:
            return LabelAdapter();
        case GwPICTURE_CLASS:
        case GwMEDIA_CLASS:
            return PictureAdapter();
        case GwEDIT_CLASS:
        case GwFORMATEDIT_CLASS:
            return LineEditAdapter();
        case GwTEXT_CLASS:
            return TextAdapter();
        case GwPUSHBUTTON_CLASS:
            return PushButtonAdapter();
        case GwTOGGLE_CLASS:
        case GwCHECK_CLASS:
        case GwRADIO_CLASS:
            return ToggleAdapter();
        case GwSLIDER_CLASS:
            return SliderAdapter();
        case GwGAUGE_CLASS:
        case GwPROGRESS_CLASS:
            return GaugeAdapter();
        case GwMENUBAR_CLASS:
            return MenuBarAdapter();
        case GwTOOLBAR_CLASS:
            return ToolBarAdapter();
        case GwTOOL_CLASS:
            return ToolAdapter();
        case GwMULTILIST_CLASS:
            return MultiListAdapter();
        case GwCOMBO_CLASS:
            return ComboAdapter();
        case GwSELECTIONLIST_CLASS:
            return SelectionListAdapter();
        case GwTOGGLELIST_CLASS:
            return ToggleListAdapter();
        case GwTREE_CLASS:
            return TreeAdapter();
        case GwSPREADSHEET_CLASS:
            return SheetAdapter();
        case GwTABBOOK_CLASS:
            return TabBookAdapter();
        case GwSCROLLEDCONTAINER_CLASS:
            return ScrolledContainerAdapter();
        case GwDRAWING_CLASS:
            return DrawingAdapter();
        case GwDOCKINGCONTAINER_CLASS:
            return DockingContainerAdapter();
        case GwOLECONTROL_CLASS:
            return ControlAdapter();
        default:
            return ContainerAdapter();
    }
}

}  // namespace screen
