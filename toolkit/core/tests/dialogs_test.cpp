// A dialog built in code, as the plot's zoom and print dialogs are: a modal
// dialog frame holding a container whose OnCreate makes group containers,
// labels, formatted edits, push buttons and toggles with member handlers.
#include <gtest/gtest.h>

#include <deque>

#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_label.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/kindstest/kinds_fixture.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace kinds_test {
namespace {

class ZoomContainer : public GwContainer {
public:
    explicit ZoomContainer(GwCore* parent) : GwContainer("ZoomMainContainer", parent, GwRect{0, 0, 400, 384}) {
        set_border(false);
        set_shadow(false);
    }

    int creates = 0;
    std::string taken;

protected:
    void OnCreate() override {
        ++creates;
        auto* group = new GwContainer("PWZoomXAxis", this, GwRect{10, 10, 380, 100});
        new GwLabel("Caption", group);
        group->child("Caption")->set_text("x axis");
        for (const char* name : {"PWZxMin", "PWZxMax"}) {
            auto* edit = new GwFormatEdit(name, group);
            edit->set_format_type(GwFORMAT_DECIMAL);
            edit->set_text("0.000000");
        }
        auto* portrait = new GwToggle("PDPortraitToggle", this, GwCHECK_CLASS);
        portrait->set_checked(true);
        Button("&Ok", &ZoomContainer::Apply);
        Button("Cancel", &ZoomContainer::Cancel);
    }

private:
    using Handler = int (ZoomContainer::*)();
    struct Binding {
        ZoomContainer* self;
        Handler handler;
    };

    // A push button whose click runs a member of this container.
    void Button(const char* name, Handler handler) {
        handlers_.push_back({this, handler});
        auto* button = new GwPushButton(name, this);
        button->set_callback(
            GwCB_ACTIVATE,
            [](GwCore*, GwEvent*, GwUD ud) {
                auto* b = ud.pointer_as<Binding>();
                return (b->self->*(b->handler))();
            },
            GwUD(static_cast<void*>(&handlers_.back())));
    }

    int Apply() {
        taken = child("PWZxMin")->text() + ".." + child("PWZxMax")->text() +
                " portrait=" + std::to_string(dynamic_cast<GwToggle*>(child("PDPortraitToggle"))->value());
        frame()->end_modal(GwRESULT_OK);
        frame()->hide();
        return 1;
    }

    int Cancel() {
        frame()->close();
        return 1;
    }

    std::deque<Binding> handlers_;
};

class Zoom : public GwDialogFrame {
public:
    explicit Zoom(GwCore* main) : GwDialogFrame("Zoom", main, true), content(new ZoomContainer(this)) {}
    ZoomContainer* content;
};

class CodeBuiltDialogs : public KindsTest {};

TEST_F(CodeBuiltDialogs, OnCreateBuildsTheWidgetsAtTheFirstShow) {
    auto* zoom = new Zoom(main_);
    EXPECT_EQ(zoom->modality(), 1);
    EXPECT_EQ(zoom->content->creates, 0) << "nothing is built before the dialog shows";
    EXPECT_EQ(zoom->content->child_count(), 0);
    EXPECT_FALSE(zoom->content->border());

    gwtest::ScriptModal({"Zoom",
                         [](GwCore* w) {
                             EXPECT_TRUE(gwtest::Replace(w->child("PWZxMax"), "2.5"));
                             EXPECT_FALSE(gwtest::Type(w->child("PWZxMin"), "x")) << "a decimal field";
                             EXPECT_TRUE(gwtest::Toggle(w->child("PDPortraitToggle")));
                             EXPECT_TRUE(gwtest::Click(w->child("&Ok")));
                         },
                         std::nullopt});
    EXPECT_EQ(zoom->go(), GwRESULT_OK);
    EXPECT_EQ(zoom->content->taken, "0.000000..2.5 portrait=0");
    EXPECT_EQ(zoom->content->creates, 1);
    EXPECT_EQ(zoom->child("Caption")->text(), "x axis");

    gwtest::ScriptModal({"Zoom", [](GwCore* w) { gwtest::Click(w->child("Cancel")); }, std::nullopt});
    EXPECT_EQ(zoom->go(), GwRESULT_CANCEL);
    EXPECT_EQ(zoom->content->creates, 1) << "OnCreate runs once";

    GwCore* edit = zoom->child("PWZxMin");
    zoom->destroy();
    EXPECT_FALSE(GwRcMgr::is_valid_child(zoom->content));
    EXPECT_FALSE(GwRcMgr::is_valid_child(edit));
    EXPECT_EQ(main_->child("Zoom"), nullptr);
}

}  // namespace
}  // namespace kinds_test
