// Model to screen: a Qt widget for every model widget, kept up to date from
// the model's state.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <cmath>
#include <functional>

#include "renderer/screen_drawing.h"
#include "renderer/screen_fonts.h"
#include "renderer/screen_list_model.h"
#include "renderer/screen_renderer.h"
#include "renderer/screen_text.h"
#include "renderer/screen_views.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_media.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_scrolled_container.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_toggle_list.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/docking/gw_tab_book.h"
#include "toolkit/draw/gw_bitmap.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/menus/gw_menu_item.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/tree/gw_tree.h"

namespace screen {

// Height of the tab row of a tab book and of a docking frame's caption.
constexpr int kTabRowHeight = 24;
constexpr int kToolWidth = 28;
constexpr int kSliderSteps = 1000;

QPixmap BitmapImage(const std::string& name) {
    if (name.empty()) return QPixmap();
    return QPixmap(ToScreen(GwRcMgr::bitmap_image(name)));
}

namespace {

QRect ToQRect(const GwRect& r) { return QRect(r.x, r.y, std::max(r.width, 0), std::max(r.height, 0)); }

bool IsMenuKind(const GwCore* w) {
    return w->is_class(GwMENU_CLASS) || w->is_class(GwPOPUP_CLASS) || w->is_class(GwMENUITEM_CLASS) ||
           w->is_class(GwTOGGLEITEM_CLASS);
}

// Slider values as steps of a QSlider.
int ToSteps(const GwSlider* s, double value) {
    const double span = s->end() - s->start();
    if (span == 0) return 0;
    return static_cast<int>(std::lround((value - s->start()) / span * kSliderSteps));
}

}  // namespace

double FromSteps(const GwSlider* s, int steps) { return s->start() + (s->end() - s->start()) * steps / kSliderSteps; }

QWidget* Screen::ParentWidgetFor(GwCore* widget) {
    GwCore* parent = widget->parent();
    if (parent == nullptr) return nullptr;
    if (widget->is_frame()) {
        // A frame owned by another stays above its owner's window.
        GwCore* owner = parent->frame();
        const Shown* shown = owner != nullptr ? Find(owner) : nullptr;
        return shown != nullptr ? shown->widget.data() : nullptr;
    }
    const Shown* shown = Find(parent);
    if (shown == nullptr) return nullptr;
    return shown->inner ? shown->inner.data() : shown->widget.data();
}

void Screen::Create(GwCore* widget) {
    if (shown_.count(widget) != 0) return;
    Shown shown;
    GwCore* parent = widget->parent();
    const Shown* parentShown = parent != nullptr ? Find(parent) : nullptr;

    if (IsMenuKind(widget) && !widget->is_class(GwPOPUP_CLASS)) {
        // Menus and items are entries of the menu bar or menu above them.
        QMenu* parentMenu = parentShown != nullptr ? parentShown->menu.data() : nullptr;
        auto* bar = parentShown != nullptr ? qobject_cast<QMenuBar*>(parentShown->widget.data()) : nullptr;
        if (parentMenu == nullptr && bar == nullptr) {
            shown_[widget] = shown;
            return;
        }
        if (widget->is_class(GwMENU_CLASS)) {
            auto* menu = new QMenu(bar != nullptr ? static_cast<QWidget*>(bar) : parentMenu);
            shown.menu = menu;
            shown.action = bar != nullptr ? bar->addMenu(menu) : parentMenu->addMenu(menu);
        } else if (static_cast<GwMenuItem*>(widget)->is_separator()) {
            shown.action = parentMenu != nullptr ? parentMenu->addSeparator() : bar->addSeparator();
        } else {
            shown.action = new QAction(parentMenu != nullptr ? static_cast<QObject*>(parentMenu) : bar);
            if (parentMenu != nullptr)
                parentMenu->addAction(shown.action);
            else
                bar->addAction(shown.action);
        }
        shown_[widget] = shown;
        Connect(widget, shown_[widget]);
        Sync(widget);
        // The bar is as high as its titles need.
        if (bar != nullptr) Sync(parent);
        return;
    }
    if (parent != nullptr && parent->is_class(GwTOGGLELIST_CLASS)) {
        // The rows of a toggle list are items of its list.
        shown_[widget] = shown;
        Sync(parent);
        return;
    }
    if (widget->is_class(GwPOPUP_CLASS)) {
        auto* menu = new QMenu();
        shown.menu = menu;
        shown.widget = menu;
        models_[menu] = widget;
        shown_[widget] = shown;
        Connect(widget, shown_[widget]);
        return;
    }

    QWidget* parentWidget = ParentWidgetFor(widget);
    QWidget* q = nullptr;
    if (widget->is_class(GwDOCKINGFRAME_CLASS)) {
        // Not a top-level window: a pane of the main window's docking areas.
        q = CreateDockingFrame(widget, &shown);
    } else if (widget->is_frame() || parent == nullptr) {
        q = new FrameWindow(widget, parentWidget);
    } else {
        switch (widget->kind()) {
            case GwLABEL_CLASS: {
                auto* label = new QLabel(parentWidget);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setWordWrap(true);
                q = label;
                break;
            }
            case GwEDIT_CLASS:
            case GwFORMATEDIT_CLASS:
                q = new QLineEdit(parentWidget);
                break;
            case GwTEXT_CLASS:
                q = new QPlainTextEdit(parentWidget);
                break;
            case GwPUSHBUTTON_CLASS:
                q = new QPushButton(parentWidget);
                break;
            case GwTOGGLE_CLASS:
            case GwCHECK_CLASS:
            case GwRADIO_CLASS: {
                auto* toggle = static_cast<GwToggle*>(widget);
                QAbstractButton* button = toggle->is_radio()
                                              ? static_cast<QAbstractButton*>(new QRadioButton(parentWidget))
                                              : new QCheckBox(parentWidget);
                button->setAutoExclusive(false);
                q = button;
                break;
            }
            case GwTOGGLELIST_CLASS:
            case GwSELECTIONLIST_CLASS:
                q = new QListWidget(parentWidget);
                break;
            case GwSLIDER_CLASS: {
                auto* slider =
                    new QSlider(widget->width() >= widget->height() ? Qt::Horizontal : Qt::Vertical, parentWidget);
                slider->setRange(0, kSliderSteps);
                q = slider;
                break;
            }
            case GwGAUGE_CLASS:
            case GwPROGRESS_CLASS: {
                auto* bar = new QProgressBar(parentWidget);
                bar->setRange(0, kSliderSteps);
                bar->setTextVisible(false);
                q = bar;
                break;
            }
            case GwPICTURE_CLASS:
            case GwMEDIA_CLASS: {
                auto* label = new QLabel(parentWidget);
                label->setAlignment(Qt::AlignCenter);
                q = label;
                break;
            }
            case GwMULTILIST_CLASS: {
                auto* view = new QTreeView(parentWidget);
                view->setRootIsDecorated(false);
                view->setUniformRowHeights(true);
                view->setAllColumnsShowFocus(true);
                view->setSelectionBehavior(QAbstractItemView::SelectRows);
                view->setEditTriggers(QAbstractItemView::NoEditTriggers);
                auto* list = static_cast<GwMultiList*>(widget);
                view->setModel(new ListModel(list, view));
                view->setHeaderHidden(list->column_count() == 0);
                for (int c = 0; c < list->column_count(); ++c) view->setColumnWidth(c, list->column_width(c));
                if (list->sort_column() >= 0) {
                    view->header()->setSortIndicatorShown(true);
                    view->header()->setSortIndicator(list->sort_column(), Qt::AscendingOrder);
                }
                q = view;
                break;
            }
            case GwCOMBO_CLASS:
                q = new QComboBox(parentWidget);
                break;
            case GwMENUBAR_CLASS: {
                // The bar keeps the model's height: its titles sit tight.
                auto* bar = new QMenuBar(parentWidget);
                bar->setStyleSheet("QMenuBar { padding: 0px; } QMenuBar::item { padding: 1px 6px; }");
                q = bar;
                break;
            }
            case GwTOOLBAR_CLASS:
                q = new QWidget(parentWidget);
                break;
            case GwTOOL_CLASS: {
                auto* tool = new QToolButton(parentWidget);
                tool->setAutoRaise(true);
                q = tool;
                break;
            }
            case GwTABBOOK_CLASS: {
                auto* book = new QWidget(parentWidget);
                auto* bar = new QTabBar(book);
                bar->setObjectName("tabs");
                q = book;
                break;
            }
            case GwTREE_CLASS: {
                auto* tree = new QTreeWidget(parentWidget);
                tree->setHeaderHidden(true);
                tree->setContextMenuPolicy(Qt::CustomContextMenu);
                q = tree;
                break;
            }
            case GwSPREADSHEET_CLASS: {
                auto* table = new QTableWidget(parentWidget);
                table->horizontalHeader()->hide();
                table->verticalHeader()->hide();
                table->setEditTriggers(QAbstractItemView::NoEditTriggers);
                q = table;
                break;
            }
            case GwSCROLLEDCONTAINER_CLASS: {
                auto* box = new QWidget(parentWidget);
                auto* bar = new QScrollBar(Qt::Vertical, box);
                bar->setObjectName("scroll");
                q = box;
                break;
            }
            case GwDRAWING_CLASS:
                q = new DrawingView(static_cast<GwDrawing*>(widget), parentWidget);
                break;
            case GwOLECONTROL_CLASS:
                // A control is invisible at run time.
                q = new QWidget(parentWidget);
                q->setAttribute(Qt::WA_DontShowOnScreen);
                break;
            default: {
                auto* plain = new QFrame(parentWidget);
                if (auto* container = dynamic_cast<GwContainer*>(widget); container != nullptr && container->border() &&
                                                                          widget->is_class(GwCONTAINER_CLASS) &&
                                                                          !widget->is_class(GwDOCKINGCONTAINER_CLASS)) {
                    plain->setFrameShape(QFrame::NoFrame);
                }
                // A docking region holds panes only in the model; its widget
                // never takes a click meant for what lies under it.
                if (widget->is_class(GwDOCKINGREGION_CLASS)) plain->setAttribute(Qt::WA_TransparentForMouseEvents);
                q = plain;
                break;
            }
        }
    }
    shown.widget = q;
    models_[q] = widget;
    q->installEventFilter(TheInputFilter());
    shown_[widget] = shown;
    Connect(widget, shown_[widget]);
    Sync(widget);
    if (widget->is_class(GwCOMBO_CLASS) || widget->is_class(GwTREE_CLASS) || widget->is_class(GwMULTILIST_CLASS)) {
        SyncContent(widget, shown_[widget]);
        ScrollToFirstVisible(widget);
    }
    if (parent != nullptr && parent->is_class(GwTOOLBAR_CLASS)) LayoutTools(parent);
    // Menu bars and toolbars stay above a work area that the program lays
    // over the whole client area.
    if (parent != nullptr) {
        for (GwCore* sibling : parent->children()) {
            const Shown* other =
                (sibling->is_class(GwMENUBAR_CLASS) || sibling->is_class(GwTOOLBAR_CLASS)) ? Find(sibling) : nullptr;
            if (other != nullptr && other->widget) other->widget->raise();
        }
    }
    if (parent != nullptr && parent->is_class(GwTABBOOK_CLASS)) Sync(parent);
}

void Screen::Sync(GwCore* widget) {
    auto it = shown_.find(widget);
    if (it == shown_.end()) return;
    ++syncing_;
    const Shown& shown = it->second;
    if (shown.action) {
        SyncMenuEntry(widget, shown);
    } else if (widget->parent() != nullptr && widget->parent()->is_class(GwTOGGLELIST_CLASS)) {
        Sync(widget->parent());
    } else if (shown.widget && widget->is_class(GwDOCKINGFRAME_CLASS)) {
        SyncDockingFrame(widget, shown);
    } else if (shown.widget) {
        SyncKind(widget, shown);
        if (shown.widget->isWindow() && !widget->is_class(GwPOPUP_CLASS)) {
            SyncFrame(widget, shown.widget);
        } else if (!widget->is_class(GwPOPUP_CLASS)) {
            SyncCommon(widget, shown.widget);
        }
        if (widget->is_class(GwDOCKINGCONTAINER_CLASS)) LayoutDockingAreas(widget);
    }
    --syncing_;
}

void Screen::SyncMenuEntry(GwCore* widget, const Shown& shown) {
    QAction* action = shown.action;
    if (!widget->name().empty()) action->setText(ToScreen(widget->text()));
    action->setVisible(widget->is_shown());
    action->setEnabled(widget->is_enabled());
    if (auto* toggle = dynamic_cast<GwToggleItem*>(widget)) {
        action->setCheckable(true);
        action->setChecked(toggle->value() != 0);
    }
    if (!widget->tip_text().empty()) action->setToolTip(ToScreen(widget->tip_text()));
}

void Screen::SyncCommon(GwCore* widget, QWidget* q) {
    // Moved under another parent (set_parent): the Qt widget follows.
    QWidget* parent = ParentWidgetFor(widget);
    if (parent != nullptr && parent != q->parentWidget()) q->setParent(parent, Qt::Widget);
    q->setFont(FontOf(widget));
    if (!(widget->parent() != nullptr && widget->parent()->is_class(GwTOOLBAR_CLASS) &&
          widget->is_class(GwTOOL_CLASS))) {
        const QRect r = Place(widget, q);
        if (q->geometry() != r) q->setGeometry(r);
    }
    q->setEnabled(widget->is_enabled());
    q->setToolTip(ToScreen(widget->tip_text()));
    // "default" leaves the desktop's own colours.
    QPalette palette = q->palette();
    const QColor fg = widget->foreground() == "default" ? QColor() : ColourOf(widget->foreground(), QColor());
    const QColor bg = widget->background() == "default" ? QColor() : ColourOf(widget->background(), QColor());
    if (fg.isValid()) palette.setColor(QPalette::WindowText, fg), palette.setColor(QPalette::Text, fg);
    if (bg.isValid()) {
        palette.setColor(QPalette::Window, bg);
        palette.setColor(QPalette::Base, bg);
        q->setAutoFillBackground(true);
    }
    q->setPalette(palette);
    bool visible = widget->is_shown();
    if (widget->parent() != nullptr && widget->parent()->is_class(GwTABBOOK_CLASS)) {
        visible = visible && static_cast<GwTabBook*>(widget->parent())->active_page() == widget;
    }
    if (q->isVisibleTo(q->parentWidget()) != visible || q->isHidden() == visible) q->setVisible(visible);
    if (widget->has_focus() && !q->hasFocus() && q->isVisible()) q->setFocus();
}

void Screen::SyncFrame(GwCore* widget, QWidget* q) {
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
    QRect r = ToQRect(widget->rect());
    if (!maximized && q->geometry() != r) q->setGeometry(r);
    const bool visible = widget->is_shown() && widget->frame_state() != GwSTATE_MINIMIZED;
    if (visible && !q->isVisible()) {
        const bool modal = widget->is_class(GwDIALOGFRAME_CLASS) && (widget->in_modal_run() || widget->modality() > 0);
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

void Screen::LayoutTools(GwCore* toolbar) {
    int x = 0;
    for (GwCore* child : toolbar->children()) {
        const Shown* shown = Find(child);
        if (shown == nullptr || !shown->widget || !child->is_class(GwTOOL_CLASS)) continue;
        if (!child->is_shown()) continue;
        // A tool is as wide as its picture or its text needs.
        const int width = std::max(kToolWidth - 2, shown->widget->sizeHint().width());
        shown->widget->setGeometry(x, 2, width, std::max(toolbar->height() - 4, 8));
        x += width + 2;
    }
}

void Screen::SyncKind(GwCore* widget, const Shown& shown) {
    QWidget* q = shown.widget;
    const QString text = ToScreen(widget->text());
    if (auto* label = qobject_cast<QLabel*>(q); label != nullptr && widget->is_class(GwLABEL_CLASS)) {
        // A label of one line keeps its text on it.
        label->setWordWrap(widget->height() >= 2 * label->fontMetrics().lineSpacing());
        if (label->text() != text) label->setText(text);
    } else if (auto* picture = dynamic_cast<GwPicture*>(widget)) {
        auto* label = static_cast<QLabel*>(q);
        const QPixmap image = BitmapImage(picture->bitmap());
        if (image.isNull())
            label->clear();
        else
            label->setPixmap(image);
    } else if (auto* media = dynamic_cast<GwMedia*>(widget)) {
        static_cast<QLabel*>(q)->setText(ToScreen(media->clip()));
    } else if (auto* edit = dynamic_cast<GwEdit*>(widget)) {
        if (auto* line = qobject_cast<QLineEdit*>(q)) {
            line->setEchoMode(edit->is_password() ? QLineEdit::Password : QLineEdit::Normal);
            line->setReadOnly(edit->is_read_only());
            const QString own = ToScreen(edit->text());
            // The caret and selection are the line edit's own; only what the
            // program set (a text, a cursor, select all) is put on it.
            EditMark& mark = editMarks_[widget];
            const EditMark now{edit->cursor_position(), edit->all_selected()};
            if (line->text() != own) {
                line->setText(own);
                mark = EditMark{-1, false};
            }
            if (mark.cursor != now.cursor || mark.all != now.all) {
                if (now.all)
                    line->selectAll();
                else
                    line->setCursorPosition(std::min(now.cursor, static_cast<int>(own.size())));
                mark = now;
            }
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(q)) {
            plain->setReadOnly(edit->is_read_only());
            if (plain->toPlainText() != text) plain->setPlainText(text);
        }
    } else if (widget->is_class(GwPUSHBUTTON_CLASS)) {
        auto* button = static_cast<QPushButton*>(q);
        button->setText(text);
        GwCore* frame = widget->frame();
        button->setDefault(frame != nullptr && frame->default_button() == widget);
    } else if (auto* toggle = dynamic_cast<GwToggle*>(widget)) {
        auto* button = static_cast<QAbstractButton*>(q);
        button->setText(text);
        button->setChecked(toggle->is_checked());
    } else if (auto* slider = dynamic_cast<GwSlider*>(widget)) {
        if (auto* s = qobject_cast<QSlider*>(q)) s->setValue(ToSteps(slider, slider->value()));
        if (auto* bar = qobject_cast<QProgressBar*>(q)) bar->setValue(ToSteps(slider, slider->value()));
    } else if (widget->is_class(GwTOOL_CLASS)) {
        auto* tool = static_cast<QToolButton*>(q);
        // Its picture at the size its definition declares; a tool without
        // one shows its whole text.
        const QPixmap icon = BitmapImage(widget->icon().empty() ? widget->name() : widget->icon());
        const std::string caption = !widget->text().empty() ? widget->text() : widget->tip_text();
        if (!icon.isNull()) {
            tool->setIcon(QIcon(icon));
            tool->setIconSize(icon.size());
            tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
        } else {
            tool->setText(ToScreen(caption));
            tool->setToolButtonStyle(Qt::ToolButtonTextOnly);
        }
        tool->setToolTip(ToScreen(!widget->tip_text().empty() ? widget->tip_text() : caption));
    } else if (widget->is_class(GwTOOLBAR_CLASS)) {
        LayoutTools(widget);
    } else if (widget->is_class(GwTABBOOK_CLASS) || widget->is_class(GwSCROLLEDCONTAINER_CLASS) ||
               widget->is_class(GwTOGGLELIST_CLASS) || widget->is_class(GwSPREADSHEET_CLASS)) {
        SyncContent(widget, shown);
    } else if (widget->is_class(GwMULTILIST_CLASS) || widget->is_class(GwCOMBO_CLASS) ||
               widget->is_class(GwTREE_CLASS)) {
        // Selection, focus or state: the rows stay as they are.
        SyncSelection(widget, shown);
    }
}

void Screen::SyncContent(GwCore* widget, const Shown& shown, const GwContentChange* change) {
    QWidget* q = shown.widget;
    if (q == nullptr) return;
    ++syncing_;
    if (dynamic_cast<GwMultiList*>(widget) != nullptr) {
        auto* view = static_cast<QTreeView*>(q);
        auto* model = static_cast<ListModel*>(view->model());
        if (change != nullptr)
            model->Apply(*change);
        else
            model->Reload();
        SyncSelection(widget, shown);
    } else if (auto* combo = dynamic_cast<GwCombo*>(widget)) {
        if (auto* box = qobject_cast<QComboBox*>(q)) {
            box->clear();
            for (int i = 0; i < combo->count(); ++i) box->addItem(ToScreen(combo->item_text(i)));
            box->setCurrentIndex(combo->first_selected());
            box->setMaxVisibleItems(std::max(combo->visible_items(), 1));
            if (combo->first_selected() < 0 && !combo->text().empty()) {
                box->setEditable(true);
                box->setEditText(ToScreen(combo->text()));
            }
        } else if (auto* view = qobject_cast<QListWidget*>(q)) {
            view->clear();
            view->setSelectionMode(combo->multiple_selection() ? QAbstractItemView::MultiSelection
                                                               : QAbstractItemView::SingleSelection);
            for (int i = 0; i < combo->count(); ++i) {
                auto* item = new QListWidgetItem(ToScreen(combo->item_text(i)), view);
                item->setSelected(combo->is_selected(i));
            }
        }
    } else if (auto* rows = dynamic_cast<GwToggleList*>(widget)) {
        auto* view = static_cast<QListWidget*>(q);
        view->clear();
        for (int i = 0; i < rows->row_count(); ++i) {
            auto* item = new QListWidgetItem(ToScreen(rows->item_text(i)), view);
            item->setFlags(Qt::ItemIsUserCheckable | (rows->item_enabled(i) ? Qt::ItemIsEnabled : Qt::NoItemFlags));
            item->setCheckState(rows->item_on(i) ? Qt::Checked : Qt::Unchecked);
        }
    } else if (auto* tree = dynamic_cast<GwTree*>(widget)) {
        auto* view = static_cast<QTreeWidget*>(q);
        if (change != nullptr &&
            (change->kind == GwContentKind::kEntrySelected || change->kind == GwContentKind::kEntryExpanded)) {
            SyncSelection(widget, shown);
            --syncing_;
            return;
        }
        view->clear();
        std::function<void(GwTreeEntry*, QTreeWidgetItem*)> add = [&](GwTreeEntry* entry, QTreeWidgetItem* item) {
            for (GwTreeEntry* child : entry->children()) {
                auto* childItem = item != nullptr ? new QTreeWidgetItem(item) : new QTreeWidgetItem(view);
                childItem->setText(0, ToScreen(child->text()));
                childItem->setData(0, Qt::UserRole, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(child)));
                if (GwBitmap* bitmap = child->bitmap()) {
                    const QPixmap image = BitmapImage(bitmap->name());
                    if (!image.isNull()) childItem->setIcon(0, QIcon(image));
                }
                if (!child->font().empty()) {
                    GwFontInfo info;
                    GwRcMgr::font(child->font(), &info);
                    childItem->setFont(0, QFont(InstalledFace(info.face), info.points));
                }
                add(child, childItem);
                childItem->setExpanded(child->is_shown());
                if (child == tree->selected_entry()) childItem->setSelected(true);
            }
        };
        if (GwTreeEntry* root = tree->entries()) add(root, nullptr);
    } else if (auto* sheet = dynamic_cast<GwSpreadSheet*>(widget)) {
        auto* table = static_cast<QTableWidget*>(q);
        table->setRowCount(sheet->row_count());
        table->setColumnCount(sheet->column_count());
        for (int c = 0; c < sheet->column_count(); ++c) table->setColumnWidth(c, sheet->column_width(c));
        for (int r = 0; r < sheet->row_count(); ++r) {
            table->setRowHeight(r, kGwSheetRowHeight);
            for (int c = 0; c < sheet->column_count(); ++c) {
                auto* item = table->item(r, c);
                if (item == nullptr) {
                    item = new QTableWidgetItem;
                    table->setItem(r, c, item);
                }
                item->setText(ToScreen(sheet->contents(r, c)));
                const bool title = r < sheet->title_rows() || c < sheet->title_columns();
                item->setBackground(title ? table->palette().button() : table->palette().base());
            }
        }
        int row = -1, column = -1;
        if (sheet->current_cell(&row, &column)) table->setCurrentCell(row, column);
        if (sheet->first_visible_row() > 0 && sheet->first_visible_row() < sheet->row_count())
            table->scrollToItem(table->item(sheet->first_visible_row(), 0), QAbstractItemView::PositionAtTop);
    } else if (auto* book = dynamic_cast<GwTabBook*>(widget)) {
        auto* bar = q->findChild<QTabBar*>("tabs", Qt::FindDirectChildrenOnly);
        while (bar->count() > 0) bar->removeTab(0);
        int current = -1;
        for (GwCore* page : book->children()) {
            if (!book->is_page_included(page)) continue;
            const int index = bar->addTab(ToScreen(page->text()));
            bar->setTabData(index, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(page)));
            if (page == book->active_page()) current = index;
        }
        bar->setCurrentIndex(current);
        bar->setGeometry(0, 0, widget->width(), kTabRowHeight);
        for (GwCore* page : book->children()) {
            if (const Shown* pageShown = Find(page); pageShown != nullptr && pageShown->widget)
                pageShown->widget->setVisible(page->is_shown() && page == book->active_page());
        }
    } else if (auto* scrolled = dynamic_cast<GwScrolledContainer*>(widget)) {
        auto* bar = q->findChild<QScrollBar*>("scroll", Qt::FindDirectChildrenOnly);
        const int range = std::max(scrolled->item_count() - scrolled->visible_count(), 0);
        bar->setRange(0, range);
        bar->setPageStep(std::max(scrolled->visible_count(), 1));
        bar->setValue(scrolled->first_visible());
        bar->setGeometry(widget->width() - 16, 0, 16, widget->height());
        bar->setVisible(range > 0);
        bar->raise();
    }
    --syncing_;
}

void Screen::SyncSelection(GwCore* widget, const Shown& shown) {
    QWidget* q = shown.widget;
    if (q == nullptr) return;
    ++syncing_;
    if (auto* list = dynamic_cast<GwMultiList*>(widget)) {
        auto* view = static_cast<QTreeView*>(q);
        view->setSelectionMode(list->multiple_selection() ? QAbstractItemView::MultiSelection
                                                          : QAbstractItemView::SingleSelection);
        QItemSelectionModel* selection = view->selectionModel();
        const int rows = std::min(view->model()->rowCount(), list->row_count());
        for (int r = 0; r < rows; ++r) {
            const bool wanted = list->is_selected(r);
            if (selection->isRowSelected(r, QModelIndex()) == wanted) continue;
            const QModelIndex first = view->model()->index(r, 0);
            selection->select(
                first,
                (wanted ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
        }
    } else if (auto* combo = dynamic_cast<GwCombo*>(widget)) {
        if (auto* box = qobject_cast<QComboBox*>(q)) {
            if (box->count() != combo->count()) {
                SyncContent(widget, shown);
            } else if (box->currentIndex() != combo->first_selected()) {
                box->setCurrentIndex(combo->first_selected());
            }
        } else if (auto* view = qobject_cast<QListWidget*>(q)) {
            if (view->count() != combo->count()) {
                SyncContent(widget, shown);
            } else {
                for (int i = 0; i < combo->count(); ++i) {
                    QListWidgetItem* item = view->item(i);
                    if (item->isSelected() != combo->is_selected(i)) item->setSelected(combo->is_selected(i));
                }
            }
        }
    } else if (auto* tree = dynamic_cast<GwTree*>(widget)) {
        auto* view = static_cast<QTreeWidget*>(q);
        std::function<void(QTreeWidgetItem*)> visit = [&](QTreeWidgetItem* item) {
            auto* entry = reinterpret_cast<GwTreeEntry*>(item->data(0, Qt::UserRole).value<quintptr>());
            if (entry != nullptr) {
                if (item->isExpanded() != entry->is_shown()) item->setExpanded(entry->is_shown());
                const bool selected = entry == tree->selected_entry();
                if (item->isSelected() != selected) item->setSelected(selected);
            }
            for (int i = 0; i < item->childCount(); ++i) visit(item->child(i));
        };
        for (int i = 0; i < view->topLevelItemCount(); ++i) visit(view->topLevelItem(i));
    }
    --syncing_;
}

void Screen::ScrollToFirstVisible(GwCore* widget) {
    const Shown* shown = Find(widget);
    auto* list = dynamic_cast<GwMultiList*>(widget);
    auto* view = shown != nullptr ? qobject_cast<QTreeView*>(shown->widget.data()) : nullptr;
    if (list == nullptr || view == nullptr) return;
    const int first = list->first_visible();
    if (first >= 0 && first < view->model()->rowCount())
        view->scrollTo(view->model()->index(first, 0), QAbstractItemView::PositionAtTop);
}

QRect Screen::Place(GwCore* widget, QWidget* q) const {
    QRect r = ToQRect(widget->rect());
    GwCore* parent = widget->parent();
    if (parent != nullptr && parent->is_class(GwTABBOOK_CLASS)) r.translate(0, kTabRowHeight);
    if (parent != nullptr && parent->is_class(GwDOCKINGCONTAINER_CLASS)) r.translate(Middle(parent));
    if (widget->is_class(GwMENUBAR_CLASS)) {
        // A menu bar spans its window and is as high as its titles need.
        const QWidget* host = q->parentWidget();
        if (host != nullptr) r.setWidth(std::max(r.width(), host->width() - r.x()));
        r.setHeight(std::max(r.height(), q->sizeHint().height()));
    } else if (widget->is_class(GwLABEL_CLASS) || widget->is_class(GwCHECK_CLASS) || widget->is_class(GwRADIO_CLASS) ||
               widget->is_class(GwTOGGLE_CLASS) || widget->is_class(GwPUSHBUTTON_CLASS) ||
               widget->is_class(GwCOMBO_CLASS)) {
        // A one-line text wider than its place on this screen's font gets
        // the width it needs.
        const auto* label = qobject_cast<const QLabel*>(q);
        const bool oneLine = r.height() < 2 * q->fontMetrics().lineSpacing();
        if (label == nullptr || (oneLine && label->pixmap().isNull()))
            r.setWidth(std::max(r.width(), q->sizeHint().width()));
    }
    return r;
}

}  // namespace screen
