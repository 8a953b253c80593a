// The renderer on Qt's offscreen platform: what the user does on the Qt
// widgets reaches the model, and what the model holds shows, without a
// display. Each case pins a fault that a user met on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "renderer/screen_drawing.h"
#include "renderer/screen_renderer.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_screen.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/tree/gw_tree.h"

namespace screen {
QStringList NameFilters(const std::string& filter);
}

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "renderer_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        auto* a = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

class Renderer : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        screen_ = new screen::Screen();
        GwAttachObserver(screen_);
        GwAttachObserver(GwRecorder::Observer());
        GwSetInteraction(screen_);
        ASSERT_TRUE(GwRcMgr::use(TORVAN_SCREEN_FIXTURE));
    }
    void TearDown() override {
        for (GwCore* frame : GwStackingOrder()) frame->destroy();
        GwAnnounceCreatedWidgets();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        GwSetInteraction(nullptr);
        GwDetachObserver(screen_);
        GwDetachObserver(GwRecorder::Observer());
        delete screen_;
    }
    GwCore* Load(const char* name) {
        GwCore* window = GwRcMgr::load(nullptr, name, 1);
        EXPECT_NE(window, nullptr) << name;
        if (window != nullptr) window->show();
        GwAnnounceCreatedWidgets();
        return window;
    }
    template <typename T = QWidget>
    T* Shown(GwCore* widget) {
        GwAnnounceCreatedWidgets();
        const screen::Shown* shown = screen_->Find(widget);
        return shown != nullptr ? qobject_cast<T*>(shown->widget.data()) : nullptr;
    }
    // Runs Qt's loop until `done`, at most a generous while.
    static bool Until(const std::function<bool()>& done) {
        for (int i = 0; i < 2000 && !done(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }

    screen::Screen* screen_ = nullptr;
};

// The panes of a docking container lie in its docking areas, below the
// frame's menu bar and toolbar, opaque and with their captions; a click on
// the menu bar's title reaches the menu bar, never a pane over it.
TEST_F(Renderer, DockingPanesLieInTheDockingAreasBelowTheBars) {
    GwCore* main = Load("TestMain");
    auto* work = new GwDockingContainer("WorkArea", main, GwRect{0, 0, 640, 456});
    auto* pane = new GwDockingFrame(work->region(GwDOCK_LEFT), "NetPane", GwRect{0, 0, 160, 300});
    pane->set_text("Network");
    auto* other = new GwDockingFrame(work->region(GwDOCK_LEFT), "Messages", GwRect{0, 300, 160, 100});
    pane->show();
    other->show();
    GwAnnounceCreatedWidgets();

    QWidget* window = Shown(main);
    QWidget* area = Shown(work);
    QWidget* paneWidget = Shown(pane);
    auto* bar = Shown<QMenuBar>(main->child("MenuBar"));
    ASSERT_NE(paneWidget, nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(paneWidget->isWindow());
    EXPECT_EQ(paneWidget->parentWidget(), area);
    EXPECT_TRUE(paneWidget->isVisible());
    EXPECT_TRUE(paneWidget->autoFillBackground());
    EXPECT_GE(paneWidget->geometry().top(), 48) << "below the menu bar and the toolbar";
    EXPECT_EQ(paneWidget->geometry().left(), 0);
    EXPECT_GE(paneWidget->width(), 160);
    EXPECT_LE(Shown(other)->geometry().bottom(), area->height());
    EXPECT_GT(Shown(other)->geometry().top(), paneWidget->geometry().top());
    auto* caption = paneWidget->findChild<QLabel*>("caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), "Network");
    const QRect file = bar->actionGeometry(bar->actions().first());
    EXPECT_EQ(window->childAt(bar->mapTo(window, file.center())), bar);

    // Hidden, shown and floating as the model says.
    pane->hide();
    EXPECT_FALSE(paneWidget->isVisible());
    pane->show();
    EXPECT_TRUE(paneWidget->isVisible());
    pane->set_standalone_rect({300, 200, 200, 150});
    pane->set_attached(false);
    EXPECT_TRUE(paneWidget->isWindow());
    EXPECT_EQ(paneWidget->geometry(), QRect(300, 200, 200, 150));
    pane->set_attached(true);
    EXPECT_FALSE(paneWidget->isWindow());
    EXPECT_EQ(paneWidget->parentWidget(), area);
}

// A click selects without rebuilding the rows, so the second click of a
// double click lands on the same row and reaches the model's double click
// with that row.
TEST_F(Renderer, DoubleClickReachesTheModelWithItsRow) {
    GwCore* dialog = Load("Editing");
    auto* list = static_cast<GwMultiList*>(dialog->child("Rows"));
    for (const char* row : {"1|one", "2|two", "3|three"}) list->add_row(row);
    int activated = -1;
    list->bind(GwCB_ACTIVATE, [&activated](GwCore*, GwEvent* event) {
        activated = event->row;
        return 1;
    });
    auto* view = Shown<QTreeView>(list);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->model()->rowCount(), 3);
    const QPersistentModelIndex second(view->model()->index(1, 0));
    const QPoint at = view->visualRect(second).center();

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(list->is_selected(1));
    EXPECT_TRUE(second.isValid()) << "the rows were rebuilt";
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(activated, 1);

    // Rows added and cells set by the program keep the selection.
    list->set_cell(1, 1, "TWO");
    list->add_row("4|four");
    EXPECT_TRUE(second.isValid());
    EXPECT_EQ(view->model()->rowCount(), 4);
    EXPECT_EQ(view->model()->index(1, 1).data().toString(), "TWO");
    EXPECT_TRUE(view->selectionModel()->isRowSelected(1, QModelIndex()));
    list->deselect_all();
    EXPECT_FALSE(view->selectionModel()->isRowSelected(1, QModelIndex()));
}

// The line edit edits as a desktop's does and hands its text to the model;
// what the model refuses beeps and does not stay.
TEST_F(Renderer, LineEditsEditNatively) {
    GwCore* dialog = Load("Editing");
    auto* free = static_cast<GwEdit*>(dialog->child("Free"));
    auto* line = Shown<QLineEdit>(free);
    ASSERT_NE(line, nullptr);
    free->set_text("12345");
    free->set_cursor_position(0);
    line->setFocus();
    QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(line->width() - 4, line->height() / 2));
    EXPECT_EQ(line->cursorPosition(), 5) << "the caret goes where the click was";
    free->set_tip_text("a change of the model that is not the text");
    EXPECT_EQ(line->cursorPosition(), 5);
    QTest::keyClick(line, Qt::Key_Home);
    QTest::keyClicks(line, "0");
    EXPECT_EQ(free->text(), "012345");
    QTest::keyClick(line, Qt::Key_End);
    QTest::keyClicks(line, "6");
    EXPECT_EQ(free->text(), "0123456");
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(line, "x");
    EXPECT_EQ(free->text(), "x");

    auto* hex = static_cast<GwEdit*>(dialog->child("Hex"));
    auto* hexLine = Shown<QLineEdit>(hex);
    const size_t beeps = GwRecorder::EffectsOf("beep").size();
    hexLine->setFocus();
    QTest::keyClicks(hexLine, "1G2");
    EXPECT_EQ(hex->text(), "12H");
    EXPECT_EQ(hexLine->text(), "12H");
    EXPECT_EQ(GwRecorder::EffectsOf("beep").size() - beeps, 1u);
}

// A drop-down box's height in a definition holds its open list: closed, the
// box is one line high at its place; other widgets keep their height.
TEST_F(Renderer, ADropDownBoxIsOneLineHigh) {
    GwCore* dialog = Load("Editing");
    auto* combo = static_cast<GwCombo*>(dialog->child("Pick"));
    for (const char* item : {"one", "two", "three"}) combo->append(item);
    auto* box = Shown<QComboBox>(combo);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(combo->rect().height, 150);
    EXPECT_EQ(box->count(), 3);
    EXPECT_EQ(box->geometry().topLeft(), QPoint(320, 10));
    EXPECT_EQ(box->height(), box->sizeHint().height());
    EXPECT_LT(box->height(), 2 * box->fontMetrics().lineSpacing() + 16);
    EXPECT_EQ(Shown(dialog->child("Rows"))->height(), 160);
    EXPECT_EQ(Shown(dialog->child("Free"))->height(), 24);
}

// A unit set on an edit shows after its text, in a margin the text keeps
// clear of, and is never part of the text.
TEST_F(Renderer, AnEditShowsItsUnitBesideTheText) {
    GwCore* dialog = Load("Editing");
    auto* free = static_cast<GwEdit*>(dialog->child("Free"));
    auto* line = Shown<QLineEdit>(free);
    ASSERT_NE(line, nullptr);
    free->set_text("12");
    EXPECT_EQ(line->textMargins().right(), 0);
    free->set_suffix("1/min");
    EXPECT_GE(line->textMargins().right(), line->fontMetrics().horizontalAdvance("1/min"));
    EXPECT_EQ(line->text(), "12");
    line->setFocus();
    QTest::keyClick(line, Qt::Key_End);
    QTest::keyClicks(line, "3");
    EXPECT_EQ(free->text(), "123");
    free->set_suffix("");
    EXPECT_EQ(line->textMargins().right(), 0);
}

// Leaving a line edit for another program's window confirms what was typed
// once, as leaving it for another widget of ours does; a menu opening over
// it does not.
TEST_F(Renderer, LeavingALineEditForAnotherProgramConfirmsItsText) {
    GwCore* dialog = Load("Editing");
    auto* free = static_cast<GwEdit*>(dialog->child("Free"));
    auto* line = Shown<QLineEdit>(free);
    ASSERT_NE(line, nullptr);
    std::vector<std::string> confirmed;
    free->bind(GwCB_CONFIRM, [&confirmed](GwCore* edit, GwEvent*) {
        confirmed.push_back(edit->text());
        return 1;
    });
    line->setFocus();
    QTest::keyClicks(line, "Axis-X");
    ASSERT_EQ(free->text(), "Axis-X");
    const auto leave = [line](Qt::FocusReason reason) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(line, &out);
    };
    leave(Qt::PopupFocusReason);
    EXPECT_TRUE(confirmed.empty());
    leave(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(confirmed, std::vector<std::string>{"Axis-X"});
    EXPECT_FALSE(free->has_unconfirmed_input());
    leave(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(confirmed.size(), 1u) << "nothing typed since";
}

// A model's modal run is a Qt event loop that ends when the model ends the
// run; with two dialogs up, each one's buttons end its own run.
TEST_F(Renderer, ModalRunsEndWithTheirOwnButtons) {
    GwCore* outer = GwRcMgr::load(nullptr, "Ask", 1);
    int inner = 0;
    QTimer::singleShot(0, [&] {
        GwCore* second = GwRcMgr::load(nullptr, "Ask", 1);
        QTimer::singleShot(0, [this, second] { Shown<QPushButton>(second->child("No"))->click(); });
        inner = second->go();
        QTimer::singleShot(0, [this, outer] { Shown<QPushButton>(outer->child("Yes"))->click(); });
    });
    EXPECT_EQ(outer->go(), 6);
    EXPECT_EQ(inner, 7);
}

// The selector says open, save or folder; the dialog follows, with every
// filter pattern whole.
TEST_F(Renderer, FileDialogsFollowTheRequestsAction) {
    struct Case {
        GwFileAction action;
        const char* filter;
        QFileDialog::AcceptMode accept;
        QFileDialog::FileMode mode;
        QStringList filters;
    };
    const Case cases[] = {
        {GwFileAction::kOpen, "*.??D", QFileDialog::AcceptOpen, QFileDialog::ExistingFile, {"*.??D"}},
        {GwFileAction::kSave,
         "Parameter files (*.00D)|*.00D|All files (*.*)|*|",
         QFileDialog::AcceptSave,
         QFileDialog::AnyFile,
         {"Parameter files (*.00D) (*.00D)", "All files (*.*) (*)"}},
        {GwFileAction::kOpen,
         "Sources|*.plc;*.PL?|",
         QFileDialog::AcceptOpen,
         QFileDialog::ExistingFile,
         {"Sources (*.plc *.PL?)"}},
        {GwFileAction::kFolder, "", QFileDialog::AcceptOpen, QFileDialog::Directory, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(screen::NameFilters(c.filter), c.filters);
        GwFileRequest request;
        request.title = "Choose";
        request.filter = c.filter;
        request.action = c.action;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            EXPECT_EQ(dialog->acceptMode(), c.accept);
            EXPECT_EQ(dialog->fileMode(), c.mode);
            if (!c.filters.isEmpty()) {
                EXPECT_EQ(dialog->nameFilters(), c.filters);
            }
            dialog->reject();
        });
        std::string path;
        EXPECT_FALSE(screen_->ChooseFile(request, &path));
        EXPECT_TRUE(seen);
    }
}

// A tree's rows follow its change records: a click, a selection by the
// program, an entry added or removed touch only their rows, so the row under
// the pointer stays for a double click; an entry that program code took out
// without a record is never read again, and the rows are read anew.
TEST_F(Renderer, TreeRowsFollowTheTreesRecords) {
    GwCore* dialog = Load("Views");
    auto* tree = static_cast<GwTree*>(dialog->child("Groups"));
    auto* root = new GwTreeEntry(GwUD(), "root", 0);
    auto* motors = new GwTreeEntry(GwUD(), "Motors", 0);
    auto* limits = new GwTreeEntry(GwUD(), "Limits", 0);
    auto* currents = new GwTreeEntry(GwUD(), "Currents", 1);
    root->add_child(motors);
    root->add_child(limits);
    limits->add_child(currents);
    ASSERT_TRUE(tree->set_entries(root));
    tree->expand_entry(root, true);
    tree->expand_entry(limits, true);
    int selects = 0;
    const GwTreeEntry* activated = nullptr;
    tree->bind(GwCB_SELECT, [&selects](GwCore*, GwEvent*) {
        ++selects;
        return 1;
    });
    tree->bind(GwCB_ACTIVATE, [&activated](GwCore*, GwEvent* event) {
        activated = static_cast<const GwTreeEntry*>(event->data);
        return 1;
    });

    auto* view = Shown<QTreeView>(tree);
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* model = view->model();
    ASSERT_EQ(model->rowCount(), 1) << "the root is the one top row";
    const QPersistentModelIndex top(model->index(0, 0));
    EXPECT_EQ(top.data().toString(), "root");
    EXPECT_TRUE(view->isExpanded(top));
    ASSERT_EQ(model->rowCount(top), 2);
    const QPersistentModelIndex first(model->index(0, 0, top));
    const QPersistentModelIndex second(model->index(1, 0, top));
    EXPECT_EQ(first.data().toString(), "Motors");
    EXPECT_TRUE(view->isExpanded(second));
    const QModelIndex child = model->index(0, 0, second);
    EXPECT_EQ(child.data().toString(), "Currents");

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(first).center());
    EXPECT_EQ(tree->selected_entry(), motors);
    EXPECT_EQ(selects, 1) << "one click, one select";
    EXPECT_TRUE(first.isValid()) << "the rows were rebuilt";
    // A double click: a click, then the second press.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(child).center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(child).center());
    EXPECT_EQ(activated, currents);

    auto* drives = new GwTreeEntry(GwUD(), "Drives", 0);
    ASSERT_TRUE(tree->add_entry(root, drives));
    EXPECT_EQ(model->rowCount(top), 3);
    EXPECT_TRUE(first.isValid());
    EXPECT_TRUE(view->isExpanded(second)) << "an added entry leaves the others open";
    tree->select_entry(drives);
    EXPECT_EQ(view->currentIndex().data().toString(), "Drives");
    EXPECT_EQ(view->selectionModel()->selectedIndexes().size(), 1);

    // Closed by the user: the model's entry; by the program: the view's row.
    view->collapse(second);
    EXPECT_FALSE(limits->is_shown());
    tree->expand_entry(limits, true);
    EXPECT_TRUE(view->isExpanded(second));

    ASSERT_TRUE(tree->delete_entry(limits));
    EXPECT_EQ(model->rowCount(top), 2);
    EXPECT_TRUE(first.isValid());
    EXPECT_EQ(model->index(1, 0, top).data().toString(), "Drives");

    // Taken out and deleted without a record: not read, then read anew.
    root->loose_child(motors);
    delete motors;
    EXPECT_FALSE(first.data().isValid());
    EXPECT_TRUE(Until([&] { return model->rowCount(model->index(0, 0)) == 1; }));
    EXPECT_EQ(model->index(0, 0, model->index(0, 0)).data().toString(), "Drives");
    EXPECT_EQ(view->currentIndex().data().toString(), "Drives") << "the tree's selection after the new reading";

    // The root is a row like the others: a click selects it.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(model->index(0, 0)).center());
    EXPECT_EQ(tree->selected_entry(), root);

    tree->set_entries(nullptr);
    EXPECT_EQ(model->rowCount(), 0);
}

