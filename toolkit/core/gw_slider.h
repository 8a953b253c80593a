// Range widgets: the slider the user moves, the read-only gauge and the
// progress indicator. The value is a double held between start and end; a
// program set fires nothing, a user move fires the change callback.
#pragma once

#include "toolkit/core/gw_core.h"

class GwSlider : public GwCore {
public:
    GwSlider(const std::string& name, GwCore* parent, GwKind kind = GwSLIDER_CLASS) : GwCore(kind, name, parent) {}

    double start() const { return start_; }
    double end() const { return end_; }
    double increment() const { return increment_; }
    double value() const { return value_; }
    void set_start(double v);
    void set_end(double v);
    void set_increment(double v) { increment_ = v; }
    // Clamped between start and end.
    void set_value(double v);
    // Back to the start.
    void reset() { set_value(start_); }
    // Gauges and progress indicators only show a value.
    bool is_read_only() const { return kind() != GwSLIDER_CLASS; }
    // A move as by the user; false for read-only, insensitive or hidden ones.
    bool move_to(double v);

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwSlider() override = default;
    void copy_state_to(GwCore* copy) const override;

private:
    double Clamp(double v) const;
    double start_ = 0.0;
    double end_ = 100.0;
    double increment_ = 1.0;
    double value_ = 0.0;
};

using GwProgressIndicator = GwSlider;
