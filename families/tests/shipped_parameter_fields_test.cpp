// The parameter fields of the shipped device windows: a value typed into a
// field must be marked as changed, or the window's take-over passes it by and
// the drive keeps its old value without a word.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/services/window_handler.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/tests/shipped_definitions.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_ud.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

// Every editable "_PN_" edit of every definition file, with its file and
// line, that binds neither a change nor a key callback.
std::vector<std::string> UnmarkedEditableFields() {
    std::vector<std::string> unmarked;
    for (const GwDefinitionFile& file : ShippedDefinitionFiles()) {
        for (const auto& window : file.windows) {
            ForEachDefinition(*window, [&](const GwDefinition& def) {
                if (def.kind != GwEDIT_CLASS || def.name.rfind("_PN_", 0) != 0) return;
                const bool editable = !def.flag("read_only", 0, false) && def.flag("editable", 0, true);
                const bool marks =
                    std::any_of(def.bindings.begin(), def.bindings.end(), [](const GwBindingDef& binding) {
                        return binding.event == "change" || binding.event == "key";
                    });
                if (editable && !marks) unmarked.push_back(def.file + ":" + std::to_string(def.line) + " " + def.name);
            });
        }
    }
    return unmarked;
}

TEST(ShippedParameterFieldsTest, EveryEditableParameterFieldMarksWhatIsTyped) {
    EXPECT_EQ(UnmarkedEditableFields(), std::vector<std::string>());
}

class ShippedFieldTakeOverTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        for (int number : {153, 154, 155, 156, 157, 158, 160, 852})
            table.PutFullRange(number, ("M" + std::to_string(number)).c_str(), "USIGN16", 0);
        return table;
    }

    // Opens a window of a shipped file from a caller, as a setup window's
    // button does, and answers it.
    GwRef<> OpenShipped(const std::string& file, const std::string& name) {
        EXPECT_TRUE(UseShippedFiles({file.c_str()}));
        GwRef<> caller = OpenWindow("button Open { }", MakeContext(true));
        TheWindowHandler().Add(caller.get(), 1);
        CB_CallDeviceWindow(W("Open"), nullptr, GwUD(name.c_str()));
        return TheWindowHandler().FindByName(name.c_str());
    }

    std::vector<std::string> Writes() {
        std::vector<std::string> writes;
        for (const std::string& heard : Heard()) {
            if (heard.rfind("W ", 0) == 0) writes.push_back(heard);
        }
        return writes;
    }
};

TEST_F(ShippedFieldTakeOverTest, TypedValuesReachTheDriveOnTakeOver) {
    struct Case {
        const char* File;
        const char* Window;
        int Parameter;
        const char* TakeOver;
        const char* Written;
    };
    const Case cases[] = {
        {"ruvex_v200.cgw", "4_200_Motordata", 154, "BT_TakeIt", "W 20154=7"},
        {"ruvex.cgw", "4_Motordata", 158, "BT_TakeIt", "W 20158=7"},
        {"pesco.cgw", "5_MotorIdent", 157, "BT_TakeIt", "W 20157=7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.File) + " " + c.Window);
        GwRef<> window = OpenShipped(c.File, c.Window);
        ASSERT_TRUE(window);
        GwCore* field = window->child("_PN_" + std::to_string(c.Parameter));
        ASSERT_NE(field, nullptr);
        Drive().ClearCapture();
        EXPECT_TRUE(gwtest::Replace(field, "7"));
        EXPECT_TRUE(gwtest::Click(window->child(c.TakeOver)));
        EXPECT_EQ(Writes(), (std::vector<std::string>{c.Written}));
        EXPECT_EQ(Drive().Table().Find(c.Parameter)->value, 7u);
        window->destroy();
    }
}

}  // namespace
}  // namespace devicewintest
