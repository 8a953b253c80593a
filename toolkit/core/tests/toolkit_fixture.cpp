#include "toolkit/core/tests/toolkit_fixture.h"

#include "platform/base/reset_hooks.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"

namespace toolkit_test {

namespace {

platform::ResetHook ResetState([] { Calls().clear(); });

int Recording(const char* name, GwCore* w, GwEvent* ev, GwUD ud) {
    Calls().push_back({name, w, ev != nullptr ? ev->type : GwCB_NONE, ud.string()});
    return 1;
}

int CB_Create(GwCore* w, GwEvent* ev, GwUD ud) { return Recording("CB_Create", w, ev, ud); }
int CB_Show(GwCore* w, GwEvent* ev, GwUD ud) { return Recording("CB_Show", w, ev, ud); }
int CB_Tick(GwCore* w, GwEvent* ev, GwUD ud) { return Recording("CB_Tick", w, ev, ud); }
int CB_Save(GwCore* w, GwEvent* ev, GwUD ud) { return Recording("CB_Save", w, ev, ud); }

}  // namespace

const GwFuncDesc kFixtureTable[] = {
    {"CB_Create", CB_Create},
    {"CB_Show", CB_Show},
    {"CB_Tick", CB_Tick},
    {"CB_Save", CB_Save},
    {nullptr, nullptr},
};

std::vector<Call>& Calls() {
    static std::vector<Call> calls;
    return calls;
}

std::vector<std::string> CallNames() {
    std::vector<std::string> names;
    for (const auto& c : Calls()) names.push_back(c.callback);
    return names;
}

void WriteDefinitionFile(const std::string& name, const std::string& text) {
    testsupport::WriteFile(testsupport::RuntimePath("bin/" + name), text);
}

void ToolkitTest::SetUp() {
    WriteDefinitionFile("window.cgw", testsupport::ReadFile(std::string(TORVAN_TOOLKIT_FIXTURES) + "/window.cgw"));
    ASSERT_TRUE(GwRcMgr::use("window.cgw"));
    ASSERT_NE(GwRcMgr::use_func_desc(kFixtureTable), 0);
}

}  // namespace toolkit_test
