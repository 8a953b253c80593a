// Edits: a one-line edit edits natively (caret, selection, Home, End, copy
// and paste are the line edit's own) and hands its whole text to the model,
// which applies its format and limits; a multi-line text shows the model's.
#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_edit.h"

namespace screen {
namespace {

// The line edit of a model edit. It remembers the cursor and select-all
// state the model last put on it, so a sync puts on it only what the
// program set, never the model's cursor over the user's caret.
class ModelLineEdit : public QLineEdit {
public:
    ModelLineEdit(GwEdit* edit, QWidget* parent) : QLineEdit(parent), edit_(edit) {}

    int markedCursor = -1;
    bool markedAll = false;

    // The unit drawn at the right end, outside the text's margin.
    void SetSuffix(const QString& suffix) {
        if (suffix == suffix_) return;
        suffix_ = suffix;
        const int width = suffix_.isEmpty() ? 0 : fontMetrics().horizontalAdvance(suffix_) + 2 * kSuffixGap;
        setTextMargins(0, 0, width, 0);
        update();
    }
    const QString& Suffix() const { return suffix_; }

protected:
    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        if (suffix_.isEmpty()) return;
        QPainter painter(this);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::PlaceholderText));
        const QRect area = rect().adjusted(0, 0, -kSuffixGap - 2, 0);
        painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, suffix_);
    }

    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        // Leaving for another widget of ours reaches the model through the
        // widget that takes the focus.
    }

private:
    static constexpr int kSuffixGap = 4;
    GwRef<GwEdit> edit_;
    QString suffix_;
};

class LineEditAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore* widget, QWidget* parent) const override {
        return new ModelLineEdit(static_cast<GwEdit*>(widget), parent);
    }

    void Connect(GwCore* widget, QWidget* q) const override {
        auto* line = static_cast<ModelLineEdit*>(q);
        QObject::connect(
            line, &QLineEdit::textEdited, [line, edit = GwRef(static_cast<GwEdit*>(widget))](const QString& text) {
                Act(edit, [&] { edit->user_edit(FromScreen(text), static_cast<int>(line->cursorPosition())); });
                // What the model refused or put in its own form shows as the
                // model has it.
                if (edit != nullptr && line->text() != ToScreen(edit->text())) {
                    Screen::Applying applying;
                    line->setText(ToScreen(edit->text()));
                    line->setCursorPosition(edit->cursor_position());
                }
            });
    }

    void Sync(GwCore* widget, QWidget* q) const override {
        auto* edit = static_cast<GwEdit*>(widget);
        auto* line = static_cast<ModelLineEdit*>(q);
        line->setEchoMode(edit->is_password() ? QLineEdit::Password : QLineEdit::Normal);
        line->setReadOnly(edit->is_read_only());
        line->SetSuffix(ToScreen(edit->suffix()));
        const QString own = ToScreen(edit->text());
        if (line->text() != own) {
            line->setText(own);
            line->markedCursor = -1;
            line->markedAll = false;
        }
        const int cursor = edit->cursor_position();
        const bool all = edit->all_selected();
        if (line->markedCursor != cursor || line->markedAll != all) {
            if (all)
                line->selectAll();
            else
                line->setCursorPosition(std::min(cursor, static_cast<int>(own.size())));
            line->markedCursor = cursor;
            line->markedAll = all;
        }
    }
};

class TextAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override { return new QPlainTextEdit(parent); }
    void Sync(GwCore* widget, QWidget* q) const override {
        auto* plain = static_cast<QPlainTextEdit*>(q);
        if (auto* edit = dynamic_cast<GwEdit*>(widget)) plain->setReadOnly(edit->is_read_only());
        const QString text = ToScreen(widget->text());
        if (plain->toPlainText() != text) plain->setPlainText(text);
    }
};

}  // namespace

const Adapter& LineEditAdapter() { return AdapterInstance<LineEditAdapterImpl>(); }

const Adapter& TextAdapter() { return AdapterInstance<TextAdapterImpl>(); }

}  // namespace screen
