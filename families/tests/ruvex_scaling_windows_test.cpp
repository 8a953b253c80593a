// The Ruvex scaling windows on the virtual drive: the SCDSC dialog, the SCJ
// switch, opening the NA windows and the NA2 check.
#include "families/ruvex_scaling_windows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/services/window_handler.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "parameters/parabase/para_base.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_ud.h"

namespace devicewintest {
namespace {

uint32_t FloatBits(float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

constexpr char kNa2Window[] = "button Check { }\n edit _PN_817 { }\n toggle scj_yes { }\n toggle scj_no { }";

class RuvexScalingTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        auto texts = [&](int number, const char* name, std::map<int, std::string> values) {
            sim::DriveParameter* p = table.PutFullRange(number, name, "USIGN8", 0);
            p->minimum = 0;
            p->maximum = 9;
            p->flags |= sim::kFlagValueTexts;
            p->value_texts = std::move(values);
        };
        texts(819, "UKIND", {{0, "Motor"}, {1, "Linear"}, {2, "Fine"}, {3, "Rotary"}, {4, "Arc"}, {5, "Bad"}});
        texts(823, "PUNIT", {{0, "rev"}, {1, "mm"}, {2, "m"}, {3, "um"}, {4, "rad"}, {5, "deg"}, {6, "rpm"}});
        texts(824, "VUNIT", {{0, "rev/s"}, {1, "mm/s"}, {2, "m/s"}, {3, "x"}, {4, "rad/s"}, {5, "d/s"}, {6, "rpm"}});
        texts(817, "SCJ", {{0, "off"}, {1, "on"}, {2, "two"}, {3, "three"}});
        for (int number : {766, 767, 768})
            table.PutFullRange(number, ("UT" + std::to_string(number)).c_str(), "STRING", 0);
        for (int number : {700, 701}) table.PutFullRange(number, ("R" + std::to_string(number)).c_str(), "USIGN16", 0);
        for (int number : {711, 712, 764, 858}) {
            sim::DriveParameter* p = table.PutFullRange(number, ("F" + std::to_string(number)).c_str(), "FLOAT32", 0);
            p->minimum = FloatBits(-1e30f);
            p->maximum = FloatBits(1e30f);
        }
        for (int number : {825, 826, 827, 828, 829, 855, 763}) {
            table.PutFullRange(number, ("N" + std::to_string(number)).c_str(), "USIGN32", 0);
        }
        sim::DriveParameter* scdsc = table.PutFullRange(46, "SCDSC", "INT32Q16", 10 * 65536 + 16384);
        scdsc->minimum = 2 * 65536;
        scdsc->maximum = 50 * 65536;
        return table;
    }
    sim::DriveParameter& P(int number) { return *Drive().Table().Find(number); }
    void Store(int number, double value) {
        ASSERT_EQ(context_->Base->SetValueDouble(number, value), kParaOk) << number;
    }
    GwCore* OpenNa2() {
        context_ = MakeContext(true);
        OpenWindow(kNa2Window, context_);
        TheWindowHandler().Add(window_, 1);
        return W("Check");
    }
    // Loads a window of that definition under `parent`, listed, with the
    // context as user data.
    GwCore* OpenListed(const std::string& definition, GwCore* parent, TestContext* context) {
        EXPECT_TRUE(GwRcMgr::use_text(definition, "ruvex-test.cgw"));
        const std::string name = definition.substr(12, definition.find(' ', 12) - 12);
        GwCore* window = GwRcMgr::load(parent, name.c_str(), 1);
        EXPECT_NE(window, nullptr) << name;
        if (window == nullptr) return nullptr;
        window->set_user_data(GwUD(static_cast<void*>(context)));
        window->set_close_mode(2);
        TheWindowHandler().Add(window, 1);
        window->show();
        return window;
    }
    std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const GwBoxRecord& box : NewBoxes()) boxes.push_back(box.kind + ": " + box.text);
        return boxes;
    }
    TestContext* context_ = nullptr;
};

struct Na2Case {
    const char* Name;
    std::vector<std::pair<int, double>> Inputs;
    std::vector<std::string> Boxes;  // kind: text
    bool Hidden;
    uint32_t Z;  // 700 (0: not written)
    uint32_t M;
    float F711;
    float F712;
};

