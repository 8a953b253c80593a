// Docking panes and their container: a pane lies in a docking area of the
// main window's work area with a caption row (float and close buttons) or
// floats as a tool window; the container lays its panes out whenever its
// own place changes (renderer/screen_docking.cpp).
#include <QFrame>
#include <QToolButton>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "toolkit/docking/gw_docking.h"

namespace screen {
namespace {

class DockingPaneAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore* widget, QWidget*) const override { return Screen::Instance()->CreateDockingFrame(widget); }
    QWidget* Inner(QWidget* q) const override { return q->findChild<QWidget*>("client", Qt::FindDirectChildrenOnly); }
    bool PlacedInParent() const override { return false; }

    void Connect(GwCore* widget, QWidget* q) const override {
        auto* dock = static_cast<GwDockingFrame*>(widget);
        if (auto* floatButton = q->findChild<QToolButton*>("float", Qt::FindDirectChildrenOnly)) {
            QObject::connect(floatButton, &QToolButton::clicked, [dock = GwRef(dock)] {
                Act(dock, [&] { dock->set_attached(!dock->is_attached()); });
            });
        }
        if (auto* closeButton = q->findChild<QToolButton*>("close", Qt::FindDirectChildrenOnly)) {
            QObject::connect(
                closeButton, &QToolButton::clicked, [dock = GwRef(dock)] { Act(dock, [&] { dock->close(); }); });
        }
    }

    void Sync(GwCore* widget, QWidget* q) const override { Screen::Instance()->SyncDockingFrame(widget, q); }
};

class DockingContainerAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override { return new QFrame(parent); }
    void Arrange(GwCore* widget, QWidget*) const override { Screen::Instance()->LayoutDockingAreas(widget); }
};

}  // namespace

const Adapter& DockingPaneAdapter() { return AdapterInstance<DockingPaneAdapterImpl>(); }

const Adapter& DockingContainerAdapter() { return AdapterInstance<DockingContainerAdapterImpl>(); }

}  // namespace screen
