// Frames (application and dialog windows) and plain containers, as the
// program makes them in code; windows loaded from definitions are the same
// classes.
#pragma once

#include <string>

#include "toolkit/core/gw_core.h"

class GwApplFrame : public GwCore {
public:
    explicit GwApplFrame(const std::string& name, GwCore* parent = nullptr);

protected:
    ~GwApplFrame() override = default;
};

// A dialog window; modal dialogs get modality 1. A class made in code puts
// its widgets up in OnCreate, at the first show.
class GwDialogFrame : public GwCore {
public:
    GwDialogFrame(const std::string& name, GwCore* parent, bool modal = false, const std::string& title = "");

protected:
    ~GwDialogFrame() override = default;
};

class GwContainer : public GwCore {
public:
    GwContainer(const std::string& name, GwCore* parent, const GwRect& rect = GwRect{0, 0, 10, 10},
                GwKind kind = GwCONTAINER_CLASS);

    void set_border(bool on) { border_ = on; }
    bool border() const { return border_; }
    void set_shadow(bool on) { shadow_ = on; }
    bool shadow() const { return shadow_; }

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwContainer() override = default;
    void copy_state_to(GwCore* copy) const override;

private:
    bool border_ = true;
    bool shadow_ = false;
};
