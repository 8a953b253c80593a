// A drawing widget on the screen: its current picture (the primitives its
// device context recorded) painted with QPainter. A paint request that did
// not come from a new picture asks the model for one (its expose event).
#pragma once

#include <QWidget>
#include <vector>

#include "toolkit/core/gw_ref.h"
#include "toolkit/draw/gw_draw_op.h"

class GwDrawing;
class QPainter;

namespace screen {

QColor ColourOf(const std::string& colour, const QColor& fallback);
void PaintOperations(QPainter& painter, const std::vector<GwDrawOp>& operations);

class DrawingView : public QWidget {
public:
    DrawingView(GwDrawing* model, QWidget* parent);
    // The model has a new picture: paint it without asking for another.
    void PictureChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GwRef<GwDrawing> model_;
    bool pictureFresh_ = false;
    bool exposeQueued_ = false;
};

}  // namespace screen