TEST_F(RuvexScalingTest, Na2TakeOverAndCheck) {
    const Na2Case cases[] = {
        {"exact",
         {{827, 0}, {825, 3}, {826, 7}, {819, 1}, {823, 2}, {824, 6}},
         {},
         true,
         3,
         7,
         3.0 / 7,
         0.0010922666666666667},
        {"approximated",
         {{827, 1}, {828, 3}, {826, 1}, {819, 1}, {823, 2}, {824, 2}},
         {"warning: The ratio can only be approximated (deviation -66.6672 percent)"},
         true,
         65535,
         1,
         65535,
         65535 / 1000.0},
        {"mode 2",
         {{827, 2}, {828, 3}, {829, 2}, {855, 4}, {826, 3}, {819, 1}, {823, 2}, {824, 2}},
         {},
         true,
         32768,
         1,
         32768,
         32768 / 1000.0},
        {"angle",
         {{827, 0}, {825, 3}, {826, 7}, {819, 3}, {823, 4}, {824, 3}},
         {"warning: The resolution F712 is too small!"},
         false,
         3,
         7,
         static_cast<float>(3 * 180 / (7 * 3141.592653589793)),
         static_cast<float>(3 / (7 * 1e6))},
        {"mode 3", {{827, 3}, {825, 3}, {826, 7}}, {"error: Invalid selection of the unit!"}, false, 0, 0, 0, 0},
        {"kind 5", {{825, 3}, {826, 7}, {819, 5}}, {"error: Invalid selection of the unit!"}, false, 3, 7, 0, 0},
        {"823 without a row",
         {{825, 3}, {826, 7}, {819, 1}, {823, 3}, {824, 9}},
         {"error: No unit is defined for this selection of parameter 823!"},
         false,
         3,
         7,
         0,
         0},
        {"824 without a row",
         {{825, 3}, {826, 7}, {819, 1}, {823, 2}, {824, 9}},
         {"error: No unit is defined for this selection of parameter 824!"},
         false,
         3,
         7,
         0,
         0},
        {"small F712",
         {{825, 1}, {826, 1}, {819, 0}, {823, 0}, {824, 0}},
         {"warning: The resolution F712 is too small!"},
         false,
         1,
         1,
         0.001f,
         1e-6f},
        {"zero denominator", {{825, 3}, {826, 0}}, {"error: Invalid selection of the unit!"}, false, 0, 0, 0, 0},
    };
    for (const Na2Case& c : cases) {
        SCOPED_TRACE(c.Name);
        GwCore* check = OpenNa2();
        for (auto [number, value] : c.Inputs) Store(number, value);
        for (int number : {700, 701, 711, 712}) P(number).value = 0;
        MarkBoxes();
        EXPECT_EQ(CB_NA2_TakeAndCheck(check, nullptr, GwUD()), 1);
        std::vector<std::string> boxes;
        for (const GwBoxRecord& box : NewBoxes()) boxes.push_back(box.kind + ": " + box.text);
        EXPECT_EQ(boxes, c.Boxes);
        EXPECT_EQ(window_->is_visible(), !c.Hidden);
        EXPECT_EQ(P(700).value, c.Z);
        EXPECT_EQ(P(701).value, c.M);
        EXPECT_EQ(P(711).value, FloatBits(c.F711));
        EXPECT_EQ(P(712).value, FloatBits(c.F712));
        if (c.Z != 0) {
            EXPECT_EQ(P(766).text, context_->Base->GetDispatchedValueText(819));
            EXPECT_EQ(P(767).text, context_->Base->GetDispatchedValueText(823));
            EXPECT_EQ(P(768).text, context_->Base->GetDispatchedValueText(824));
        }
        if (std::string(c.Name) == "exact") {
            EXPECT_EQ(P(766).text, "Linear");
            EXPECT_EQ(P(767).text, "m");
            EXPECT_EQ(P(768).text, "rpm");
        }
        TheWindowHandler().DeleteWindow(window_);
        window_->destroy();
    }
}

