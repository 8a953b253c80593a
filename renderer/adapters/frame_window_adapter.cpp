// An application or dialog frame: a window of its own, above its owner's
// window. The model's title, icon, rectangle, frame state and modality show
// on it; a maximised window takes what the window manager gives it.
#include <QIcon>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_fonts.h"
#include "renderer/screen_pictures.h"
#include "renderer/screen_text.h"
#include "renderer/screen_views.h"
#include "toolkit/core/gw_core.h"

namespace screen {
namespace {

class FrameWindowAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore* widget, QWidget* parent) const override { return new FrameWindow(widget, parent); }
    bool PlacedInParent() const override { return false; }

    void Sync(GwCore* widget, QWidget* q) const override {
        q->setWindowTitle(ToScreen(widget->title()));
        q->setEnabled(widget->is_enabled() && !widget->is_waiting());
        q->setFont(FontOf(widget));
        if (!widget->icon().empty()) {
            const QPixmap icon = BitmapImage(widget->icon());
            if (!icon.isNull()) q->setWindowIcon(QIcon(icon));
        }
        // A maximised window takes what the window manager gives it (inside
        // its frame and title); the model hears the size from the resize.
        const bool maximized = widget->frame_state() == GwSTATE_MAXIMIZED;
        const QRect r = ToQRect(widget->rect());
        if (!maximized && q->geometry() != r) q->setGeometry(r);
        const bool visible = widget->is_shown() && widget->frame_state() != GwSTATE_MINIMIZED;
        if (visible && !q->isVisible()) {
            const bool modal =
                widget->is_class(GwDIALOGFRAME_CLASS) && (widget->in_modal_run() || widget->modality() > 0);
            q->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
            if (maximized) {
                q->showMaximized();
            } else {
                q->show();
                q->setGeometry(r);
            }
        } else if (!visible && q->isVisible()) {
            q->hide();
        } else if (visible && maximized != q->isMaximized()) {
            if (maximized)
                q->showMaximized();
            else
                q->showNormal();
        }
    }
};

}  // namespace

const Adapter& FrameWindowAdapter() { return AdapterInstance<FrameWindowAdapterImpl>(); }

}  // namespace screen
