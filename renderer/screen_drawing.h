// A drawing widget on the screen: its current picture (the primitives its
// device context recorded) painted with QPainter. A paint request that did
// not come from a new picture asks the model for one (its expose event).
// A picture larger than the widget scrolls: scroll bars along the right and
// bottom edges show the model's scroll range, the picture is drawn from the
// model's scroll position on, and a move of a bar is the user's scroll.
#pragma once

#include <QWidget>
#include <vector>

#include "toolkit/core/gw_ref.h"
#include "toolkit/draw/gw_draw_op.h"

class GwDrawing;
class QPainter;
class QScrollBar;

namespace screen {

QColor ColourOf(const std::string& colour, const QColor& fallback);
void PaintOperations(QPainter& painter, const std::vector<GwDrawOp>& operations);

class DrawingView : public QWidget {
public:
    DrawingView(GwDrawing* model, QWidget* parent);
    // The model has a new picture: paint it without asking for another.
    void PictureChanged();
    // The model's picture size, widget size or scroll position changed.
    void FollowScroll();
    QScrollBar* HorizontalBar() const { return horizontal_; }
    QScrollBar* VerticalBar() const { return vertical_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UserScrolled();

    GwRef<GwDrawing> model_;
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    bool pictureFresh_ = false;
    bool exposeQueued_ = false;
};

}  // namespace screen
