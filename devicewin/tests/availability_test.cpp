// Widgets that follow the presence of their parameters, the user's write
// rights, and the online state.
#include <gtest/gtest.h>

#include <string>

#include "app/main/user_levels.h"
#include "app/services/user_level.h"
#include "devicewin/availability.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "toolkit/core/gw_core.h"

namespace devicewintest {
namespace {

// Parameter 13 is absent; 300 (GRPIX) holds 2, so "_PN_x5" binds 7, which
// no other parameter of its group names alike.
constexpr char kMarkedWidgets[] =
    "formatedit _P_DISABLE_12 { }\nformatedit _P_DISABLE_13 { }\n"
    "label _P_HIDE_12 { }\nlabel _P_HIDE_13 { }\nlabel _P_HIDE_0 { }\n"
    "formatedit Gone_PN_13 { }\nformatedit Group_PN_x5 { }\n"
    "combo Write_PN_20 { }\nformatedit Locked_PN_34 { }\nlist List_PN_34 { }\n"
    "check Toggle_PN_34 { }\ncontainer Box_PN_34 { }\nformatedit Free_PN_20 { }\n";

class AvailabilityTest : public DeviceWindowTest {};

TEST_F(AvailabilityTest, WidgetsFollowThePresenceAndWriteRightOfTheirParameters) {
    SetUserLevel(3);
    GwCore* window = OpenWindow(kMarkedWidgets, MakeContext(false));
    EXPECT_EQ(CB_CheckParaID(window, nullptr, GwUD()), 1);
    struct Case {
        const char* name;
        bool enabled;
        bool shown;
        bool found;  // still found by name
    };
    const Case cases[] = {
        {"_P_DISABLE_12", true, true, true},
        {"_P_DISABLE_13", false, true, true},
        {"_P_HIDE_12", true, true, true},
        {"_P_HIDE_13", true, false, true},
        {"_P_HIDE_0", true, true, true},
        {"Gone_PN_13", false, true, false},
        {"Group_PN_x5", false, true, false},
        {"Write_PN_20", true, true, true},
        {"Locked_PN_34", true, true, true},
        {"List_PN_34", false, true, true},
        {"Toggle_PN_34", false, true, true},
        {"Box_PN_34", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GwCore* widget = nullptr;
        for (GwCore* child : window->children()) {
            if (child->name() == c.name) widget = child;
        }
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->is_enabled(), c.enabled);
        EXPECT_EQ(widget->is_shown(), c.shown);
        EXPECT_EQ(window->child(c.name) != nullptr, c.found);
    }
    GwCore* combo = W("Write_PN_20");
    EXPECT_FALSE(combo->is_editable()) << "selection only";
    EXPECT_EQ(combo->background(), "white");
    GwCore* locked = W("Locked_PN_34");
    EXPECT_FALSE(locked->is_editable());
    EXPECT_EQ(locked->background(), "default");
    EXPECT_FALSE(locked->is_focusable());
    EXPECT_TRUE(W("Free_PN_20")->is_editable()) << "the user may write it";
}

TEST_F(AvailabilityTest, OnlineOnlyWidgets) {
    struct Case {
        const char* aux;
        int level;
        bool online;
        bool enabled;
    };
    const Case cases[] = {
        {"4", 3, true, false},
        {"4", 4, true, true},
        {"4", 4, false, false},
        {"", 0, true, true},
        {"", 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.aux) + " " + std::to_string(c.level) + (c.online ? " online" : " offline"));
        SetUserLevel(static_cast<uint16_t>(c.level));
        OpenWindow(std::string("button Do { aux_text = \"") + c.aux + "\" }", MakeContext(c.online));
        EXPECT_EQ(CB_DisableIfOffline(W("Do"), nullptr, GwUD()), 1);
        EXPECT_EQ(W("Do")->is_enabled(), c.enabled);
    }
    for (bool manual : {true, false}) {
        SetHandModeEnabled(manual);
        for (bool online : {true, false}) {
            OpenWindow("button Hand { }", MakeContext(online));
            CB_DisableIfOfflineAndCheckGlobalManualMode(W("Hand"), nullptr, GwUD());
            EXPECT_EQ(W("Hand")->is_enabled(), manual && online) << manual << online;
        }
    }
}

}  // namespace
}  // namespace devicewintest
