// A host as the program is one: it creates the control by class id, opens a
// source file, has it translated by each of the three code generators and
// receives the programme files through the events, then reads them back.
#include <gtest/gtest.h>

#include <filesystem>

#include "plceditor/control/decode_progress_dialog.h"
#include "plceditor/control/tests/sindel_host.h"
#include "testsupport/test_env.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace sindel {
namespace {

using namespace platform;

constexpr char kSource[] =
    "; demo\r\n%TEXT(Demo)\r\nDEF H001 = Speed\r\nEND\r\n%P00\r\nN1 SET H1 = 5 ; start\r\n"
    "N2 JMP (H1 != 0) N1\r\nEND\r\n";
constexpr char kStamp[] = "; 01/01/2026, 00:00, ";

TEST(EndToEnd, EachGeneratorTranslatesASourceIntoAProgrammeFileForTheHost) {
    testsupport::WriteFile(testsupport::RuntimePath("userdata/demo.plc"), kSource);
    SindelHost host;
    host.Call(kPlcSetTmpFileName, {VariantFromString("..\\TMP\\PlcOut.txt")});
    host.Call(kPlcSetPlcProjPath, {VariantFromString("..\\FIRMDATA\\")});
    ASSERT_EQ(host.Call(kPlcCreate), "TRUE");
    // The editor's text changes with every translation: the host's next
    // opening is not to save it.
    gwtest::SetDefaultBoxAnswer(GwRESULT_NO, "question");
    const std::string out = std::filesystem::absolute(testsupport::RuntimePath("TMP/PlcOut.txt")).lexically_normal();

    const struct {
        double version;
        bool decodes;  // checks with the decode window
        size_t words;
        std::string decoded;
    } generators[] = {
        {1.1, false, 512, "PLC V1.10\r\n\r\n%P00\r\nN001 SET H001 = 5\r\nN002 JMP (H001 != 0) N001\r\nEND"},
        {2.1, true, 747, "PLC V2.10\r\n\r\n%P00\r\nN010 SET H001 = 5\r\nN020 JMP (H001 != 0) N010\r\nEND\r\n\r\n"},
        {3.1, true, 747, "PLC V3.10\r\n\r\n%P00\r\nN010 SET H001 = 5\r\nN020 JMP (H001 != 0) N010\r\nEND\r\n\r\n"},
    };
    for (const auto& generator : generators) {
        SCOPED_TRACE(generator.version);
        host.sink.events.clear();
        std::string received;
        host.sink.on_event = [&](DISPID id) {
            if (id == kPlcFileToArchiv) received = testsupport::ReadFile(host.sink.events.back().args[0]);
        };
        EXPECT_EQ(host.Call(kPlcSetVersion, {VariantFromDouble(generator.version), VariantFromLong(747)}), "TRUE");
        EXPECT_EQ(host.Call(kPlcFileOpen, {VariantFromString("..\\userdata\\demo.plc")}), "TRUE");
        if (generator.decodes) {
            gwtest::ScriptModal({DecodeProgressDialog::kWindowName,
                                 [](GwCore*) { gwtest::Advance(DecodeProgressDialog::kStartDelayMs); },
                                 std::nullopt});
        }
        gwtest::ChooseMenuItem("PlcEditorDialog/Menu32782");

        EXPECT_EQ(host.sink.events,
                  (std::vector<ReceivedEvent>{{kPlcUpDateProjName, {"Demo", "FALSE"}}, {kPlcFileToArchiv, {out}}}));
        EXPECT_EQ(received.size(), generator.words * 10);
        // V1.10 starts with its start jump to line 1, the others with the program head.
        EXPECT_EQ(received.substr(0, 10), generator.version < 2 ? "00010001\r\n" : "000000ae\r\n");
        EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("FIRMDATA/Demo.txt")), "[PLC_H]\r\n1: Speed\r\n");

        EXPECT_EQ(host.Call(kPlcBinaryFileOpen, {VariantFromString(out)}), "TRUE");
        EXPECT_EQ(gwtest::Text("PlcEditorDialog/Edit"), kStamp + generator.decoded);
    }
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
}

}  // namespace
}  // namespace sindel
