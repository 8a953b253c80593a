// The Qt widgets of the renderer's own that stand for model widgets where a
// plain Qt widget does not do: a frame's window (close requests and the
// window manager's moves go to the model), and the event filter that hands
// keys, clicks and focus to the model.
#pragma once

#include <QFrame>
#include <QObject>

#include "toolkit/core/gw_ref.h"

class GwCore;

namespace screen {

class FrameWindow : public QFrame {
public:
    FrameWindow(GwCore* model, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    GwRef<> model_;
};

// Keys, clicks on widgets without a click of their own, and focus.
class InputFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

InputFilter* TheInputFilter();

}  // namespace screen
