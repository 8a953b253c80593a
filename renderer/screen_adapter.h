// How one kind of model widget shows on the screen. An adapter makes the Qt
// widget, hands the user's signals on it to the model's entry points, and
// puts the model's state and content records on it. Adapters keep nothing of
// their own: what a widget needs between calls lives in its Qt widget (an
// item model, a property). The renderer applies what every child widget
// shares (place, font, colours, enabled, shown, focus) itself.
#pragma once

#include <QRect>
#include <algorithm>

#include "toolkit/core/gw_types.h"

class GwCore;
class QWidget;
struct GwContentChange;

namespace screen {

class Adapter {
public:
    virtual ~Adapter() = default;

    // The Qt widget for `widget`, under `parent` (null for a window).
    virtual QWidget* Create(GwCore* widget, QWidget* parent) const = 0;
    // Where the model widget's children go; null: into the widget itself.
    virtual QWidget* Inner(QWidget* /*q*/) const { return nullptr; }
    // Whether the widget lies in its parent at the model's rectangle (a
    // window or a docking pane places itself).
    virtual bool PlacedInParent() const { return true; }
    // The user's signals to the model.
    virtual void Connect(GwCore* /*widget*/, QWidget* /*q*/) const {}
    // The model's state after a change of a property (text, value,
    // selection, ...): never more than the state needs.
    virtual void Sync(GwCore* /*widget*/, QWidget* /*q*/) const {}
    // After the widget was placed: what lies inside it by its size.
    virtual void Arrange(GwCore* /*widget*/, QWidget* /*q*/) const {}
    // One content record of the model; null: all of it (a new widget).
    virtual void Content(GwCore* /*widget*/, QWidget* /*q*/, const GwContentChange* /*change*/) const {}
    // The model moved what is in view (the first visible row, the part of a
    // picture).
    virtual void Scrolled(GwCore* /*widget*/, QWidget* /*q*/) const {}
};

// The adapter of a widget's kind.
const Adapter& AdapterFor(const GwCore* widget);

// The one instance of an adapter class.
template <typename T>
const Adapter& AdapterInstance() {
    static const T adapter;
    return adapter;
}

inline QRect ToQRect(const GwRect& r) { return QRect(r.x, r.y, std::max(r.width, 0), std::max(r.height, 0)); }

}  // namespace screen
