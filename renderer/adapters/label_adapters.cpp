// Labels, pictures and media clips: what the model holds, shown.
#include <QLabel>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_pictures.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_media.h"
#include "toolkit/core/gw_picture.h"

namespace screen {
namespace {

class LabelAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override {
        auto* label = new QLabel(parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        return label;
    }
    void Sync(GwCore* widget, QWidget* q) const override {
        auto* label = static_cast<QLabel*>(q);
        // A label of one line keeps its text on it.
        label->setWordWrap(widget->height() >= 2 * label->fontMetrics().lineSpacing());
        const QString text = ToScreen(widget->text());
        if (label->text() != text) label->setText(text);
    }
};

class PictureAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override {
        auto* label = new QLabel(parent);
        label->setAlignment(Qt::AlignCenter);
        return label;
    }
    void Sync(GwCore* widget, QWidget* q) const override {
        auto* label = static_cast<QLabel*>(q);
        if (auto* picture = dynamic_cast<GwPicture*>(widget)) {
            const QPixmap image = BitmapImage(picture->bitmap());
            if (image.isNull())
                label->clear();
            else
                label->setPixmap(image);
        } else if (auto* media = dynamic_cast<GwMedia*>(widget)) {
            label->setText(ToScreen(media->clip()));
        }
    }
};

}  // namespace

const Adapter& LabelAdapter() { return AdapterInstance<LabelAdapterImpl>(); }

const Adapter& PictureAdapter() { return AdapterInstance<PictureAdapterImpl>(); }

}  // namespace screen
