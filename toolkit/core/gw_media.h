// A media player showing a clip ("IdentMot.avi"). Headless: it only keeps
// and records what it was told.
#pragma once

#include "toolkit/core/gw_core.h"

class GwMedia : public GwCore {
public:
    GwMedia(const std::string& name, GwCore* parent) : GwCore(GwMEDIA_CLASS, name, parent) {}

    void set_clip(const std::string& file);
    const std::string& clip() const { return clip_; }
    void play();
    void stop();
    void rewind();
    bool is_playing() const { return playing_; }

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwMedia() override = default;
    void copy_state_to(GwCore* copy) const override;

private:
    std::string clip_;
    bool playing_ = false;
};
