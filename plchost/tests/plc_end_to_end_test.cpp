// The host with the real editor control: the editor's commands that save a
// program into the device and read it back reach the drive through the
// host's event callbacks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "parameters/parabase/para_base.h"
#include "platform/com/com_registry.h"
#include "platform/system/dynamic_library.h"
#include "plchost/plc_editor_host.h"
#include "plchost/tests/plc_host_fixture.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace plchosttest {
namespace {

using Texts = std::vector<std::string>;

constexpr char kSaveInDevice[] = "PlcEditorDialog/Menu32784";
constexpr char kReadFromDevice[] = "PlcEditorDialog/Menu32783";
constexpr char kDecodeWindow[] = "DecodeProgressDialog";
constexpr uint32_t kDecodeDelayMs = 100;

class PlcEndToEndTest : public PlcHostTest {
protected:
    void SetUp() override {
        PlcHostTest::SetUp();
        ASSERT_EQ(platform::RegisterServer(platform::ExecutableDirectory() + "/libSindel.so"), platform::S_OK);
        gwtest::SetDefaultModalResult(GwRESULT_OK);
    }
    // The control's editor window goes with the control, before the
    // toolkit's widgets are cleared.
    void TearDown() override {
        if (GwCore* window = PlcEditorWindow()) {
            ClosePlcEditorControl();
            window->destroy();
        }
        PlcHostTest::TearDown();
    }
    static void ExpectDecode() {
        gwtest::ScriptModal({kDecodeWindow, [](GwCore*) { gwtest::Advance(kDecodeDelayMs); }, std::nullopt});
    }
    void OpenEditorOn(const std::string& source) {
        ExpectDecode();
        OpenFromDeviceWindow();
        ASSERT_NE(PlcEditorWindow(), nullptr);
        gwtest::Replace("PlcEditorDialog/Edit", source);
        ClearCaptures();
        MarkBoxes();
    }
    Texts LoadTraffic() {
        Texts texts;
        for (const std::string& text : Drive().Capture().TelegramTexts()) {
            if (text.rfind("W 20450", 0) == 0 || text.rfind("R 20452", 0) == 0 || text.rfind("W 20468", 0) == 0)
                texts.push_back(text);
            if (text.rfind("W 706", 0) == 0 && text.substr(7, 5) == "00000") texts.push_back(text.substr(0, 7));
        }
        return texts;
    }
};

const std::string kProgram =
    "%TEXT(Demo)\r\nDEF H001 = Speed\r\nEND\r\n%P00\r\nN10 SET H1 = 5\r\nN20 JMP (H1 = 0) END\r\nN25 JMP "
    "N10\r\nEND\r\n";

TEST_F(PlcEndToEndTest, SaveIntoTheDeviceLoadsAndStartsTheProgram) {
    OpenEditorOn(kProgram);
    ExpectDecode();
    gwtest::ChooseMenuItem(kSaveInDevice);
    const Texts traffic = LoadTraffic();
    ASSERT_GE(traffic.size(), 4u);
    EXPECT_EQ(traffic[0], "W 20450=0");
    EXPECT_EQ(traffic[1], "W 70600");
    EXPECT_NE(std::find(traffic.begin(), traffic.end(), "R 20452"), traffic.end());
    EXPECT_NE(std::find(traffic.begin(), traffic.end(), "W 20450=1"), traffic.end());
    EXPECT_EQ(Program(0).elements[0], 0xAEu) << "the program head comes first";
    EXPECT_EQ(Drive().Table().Find(468)->text, "Demo");
    EXPECT_TRUE(NewBoxTexts().empty());
}

TEST_F(PlcEndToEndTest, SaveIsRefusedWithoutProjectOrWhileRunning) {
    // Only the project name may reach the drive: nothing of the program.
    auto programTraffic = [this] {
        Texts texts;
        for (const std::string& text : LoadTraffic())
            if (text.rfind("W 20468", 0) != 0) texts.push_back(text);
        return texts;
    };
    OpenEditorOn(kProgram);
    Drive().Table().Find(403)->value = 0x3000;  // running
    ExpectDecode();
    gwtest::ChooseMenuItem(kSaveInDevice);
    EXPECT_EQ(NewBoxTexts(), Texts{"info: The active device is running. Stop it first!"});
    EXPECT_TRUE(programTraffic().empty());

    Drive().Table().Find(403)->value = 0;
    *main_->ActiveParaBase()->GetEntry(468) = ParameterEntry{};
    MarkBoxes();
    ClearCaptures();
    ExpectDecode();
    gwtest::ChooseMenuItem(kSaveInDevice);
    // The project name the editor reports afterwards fails on the base
    // without 468.
    EXPECT_EQ(NewBoxTexts(),
              (Texts{"error: The device holds no PLC project!", "error: There's no valid parameter on number 468!"}));
    EXPECT_TRUE(programTraffic().empty());
}

TEST_F(PlcEndToEndTest, ReadFromTheDeviceShowsTheDecodedProgram) {
    OpenEditorOn(kProgram);
    ExpectDecode();
    gwtest::ChooseMenuItem(kSaveInDevice);
    OpenEditorOn("");
    gwtest::AnswerBox(GwRESULT_NO);  // the emptied text is not saved
    ExpectDecode();
    gwtest::ChooseMenuItem(kReadFromDevice);
    const std::string shown = gwtest::Text("PlcEditorDialog/Edit");
    EXPECT_NE(shown.find("N010 SET H001 = 5\r\nN020 JMP (H001 = 0) END\r\nN030 JMP N010\r\nEND"), std::string::npos)
        << shown;
}

TEST_F(PlcEndToEndTest, FailedReadShowsTheEditorsMessage) {
    OpenEditorOn("");
    Drive().AddFault(sim::DriveFault::Nak(0x0008).For("706000000099").Times(sim::kForever));
    gwtest::AnswerBox(GwRESULT_NO);
    gwtest::ChooseMenuItem(kReadFromDevice);
    const Texts boxes = NewBoxTexts();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "error: No valied path data found for programme file.");
}

TEST_F(PlcEndToEndTest, ReadWithoutProjectLeavesTheEditorAlone) {
    OpenEditorOn("");
    *main_->ActiveParaBase()->GetEntry(468) = ParameterEntry{};
    gwtest::ChooseMenuItem(kReadFromDevice);
    EXPECT_EQ(NewBoxTexts(), Texts{"error: The device holds no PLC project!"});
}

}  // namespace
}  // namespace plchosttest
