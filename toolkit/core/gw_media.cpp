#include "toolkit/core/gw_media.h"

#include "toolkit/core/gw_definition.h"

void GwMedia::set_clip(const std::string& file) {
    if (!is_alive()) return;
    clip_ = file;
    playing_ = false;
    notify(GwProperty::kMedia);
    record("media", "clip " + file);
}

void GwMedia::play() {
    if (!is_alive()) return;
    playing_ = true;
    notify(GwProperty::kMedia);
    record("media", "play");
}

void GwMedia::stop() {
    if (!is_alive()) return;
    playing_ = false;
    notify(GwProperty::kMedia);
    record("media", "stop");
}

void GwMedia::rewind() {
    if (!is_alive()) return;
    notify(GwProperty::kMedia);
    record("media", "rewind");
}

void GwMedia::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    clip_ = def.text("clip", language, clip_);
}

void GwMedia::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    if (auto* m = dynamic_cast<GwMedia*>(copy)) m->clip_ = clip_;
}
