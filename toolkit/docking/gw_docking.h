// Docking: a docking container holds four docking regions (numbers 1 top, 2
// bottom, 8 left, 16 right); docking frames sit in a region, attached to
// that edge or floating. A frame keeps exactly what the program set of its
// placement (a region number moves the frame into that region), its attached
// and standalone rectangles, its alignment and whether it is attached; its
// rectangle follows the state. Frames are windows of their own: their show
// and hide callbacks fire on every change, also when the user closes one.
#pragma once

#include <string>

#include "toolkit/core/gw_frame.h"

// Region numbers of a docking container.
constexpr int GwDOCK_TOP = 1;
constexpr int GwDOCK_BOTTOM = 2;
constexpr int GwDOCK_LEFT = 8;
constexpr int GwDOCK_RIGHT = 16;

class GwDockingRegion : public GwContainer {
public:
    GwDockingRegion(int number, GwCore* container);
    int number() const { return number_; }

protected:
    ~GwDockingRegion() override = default;

private:
    int number_;
};

class GwDockingContainer : public GwContainer {
public:
    GwDockingContainer(const std::string& name, GwCore* parent, const GwRect& rect = GwRect{0, 0, 10, 10});

    // The region of that number; null for any other number.
    GwDockingRegion* region(int number) const;
    static bool is_region_number(int number);

protected:
    ~GwDockingContainer() override = default;
};

// Name of the region widget of a number ("GwDockingRegion8").
std::string GwDockingRegionName(int number);

class GwDockingFrame : public GwCore {
public:
    // A new frame in a region (any widget works as the parent), hidden and
    // attached there.
    GwDockingFrame(GwCore* region, const std::string& name, const GwRect& rect);
    // Made by the definition loader.
    GwDockingFrame(const std::string& name, GwCore* parent);

    // Copies a widget with its subtree into the frame (the frame's content).
    GwCore* copy(const GwCore* content);

    void set_splitter(bool on) { splitter_ = on; }
    bool has_splitter() const { return splitter_; }

    int placement() const { return placement_; }
    void set_placement(int placement);
    GwRect attached_rect() const { return attached_rect_; }
    void set_attached_rect(const GwRect& rect);
    GwRect standalone_rect() const { return standalone_rect_; }
    void set_standalone_rect(const GwRect& rect);
    int alignment() const { return alignment_; }
    void set_alignment(int alignment) { alignment_ = alignment; }
    bool is_attached() const { return attached_; }
    void set_attached(bool attached);

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwDockingFrame() override = default;
    void copy_state_to(GwCore* copy) const override;

private:
    void FollowState();

    bool splitter_ = false;
    int placement_ = 0;
    GwRect attached_rect_;
    GwRect standalone_rect_;
    int alignment_ = 0;
    bool attached_ = true;
};
