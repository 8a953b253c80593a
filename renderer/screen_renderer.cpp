#include "renderer/screen_renderer.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QEventLoop>
#include <QMenu>
#include <QToolTip>
#include <algorithm>
#include <functional>

#include "platform/base/log_sink.h"
#include "platform/system/clock.h"
#include "platform/system/event_pump.h"
#include "renderer/screen_adapter.h"
#include "renderer/screen_drawing.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_screen.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/draw/gw_drawing.h"

namespace screen {
namespace {

Screen* g_screen = nullptr;

}  // namespace

Screen::Screen() {
    g_screen = this;
    pumpTimer_.setSingleShot(true);
    pumpTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pumpTimer_, &QTimer::timeout, [this] { Pump(); });
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &pumpTimer_, [this] { BeforeWait(); });
}

Screen::~Screen() {
    if (g_screen == this) g_screen = nullptr;
}

Screen* Screen::Instance() { return g_screen; }

Screen::Applying::Applying() {
    if (g_screen != nullptr) ++g_screen->syncing_;
}

Screen::Applying::~Applying() {
    if (g_screen != nullptr) --g_screen->syncing_;
}

const Shown* Screen::Find(const GwCore* widget) const {
    auto it = shown_.find(const_cast<GwCore*>(widget));
    return it != shown_.end() ? &it->second : nullptr;
}

GwCore* Screen::ModelOf(const QWidget* widget) const {
    auto it = models_.find(widget);
    if (it == models_.end() || !GwRcMgr::is_valid_child(it->second)) return nullptr;
    return it->second;
}

GwCore* Screen::FromIdentifier(const std::string& identifier) const {
    for (const auto& [widget, shown] : shown_) {
        if (GwRcMgr::is_valid_child(widget) && widget->identifier() == identifier) return widget;
    }
    return nullptr;
}

// --- the observer ------------------------------------------------------------

void Screen::WidgetCreated(GwCore* widget) {
    ++syncing_;
    Create(widget);
    --syncing_;
}

void Screen::WidgetDestroyed(GwCore* widget) {
    auto it = shown_.find(widget);
    if (it == shown_.end()) return;
    Shown shown = it->second;
    shown_.erase(it);
    middles_.erase(widget);
    if (widget->is_class(GwDOCKINGFRAME_CLASS) && widget->parent() != nullptr) {
        // The other panes take the place once the pane is gone.
        QTimer::singleShot(0, &pumpTimer_, [this, container = GwRef(widget->parent()->parent())] {
            if (GwCore* now = container.get(); now != nullptr && Find(now) != nullptr) LayoutDockingAreas(now);
        });
    }
    ++syncing_;
    if (shown.action) {
        if (shown.action->menu() != nullptr && shown.menu) shown.menu->deleteLater();
        shown.action->deleteLater();
    }
    if (shown.widget) {
        models_.erase(shown.widget.data());
        if (!shown.action) {
            // A menu without an action (a popup) is its widget too.
            shown.widget->hide();
            shown.widget->deleteLater();
        }
    }
    if (shown.menu && !shown.action) shown.menu->deleteLater();
    --syncing_;
    EndFinishedModals();
}

void Screen::PropertyChanged(GwCore* widget, GwProperty property) {
    ++syncing_;
    if (property == GwProperty::kStacking) {
        SyncStacking();
    } else if (property == GwProperty::kCursor) {
        if (GwCore::global_cursor() == GwCURSOR_WAIT) {
            if (QApplication::overrideCursor() == nullptr) QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
        }
    } else if (property == GwProperty::kFirstVisible && widget != nullptr) {
        if (const Shown* shown = Find(widget); shown != nullptr && shown->adapter != nullptr && shown->widget)
            shown->adapter->Scrolled(widget, shown->widget);
    } else if (widget != nullptr) {
        Sync(widget);
        if (property == GwProperty::kShown && widget->is_frame() && widget->is_shown()) SyncStacking();
    }
    --syncing_;
    if (property == GwProperty::kShown) EndFinishedModals();
}

void Screen::ContentChanged(GwCore* widget, const GwContentChange& change) {
    const Shown* shown = Find(widget);
    if (shown == nullptr || shown->adapter == nullptr || !shown->widget) return;
    Applying applying;
    shown->adapter->Content(widget, shown->widget, &change);
}

void Screen::DrawingChanged(GwCore* widget) {
    const Shown* shown = Find(widget);
    if (shown == nullptr || !shown->widget) return;
    if (auto* view = dynamic_cast<DrawingView*>(shown->widget.data())) view->PictureChanged();
}

