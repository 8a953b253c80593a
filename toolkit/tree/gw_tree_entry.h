// An entry of a tree widget: id, text, user data, a flag word passed through,
// children in order, a popup and a font. The program derives its own entries
// and overrides the destructor and the bitmap, which the tree asks for when it
// draws the entry. An entry owns its children; deleting it deletes its
// subtree and takes it out of its parent and its tree.
#pragma once

#include <string>
#include <vector>

#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_ud.h"

class GwBitmap;
class GwCore;
class GwTree;

class GwTreeEntry {
public:
    // `flags` is kept as given (folder entries pass 0, others 1).
    GwTreeEntry(const GwUD& user_data, const char* text, int flags);
    virtual ~GwTreeEntry();
    GwTreeEntry(const GwTreeEntry&) = delete;
    GwTreeEntry& operator=(const GwTreeEntry&) = delete;

    const std::string& id() const { return id_; }
    void set_id(const char* id) { id_ = id != nullptr ? id : ""; }
    const std::string& text() const { return text_; }
    void set_text(const char* text) { text_ = text != nullptr ? text : ""; }
    const GwUD& user_data() const { return user_data_; }
    void set_user_data(const GwUD& ud) { user_data_ = ud; }
    int flags() const { return flags_; }

    GwTreeEntry* parent() const { return parent_; }
    int child_count() const { return static_cast<int>(children_.size()); }
    // Null out of range.
    GwTreeEntry* child(int index) const;
    const std::vector<GwTreeEntry*>& children() const { return children_; }
    // Appends a loose entry (no parent, no tree of its own) and takes it
    // over; false, nothing changed, for anything else or a cycle.
    bool add_child(GwTreeEntry* entry);
    // Takes a child out without deleting it; the caller owns it then.
    bool loose_child(GwTreeEntry* entry);
    // The tree the entry is shown in (through its root), or null.
    GwTree* tree() const;

    // Whether the entry is shown open (its children displayed).
    bool is_shown() const { return shown_; }
    void set_shown(bool open) { shown_ = open; }
    void set_popup(GwCore* popup) { popup_ = popup; }
    GwCore* popup() const { return popup_; }
    void set_font(const std::string& font) { font_ = font; }
    const std::string& font() const { return font_; }

    // The icon the tree draws; null for none. Subclasses override either
    // name; the default of `bitmap` asks `Bitmap`.
    virtual GwBitmap* bitmap() { return Bitmap(); }
    virtual GwBitmap* Bitmap() { return nullptr; }

    bool is_descendant_of(const GwTreeEntry* ancestor) const;

private:
    friend class GwTree;

    std::string id_;
    std::string text_;
    GwUD user_data_;
    int flags_;
    GwTreeEntry* parent_ = nullptr;
    std::vector<GwTreeEntry*> children_;  // owned
    GwTree* tree_ = nullptr;              // set on the root only
    bool shown_ = false;
    GwRef<> popup_;
    std::string font_;
};
