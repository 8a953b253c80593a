#include "renderer/screen_drawing.h"

#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>

#include "renderer/screen_act.h"
#include "renderer/screen_fonts.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_colour.h"
#include "toolkit/draw/gw_drawing.h"

namespace screen {
namespace {

QRect ToQRect(const GwRect& r) { return QRect(r.x, r.y, r.width, r.height); }

QPen PenOf(const GwPen& pen) {
    QPen out(ColourOf(pen.colour, Qt::black));
    out.setWidth(pen.width > 0 ? pen.width : 1);
    out.setStyle(pen.style == GwLINE_BROKEN ? Qt::DashLine : Qt::SolidLine);
    return out;
}

int AlignmentOf(int align) {
    switch (align) {
        case GwALIGN_RIGHT:
            return Qt::AlignRight;
        case GwALIGN_CENTER:
            return Qt::AlignHCenter;
        default:
            return Qt::AlignLeft;
    }
}

void PaintText(QPainter& painter, const GwDrawOp& op) {
    painter.setFont(DrawingFont(op.font.face, op.font.height));
    painter.setPen(ColourOf(op.colour, Qt::black));
    const QString text = ToScreen(op.text);
    if (op.kind == GwDrawKind::kTextBox) {
        if (!op.background.empty()) painter.fillRect(ToQRect(op.rect), ColourOf(op.background, Qt::white));
        painter.drawText(ToQRect(op.rect), AlignmentOf(op.align) | Qt::AlignVCenter | Qt::TextWordWrap, text);
        return;
    }
    if (op.points.empty()) return;
    // The anchor is the text's top edge at its left, right or centre.
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text);
    int x = op.points[0].x;
    if (op.align == GwALIGN_RIGHT) x -= width;
    if (op.align == GwALIGN_CENTER) x -= width / 2;
    const QRect box(x, op.points[0].y, width, metrics.height());
    if (!op.background.empty()) painter.fillRect(box, ColourOf(op.background, Qt::white));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace

QColor ColourOf(const std::string& colour, const QColor& fallback) {
    if (auto rgb = GwColourToRgb(colour)) return QColor(rgb->red, rgb->green, rgb->blue);
    return fallback;
}

void PaintOperations(QPainter& painter, const std::vector<GwDrawOp>& operations) {
    for (const GwDrawOp& op : operations) {
        if (op.clip) {
            painter.setClipRect(ToQRect(*op.clip));
        } else {
            painter.setClipping(false);
        }
        switch (op.kind) {
            case GwDrawKind::kLine:
                if (op.points.size() >= 2) {
                    painter.setPen(PenOf(op.pen));
                    painter.drawLine(op.points[0].x, op.points[0].y, op.points[1].x, op.points[1].y);
                }
                break;
            case GwDrawKind::kPolyline: {
                painter.setPen(PenOf(op.pen));
                QPolygon polygon;
                for (const GwPosition& p : op.points) polygon << QPoint(p.x, p.y);
                painter.drawPolyline(polygon);
                break;
            }
            case GwDrawKind::kFrame:
                painter.setPen(PenOf(op.pen));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(ToQRect(op.rect).adjusted(0, 0, -1, -1));
                break;
            case GwDrawKind::kFill:
                painter.fillRect(ToQRect(op.rect), ColourOf(op.colour, Qt::white));
                break;
            case GwDrawKind::kText:
            case GwDrawKind::kTextBox:
                PaintText(painter, op);
                break;
            case GwDrawKind::kBitmap: {
                const QPixmap image(ToScreen(GwRcMgr::bitmap_image(op.text)));
                if (!image.isNull()) painter.drawPixmap(ToQRect(op.rect), image);
                break;
            }
            case GwDrawKind::kClip:
            case GwDrawKind::kLiftClip:
                break;
        }
    }
    painter.setClipping(false);
}

DrawingView::DrawingView(GwDrawing* model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      horizontal_(new QScrollBar(Qt::Horizontal, this)),
      vertical_(new QScrollBar(Qt::Vertical, this)) {
    setAutoFillBackground(true);
    horizontal_->setObjectName("horizontal");
    vertical_->setObjectName("vertical");
    horizontal_->hide();
    vertical_->hide();
    QObject::connect(horizontal_, &QScrollBar::valueChanged, this, [this] { UserScrolled(); });
    QObject::connect(vertical_, &QScrollBar::valueChanged, this, [this] { UserScrolled(); });
}

void DrawingView::UserScrolled() {
    // The model clamps the position and tells it back (FollowScroll).
    Act(model_, [&] { model_->user_scroll({horizontal_->value(), vertical_->value()}); });
}

void DrawingView::FollowScroll() {
    if (model_ == nullptr) return;
    Screen::Applying applying;
    const GwDimension range = model_->scroll_range();
    const GwPosition at = model_->scroll_position();
    const int thickness = vertical_->sizeHint().width();
    horizontal_->setRange(0, range.width);
    horizontal_->setPageStep(std::max(width(), 1));
    horizontal_->setSingleStep(16);
    horizontal_->setValue(at.x);
    vertical_->setRange(0, range.height);
    vertical_->setPageStep(std::max(height(), 1));
    vertical_->setSingleStep(16);
    vertical_->setValue(at.y);
    const bool across = range.width > 0;
    const bool down = range.height > 0;
    horizontal_->setGeometry(0, height() - thickness, width() - (down ? thickness : 0), thickness);
    vertical_->setGeometry(width() - thickness, 0, thickness, height() - (across ? thickness : 0));
    horizontal_->setVisible(across);
    vertical_->setVisible(down);
    update();
}

void DrawingView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FollowScroll();
}

void DrawingView::PictureChanged() {
    pictureFresh_ = true;
    update();
}

void DrawingView::paintEvent(QPaintEvent*) {
    if (model_ == nullptr) return;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // The part of the picture from the scroll position on.
    const GwPosition at = model_->scroll_position();
    painter.translate(-at.x, -at.y);
    PaintOperations(painter, model_->device_context()->operations());
    if (pictureFresh_) {
        pictureFresh_ = false;
        return;
    }
    // The window system asked for paint (exposed, uncovered): the model
    // draws a fresh picture outside this paint event, which is then painted.
    if (exposeQueued_) return;
    exposeQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        exposeQueued_ = false;
        if (model_ != nullptr && model_->is_visible()) model_->expose();
    });
}

}  // namespace screen