void Screen::EffectNoted(const GwEffect& effect) {
    // A popup that program code opens shows where the pointer is.
    if (effect.what == "menu open" && !openingPopup_) {
        GwCore* popup = FromIdentifier(effect.widget);
        if (popup != nullptr && popup->is_class(GwPOPUP_CLASS)) ShowPopup(popup);
    } else if (effect.what == "beep") {
        QApplication::beep();
    } else if (effect.what == "help text" && !effect.value.empty()) {
        // A widget's short help in a small window where the pointer is.
        QToolTip::showText(QCursor::pos(), ToScreen(effect.value));
    }
}

void Screen::ShowPopup(GwCore* popup) {
    const Shown* shown = Find(popup);
    if (shown == nullptr || !shown->menu) return;
    GwAnnounceCreatedWidgets();
    QPointer<QMenu> menu = shown->menu;
    // Shown once the program's callback is done with it.
    QTimer::singleShot(0, menu, [menu] {
        if (menu) menu->popup(QCursor::pos());
    });
}

// --- stacking ------------------------------------------------------------------

void Screen::SyncStacking() {
    // The model's order, each window's own windows above it (as a window
    // manager keeps dialogs above their owner).
    const std::vector<GwCore*> order = GwStackingOrder();
    std::function<void(GwCore*)> raise = [&](GwCore* frame) {
        const Shown* shown = Find(frame);
        if (shown != nullptr && shown->widget && shown->widget->isWindow() && shown->widget->isVisible())
            shown->widget->raise();
        for (GwCore* other : order) {
            if (other != frame && other->owner() != nullptr && other->owner()->frame() == frame) raise(other);
        }
    };
    for (GwCore* frame : order) {
        if (frame->owner() == nullptr || std::find(order.begin(), order.end(), frame->owner()->frame()) == order.end())
            raise(frame);
    }
    GwCore* active = GwActiveWindow();
    const Shown* shown = active != nullptr ? Find(active) : nullptr;
    if (shown != nullptr && shown->widget && shown->widget->isWindow() && shown->widget->isVisible() &&
        !shown->widget->isActiveWindow()) {
        shown->widget->activateWindow();
    }
}

// --- the event loop ----------------------------------------------------------------

void Screen::ArmPump() {
    platform::PumpHook* hook = platform::GetPumpHook();
    std::optional<uint64_t> due = hook != nullptr ? hook->NextDueUs() : GwTimerScheduler::NextDueUs();
    if (!due) {
        pumpTimer_.stop();
        return;
    }
    const uint64_t now = platform::TheClock().NowUs();
    const uint64_t waitMs = *due > now ? (*due - now + 999) / 1000 : 0;
    const int ms = static_cast<int>(std::min<uint64_t>(waitMs, 60000));
    if (!pumpTimer_.isActive() || pumpTimer_.remainingTime() > ms) pumpTimer_.start(ms);
}

void Screen::Pump() {
    // Never the toolkit's pump from inside the toolkit's pump: a callback
    // that waits lets Qt deliver input, but the timers are already running.
    if (inPump_ || inProcessEvents_) {
        pumpTimer_.start(5);
        return;
    }
    {
        FlagScope scope(inPump_);
        GwProcessPendingEvents();
    }
    ArmPump();
}

namespace {

// A window destroyed (or freed) during its run has ended it.
bool ModalDone(GwCore* window) {
    return window == nullptr || !window->is_alive() || window->modal_ended() || !window->is_shown();
}

}  // namespace

void Screen::BeforeWait() {
    EndFinishedModals();
    ArmPump();
}

void Screen::EndFinishedModals() {
    for (const ModalRun& run : modals_) {
        if (ModalDone(run.window.get())) run.loop->quit();
    }
}

void Screen::RunModalLoop(GwCore* window) {
    // A modal run is a loop level of its own: its timers run here even when
    // it was opened from input delivered inside a waiting callback.
    FlagScope pump(inPump_, false);
    FlagScope events(inProcessEvents_, false);
    if (ModalDone(window)) return;
    QEventLoop loop;
    modals_.push_back({window, &loop});
    ArmPump();
    loop.exec();
    modals_.pop_back();
}

void Screen::RunModal(GwCore* window) { RunModalLoop(window); }

int Screen::RunDialog(QDialog& dialog) {
    FlagScope pump(inPump_, false);
    FlagScope events(inProcessEvents_, false);
    dialog.setWindowModality(Qt::ApplicationModal);
    ArmPump();
    return dialog.exec();
}

bool Screen::ProcessEvents() {
    // Program code pumps inside a callback: input and painting go on.
    if (inProcessEvents_) return false;
    FlagScope scope(inProcessEvents_);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return false;
}

}  // namespace screen