// A spreadsheet's cells follow its records: a cell set, rows added or taken
// away at the end keep the other cells and the current one; a click makes a
// cell current, a double click edits an editable cell and is the default
// action on another.
TEST_F(Renderer, SheetCellsFollowTheSheetsRecords) {
    GwCore* dialog = Load("Views");
    auto* sheet = static_cast<GwSpreadSheet*>(dialog->child("Sheet"));
    sheet->set_column_count(3);
    sheet->set_row_count(4);
    sheet->set_contents(1, 1, "x");
    auto* view = Shown<QTableView>(sheet);
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* model = view->model();
    ASSERT_EQ(model->rowCount(), 4);
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->index(1, 1).data().toString(), "x");
    const QPersistentModelIndex kept(model->index(1, 2));
    sheet->set_current_cell(1, 2);
    EXPECT_EQ(view->currentIndex(), QModelIndex(kept));

    sheet->set_contents(2, 0, "y");
    sheet->set_row_count(6);
    EXPECT_TRUE(kept.isValid()) << "the cells were rebuilt";
    EXPECT_EQ(model->rowCount(), 6);
    EXPECT_EQ(model->index(2, 0).data().toString(), "y");
    EXPECT_EQ(view->currentIndex(), QModelIndex(kept));
    sheet->set_row_count(2);
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_TRUE(kept.isValid());
    EXPECT_EQ(model->index(1, 1).data().toString(), "x");

    int defaults = 0;
    sheet->bind(GwCB_DEFAULT, [&defaults](GwCore*, GwEvent* event) {
        defaults = event->row * 10 + event->column + 1;
        return 1;
    });
    sheet->row_attribute(0)->editable = false;
    const QRect cell = view->visualRect(model->index(0, 2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    int row = -1, column = -1;
    EXPECT_TRUE(sheet->current_cell(&row, &column));
    EXPECT_EQ(row * 10 + column, 2);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(defaults, 3) << "the default action with row 0, column 2";
    EXPECT_FALSE(sheet->cell_has_focus());
    const QPoint editable = view->visualRect(model->index(1, 1)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, editable);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, editable);
    EXPECT_TRUE(sheet->cell_has_focus()) << "an editable cell is edited";
    EXPECT_EQ(sheet->editor()->text(), "x");
}