TEST_F(RuvexScalingTest, Na2LengthAndARefusedUnitText) {
    GwCore* check = OpenNa2();
    for (auto [number, value] : {std::pair{825, 3.0},
                                 {826, 7.0},
                                 {819, 1.0},
                                 {823, 2.0},
                                 {824, 6.0},
                                 {763, 1.0},
                                 {829, 2.0},
                                 {855, 4.0},
                                 {858, 5.0}}) {
        Store(number, value);
    }
    CB_NA2_TakeAndCheck(check, nullptr, GwUD());
    EXPECT_EQ(P(764).value, FloatBits(2.5f));
    TheWindowHandler().DeleteWindow(window_);
    window_->destroy();
    // A refused write of 767: device error 5 and nothing after it.
    check = OpenNa2();
    for (auto [number, value] : {std::pair{825, 3.0}, {826, 7.0}, {819, 1.0}, {823, 2.0}, {824, 6.0}})
        Store(number, value);
    P(700).value = 0;
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusWriteAccess).For("20767").Times(sim::kForever));
    MarkBoxes();
    CB_NA2_TakeAndCheck(check, nullptr, GwUD());
    ASSERT_FALSE(NewBoxes().empty());
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(P(700).value, 0u);
    EXPECT_TRUE(window_->is_visible());
}

TEST_F(RuvexScalingTest, ScjShowAndToggles) {
    for (auto [value, yes] : {std::pair{0u, false}, std::pair{3u, true}}) {
        SCOPED_TRACE(value);
        P(817).value = value;
        OpenNa2();
        CB4_ShowSCJ(W("_PN_817"), nullptr, GwUD());
        EXPECT_EQ(dynamic_cast<GwToggle*>(W("scj_yes"))->is_checked(), yes);
        EXPECT_EQ(dynamic_cast<GwToggle*>(W("scj_no"))->is_checked(), !yes);
        EXPECT_EQ(W("_PN_817")->is_visible(), yes);
        window_->destroy();
    }
    // A failed read: error 5 and no widget changed.
    OpenNa2();
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20817"));
    MarkBoxes();
    EXPECT_EQ(CB4_ShowSCJ(W("_PN_817"), nullptr, GwUD()), 1);
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{
                  "error: RS232 transmission error in parameter 817-SCJ  : \nDevice canceled last telegram!"}));
    EXPECT_TRUE(W("_PN_817")->is_visible());
    EXPECT_FALSE(dynamic_cast<GwToggle*>(W("scj_yes"))->is_checked());
    EXPECT_FALSE(dynamic_cast<GwToggle*>(W("scj_no"))->is_checked());
    window_->destroy();
    // A caller without a parameter changes nothing.
    OpenNa2();
    CB4_ShowSCJ(W("Check"), nullptr, GwUD());
    EXPECT_TRUE(W("Check")->is_visible());
    EXPECT_FALSE(dynamic_cast<GwToggle*>(W("scj_no"))->is_checked());
    // "no" writes 0 through the binding and hides the field.
    P(817).value = 3;
    auto* no = dynamic_cast<GwToggle*>(W("scj_no"));
    no->set_checked(true);
    CB4_Control_Moment_no(no, nullptr, GwUD());
    EXPECT_EQ(P(817).value, 0u);
    EXPECT_EQ(W("_PN_817")->text(), "0");
    EXPECT_FALSE(W("_PN_817")->is_visible());
    no->set_checked(false);
    CB4_Control_Moment_no(no, nullptr, GwUD());
    EXPECT_TRUE(W("_PN_817")->is_visible());
    auto* yes = dynamic_cast<GwToggle*>(W("scj_yes"));
    yes->set_checked(false);
    CB4_Control_Moment_yes(yes, nullptr, GwUD());
    EXPECT_FALSE(W("_PN_817")->is_visible());
    yes->set_checked(true);
    CB4_Control_Moment_yes(yes, nullptr, GwUD());
    EXPECT_TRUE(W("_PN_817")->is_visible());
}

constexpr char kScdscWindow[] =
    "edit scdsc { }\n slider scdsc_slider { }\n button StartSetup { }\n button Write { }\n edit Ratio_PN_825 { }";

