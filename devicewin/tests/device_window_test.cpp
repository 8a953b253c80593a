// Device windows by name: the variants tried for a device, a listed window
// found before a new one is made, closing with dialogs, and the device-control
// windows.
#include "devicewin/device_window.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/services/window_handler.h"
#include "devicewin/device_control_windows.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

using parabasetest::Define;

class DeviceWindowTest : public parabasetest::ParaBaseTest {
protected:
    void Identity(int32_t p91, float p92, float p90) {
        Define(base, {.number = 91, .name = "TYPE", .type = kTypeUsign16, .maximum = 65535, .value = p91});
        Define(base, {.number = 92, .name = "VERS", .type = kTypeFloat32, .value = Bits(p92)});
        Define(base, {.number = 90, .name = "VERS2", .type = kTypeFloat32, .value = Bits(p90)});
    }
    static int32_t Bits(float f) {
        int32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        return bits;
    }
    static void Definitions(const std::string& text) { ASSERT_TRUE(GwRcMgr::use_text(text, "test.cgw")); }

    ParaBase base;
};

TEST_F(DeviceWindowTest, VariantsTriedForTheDevice) {
    struct Case {
        const char* name;
        int32_t p91;
        float p92;
        float p90;
        std::vector<std::string> expected;
    } cases[] = {
        // The given name's prefix is ignored: the device's family decides.
        {"7_DlgX", 3500, 209.9f, 0.0f, {"3_200_DlgX", "3_000_DlgX", "3_DlgX", "7_DlgX"}},
        {"4_PosMode", 4012, 205.0f, 180.0f, {"4_200_PosMode", "4_180_PosMode", "4_PosMode", "4_PosMode"}},
        {"4_20X_DlgX", 4012, 205.0f, 180.0f, {"4_200_DlgX", "4_180_DlgX", "4_DlgX", "4_20X_DlgX"}},
        {"4_200_PosMode", 5001, 31.0f, 5.0f, {"5_030_PosMode", "5_000_PosMode", "5_PosMode", "4_200_PosMode"}},
        {"0_DlgX", 3500, 209.9f, 0.0f, {"3_200_", "3_000_", "3_", "0_DlgX"}},
        {"A_DlgX", 3500, 209.9f, 0.0f, {"3_200_", "3_000_", "3_", "A_DlgX"}},
    };
    for (const Case& c : cases) {
        Identity(c.p91, c.p92, c.p90);
        EXPECT_EQ(DeviceWindowCandidates(c.name, &base), c.expected) << c.name;
    }
    // A base without the identity reads as 0 everywhere.
    ParaBase empty;
    const std::vector<std::string> none = {"0_000_DlgX", "0_000_DlgX", "0_DlgX", "7_DlgX"};
    EXPECT_EQ(DeviceWindowCandidates("7_DlgX", &empty), none);
}

TEST_F(DeviceWindowTest, FirstCandidateThatExistsListedWindowsFirst) {
    Identity(3500, 209.9f, 0.0f);
    Definitions("dialogframe 3_DlgX { }\ndialogframe 7_DlgX { }\ndialogframe 3_000_DlgX { }\n");
    GwCore* loaded = LoadDeviceWindowForVersion(nullptr, "7_DlgX", &base);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->name(), "3_000_DlgX");

    loaded->show();
    ASSERT_EQ(TheWindowHandler().Add(loaded, 1), 1);
    EXPECT_EQ(LoadDeviceWindowForVersion(nullptr, "7_DlgX", &base), loaded);

    Identity(9001, 1.0f, 0.0f);
    GwCore* fallback = LoadDeviceWindowForVersion(nullptr, "7_DlgX", &base);
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->name(), "7_DlgX");
    EXPECT_EQ(LoadDeviceWindowForVersion(nullptr, "8_None", &base), nullptr);
}

TEST_F(DeviceWindowTest, ClosingDestroysTheDialogsAndUnlistsTheWindow) {
    Definitions("dialogframe Page { container Box { } }\ndialogframe Helper { }\n");
    GwCore* page = GwRcMgr::load(nullptr, "Page", 1);
    GwCore* helper = GwRcMgr::load(page, "Helper", 1);
    page->set_close_mode(GwCLOSE_DESTROY);
    page->show();
    helper->show();
    ASSERT_EQ(TheWindowHandler().Add(page, 1), 1);
    EXPECT_EQ(CB_CloseDeviceWindow(page, nullptr, GwUD()), 1);
    EXPECT_FALSE(GwRcMgr::is_valid_child(helper));
    EXPECT_FALSE(GwRcMgr::is_valid_child(page));
    EXPECT_EQ(TheWindowHandler().Count(), 0);
}

TEST_F(DeviceWindowTest, AWindowsCloseButtonClosesTheWindow) {
    Definitions("dialogframe Page { button Close { } }\ndialogframe Helper { }\n");
    GwCore* page = GwRcMgr::load(nullptr, "Page", 1);
    GwCore* helper = GwRcMgr::load(page, "Helper", 1);
    page->set_close_mode(GwCLOSE_DESTROY);
    page->show();
    helper->show();
    ASSERT_EQ(TheWindowHandler().Add(page, 1), 1);
    EXPECT_EQ(CB_CloseDeviceWindow(page->child("Close"), nullptr, GwUD()), 1);
    EXPECT_FALSE(GwRcMgr::is_valid_child(helper));
    EXPECT_FALSE(GwRcMgr::is_valid_child(page)) << "the button's window is closed, not only its dialogs";
    EXPECT_EQ(TheWindowHandler().Count(), 0);
}

TEST_F(DeviceWindowTest, DeviceControlWindowsByName) {
    Definitions("dialogframe DeviceControl { }\ndialogframe 4_AOC_Jog { }\ndialogframe Other { }\n");
    WindowHandler& handler = TheWindowHandler();
    GwCore* other = GwRcMgr::load(nullptr, "Other", 1);
    other->show();
    handler.Add(other, 1);
    EXPECT_FALSE(IsDeviceControlOpen(&base));
    for (const char* name : {"DeviceControl", "4_AOC_Jog"}) {
        GwCore* w = GwRcMgr::load(nullptr, name, 1);
        w->set_close_mode(GwCLOSE_DESTROY);
        w->show();
        handler.Add(w, 1);
        EXPECT_TRUE(IsDeviceControlOpen(&base)) << name;
    }
    CloseDeviceControlWindows(&base);
    EXPECT_FALSE(IsDeviceControlOpen(&base));
    ASSERT_EQ(handler.Count(), 1);
    EXPECT_EQ(handler.First(), other);
}

}  // namespace