// A picture larger than its drawing scrolls: bars over the model's range,
// the picture drawn from the scroll position on, a move of a bar the user's
// scroll, and the bars follow the model's picture size and position.
TEST_F(Renderer, APictureLargerThanItsDrawingScrolls) {
    GwCore* dialog = Load("Views");
    auto* drawing = static_cast<GwDrawing*>(dialog->child("Page"));
    drawing->bind(GwCB_EXPOSE, [](GwCore* widget, GwEvent*) {
        GwDeviceContext* dc = static_cast<GwDrawing*>(widget)->device_context();
        dc->set_pen("red", 0, 3);
        dc->draw_line(0, 150, 400, 150);
        return 1;
    });
    auto* view = dynamic_cast<screen::DrawingView*>(Shown(drawing));
    ASSERT_NE(view, nullptr);
    QScrollBar* across = view->HorizontalBar();
    QScrollBar* down = view->VerticalBar();
    EXPECT_FALSE(down->isVisible()) << "a picture of the widget's size";

    drawing->set_picture_size({400, 300});
    drawing->invalidate();
    EXPECT_TRUE(across->isVisible());
    EXPECT_TRUE(down->isVisible());
    EXPECT_EQ(across->maximum(), 200);
    EXPECT_EQ(down->maximum(), 200);
    auto redAt = [view](int x, int y) { return view->grab().toImage().pixelColor(x, y) == QColor(Qt::red); };
    EXPECT_FALSE(redAt(50, 30));

    down->setValue(120);
    EXPECT_EQ(drawing->scroll_position(), (GwPosition{0, 120}));
    EXPECT_TRUE(redAt(50, 30)) << "the line at 150 shows at 150 - 120";
    down->setValue(500);
    EXPECT_EQ(drawing->scroll_position(), (GwPosition{0, 200}));

    ASSERT_TRUE(drawing->user_scroll({150, 40}));
    EXPECT_EQ(across->value(), 150);
    EXPECT_EQ(down->value(), 40);
    drawing->set_picture_size({150, 80});
    EXPECT_FALSE(across->isVisible());
    EXPECT_FALSE(down->isVisible());
    EXPECT_EQ(drawing->scroll_position(), (GwPosition{0, 0}));
}

}  // namespace
