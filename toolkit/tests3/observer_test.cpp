// Change notifications: what an observer of the model is told and in which
// order, and that without the recorder no log of the model grows.
#include <gtest/gtest.h>

#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_label.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_observer.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_printer.h"
#include "toolkit/menus/gw_menu_item.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"
#include "toolkit/tests3/spine_fixture.h"
#include "toolkit/tree/gw_tree.h"

namespace spine_test {
namespace {

// Writes one line per notification, naming the widget by its identifier as
// a renderer would find it.
class LineObserver : public GwObserver {
public:
    void WidgetCreated(GwCore* w) override { lines.push_back("created " + w->identifier()); }
    void WidgetDestroyed(GwCore* w) override { lines.push_back("destroyed " + w->identifier()); }
    void PropertyChanged(GwCore* w, GwProperty p) override {
        lines.push_back(std::string(GwPropertyName(p)) + " " + (w != nullptr ? w->identifier() : "-"));
    }
    void ContentChanged(GwCore* w, const GwContentChange& c) override {
        std::string line = std::string(GwContentKindName(c.kind)) + " " + w->identifier();
        if (c.index >= 0) line += " " + std::to_string(c.index);
        if (c.column >= 0) line += "," + std::to_string(c.column);
        if (c.entry != nullptr) line += " " + c.entry->id();
        lines.push_back(line);
    }
    void DrawingChanged(GwCore* w) override { lines.push_back("drawing " + w->identifier()); }
    std::vector<std::string> lines;
};

class Observing : public SpineTest {
protected:
    void SetUp() override {
        SpineTest::SetUp();
        GwAttachObserver(&observer_);
    }
    void TearDown() override { GwDetachObserver(&observer_); }
    LineObserver observer_;
};

GwTreeEntry* Entry(const char* id, const char* text) {
    auto* e = new GwTreeEntry(GwUD(), text, 1);
    e->set_id(id);
    return e;
}

TEST_F(Observing, SeesTheModelChangeInOrder) {
    GwCore* w = GwRcMgr::load(nullptr, "Observed", 1);
    ASSERT_NE(w, nullptr);
    w->child("Caption")->set_text("Online");
    w->child("Caption")->set_rect({5, 6, 70, 12});
    auto* items = w->child<GwMultiList>("Items");
    items->add_row("Motor|1");
    items->add_row("Brake|0");
    w->child<GwSpreadSheet>("Cells")->set_contents(1, 1, "5");
    auto* tree = w->child<GwTree>("Devices");
    GwTreeEntry* root = Entry("net", "Network");
    tree->set_entries(root);
    tree->add_entry(root, Entry("drive", "Drive 1"));
    tree->expand_entry(root, true);
    // Made by program code: announced whole, so its set-up in the
    // constructor (hidden, text) is not told separately.
    auto* item = new GwMenuItem("Close", w->child("Menu"), "Close");
    item->show();
    w->destroy();

    EXPECT_EQ(observer_.lines,
              (std::vector<std::string>{
                  "created Observed",
                  "created Observed.Caption",
                  "created Observed.Items",
                  "created Observed.Devices",
                  "created Observed.Cells",
                  "created Observed.Cells.GwINTERNAL_EDITBUTTON",
                  "created Observed.Menu",
                  "text Observed.Caption",
                  "rect Observed.Caption",
                  "rows added Observed.Items 0",
                  "rows added Observed.Items 1",
                  "cell set Observed.Cells 1,1",
                  "entries replaced Observed.Devices net",
                  "entry added Observed.Devices drive",
                  "entry expanded Observed.Devices net",
                  "created Observed.Menu.Close",
                  "destroyed Observed.Caption",
                  "destroyed Observed.Items",
                  "destroyed Observed.Devices",
                  "destroyed Observed.Cells.GwINTERNAL_EDITBUTTON",
                  "destroyed Observed.Cells",
                  "destroyed Observed.Menu.Close",
                  "destroyed Observed.Menu",
                  "destroyed Observed",
              }));
}

TEST_F(Observing, CopiesAndProgramWidgetsAreAnnouncedBeforeTheirChanges) {
    GwCore* w = Show("Observed");
    observer_.lines.clear();
    GwCore* copy = w->child("Caption")->copy_to(w);
    copy->set_text("Copy");
    auto* label = new GwLabel("Extra", w);
    w->child("Items")->set_text("x");  // a notification about another widget announces the label first
    label->set_text("Made");
    EXPECT_EQ(observer_.lines,
              (std::vector<std::string>{"created Observed.Caption",
                                        "text Observed.Caption",
                                        "created Observed.Extra",
                                        "text Observed.Items",
                                        "text Observed.Extra"}));
}

TEST_F(Observing, SeveralObserversAreToldAndADetachedOneNoMore) {
    LineObserver second;
    GwAttachObserver(&second);
    GwAttachObserver(&second);  // once only
    GwCore* w = GwRcMgr::load(nullptr, "Observed", 1);
    GwDetachObserver(&second);
    w->set_title("Later");
    EXPECT_EQ(second.lines.size(), 7u);
    EXPECT_EQ(observer_.lines.back(), "title Observed");
}

TEST(Recording, WithoutTheRecorderNoLogOfTheModelGrows) {
    gwtest::SetRecording(false);
    auto* frame = new GwApplFrame("Ticker");
    auto* label = new GwLabel("Count", frame);
    int ticks = 0;
    frame->bind(GwCB_TIMER, [&](GwCore*, GwEvent*) {
        label->set_text(std::to_string(++ticks));
        return 1;
    });
    frame->show();
    frame->start_timer(1);
    gwtest::Advance(100000);
    ASSERT_EQ(ticks, 100000);

    gwtest::SetDefaultPrintDialogAnswer(true);
    GwPrinterContext printer(frame);
    ASSERT_TRUE(printer.print_dialog());
    ASSERT_TRUE(printer.start_document("Long"));
    for (int page = 0; page < 1000; ++page) {
        ASSERT_TRUE(printer.start_page());
        printer.draw_text(100, 100, "Page " + std::to_string(page + 1));
        printer.draw_line(0, 0, 100, 100);
        ASSERT_TRUE(printer.end_page());
    }
    ASSERT_TRUE(printer.end_document());

    EXPECT_EQ(GwRecorder::Effects().size(), 0u);
    EXPECT_EQ(GwRecorder::Boxes().size(), 0u);
    EXPECT_EQ(GwRecorder::FileRequests().size(), 0u);
    EXPECT_EQ(GwPrintedDocuments().size(), 0u);
    EXPECT_EQ(printer.operations().size(), 2u);  // the last page's picture only
}

TEST(Recording, TheRecorderIsTheTestsObserver) {
    auto* frame = new GwApplFrame("Ticker");
    auto* label = new GwLabel("Count", frame);
    label->set_text("1");
    gwtest::SetRecording(false);
    label->set_text("2");
    gwtest::SetRecording(true);
    label->set_text("3");
    std::vector<std::string> texts;
    for (const GwEffect& e : gwtest::Effects("text")) texts.push_back(e.widget + "=" + e.value);
    EXPECT_EQ(texts, (std::vector<std::string>{"Ticker.Count=1", "Ticker.Count=3"}));
}

}  // namespace
}  // namespace spine_test