TEST_F(RuvexScalingTest, ScdscShowsTheValueAndFollowsTheSlider) {
    OpenWindow(kScdscWindow, MakeContext(true));
    auto* slider = dynamic_cast<GwSlider*>(W("scdsc_slider"));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(CB4_Show_SCDSC(W("Write"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("scdsc")->text(), "10.25");
    EXPECT_EQ(slider->start(), 2.0);
    EXPECT_EQ(slider->end(), 50.0);
    EXPECT_EQ(slider->value(), 10.25);
    EXPECT_FALSE(W("StartSetup")->is_enabled());

    slider->set_value(33.5);
    EXPECT_EQ(CB4_NewScdscSliderValue(slider, nullptr, GwUD()), 1);
    EXPECT_EQ(W("scdsc")->text(), "33.5");
    EXPECT_TRUE(W("StartSetup")->is_enabled());
    // Typing into the field enables the start key too and keeps the text;
    // another caller changes nothing.
    W("StartSetup")->disable();
    W("scdsc")->set_text("12.");
    EXPECT_EQ(CB4_NewScdscSliderValue(W("Ratio_PN_825"), nullptr, GwUD()), 1);
    EXPECT_FALSE(W("StartSetup")->is_enabled());
    EXPECT_EQ(CB4_NewScdscSliderValue(W("scdsc"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("scdsc")->text(), "12.");
    EXPECT_TRUE(W("StartSetup")->is_enabled());
    EXPECT_EQ(slider->value(), 33.5);

    // A failed read: the error box, nothing shown.
    W("scdsc")->set_text("x");
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20046"));
    MarkBoxes();
    CB4_Show_SCDSC(W("Write"), nullptr, GwUD());
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{
                  "error: RS232 transmission error in parameter 46-SCDSC: \nDevice canceled last telegram!"}));
    EXPECT_EQ(W("scdsc")->text(), "x");
}

struct ScdscWriteCase {
    const char* Name;
    const char* Text;
    bool ProfiListed;
    bool Refused;
    std::vector<std::string> Boxes;
    uint32_t Value46;  // raw, after the write
    bool CallerEnabled;
};

TEST_F(RuvexScalingTest, ScdscWriteWaitsWritesAndRefreshes) {
    constexpr uint32_t kBefore = 10 * 65536 + 16384;
    const ScdscWriteCase cases[] = {
        {"written", "12.5", false, false, {}, 12 * 65536 + 32768, false},
        {"profi window refreshed", "12.5", true, false, {}, 12 * 65536 + 32768, true},
        {"empty field", "", false, false, {}, kBefore, true},
        {"refused",
         "12.5",
         false,
         true,
         {"error: RS232 transmission error in parameter 46-SCDSC: \nInvalid writeaccess to parameter!"},
         kBefore,
         true},
    };
    for (const ScdscWriteCase& c : cases) {
        SCOPED_TRACE(c.Name);
        P(46).value = kBefore;
        TestContext* context = MakeContext(true);
        GwRef<> profi;
        if (c.ProfiListed) {
            profi = OpenListed("dialogframe 4_Control_Profi { label Scdsc_PN_46 { } }", mainWindow_, context);
        }
        OpenWindow(kScdscWindow, context);
        W("scdsc")->set_text(c.Text);
        if (c.Refused) Drive().AddFault(sim::DriveFault::Nak(sim::kStatusWriteAccess).For("20046"));
        Drive().ClearCapture();
        NewLogText();
        MarkBoxes();
        const uint64_t start = platform::TheClock().NowUs();
        EXPECT_EQ(CB4_WriteScdsc(W("Write"), nullptr, GwUD()), 1);
        EXPECT_EQ(Boxes(), c.Boxes);
        EXPECT_EQ(P(46).value, c.Value46);
        EXPECT_EQ(W("Write")->is_enabled(), c.CallerEnabled);
        std::vector<sim::HeardTelegram> writes;
        for (const sim::HeardTelegram& heard : Drive().Capture().Telegrams()) {
            if (heard.text.rfind("W 20046", 0) == 0) writes.push_back(heard);
        }
        if (*c.Text == '\0') {
            EXPECT_TRUE(writes.empty());
            EXPECT_EQ(NewLogText().find("Computing the units"), std::string::npos);
        } else {
            ASSERT_EQ(writes.size(), 1u);
            EXPECT_GE(writes[0].time_us, start + 500000);
            EXPECT_EQ(dynamic_cast<GwSlider*>(W("scdsc_slider"))->value(), 12.5);
            EXPECT_NE(NewLogText().find("\tComputing the units ...\n"), std::string::npos);
        }
        if (profi) {
            EXPECT_EQ(profi->child("Scdsc_PN_46")->text(), "12.5");
            TheWindowHandler().Close(profi.get());
        }
        window_->destroy();
    }
}

// The NA windows the tests open: the main NA window and the NA2 window of
// unit kind 1 ("Linear").
constexpr char kNaWindows[] =
    "dialogframe 4_NA_Main { button Na2 { } }\ndialogframe 4_NA_Linear { button Check { } }\n"
    "dialogframe 4_NA_Rotary { button Check { } }\n";
constexpr char kCallerWindow[] = "button Open { }\n edit Ratio_PN_825 { }\n edit Kind_PN_819 { }";

int& CallerShows() {
    static int shows = 0;
    return shows;
}
int CountCallerShow(GwCore*, GwEvent*, GwUD) { return ++CallerShows(), 1; }
const GwFuncDesc kNaTestCallbacks[] = {{"CountCallerShow", CountCallerShow}, {nullptr, nullptr}};

class RuvexNaWindowTest : public RuvexScalingTest {
public:
    void SetUp() override {
        RuvexScalingTest::SetUp();
        GwRcMgr::use_func_desc(kNaTestCallbacks);
        ASSERT_TRUE(GwRcMgr::use_text(kNaWindows, "na.cgw"));
        CallerShows() = 0;
    }
    // A listed caller with a changed value of 825 typed in.
    GwCore* OpenCaller(bool online) {
        context_ = MakeContext(online);
        OpenWindow(std::string(kCallerWindow) + "\n on show = CountCallerShow", context_);
        TheWindowHandler().Add(window_, online ? 1 : 0);
        W("Ratio_PN_825")->set_text("9");
        SetWidgetChanged(W("Ratio_PN_825"), true);
        return window_;
    }
    void ExpectOpened(GwCore* window, GwCore* caller, bool online) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->parent(), caller->parent());
        EXPECT_EQ(window->user_data().pointer(), context_);
        EXPECT_EQ(window->modality(), 1);
        EXPECT_EQ(window->close_mode(), 2);
        EXPECT_TRUE(window->is_visible());
        EXPECT_EQ(TheWindowHandler().IsOnlineWindow(window), online);
    }
    double Stored(int number) {
        double value = -1;
        context_->Base->GetValueDouble(number, &value);
        return value;
    }
};

