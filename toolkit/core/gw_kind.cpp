#include "toolkit/core/gw_kind.h"

#include "platform/files/paths.h"
#include "toolkit/core/gw_core.h"

namespace {

struct KindInfo {
    GwKind kind;
    const char* name;
    GwKind base;  // GwGENERIC_CLASS: none
};

// Every kind a definition file may name, with the kind it derives from.
constexpr KindInfo kKinds[] = {
    {GwGENERIC_CLASS, "widget", GwGENERIC_CLASS},
    {GwAPPLFRAME_CLASS, "applframe", GwGENERIC_CLASS},
    {GwDIALOGFRAME_CLASS, "dialogframe", GwGENERIC_CLASS},
    {GwCONTAINER_CLASS, "container", GwGENERIC_CLASS},
    {GwRADIOGROUP_CLASS, "radiogroup", GwCONTAINER_CLASS},
    {GwSCROLLEDCONTAINER_CLASS, "scrolledcontainer", GwCONTAINER_CLASS},
    {GwLABEL_CLASS, "label", GwGENERIC_CLASS},
    {GwEDIT_CLASS, "edit", GwGENERIC_CLASS},
    {GwFORMATEDIT_CLASS, "formatedit", GwEDIT_CLASS},
    {GwTEXT_CLASS, "text", GwEDIT_CLASS},
    {GwPUSHBUTTON_CLASS, "button", GwGENERIC_CLASS},
    {GwTOGGLE_CLASS, "toggle", GwGENERIC_CLASS},
    {GwCHECK_CLASS, "check", GwTOGGLE_CLASS},
    {GwRADIO_CLASS, "radio", GwTOGGLE_CLASS},
    {GwTOGGLELIST_CLASS, "togglelist", GwGENERIC_CLASS},
    {GwSLIDER_CLASS, "slider", GwGENERIC_CLASS},
    {GwGAUGE_CLASS, "gauge", GwSLIDER_CLASS},
    {GwPROGRESS_CLASS, "progress", GwSLIDER_CLASS},
    {GwPICTURE_CLASS, "picture", GwGENERIC_CLASS},
    {GwMEDIA_CLASS, "media", GwGENERIC_CLASS},
    {GwMULTILIST_CLASS, "list", GwGENERIC_CLASS},
    {GwCOMBO_CLASS, "combo", GwGENERIC_CLASS},
    {GwSELECTIONLIST_CLASS, "selectionlist", GwCOMBO_CLASS},
    {GwMENUBAR_CLASS, "menubar", GwGENERIC_CLASS},
    {GwMENU_CLASS, "menu", GwGENERIC_CLASS},
    {GwPOPUP_CLASS, "popup", GwMENU_CLASS},
    {GwMENUITEM_CLASS, "menuitem", GwGENERIC_CLASS},
    {GwTOGGLEITEM_CLASS, "toggleitem", GwMENUITEM_CLASS},
    {GwTOOLBAR_CLASS, "toolbar", GwGENERIC_CLASS},
    {GwTOOL_CLASS, "tool", GwGENERIC_CLASS},
    {GwTABBOOK_CLASS, "tabbook", GwGENERIC_CLASS},
    {GwTABPAGE_CLASS, "tabpage", GwCONTAINER_CLASS},
    {GwTREE_CLASS, "tree", GwGENERIC_CLASS},
    {GwSPREADSHEET_CLASS, "spreadsheet", GwGENERIC_CLASS},
    {GwDOCKINGCONTAINER_CLASS, "dockingcontainer", GwCONTAINER_CLASS},
    {GwDOCKINGFRAME_CLASS, "dockingframe", GwGENERIC_CLASS},
    {GwOLECONTROL_CLASS, "olecontrol", GwGENERIC_CLASS},
    {GwDRAWING_CLASS, "drawing", GwGENERIC_CLASS},
    {GwDOCKINGREGION_CLASS, "dockingregion", GwCONTAINER_CLASS},
};
static_assert(sizeof(kKinds) / sizeof(kKinds[0]) == GwKIND_COUNT, "every kind needs a table row");

bool Valid(GwKind kind) { return kind >= 0 && kind < GwKIND_COUNT; }

GwCore* MakeGeneric(GwKind kind, const std::string& name, GwCore* parent) { return new GwCore(kind, name, parent); }

GwKindFactory& FactoryOf(GwKind kind) {
    static GwKindFactory factories[GwKIND_COUNT] = {};
    return factories[kind];
}

}  // namespace

// The kind classes of this library; defined in gw_kind_factories.cpp.
GwKindFactory GwBuiltinKindFactory(GwKind kind);

const char* GwKindName(GwKind kind) { return Valid(kind) ? kKinds[kind].name : "widget"; }

bool GwKindFromName(const std::string& name, GwKind* kind) {
    for (const auto& info : kKinds) {
        if (platform::EqualNoCase(name, info.name)) {
            *kind = info.kind;
            return true;
        }
    }
    return false;
}

bool GwKindIsA(GwKind kind, GwKind base) {
    if (!Valid(kind)) return false;
    if (base == GwGENERIC_CLASS) return true;
    for (GwKind k = kind;; k = kKinds[k].base) {
        if (k == base) return true;
        if (k == GwGENERIC_CLASS) return false;
    }
}

bool GwKindIsFrame(GwKind kind) {
    return kind == GwAPPLFRAME_CLASS || kind == GwDIALOGFRAME_CLASS || kind == GwDOCKINGFRAME_CLASS;
}

void GwSetKindFactory(GwKind kind, GwKindFactory factory) {
    if (Valid(kind)) FactoryOf(kind) = factory;
}

bool GwHasKindFactory(GwKind kind) {
    return Valid(kind) && (FactoryOf(kind) != nullptr || GwBuiltinKindFactory(kind) != nullptr);
}

GwCore* GwMakeWidget(GwKind kind, const std::string& name, GwCore* parent) {
    if (!Valid(kind)) kind = GwGENERIC_CLASS;
    GwKindFactory factory = FactoryOf(kind);
    if (factory == nullptr) factory = GwBuiltinKindFactory(kind);
    if (factory == nullptr) factory = MakeGeneric;
    return factory(kind, name, parent);
}
