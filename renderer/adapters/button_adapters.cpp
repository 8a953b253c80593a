// Push buttons and toggles (check boxes, radio buttons): a click is the
// model's click, and the model decides a toggle's state.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_toggle.h"

namespace screen {
namespace {

class PushButtonAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override { return new QPushButton(parent); }
    void Connect(GwCore* widget, QWidget* q) const override {
        QObject::connect(
            static_cast<QPushButton*>(q),
            &QAbstractButton::clicked,
            [button = GwRef(static_cast<GwPushButton*>(widget))] { Act(button, [&] { button->click(); }); });
    }
    void Sync(GwCore* widget, QWidget* q) const override {
        auto* button = static_cast<QPushButton*>(q);
        button->setText(ToScreen(widget->text()));
        GwCore* frame = widget->frame();
        button->setDefault(frame != nullptr && frame->default_button() == widget);
    }
};

class ToggleAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore* widget, QWidget* parent) const override {
        QAbstractButton* button = static_cast<GwToggle*>(widget)->is_radio()
                                      ? static_cast<QAbstractButton*>(new QRadioButton(parent))
                                      : new QCheckBox(parent);
        button->setAutoExclusive(false);
        return button;
    }
    void Connect(GwCore* widget, QWidget* q) const override {
        QObject::connect(static_cast<QAbstractButton*>(q),
                         &QAbstractButton::clicked,
                         [toggle = GwRef(static_cast<GwToggle*>(widget))] {
                             Act(toggle, [&] { toggle->click(); });
                             // The model decides the state, also when it refused the click.
                             if (toggle != nullptr) Screen::Instance()->Sync(toggle);
                         });
    }
    void Sync(GwCore* widget, QWidget* q) const override {
        auto* button = static_cast<QAbstractButton*>(q);
        button->setText(ToScreen(widget->text()));
        button->setChecked(static_cast<GwToggle*>(widget)->is_checked());
    }
};

}  // namespace

const Adapter& PushButtonAdapter() { return AdapterInstance<PushButtonAdapterImpl>(); }

const Adapter& ToggleAdapter() { return AdapterInstance<ToggleAdapterImpl>(); }

}  // namespace screen
