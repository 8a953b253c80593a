#include "app/shell/help.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main/tests/main_fixture.h"
#include "platform/files/registry_store.h"
#include "platform/system/program_start.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using platform::ProgramStart;

class HelpTest : public maintest::MainTest {
protected:
    static std::string LanguageFile(const std::string& file) {
        return std::filesystem::absolute(testsupport::RuntimePath("LANGUAGE/044/" + file)).lexically_normal().string();
    }
    // Starts of these programs fail.
    static void FailStartsOf(std::vector<std::string> programs) {
        platform::SetProgramStartHandler([programs](const ProgramStart& start) {
            for (const std::string& p : programs) {
                if (start.program == p) return -1;
            }
            return 0;
        });
    }
};

TEST_F(HelpTest, ShowHelpStartsTheViewerWithTheInheritedFileAndTopic) {
    const std::string viewer = std::string(main_->GetWindowsPath().Text()) + "\\hh.exe";
    struct Case {
        std::string topic;
        std::vector<std::string> args;
    } cases[] = {
        {"1200", {viewer, "-mapid1200 ", LanguageFile("main.chm")}},
        {"", {viewer, LanguageFile("main.chm")}},
    };
    for (const Case& c : cases) {
        auto* frame = new GwDialogFrame("HelpFrame", mainWindow_);
        frame->set_help_file("main");
        frame->set_help_topic(c.topic);
        auto* box = new GwContainer("Box", frame);
        auto* button = new GwContainer("Button", box);
        EXPECT_EQ(CB_ShowHelp(button, nullptr, GwUD()), 0);
        ASSERT_FALSE(platform::RecordedProgramStarts().empty());
        EXPECT_EQ(platform::RecordedProgramStarts().back(), (ProgramStart{viewer, c.args, false})) << c.topic;
        frame->destroy();
    }
    // A viewer that cannot start: the toolkit's own help of the frame.
    FailStartsOf({viewer});
    auto* frame = new GwDialogFrame("HelpFrame", mainWindow_);
    frame->set_help_file("main");
    EXPECT_EQ(CB_ShowHelp(frame, nullptr, GwUD()), 0);
    const auto shown = gwtest::Effects("help");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].value, "2 main ");
}

TEST_F(HelpTest, ManualsGoToTheReaderThenTheDocumentThenTheDesktop) {
    const std::string pdf = LanguageFile("PH_4000.pdf");
    const std::string quoted = "\"" + pdf + "\"";
    platform::TheRegistry().SetValue("HKEY_CLASSES_ROOT\\Applications\\AcroRD32.exe\\shell\\Read\\command",
                                     "",
                                     "\"C:\\Reader\\Acro.exe\" /s \"%1\" \"x\"");
    // With a reader configured it alone is started.
    UseMainProfile("[Options]\nLanguage=44\n[HelpTools]\nAcrobatReader=myreader\n");
    OpenDeviceManual(4021);
    EXPECT_EQ(platform::RecordedProgramStarts().back(), (ProgramStart{"myreader", {quoted}, false}));
    // Without it: the registered command, then the document, then the desktop.
    UseMainProfile("[Options]\nLanguage=44\n");
    EXPECT_EQ(FindPdfReader(), "C:\\Reader\\Acro.exe /s  x");
    FailStartsOf({"C:\\Reader\\Acro.exe /s  x", quoted});
    const size_t before = platform::RecordedProgramStarts().size();
    OpenDeviceManual(4021);
    const auto starts = platform::RecordedProgramStarts();
    ASSERT_EQ(starts.size(), before + 3);
    EXPECT_EQ(starts[before], (ProgramStart{"C:\\Reader\\Acro.exe /s  x", {quoted}, false}));
    EXPECT_EQ(starts[before + 1], (ProgramStart{quoted, {quoted}, false}));
    EXPECT_EQ(starts[before + 2].args.back(), pdf);
}

TEST_F(HelpTest, PlainBindingsReturnZero) {
    EXPECT_EQ(CB_NoHelp(nullptr, nullptr, GwUD()), 0);
    EXPECT_EQ(CBSetCursor(nullptr, nullptr, GwUD()), 0);
    EXPECT_EQ(CBResetCursor(nullptr, nullptr, GwUD()), 0);
}

}  // namespace
