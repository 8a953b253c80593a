// Widget kinds (the toolkit's classes): their names in definition files, the
// class test hierarchy (a format edit is an edit, a radio button a toggle)
// and the factories that make a widget of a kind. Kinds without a class of
// their own yet are made as plain GwCore widgets; a later unit installs its
// class with GwSetKindFactory.
#pragma once

#include <memory>
#include <string>

class GwCore;
struct GwDefinition;

enum GwKind : int {
    GwGENERIC_CLASS = 0,
    GwAPPLFRAME_CLASS,
    GwDIALOGFRAME_CLASS,
    GwCONTAINER_CLASS,
    GwRADIOGROUP_CLASS,
    GwSCROLLEDCONTAINER_CLASS,
    GwLABEL_CLASS,
    GwEDIT_CLASS,
    GwFORMATEDIT_CLASS,
    GwTEXT_CLASS,  // multi-line text field
    GwPUSHBUTTON_CLASS,
    GwTOGGLE_CLASS,
    GwCHECK_CLASS,
    GwRADIO_CLASS,
    GwTOGGLELIST_CLASS,
    GwSLIDER_CLASS,
    GwGAUGE_CLASS,
    GwPROGRESS_CLASS,
    GwPICTURE_CLASS,
    GwMEDIA_CLASS,
    GwMULTILIST_CLASS,
    GwCOMBO_CLASS,
    GwSELECTIONLIST_CLASS,
    GwMENUBAR_CLASS,
    GwMENU_CLASS,
    GwPOPUP_CLASS,
    GwMENUITEM_CLASS,
    GwTOGGLEITEM_CLASS,
    GwTOOLBAR_CLASS,
    GwTOOL_CLASS,
    GwTABBOOK_CLASS,
    GwTABPAGE_CLASS,
    GwTREE_CLASS,
    GwSPREADSHEET_CLASS,
    GwDOCKINGCONTAINER_CLASS,
    GwDOCKINGFRAME_CLASS,
    GwOLECONTROL_CLASS,
    GwDRAWING_CLASS,
    GwDOCKINGREGION_CLASS,
    GwKIND_COUNT
};

// The kind's name in definition files ("applframe", "edit", ...).
const char* GwKindName(GwKind kind);
// The kind of a definition-file name (case-insensitive); false when unknown.
bool GwKindFromName(const std::string& name, GwKind* kind);
// True when `kind` is `base` or derives from it (format edit -> edit).
bool GwKindIsA(GwKind kind, GwKind base);
// Frames are windows of their own: application, dialog and docking frames.
bool GwKindIsFrame(GwKind kind);

// Makes an empty widget of a kind; the loader then applies the definition.
using GwKindFactory = GwCore* (*)(GwKind kind, const std::string& name, GwCore* parent);
void GwSetKindFactory(GwKind kind, GwKindFactory factory);
// Whether a kind has a class of its own installed or built in.
bool GwHasKindFactory(GwKind kind);
GwCore* GwMakeWidget(GwKind kind, const std::string& name, GwCore* parent);
