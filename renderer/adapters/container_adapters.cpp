// Widgets that only hold others (containers, radio groups, tab pages,
// docking regions) and the controls that are invisible at run time.
#include <QFrame>

#include "renderer/adapters/adapters.h"
#include "toolkit/core/gw_frame.h"

namespace screen {
namespace {

class ContainerAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore* widget, QWidget* parent) const override {
        auto* plain = new QFrame(parent);
        if (auto* container = dynamic_cast<GwContainer*>(widget);
            container != nullptr && container->border() && widget->is_class(GwCONTAINER_CLASS)) {
            plain->setFrameShape(QFrame::NoFrame);
        }
        // A docking region holds panes only in the model; its widget never
        // takes a click meant for what lies under it.
        if (widget->is_class(GwDOCKINGREGION_CLASS)) plain->setAttribute(Qt::WA_TransparentForMouseEvents);
        return plain;
    }
};

class ControlAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override {
        auto* q = new QWidget(parent);
        q->setAttribute(Qt::WA_DontShowOnScreen);
        return q;
    }
};

}  // namespace

const Adapter& ContainerAdapter() { return AdapterInstance<ContainerAdapterImpl>(); }

const Adapter& ControlAdapter() { return AdapterInstance<ControlAdapterImpl>(); }

}  // namespace screen
