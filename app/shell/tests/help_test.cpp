#include "app/shell/help.h"

#include <gtest/gtest.h>

#include <cerrno>
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
    // Starts of these programs fail as a program that is not installed.
    static void FailStartsOf(std::vector<std::string> programs) {
        platform::SetProgramStartHandler([programs](const ProgramStart& start) {
            for (const std::string& p : programs) {
                if (start.program == p) {
                    errno = ENOENT;
                    return -1;
                }
            }
            return 0;
        });
    }
    // The help documents the tests ask for, shipped.
    void ShipDocuments() {
        for (const char* file : {"main.chm", "PH_4000.pdf", "rk_help.pdf"}) WriteTreeFile(Language(file), "help");
    }
    static std::string Language(const std::string& file) { return "LANGUAGE/044/" + file; }
};

TEST_F(HelpTest, ShowHelpStartsTheViewerWithTheInheritedFileAndTopic) {
    ShipDocuments();
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
    // A viewer that cannot start: the toolkit's own help of the frame, after
    // the box that says so.
    FailStartsOf({viewer});
    gwtest::AnswerBox(GwRESULT_OK);
    auto* frame = new GwDialogFrame("HelpFrame", mainWindow_);
    frame->set_help_file("main");
    EXPECT_EQ(CB_ShowHelp(frame, nullptr, GwUD()), 0);
    const auto shown = gwtest::Effects("help");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].value, "2 main ");
}

TEST_F(HelpTest, ManualsGoToTheReaderThenTheDocumentThenTheDesktop) {
    ShipDocuments();
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

// A request that cannot be served names the file it looked for and why it
// could not be opened; nothing is started for a document that is not there.
TEST_F(HelpTest, AnUnservedRequestSaysWhichFileAndWhy) {
    const std::string missing =
        "The help file \"" + LanguageFile("rk_help.pdf") + "\" cannot be opened. Cause: No such file or directory";
    const std::string noProgram = "No program could be started to show the help file \"" + LanguageFile("rk_help.pdf") +
                                  "\". Cause: No such file or directory";
    const std::string quoted = "\"" + LanguageFile("rk_help.pdf") + "\"";
    struct Case {
        const char* what;
        bool shipped;
        std::vector<std::string> failing;
        std::string box;
        size_t starts;
    };
    const Case cases[] = {
        {"no manual shipped", false, {}, missing, 0},
        {"no reader and no opener", true, {quoted, "explorer"}, noProgram, 2},
        {"the opener serves it", true, {quoted}, "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.shipped) ShipDocuments();
        FailStartsOf(c.failing);
        if (!c.box.empty()) gwtest::AnswerBox(GwRESULT_OK);
        const size_t before = platform::RecordedProgramStarts().size();
        const size_t boxes = BoxTexts().size();
        EXPECT_EQ(HelpContentsCB(nullptr, nullptr, GwUD()), 1);
        EXPECT_EQ(platform::RecordedProgramStarts().size(), before + c.starts);
        const std::vector<std::string> shown = BoxTexts();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + static_cast<long>(boxes), shown.end()),
                  c.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{"error: " + c.box});
    }

    // The help pages of a window: the missing file is named, no viewer runs.
    RemoveTreeFile(Language("main.chm"));
    auto* frame = new GwDialogFrame("HelpFrame", mainWindow_);
    frame->set_help_file("main");
    gwtest::AnswerBox(GwRESULT_OK);
    const size_t before = platform::RecordedProgramStarts().size();
    EXPECT_EQ(CB_ShowHelp(frame, nullptr, GwUD()), 0);
    EXPECT_EQ(platform::RecordedProgramStarts().size(), before);
    ASSERT_FALSE(BoxTexts().empty());
    EXPECT_EQ(
        BoxTexts().back(),
        "error: The help file \"" + LanguageFile("main.chm") + "\" cannot be opened. Cause: No such file or directory");
}

TEST_F(HelpTest, PlainBindingsReturnZero) {
    EXPECT_EQ(CB_NoHelp(nullptr, nullptr, GwUD()), 0);
    EXPECT_EQ(CBSetCursor(nullptr, nullptr, GwUD()), 0);
    EXPECT_EQ(CBResetCursor(nullptr, nullptr, GwUD()), 0);
}

}  // namespace
