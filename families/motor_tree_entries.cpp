#include "families/motor_tree_entries.h"

#include "toolkit/draw/gw_bitmap.h"

namespace {

// Each bitmap is made once by name on first use and kept for the program.
GwBitmap* Named(const char* name) {
    static GwBitmap folderOpen(kFolderOpenBitmap);
    static GwBitmap folderClosed(kFolderClosedBitmap);
    static GwBitmap motor(kMotorBitmap);
    for (GwBitmap* bitmap : {&folderOpen, &folderClosed, &motor}) {
        if (bitmap->name() == name) return bitmap;
    }
    return nullptr;
}

}  // namespace

GwTreeFolderMotor::~GwTreeFolderMotor() = default;

GwBitmap* GwTreeFolderMotor::bitmap() { return Named(is_shown() ? kFolderOpenBitmap : kFolderClosedBitmap); }

GwTreeMotor::~GwTreeMotor() = default;

GwBitmap* GwTreeMotor::bitmap() { return Named(kMotorBitmap); }