TEST_F(RuvexNaWindowTest, Na1OpensTheMainWindowAndTakesTheCallersValues) {
    for (bool online : {true, false}) {
        SCOPED_TRACE(online ? "online" : "offline");
        P(825).value = 0;
        GwRef<> caller = OpenCaller(online);
        // A main NA window still listed from before is closed first.
        GwRef<> old = OpenListed("dialogframe 4_NA_Main { button Na2 { } }", mainWindow_, context_);
        EXPECT_EQ(CB_CallNA1(W("Open"), nullptr, GwUD()), 1);
        EXPECT_FALSE(old);
        GwCore* na = TheWindowHandler().FindByName("4_NA_Main");
        ExpectOpened(na, caller.get(), online);
        EXPECT_EQ(TheRuvexNaState().Na1Caller.get(), caller.get());
        EXPECT_EQ(online ? P(825).value : 0u, online ? 9u : 0u);
        EXPECT_EQ(Stored(825), 9.0);
        EXPECT_TRUE(caller->is_visible());
        TheWindowHandler().Close(na);
        TheWindowHandler().DeleteWindow(caller.get());
        caller->destroy();
    }
}

TEST_F(RuvexNaWindowTest, Na1AndCloseThisHidesTheCaller) {
    GwRef<> caller = OpenCaller(true);
    TheRuvexNaState().Na1Caller.reset();
    EXPECT_EQ(CB_CallNA1AndCloseThis(W("Open"), nullptr, GwUD()), 1);
    ExpectOpened(TheWindowHandler().FindByName("4_NA_Main"), caller.get(), true);
    EXPECT_EQ(P(825).value, 9u);
    EXPECT_FALSE(caller->is_visible());
    EXPECT_EQ(TheRuvexNaState().Na1Caller.get(), nullptr);
}

