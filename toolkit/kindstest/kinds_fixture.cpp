#include "toolkit/kindstest/kinds_fixture.h"

#include "platform/base/reset_hooks.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"

namespace kinds_test {

int g_callback_result = 1;

namespace {

platform::ResetHook ResetState([] {
    Notes().clear();
    g_callback_result = 1;
});

std::string Describe(const char* callback, GwCore* w, GwEvent* ev, const GwUD& ud) {
    std::string line = std::string(callback) + " " + (w != nullptr ? w->name() : "-") + " " +
                       (ev != nullptr && GwCallbackTypeName(ev->type) != nullptr ? GwCallbackTypeName(ev->type) : "-") +
                       " " + ud.string();
    if (ev == nullptr) return line;
    if (ev->type == GwCB_CHANGE) line += " value=" + std::to_string(ev->value);
    if (ev->type == GwCB_SPREADSHEET) line += " reason=" + std::to_string(ev->reason);
    if (ev->type == GwCB_SPREADSHEET || ev->type == GwCB_DEFAULT)
        line += " cell=" + std::to_string(ev->row) + "," + std::to_string(ev->column);
    return line;
}

int CB_Note(GwCore* w, GwEvent* ev, GwUD ud) {
    Notes().push_back(Describe("CB_Note", w, ev, ud));
    return g_callback_result;
}

int CB_Cell(GwCore* w, GwEvent* ev, GwUD ud) {
    Notes().push_back(Describe("CB_Cell", w, ev, ud));
    return g_callback_result;
}

const GwFuncDesc kTable[] = {{"CB_Note", CB_Note}, {"CB_Cell", CB_Cell}, {nullptr, nullptr}};

}  // namespace

std::vector<std::string>& Notes() {
    static std::vector<std::string> notes;
    return notes;
}

void KindsTest::SetUp() {
    testsupport::WriteFile(testsupport::RuntimePath("bin/kinds.cgw"),
                           testsupport::ReadFile(std::string(TORVAN_KINDS_FIXTURES) + "/kinds.cgw"));
    ASSERT_NE(GwRcMgr::use_func_desc(kTable), 0);
    ASSERT_TRUE(GwRcMgr::use("kinds.cgw"));
    main_ = GwRcMgr::load(nullptr, "MainWindow", 1);
    ASSERT_NE(main_, nullptr);
    main_->show();
    Notes().clear();
}

}  // namespace kinds_test
