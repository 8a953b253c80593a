// A reference kept across events must not take a new widget for its own when
// the toolkit has freed the old one and made the new one at the same address:
// the widget class below has one fixed slot of memory, so every widget of it
// is made where the previous one was, as a reusing allocator would do.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/core/gw_widget_store.h"
#include "toolkit/core/tests/toolkit_fixture.h"

namespace toolkit_test {
namespace {

class SlotWidget : public GwCore {
public:
    SlotWidget(const std::string& name, GwCore* parent) : GwCore(GwGENERIC_CLASS, name, parent) {}
    static void* operator new(std::size_t size);
    static void operator delete(void*) {}
};

alignas(SlotWidget) unsigned char g_slot[sizeof(SlotWidget)];

void* SlotWidget::operator new(std::size_t size) {
    if (size > sizeof(g_slot)) throw std::bad_alloc();
    return g_slot;
}

// Ways the toolkit frees a destroyed widget's memory.
struct Freeing {
    const char* name;
    std::function<void()> free;
};

void PrintTo(const Freeing& freeing, std::ostream* out) { *out << freeing.name; }

// Enough later windows destroyed to push it out of the graveyard.
void DestroyManyWindows() {
    for (size_t i = 0; i <= kGwGraveyardLimit; ++i) (new GwCore(GwDIALOGFRAME_CLASS, "Later", nullptr))->destroy();
}

class References : public ToolkitTest, public ::testing::WithParamInterface<Freeing> {};

TEST_P(References, AWidgetMadeAtTheAddressOfAFreedOneIsNotTheReferencedOne) {
    GwCore* frame = GwRcMgr::load(nullptr, "MainWindow", 1);
    ASSERT_NE(frame, nullptr);
    GwCore* first = new SlotWidget("First", nullptr);
    const GwRef<> original(first);
    const std::vector<GwRef<>> kept = {original, GwRef<>(first)};
    GwRef<SlotWidget> typed(static_cast<SlotWidget*>(first));
    GwRef<> frameRef(frame);
    for (const GwRef<>& ref : kept) ASSERT_EQ(ref.get(), first);

    first->destroy();
    for (const GwRef<>& ref : kept) EXPECT_EQ(ref.get(), nullptr);
    EXPECT_EQ(GwRef<>(first).get(), nullptr) << "a reference made of a destroyed widget is empty";

    GetParam().free();
    GwCore* second = new SlotWidget("Second", nullptr);
    ASSERT_EQ(static_cast<void*>(second), static_cast<void*>(first)) << "the slot must give the same address";
    // What a raw pointer checked by address would have believed:
    ASSERT_TRUE(GwRcMgr::is_valid_child(first) && first->is_alive());

    for (const GwRef<>& ref : kept) {
        EXPECT_EQ(ref.get(), nullptr);
        EXPECT_FALSE(ref);
        EXPECT_NE(ref, second);
    }
    EXPECT_EQ(typed.get(), nullptr);
    EXPECT_EQ(typed.operator->(), nullptr);
    EXPECT_EQ(GwRef<>(second).get(), second) << "a reference made now holds the new widget";
    if (GwRcMgr::is_valid_child(frame)) {
        EXPECT_EQ(frameRef.get(), frame);
    }

    second->destroy();
}

INSTANTIATE_TEST_SUITE_P(Freeings, References,
                         ::testing::Values(Freeing{"LaterWindowsDestroyed", DestroyManyWindows},
                                           Freeing{"ToolkitReset", [] { GwWidgetStore::Get().Reset(); }}),
                         [](const ::testing::TestParamInfo<Freeing>& info) { return info.param.name; });

// What the toolkit keeps of a widget itself (a frame's default button, a
// queued user event) does not pass to the widget made at its address.
TEST_F(ToolkitTest, TheToolkitsOwnKeptWidgetsDoNotPassToANewWidgetAtTheAddress) {
    GwCore* frame = new GwCore(GwDIALOGFRAME_CLASS, "Frame", nullptr);
    GwCore* first = new SlotWidget("First", frame);
    frame->set_default_button(first);
    first->post_user_event(1, 2);
    first->destroy();
    DestroyManyWindows();
    GwCore* second = new SlotWidget("Second", frame);
    ASSERT_EQ(static_cast<void*>(second), static_cast<void*>(first));
    int userEvents = 0;
    second->bind(GwCB_USER, [&](GwCore*, GwEvent*) { return ++userEvents; });
    EXPECT_EQ(frame->default_button(), nullptr);
    GwProcessPendingEvents();
    EXPECT_EQ(userEvents, 0) << "the first widget's event reached the second";
    second->destroy();
}

TEST_F(ToolkitTest, ReferencesEndWithTheirFramesDisconnection) {
    GwCore* box = new GwCore(GwDIALOGFRAME_CLASS, "Box", nullptr);
    GwRef<> ref(box);
    EXPECT_EQ(ref, box);
    GwRcMgr::disconnect_frame(box);
    EXPECT_EQ(ref.get(), nullptr) << "a disconnected frame is no longer valid";
    GwRef<> empty;
    EXPECT_FALSE(empty);
    EXPECT_EQ(GwRef<>(nullptr).get(), nullptr);
    ref = GwRef<>(new GwCore(GwDIALOGFRAME_CLASS, "Other", nullptr));
    ASSERT_TRUE(ref);
    ref.reset();
    EXPECT_FALSE(ref);
}

}  // namespace
}  // namespace toolkit_test
