// The renderer on Qt's offscreen platform: what the user does on the Qt
// widgets reaches the model, and what the model holds shows, without a
// display. Each case pins a fault that a user met on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "renderer/screen_renderer.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_screen.h"
#include "toolkit/docking/gw_docking.h"

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

}  // namespace
