// Hosting a control that a loadable module serves: made by class id through
// the registry store, bound to the program's wrapper, methods by dispatch
// number, events to callbacks bound by name; the VARIANT conversions; the
// DDE client.
#include <gtest/gtest.h>

#include <optional>

#include "platform/com/com_registry.h"
#include "platform/system/dynamic_library.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/hosting/gw_dde_client.h"
#include "toolkit/hosting/gw_ole_control.h"
#include "toolkit/hosting/gw_variant.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace {

using namespace platform;

// The class the object layer's test module serves: Describe(text, number,
// count) gives "text|number|count", AskForFile fires FileWanted with a path
// buffer by reference and returns what the host left in it, Announce(text)
// fires Announced(text).
constexpr CLSID kTestEditorClass = GuidLiteral("{1CF1C014-F30F-416D-9DED-864034B11B8D}");
constexpr IID kTestEditorEvents = GuidLiteral("{6ADB8206-08CA-40F1-94A4-5E93925A8070}");
enum : DISPID { kDescribe = 1, kAskForFile = 2, kAnnounce = 3 };
constexpr DispatchMember kEditorEvents[] = {
    {1, "FileWanted", 1, {VT_BYREF | VT_BSTR}, VT_EMPTY},
    {2, "Announced", 1, {VT_BSTR}, VT_EMPTY},
};

class TestEditorX : public GwOleControlWrapper {
public:
    TestEditorX() : GwOleControlWrapper("TestEditorX") {}
    std::string GetClassId() const override { return GuidToString(kTestEditorClass); }

    // A method with a text result; "" when the call fails.
    std::string CallForText(DISPID id, std::vector<VARIANT> args) {
        VARIANT result;
        HRESULT hr = Invoke(id, args, &result);
        for (VARIANT& a : args) VariantClear(&a);
        std::string text;
        if (Succeeded(hr)) VariantToText(result, &text);
        VariantClear(&result);
        return text;
    }
};

std::vector<std::string> g_events;
std::optional<std::string> g_answer;

int CB_FileWanted(GwCore* w, GwEvent* ev, GwUD ud) {
    VARIANT* arg = GwOleEventArgument(ev, 0);
    g_events.push_back(w->name() + " " + ev->name + " " + ud.string() + " [" + GwStringFromVARIANT(arg).str() + "]" +
                       (GwOleEventArgument(ev, 1) == nullptr ? "" : " second argument?"));
    if (g_answer) {
        EXPECT_TRUE(GwStringToVARIANT(g_answer->c_str(), arg));
    }
    return 1;
}

int CB_Announced(GwCore*, GwEvent* ev, GwUD) {
    g_events.push_back("Announced " + GwStringFromVARIANT(GwOleEventArgument(ev, 0)).str());
    return 1;
}

const GwFuncDesc kTable[] = {{"CB_FileWanted", CB_FileWanted}, {"CB_Announced", CB_Announced}, {nullptr, nullptr}};

constexpr char kDefinitions[] = R"(
dialogframe EditorX {
    olecontrol EditorControl {
        wrapper = TestEditorX
        on FileWanted = CB_FileWanted "archive"
        on Announced = CB_Announced
    }
    olecontrol NotRegistered { class_id = "{00000000-0000-0000-0000-000000000001}" }
    olecontrol Malformed { class_id = "{1CF1C014}" }
    olecontrol NoWrapper { wrapper = NoSuchWrapper }
}
)";

class Hosting : public ::testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        g_answer.reset();
        ASSERT_EQ(RegisterServer(ExecutableDirectory() + "/libtorvan_com_test_server.so"), S_OK);
        GwRegisterControlEvents(kTestEditorClass, kTestEditorEvents, kEditorEvents);
        ASSERT_NE(GwRcMgr::use_func_desc(kTable), 0);
        ASSERT_TRUE(GwRcMgr::use_text(kDefinitions, "editor.cgw"));
        window_ = GwRcMgr::load(nullptr, "EditorX", 1);
        ASSERT_NE(window_, nullptr);
        control_ = dynamic_cast<GwOleControl*>(window_->child("EditorControl"));
        ASSERT_NE(control_, nullptr);
    }

    TestEditorX wrapper_;
    GwCore* window_ = nullptr;
    GwOleControl* control_ = nullptr;
};

TEST_F(Hosting, ControlMadeByClassIdCalledByNumberWithEvents) {
    EXPECT_TRUE(control_->is_class(GwOLECONTROL_CLASS));
    ASSERT_TRUE(control_->has_object()) << "loading the window made the object";
    EXPECT_EQ(wrapper_.CallForText(kDescribe, {VariantFromString("x")}), "") << "not bound yet";
    control_->set_wrapper(&wrapper_);
    EXPECT_EQ(wrapper_.control(), control_);

    EXPECT_EQ(wrapper_.CallForText(kDescribe,
                                   {VariantFromString("PLC V3.10"), VariantFromDouble(3.1), VariantFromLong(4096)}),
              "PLC V3.10|3.1|4096");

    g_answer = "..\\TMP\\PlcIn.txt";
    EXPECT_EQ(wrapper_.CallForText(kAskForFile, {}), "..\\TMP\\PlcIn.txt");
    g_answer.reset();
    EXPECT_EQ(wrapper_.CallForText(kAskForFile, {}), " ") << "a host that leaves the buffer alone";
    EXPECT_EQ(wrapper_.InvokeBool(kAnnounce, {VariantFromString("Proj1")}), TRUE);
    EXPECT_EQ(g_events,
              (std::vector<std::string>{
                  "EditorControl FileWanted archive [ ]", "EditorControl FileWanted archive [ ]", "Announced Proj1"}));
}

