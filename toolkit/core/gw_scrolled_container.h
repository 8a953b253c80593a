// The scrolled container: a window of row containers (the rows of its
// definition, in order) over a longer list of items the program fills
// itself. The program sets the item count and reads which item the first row
// shows; when the user scrolls, the first visible item moves and the
// container's "scroll" binding fires with it in the event's value, and the
// program refills the rows.
#pragma once

#include <string>

#include "toolkit/core/gw_frame.h"

class GwScrolledContainer : public GwContainer {
public:
    GwScrolledContainer(const std::string& name, GwCore* parent);

    int item_count() const { return item_count_; }
    // Keeps the first visible item in range.
    void set_item_count(int count);
    int first_visible() const { return first_visible_; }
    // A program set fires nothing; clamped to 0 .. item count - visible count.
    void set_first_visible(int item);
    // How many items show at once: the definition's "visible_items", else
    // the number of row containers. A definition may promise more rows than
    // it holds; row() is null for the missing ones.
    int visible_count() const;
    void set_visible_count(int count);
    // The i-th row container (a container child, in definition order), or
    // null out of range.
    GwCore* row(int index) const;
    // The user scrolls so that `item` comes first: the scroll binding fires
    // when the first visible item moved. False when the container cannot be
    // used (hidden, disabled, destroyed).
    bool user_scroll(int item);

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwScrolledContainer() override = default;
    void copy_state_to(GwCore* copy) const override;

private:
    int Clamp(int item) const;

    int item_count_ = 0;
    int first_visible_ = 0;
    int visible_items_ = 0;  // 0: the number of rows
};