TEST_F(RuvexNaWindowTest, Na2OpensTheWindowOfTheTakenUnitKind) {
    // The unit kind typed into the caller is taken before the window is
    // chosen by its display text.
    P(819).value = 1;
    GwRef<> caller = OpenCaller(true);
    W("Kind_PN_819")->set_text("3");
    SetWidgetChanged(W("Kind_PN_819"), true);
    EXPECT_EQ(CB_CallNA2(W("Open"), nullptr, GwUD()), 1);
    EXPECT_EQ(P(819).value, 3u);
    EXPECT_EQ(P(825).value, 9u);
    EXPECT_EQ(TheWindowHandler().FindByName("4_NA_Linear"), nullptr);
    ExpectOpened(TheWindowHandler().FindByName("4_NA_Rotary"), caller.get(), true);
    EXPECT_FALSE(caller->is_visible());
}

TEST_F(RuvexNaWindowTest, Na2WithoutAWindowForTheUnitKindKeepsTheCaller) {
    P(819).value = 0;  // "Motor": no window of that name
    GwRef<> caller = OpenCaller(true);
    MarkBoxes();
    EXPECT_EQ(CB_CallNA2(W("Open"), nullptr, GwUD()), 1);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"error: A window or one of its elements could not be loaded!"}));
    EXPECT_EQ(P(825).value, 9u);
    EXPECT_TRUE(caller->is_visible());
    EXPECT_EQ(TheWindowHandler().FindByName("4_NA_Motor"), nullptr);
}

TEST_F(RuvexNaWindowTest, Na2CheckRedrawsAListedNa1CallerOnly) {
    GwRef<> caller = OpenCaller(true);
    SetWidgetChanged(W("Ratio_PN_825"), false);
    CB_CallNA1(W("Open"), nullptr, GwUD());
    GwCore* na = TheWindowHandler().FindByName("4_NA_Main");
    ASSERT_NE(na, nullptr);
    // The check works on stored values only.
    for (auto [number, value] : {std::pair{825, 3.0}, {826, 7.0}, {819, 1.0}, {823, 2.0}, {824, 6.0}, {827, 0.0}})
        Store(number, value);
    // A check with a warning (F712 too small) redraws the caller and keeps it.
    Store(823, 1);
    Store(824, 1);
    CallerShows() = 0;
    MarkBoxes();
    CB_NA2_TakeAndCheck(na->child("Na2"), nullptr, GwUD());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"warning: The resolution F712 is too small!"}));
    EXPECT_EQ(CallerShows(), 1);
    EXPECT_TRUE(caller->is_visible());
    EXPECT_EQ(TheRuvexNaState().Na1Caller.get(), caller.get());
    // A check without warning redraws it once more, then forgets it.
    Store(823, 2);
    Store(824, 6);
    CB_NA2_TakeAndCheck(na->child("Na2"), nullptr, GwUD());
    EXPECT_EQ(CallerShows(), 2);
    EXPECT_EQ(TheRuvexNaState().Na1Caller.get(), nullptr);
    EXPECT_FALSE(na->is_visible());
    // A remembered caller that left the window list is forgotten, not shown.
    TheRuvexNaState().Na1Caller = caller.get();
    TheWindowHandler().DeleteWindow(caller.get());
    caller->hide();
    Store(823, 1);
    Store(824, 1);
    na->show();
    CB_NA2_TakeAndCheck(na->child("Na2"), nullptr, GwUD());
    EXPECT_EQ(CallerShows(), 2);
    EXPECT_FALSE(caller->is_visible());
    EXPECT_EQ(TheRuvexNaState().Na1Caller.get(), nullptr);
    // One that is gone altogether likewise.
    TheRuvexNaState().Na1Caller = caller.get();
    caller->destroy();
    CB_NA2_TakeAndCheck(na->child("Na2"), nullptr, GwUD());
    EXPECT_EQ(TheRuvexNaState().Na1Caller.get(), nullptr);
}

}  // namespace
}  // namespace devicewintest
