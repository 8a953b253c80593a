#include <gtest/gtest.h>

#include "plceditor/adapter/edit_control.h"
#include "plceditor/adapter/status_bar.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/tests/sindel_host.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_widget_store.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace sindel {
namespace {

using namespace platform;

int EditorWindowCount() {
    int count = 0;
    for (GwCore* top : GwWidgetStore::Get().toplevel)
        if (top->is_alive() && top->name() == PlcEditorDialog::kWindowName) ++count;
    return count;
}

TEST(Dispatch, EveryMethodByItsNumber) {
    SindelHost host;
    testsupport::WriteFile(testsupport::RuntimePath("userdata/x.plc"), "%P00\r\nEND\r\n");

    HRESULT hr = S_OK;
    EXPECT_EQ(host.Call(kPlcSetFocus), "FALSE");  // no window yet
    EXPECT_EQ(host.Call(kPlcCreate, {}, &hr), "TRUE");
    EXPECT_EQ(hr, S_OK);
    ASSERT_NE(EditorWindow(), nullptr);
    EXPECT_TRUE(gwtest::IsVisible(EditorWindow()));
    PlcEditorDialog& editor = *PlcEditorDialog::FromWindow(EditorWindow());

    EXPECT_EQ(host.Call(kPlcSetVersion, {VariantFromDouble(3.1), VariantFromLong(4096)}), "TRUE");
    EXPECT_EQ(editor.Generator(), kGeneratorV310);
    EXPECT_EQ(editor.Generators().v310.memorySize(), 4096);
    EXPECT_EQ(host.Call(kPlcSetVersion, {VariantFromDouble(0), VariantFromLong(0)}), "FALSE");
    EXPECT_EQ(editor.Generator(), kGeneratorV310);
    EXPECT_EQ(host.Call(kPlcSetVersion, {VariantFromDouble(2.1), VariantFromLong(0)}), "TRUE");
    EXPECT_EQ(editor.Generator(), kGeneratorV210);
    EXPECT_EQ(editor.MemorySize(), 4096);

    EXPECT_EQ(host.Call(kPlcSetTmpFileName, {VariantFromString("..\\TMP\\PlcOut.txt")}, &hr), "");
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(host.Call(kPlcSetPlcProjPath, {VariantFromString("..\\FIRMDATA\\")}), "");
    std::string text;
    EXPECT_TRUE(editor.Control().GetTmpFileName(&text));
    EXPECT_EQ(text, "..\\TMP\\PlcOut.txt");
    EXPECT_TRUE(editor.Control().GetPlcProjPath(&text));
    EXPECT_EQ(text, "..\\FIRMDATA\\");
    host.Call(kPlcSetTmpFileName, {VariantFromString("")});
    EXPECT_FALSE(editor.Control().GetTmpFileName(&text));

    EXPECT_EQ(host.Call(kPlcFileOpen, {VariantFromString("..\\userdata\\x.plc")}), "TRUE");
    EXPECT_EQ(editor.Edit()->text(), "%P00\r\nEND\r\n");
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(host.Call(kPlcFileOpen, {VariantFromString("..\\userdata\\none.plc")}), "FALSE");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "Error at opening of\n..\\userdata\\none.plc");

    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(host.Call(kPlcBinaryFileOpen, {VariantFromString("..\\TMP\\PlcIn.txt")}, &hr), "FALSE");
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(gwtest::Boxes().back().text, "Error at opening of\n..\\TMP\\PlcIn.txt.");

    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Tool32784"));
    EXPECT_EQ(host.Call(kPlcSetOnline), "TRUE");
    for (const char* command : {"Tool32783", "Tool32784", "Menu32783", "Menu32784"})
        EXPECT_TRUE(gwtest::IsEnabled(std::string("PlcEditorDialog/") + command)) << command;
    EXPECT_EQ(host.Call(kPlcSetOffline), "TRUE");
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Tool32783"));
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Menu32784"));

    EXPECT_EQ(host.Call(kPlcSetFocus), "TRUE");
    EXPECT_EQ(GwCore::focus_widget(), editor.Edit());

    EXPECT_EQ(host.Call(kPlcDestroy), "TRUE");
    EXPECT_EQ(EditorWindow(), nullptr);
    EXPECT_EQ(host.Call(kPlcDestroy), "FALSE");
    EXPECT_TRUE(host.sink.events.empty());  // the host closed it: no cancel event
}

TEST(Dispatch, CallsThatDoNotFitTheMethodAreRefused) {
    SindelHost host;
    HRESULT hr = S_OK;
    host.Call(11, {}, &hr);
    EXPECT_EQ(hr, DISP_E_MEMBERNOTFOUND);
    host.Call(kPlcCreate, {VariantFromLong(1)}, &hr);
    EXPECT_EQ(hr, DISP_E_BADPARAMCOUNT);
    host.Call(kPlcFileOpen, {VariantFromDouble(1.0)}, &hr);
    EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
    host.Call(kPlcSetVersion, {VariantFromString("3.1"), VariantFromLong(1)}, &hr);
    EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(EditorWindow(), nullptr);
}

