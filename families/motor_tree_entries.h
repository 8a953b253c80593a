// The entries of the motor database tree: folders (open or closed folder
// bitmap) and motors (the motor bitmap). Both families share them.
#pragma once

#include "toolkit/tree/gw_tree_entry.h"

inline constexpr char kFolderOpenBitmap[] = "FMotor_o";
inline constexpr char kFolderClosedBitmap[] = "FMotor_c";
inline constexpr char kMotorBitmap[] = "TMotor";

// Entries carry their text as id, by which the tree's users find them.

// A directory: its name as text (the root: the directory path), an empty
// user data.
class GwTreeFolderMotor : public GwTreeEntry {
public:
    explicit GwTreeFolderMotor(const char* text) : GwTreeEntry(GwUD(""), text, 0) { set_id(text); }
    ~GwTreeFolderMotor() override;
    GwBitmap* bitmap() override;
};

// A motor file: the name without extension as text, the full path as user
// data.
class GwTreeMotor : public GwTreeEntry {
public:
    GwTreeMotor(const char* path, const char* text) : GwTreeEntry(GwUD(path), text, 1) { set_id(text); }
    ~GwTreeMotor() override;
    GwBitmap* bitmap() override;
};
