#include "toolkit/tests3/spine_fixture.h"

#include "platform/base/reset_hooks.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/tree/gw_tree_entry.h"

namespace spine_test {

namespace {

platform::ResetHook ResetState([] { Notes().clear(); });

int CB_Spine(GwCore* w, GwEvent* ev, GwUD ud) {
    std::string line =
        w->name() + " " + (ev != nullptr && GwCallbackTypeName(ev->type) ? GwCallbackTypeName(ev->type) : "-");
    if (ev != nullptr) {
        if (ev->type == GwCB_KEY || ev->type == GwCB_HELP) line += " key=" + std::to_string(ev->key);
        if (ev->type == GwCB_ACTIVATE && ev->row >= 0) line += " row=" + std::to_string(ev->row);
        if (ev->type == GwCB_SCROLL) line += " value=" + std::to_string(ev->value);
        if (ev->data != nullptr && w->is_class(GwTREE_CLASS))
            line += " entry=" + static_cast<GwTreeEntry*>(ev->data)->id();
        if (ev->type == GwCB_MOUSE) line += " state=" + std::to_string(ev->state);
    }
    Notes().push_back(line);
    return ud.string() == "refuse" ? 0 : 1;
}

const GwFuncDesc kTable[] = {{"CB_Spine", CB_Spine}, {nullptr, nullptr}};

}  // namespace

std::vector<std::string>& Notes() {
    static std::vector<std::string> notes;
    return notes;
}

void SpineTest::SetUp() {
    testsupport::WriteFile(testsupport::RuntimePath("bin/spine.cgw"),
                           testsupport::ReadFile(std::string(TORVAN_TOOLKIT3_FIXTURES) + "/spine.cgw"));
    ASSERT_NE(GwRcMgr::use_func_desc(kTable), 0);
    ASSERT_TRUE(GwRcMgr::use("spine.cgw"));
}

GwCore* SpineTest::Show(const char* name) {
    GwCore* w = GwRcMgr::load(nullptr, name, 1);
    EXPECT_NE(w, nullptr) << name;
    if (w == nullptr) return nullptr;
    w->show();
    Notes().clear();
    return w;
}

}  // namespace spine_test