TEST(Dispatch, SecondCreateShowsTheOpenWindowAgain) {
    SindelHost host;
    PlcEditorDialog& editor = host.Create();
    editor.Edit()->set_text("kept");
    EditorWindow()->hide();
    EXPECT_EQ(host.Call(kPlcCreate), "TRUE");
    EXPECT_EQ(EditorWindowCount(), 1);
    EXPECT_TRUE(gwtest::IsVisible(EditorWindow()));
    EXPECT_EQ(editor.Edit()->text(), "kept");
    EXPECT_EQ(GwCore::focus_widget(), editor.Edit());
}

TEST(Dispatch, EachControlHasItsOwnEditor) {
    SindelHost first;
    SindelHost second;
    PlcEditorDialog& a = first.Create();
    EXPECT_EQ(second.Call(kPlcCreate), "TRUE");
    ASSERT_EQ(EditorWindowCount(), 2);
    a.Edit()->set_text("first");
    first.Call(kPlcDestroy);
    PlcEditorDialog* b = PlcEditorDialog::FromWindow(EditorWindow());
    ASSERT_NE(b, nullptr);
    EXPECT_NE(b, &a);
    EXPECT_EQ(b->Edit()->text(), "");
}

TEST(Events, EachReachesTheHostWithItsArguments) {
    SindelHost host;
    ControlLink& link = host.Create().Control();
    std::string answer;

    link.FirePlcFileToArchiv("..\\TMP\\PlcOut.txt");
    EXPECT_TRUE(link.FirePlcFileFromArchiv(&answer));  // the host leaves the name alone
    EXPECT_EQ(answer, " ");
    host.sink.answers[kPlcFileFromArchiv] = "";
    EXPECT_FALSE(link.FirePlcFileFromArchiv(&answer));
    EXPECT_EQ(answer, "");
    host.sink.answers[kPlcFileFromDevice] = std::string("..\\TMP\\PlcIn.txt\0old", 20);
    EXPECT_TRUE(link.FirePlcFileFromDevice(&answer));
    EXPECT_EQ(answer, "..\\TMP\\PlcIn.txt");
    link.FirePlcOnCancel();
    link.FirePlcFileToDevice("..\\TMP\\PlcOut.txt");
    link.FirePlcUpDateProjName("PROJ1", true);
    link.FirePlcUpDateProjName("", false);

    const std::vector<ReceivedEvent> expected = {
        {kPlcFileToArchiv, {"..\\TMP\\PlcOut.txt"}},
        {kPlcFileFromArchiv, {" "}},
        {kPlcFileFromArchiv, {" "}},
        {kPlcFileFromDevice, {" "}},
        {kPlcOnCancel, {}},
        {kPlcFileToDevice, {"..\\TMP\\PlcOut.txt"}},
        {kPlcUpDateProjName, {"PROJ1", "TRUE"}},
        {kPlcUpDateProjName, {"", "FALSE"}},
    };
    EXPECT_EQ(host.sink.events, expected);
}

TEST(Events, ClosingTheWindowFiresCancelOnceEvenWhenTheHostDestroysItThen) {
    SindelHost host;
    host.Create();
    host.sink.on_event = [&](DISPID id) {
        if (id == kPlcOnCancel) {
            EXPECT_EQ(host.Call(kPlcDestroy), "TRUE");
        }
    };
    EXPECT_TRUE(gwtest::Close(EditorWindow()));
    EXPECT_EQ(host.sink.events, (std::vector<ReceivedEvent>{{kPlcOnCancel, {}}}));
    EXPECT_EQ(EditorWindow(), nullptr);
    // A new window after the old one is gone.
    EXPECT_EQ(host.Call(kPlcCreate), "TRUE");
    EXPECT_NE(EditorWindow(), nullptr);
}

TEST(Events, AHostMayLetGoOfTheControlInsideCancel) {
    SindelHost host;
    host.Create();
    host.sink.on_event = [&](DISPID) { host.Release(); };
    EXPECT_TRUE(gwtest::Close(EditorWindow()));
    EXPECT_EQ(host.sink.events, (std::vector<ReceivedEvent>{{kPlcOnCancel, {}}}));
    EXPECT_EQ(EditorWindow(), nullptr);
    EXPECT_EQ(host.sink.refs, 1u);
}

TEST(Events, ReleasingTheControlTakesItsWindowDownSilently) {
    SindelHost host;
    host.Create();
    host.Release();
    EXPECT_EQ(EditorWindow(), nullptr);
    EXPECT_TRUE(host.sink.events.empty());
    EXPECT_EQ(host.sink.refs, 1u);
}

TEST(Timers, RunFromTheHostsPumpOnItsClock) {
    SindelHost host;
    PlcEditorDialog& editor = host.Create();
    auto* status = editor.Status();
    EXPECT_EQ(status->Text(3), "");
    gwtest::Advance(249);
    EXPECT_EQ(EditorWindow()->title(), "Plc-Editor");
    gwtest::Advance(1);
    EXPECT_EQ(EditorWindow()->title(), "PlcEdit [PlcPrg]");
    EXPECT_EQ(status->Text(3), " PLC V1.xx");
    EXPECT_EQ(status->Text(4), "   1");
}

}  // namespace
}  // namespace sindel