TEST_F(Hosting, ControlsWithoutObjectFailTheirCalls) {
    const std::vector<std::string>& log = testsupport::LoggedLines();
    auto logged = [&](const std::string& part) {
        for (const auto& line : log)
            if (line.find(part) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(logged("\"EditorX.NotRegistered\" cannot create {00000000-0000-0000-0000-000000000001}"));
    EXPECT_TRUE(logged("\"EditorX.Malformed\" has the malformed class id \"{1CF1C014}\""));
    EXPECT_TRUE(logged("\"EditorX.NoWrapper\" names the unknown wrapper \"NoSuchWrapper\""));
    auto* empty = dynamic_cast<GwOleControl*>(window_->child("NotRegistered"));
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->has_object());
    empty->set_wrapper(&wrapper_);
    EXPECT_EQ(wrapper_.InvokeBool(kAnnounce, {VariantFromString("Proj1")}), FALSE);

    // Binding another control unbinds the first; destroying the bound one
    // leaves the wrapper unbound.
    control_->set_wrapper(&wrapper_);
    EXPECT_EQ(empty->wrapper(), nullptr);
    EXPECT_EQ(wrapper_.InvokeBool(kAnnounce, {VariantFromString("Proj1")}), TRUE);
    control_->destroy();
    EXPECT_EQ(wrapper_.control(), nullptr);
    EXPECT_EQ(wrapper_.InvokeBool(kAnnounce, {VariantFromString("Proj2")}), FALSE);
    EXPECT_EQ(g_events, (std::vector<std::string>{"Announced Proj1"}));
}

TEST_F(Hosting, WrapperRegistersByName) {
    EXPECT_EQ(GwComObject::find("TestEditorX"), &wrapper_);
    {
        TestEditorX second;
        EXPECT_EQ(GwComObject::find("TestEditorX"), &second) << "the later one takes the name";
    }
    EXPECT_EQ(GwComObject::find("TestEditorX"), nullptr);
    EXPECT_EQ(GwComObject::find("PlcEditorX"), nullptr);
}

TEST(VariantConversions, TextsFlagsAndByReferenceAnswers) {
    BSTR by_ref_text = SysAllocString("C:\\old.txt");
    VARIANT cases_text[] = {VariantFromString(std::string_view("PlcIn\0tail", 10)),
                            VariantByRefString(&by_ref_text),
                            VariantFromLong(7),
                            VARIANT()};
    const char* expected_text[] = {"PlcIn", "C:\\old.txt", "", ""};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(GwStringFromVARIANT(&cases_text[i]).str(), expected_text[i]) << i;
    EXPECT_EQ(GwStringFromVARIANT(nullptr).str(), "");

    struct FlagCase {
        VARIANT value;
        bool flag;
    } flags[] = {{VariantFromBool(true), true},
                 {VariantFromBool(false), false},
                 {VariantFromLong(5), true},
                 {VariantFromLong(0), false},
                 {VariantFromDouble(1.0), false},
                 {VARIANT(), false}};
    for (size_t i = 0; i < std::size(flags); ++i) EXPECT_EQ(GwBoolFromVARIANT(&flags[i].value), flags[i].flag) << i;
    EXPECT_FALSE(GwBoolFromVARIANT(nullptr));

    EXPECT_TRUE(GwStringToVARIANT("..\\TMP\\PlcIn.txt", &cases_text[1]));
    EXPECT_EQ(BstrText(by_ref_text), "..\\TMP\\PlcIn.txt");
    EXPECT_TRUE(GwStringToVARIANT(nullptr, &cases_text[1]));
    EXPECT_EQ(SysStringLen(by_ref_text), 0u);
    EXPECT_FALSE(GwStringToVARIANT("x", &cases_text[0])) << "only arguments by reference take answers";
    EXPECT_EQ(GwStringFromVARIANT(&cases_text[0]).str(), "PlcIn");
    EXPECT_FALSE(GwStringToVARIANT("x", nullptr));
    VariantClear(&cases_text[0]);
    SysFreeString(by_ref_text);
}

TEST(DdeClient, ConnectsOnlyToAServerThatServesTheServiceAndTopic) {
    GwDdeClient client;
    EXPECT_FALSE(client.connect("C:\\Tools\\plot.exe", "System")) << "no program serves DDE here";
    EXPECT_FALSE(client.execute("OpenFirst x"));

    gwtest::FakeDdeServer& server = gwtest::StartDdeServer("C:\\Tools\\plot.exe");
    EXPECT_FALSE(client.connect("c:\\tools\\plot.exe", "System")) << "the service name exactly";
    EXPECT_FALSE(client.connect("C:\\Tools\\plot.exe", "Data"));
    ASSERT_TRUE(client.connect("C:\\Tools\\plot.exe", "System"));
    EXPECT_TRUE(client.execute("OpenFirst C:\\My Plots\\Scope.dat"));
    server.execute_result = false;
    EXPECT_FALSE(client.execute("OpenNext C:\\My Plots\\Scope.dat"));
    client.disconnect();
    EXPECT_FALSE(client.execute("OpenNext y"));
    EXPECT_EQ(server.connects,
              (std::vector<std::string>{
                  "c:\\tools\\plot.exe|System", "C:\\Tools\\plot.exe|Data", "C:\\Tools\\plot.exe|System"}));
    EXPECT_EQ(server.commands,
              (std::vector<std::string>{"OpenFirst C:\\My Plots\\Scope.dat", "OpenNext C:\\My Plots\\Scope.dat"}));
    EXPECT_EQ(server.disconnects, 1);
}

}  // namespace
