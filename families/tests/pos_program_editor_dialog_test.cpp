// The positioning-program editor dialog: the exchange file uploaded, the
// editor started and waited for between minimising and maximising the main
// window, and the download after a change; in file mode the chooser and its
// remembered directory.
#include "families/pos_program_editor_dialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/services/app_files.h"
#include "app/services/services_hooks.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/tests/pos_program_drive.h"
#include "platform/files/paths.h"
#include "platform/system/program_start.h"
#include "sim/pos_program_channel.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/core/gw_ud.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

const std::string kEnd = sim::kPosProgramEndMarker;

class PosProgramEditorDialogTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = PosProgramDriveTable();
        table.pos_programs.programs = {{"01", {"POS100"}}};
        return table;
    }
    sim::PosProgramChannel& Channel() { return Drive().Table().pos_programs; }
    // Every text the program channel took, in order.
    std::vector<std::string>& ChannelLog() { return Drive().Table().Find(sim::kPosProgramChannelParameter)->text_log; }
    // The editor: notes the main window's state and, when `save` is set,
    // writes the exchange file anew.
    void UseEditor(const std::string* save) {
        platform::SetProgramStartHandler([this, save](const platform::ProgramStart&) {
            stateDuringEdit_ = GetMainWindow()->frame_state();
            if (save != nullptr) {
                // A later time set outright: the clock of the file system
                // may not have moved since the upload.
                const std::string exchange = platform::FindExisting(kPosProgramExchangeFile).value_or("");
                const auto uploaded = std::filesystem::last_write_time(exchange);
                testsupport::WriteFile(exchange, *save);
                std::filesystem::last_write_time(exchange, uploaded + std::chrono::milliseconds(1));
            }
            return 0;
        });
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const GwBoxRecord& box : NewBoxes()) texts.push_back(box.text);
        return texts;
    }
    int stateDuringEdit_ = 0;
};

TEST_F(PosProgramEditorDialogTest, OnlineChangedProgramIsDownloadedAfterYes) {
    const std::string saved = "GO 1\r\n";
    UseEditor(&saved);
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_YES);
    EXPECT_EQ(PosModEditorDialogCB(nullptr, nullptr, GwUD("Online")), 1);
    EXPECT_EQ(platform::RecordedProgramStarts(),
              (std::vector<platform::ProgramStart>{{"notepad.exe", {"..\\tmp\\TmpPosProg.prg"}, true}}));
    EXPECT_EQ(stateDuringEdit_, GwSTATE_MINIMIZED);
    EXPECT_EQ(GetMainWindow()->frame_state(), GwSTATE_MAXIMIZED);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"The positioning program was changed. Load it into the device?"}));
    EXPECT_EQ(ChannelLog(), (std::vector<std::string>{"%DIR", "%RDP01", "%CLPxx", "GO1", kEnd, "%SAV"}));
}

TEST_F(PosProgramEditorDialogTest, OnlineFailedDownloadShowsError109) {
    const std::string saved = "GO 1\r\n";
    UseEditor(&saved);
    Channel().refused = {"%SAV"};
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_YES);
    PosModEditorDialogCB(nullptr, nullptr, GwUD("Online"));
    const std::vector<std::string> texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2], "The positioning program could not be loaded into the device!");
}

TEST_F(PosProgramEditorDialogTest, OnlineUnchangedFileOrFailedUploadEndsQuietly) {
    UseEditor(nullptr);
    MarkBoxes();
    PosModEditorDialogCB(nullptr, nullptr, GwUD("Online"));
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(platform::RecordedProgramStarts().size(), 1u);
    EXPECT_EQ(ChannelLog(), (std::vector<std::string>{"%DIR", "%RDP01"}));

    Channel().refused = {"%DIR"};
    PosModEditorDialogCB(nullptr, nullptr, GwUD("Online"));
    EXPECT_EQ(platform::RecordedProgramStarts().size(), 1u);
}

TEST_F(PosProgramEditorDialogTest, FileModeRemembersTheChosenDirectory) {
    PosModEditorDialogCB(nullptr, nullptr, GwUD(""));
    EXPECT_TRUE(GwRecorder::FileRequests().empty());

    gwtest::AnswerFile("C:\\progs\\a.prg");
    PosModEditorDialogCB(nullptr, nullptr, GwUD("..\\userdata"));
    gwtest::CancelFile();
    PosModEditorDialogCB(nullptr, nullptr, GwUD("..\\userdata"));
    const std::vector<GwFileRequest>& requests = GwRecorder::FileRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].title, "Ablaufprogramm wählen");
    EXPECT_EQ(requests[0].filter, "*.prg");
    EXPECT_EQ(requests[0].directory, GetUserDataDir());
    EXPECT_EQ(requests[1].directory, "C:\\progs\\");
    EXPECT_EQ(platform::RecordedProgramStarts(),
              (std::vector<platform::ProgramStart>{{"notepad.exe", {"\"C:\\progs\\a.prg\""}, false}}));
}

}  // namespace
}  // namespace devicewintest
