#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/services/app_files.h"
#include "app/services/plot_tool_setting.h"
#include "app/services/window_handler.h"
#include "platform/system/program_start.h"
#include "scope/plot/plot_state.h"
#include "scope/plot/plot_window.h"
#include "scope/plot/tests/plot_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace plottest {
namespace {

class PlotWindowTest : public PlotTest {
protected:
    static std::string UserPath(const std::string& name) {
        return testsupport::RuntimePath("userdata/" + name).string();
    }
    // Opens `name` of the user data folder through the main window's entry.
    static int Activate(const std::string& name) {
        gwtest::AnswerFile(UserPath(name));
        return CBPlotActivate(gwtest::Get("MainWindow"), nullptr, GwUD());
    }
};

TEST_F(PlotWindowTest, ActivateOpensTheChosenFileInTheBuiltInWindow) {
    WritePair("userdata/run", "0 1\n1 2\n", Sdc("0 Speed [1/min]\n"));
    EXPECT_EQ(Activate("run.dat"), 1);
    const GwFileRequest& request = GwRecorder::FileRequests().back();
    EXPECT_EQ(request.title, "Datei öffnen");
    EXPECT_NE(request.filter.find("*.dat"), std::string::npos);
    EXPECT_EQ(request.directory, GetUserDataDir());
    ASSERT_NE(PlotWindow(), nullptr);
    EXPECT_TRUE(gwtest::IsVisible(PlotWindow()));
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(PlotWindow()));
    EXPECT_TRUE(PlotState().UserFile);
    EXPECT_EQ(PlotState().CurrentFile, UserPath("run.dat"));

    // A second activation redraws the listed window.
    WritePair("userdata/next", "0 5\n1 6\n2 7\n", Sdc("0 Speed [1/min]\n"));
    const int exposes = Drawing()->expose_count();
    EXPECT_EQ(Activate("next.dat"), 1);
    EXPECT_GT(Drawing()->expose_count(), exposes);
    EXPECT_EQ(GetPlotData()->Rows, 3);
    EXPECT_EQ(TheWindowHandler().Count(), 1);
    EXPECT_EQ(GwRecorder::FileRequests().back().directory.rfind(UserPath(""), 0), 0u);
}

TEST_F(PlotWindowTest, ActivateFailuresShowTheirMessages) {
    struct Case {
        const char* dat;
        const char* sdc;
        const char* box;
    };
    const std::vector<Case> cases = {
        {nullptr, nullptr, "error: A plot file is missing!"},
        {"0 x\n", "0 a [u]\n", "error: The plot file has an invalid format!"},
    };
    gwtest::SetDefaultBoxAnswer(8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        if (c.dat != nullptr) WritePair("userdata/bad", c.dat, Sdc(c.sdc));
        gwtest::AnswerFile(UserPath("bad.dat"));
        CBPlotActivate(gwtest::Get("MainWindow"), nullptr, GwUD());
        EXPECT_EQ(BoxTexts().back(), c.box);
        EXPECT_EQ(GetPlotData(), nullptr);
        EXPECT_EQ(PlotWindow(), nullptr);
    }
}

TEST_F(PlotWindowTest, ActivateWithAnOutsideToolStartsItWithThePathUnquoted) {
    WritePair("userdata/run", "0 1\n1 2\n", Sdc("0 Speed [1/min]\n"));
    SetPlotTool("plotter");
    EXPECT_EQ(Activate("run.dat"), 1);
    EXPECT_EQ(platform::RecordedProgramStarts().back(),
              (platform::ProgramStart{"plotter", {"plotter", UserPath("run.dat")}, false}));
    EXPECT_EQ(PlotWindow(), nullptr);

    platform::SetProgramStartHandler([](const platform::ProgramStart&) { return -1; });
    gwtest::SetDefaultBoxAnswer(8);
    EXPECT_EQ(Activate("run.dat"), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"error: Cannot start \"plotter " + UserPath("run.dat") + "\"!"}));
    EXPECT_NE(PlotWindow(), nullptr) << "the built-in window takes over";
}

TEST_F(PlotWindowTest, OpenWithoutAPlotOnlyRemembersThePath) {
    gwtest::AnswerFile(UserPath("later.dat"));
    EXPECT_EQ(CBPlotOpen(gwtest::Get("MainWindow"), nullptr, GwUD()), 1);
    EXPECT_EQ(GwRecorder::FileRequests().back().title, "");
    EXPECT_EQ(PlotState().CurrentFile, UserPath("later.dat"));
    EXPECT_TRUE(PlotState().UserFile);
    EXPECT_EQ(GetPlotData(), nullptr);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(PlotWindowTest, OpenWithAFormatErrorKeepsThePlotShown) {
    OpenScratchWindow();
    WritePair("userdata/bad", "0 1 2 3 4 5\n", Sdc("0 a [u]\n"));
    gwtest::SetDefaultBoxAnswer(8);
    gwtest::AnswerFile(UserPath("bad.dat"));
    CBPlotOpen(gwtest::Get("PlotTool/PWOpen"), nullptr, GwUD());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"error: The plot file has an invalid format!"}));
    EXPECT_EQ(gwtest::Boxes()[0].parent, PlotWindow()->identifier());
    ASSERT_NE(GetPlotData(), nullptr);
    EXPECT_EQ(GetPlotData()->Path, "..\\TMP\\scope");

    WritePair("userdata/good", "0 4\n1 5\n", Sdc("0 a [u]\n"));
    gwtest::AnswerFile(UserPath("good.dat"));
    CBPlotOpen(gwtest::Get("PlotTool/PWOpen"), nullptr, GwUD());
    EXPECT_DOUBLE_EQ(GetPlotData()->Value(1, 1), 5);
}

class SaveAsTest : public PlotWindowTest {
protected:
    void SetUp() override {
        PlotWindowTest::SetUp();
        WritePair("userdata/shown", "0 1\r\n1 2\r\n", Sdc("0 Speed [1/min]\r\n"));
        ASSERT_EQ(Activate("shown.dat"), 1);
    }
    static int SaveAs(const std::string& name) {
        gwtest::AnswerFile(UserPath(name));
        return CBPlotSaveAs(gwtest::Get("PlotTool/PWSaveAs"), nullptr, GwUD());
    }
};

TEST_F(SaveAsTest, CopiesBothFilesUnderTheTargetName) {
    EXPECT_EQ(SaveAs("run.txt"), 1);
    const GwFileRequest& request = GwRecorder::FileRequests().back();
    EXPECT_EQ(request.title, "Sichern als");
    EXPECT_EQ(request.mode, 1);
    EXPECT_EQ(testsupport::ReadFile(UserPath("run.dat")), "0 1\r\n1 2\r\n");
    EXPECT_EQ(testsupport::ReadFile(UserPath("run.sdc")), Sdc("0 Speed [1/min]\r\n"));
    EXPECT_EQ(GetPlotData()->Path, UserPath("run"));
}

TEST_F(SaveAsTest, ExistingTargetAsksAndNoCopiesNothing) {
    testsupport::WriteFile(UserPath("run.dat"), "old");
    gwtest::AnswerBox(7);
    EXPECT_EQ(SaveAs("run.dat"), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"question: The file set already exists. Overwrite it?"}));
    EXPECT_EQ(testsupport::ReadFile(UserPath("run.dat")), "old");
    EXPECT_FALSE(std::filesystem::exists(UserPath("run.sdc")));
}

TEST_F(SaveAsTest, SameFileInAnotherLetterCaseCopiesNothing) {
    const std::string before = GetPlotData()->Path;
    gwtest::AnswerBox(6);
    EXPECT_EQ(SaveAs("SHOWN.DAT"), 1);
    EXPECT_EQ(gwtest::Boxes().size(), 1u) << "the overwrite question only";
    EXPECT_EQ(GetPlotData()->Path, before);
    EXPECT_FALSE(std::filesystem::exists(UserPath("SHOWN.DAT")));
}

TEST_F(SaveAsTest, FailedCopyOfTheChannelFileIsShownAndThePlotKeepsItsPath) {
    std::filesystem::create_directories(UserPath("run.sdc"));
    const std::string before = GetPlotData()->Path;
    gwtest::SetDefaultBoxAnswer(8);
    EXPECT_EQ(SaveAs("run.dat"), 1);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_NE(gwtest::Boxes()[0].text.find(UserPath("run.sdc")), std::string::npos) << gwtest::Boxes()[0].text;
    EXPECT_EQ(GetPlotData()->Path, before);
}

TEST_F(PlotWindowTest, HideDeletesViewAndPlotAndUnlistsTheWindow) {
    OpenScratchWindow();
    EXPECT_TRUE(gwtest::Close(PlotWindow()));
    EXPECT_EQ(PlotWindow(), nullptr);
    EXPECT_EQ(GetPlotData(), nullptr);
    EXPECT_EQ(GetPlotView(), nullptr);
    EXPECT_EQ(TheWindowHandler().Count(), 0);
    gwtest::SetDefaultBoxAnswer(8);
    CBScopeHide(nullptr, nullptr, GwUD());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"info: Hide mehrfach aufgerufen!!"}));
}

TEST_F(PlotWindowTest, SecondCreateMakesNoSecondView) {
    OpenScratchWindow();
    const PlotView* view = GetPlotView();
    gwtest::SetDefaultBoxAnswer(8);
    CBPlotCreate(Drawing(), nullptr, GwUD());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"info: Plot != NULL"}));
    EXPECT_EQ(GetPlotView(), view);
}

TEST_F(PlotWindowTest, ShowMovesTheWindowToItsStoredPosition) {
    OpenScratchWindow();
    const GwPosition defined = PlotWindow()->position();
    CBPlotShow(Drawing(), nullptr, GwUD());
    EXPECT_EQ(PlotWindow()->position(), defined) << "nothing stored";
    MainProfile()->select_section("Pos_PlotTool", true);
    MainProfile()->write_position("Pos", 123, 45);
    CBPlotShow(Drawing(), nullptr, GwUD());
    EXPECT_EQ(PlotWindow()->position(), (GwPosition{123, 45}));
}

TEST_F(PlotWindowTest, HelpShowsTheButtonsHelpText) {
    OpenScratchWindow();
    EXPECT_EQ(CBPlotWindowHelp(gwtest::Get("PlotTool/PWHelp"), nullptr, GwUD()), 0);
    const std::vector<GwEffect> help = gwtest::Effects("help text");
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].value, "Open, save, print, zoom and grid of the shown recording.");
}

class GridTest : public PlotWindowTest {
protected:
    // Runs the grid dialog with the texts typed (null: left as shown) and OK.
    static void AcceptGrid(const char* x, const char* y) {
        gwtest::ScriptModal({"PWGridSize",
                             [x, y](GwCore* w) {
                                 if (x != nullptr) gwtest::Replace(w->child("PWGridSizeX"), x);
                                 if (y != nullptr) gwtest::Replace(w->child("PWGridSizeY"), y);
                                 gwtest::Click(w->child("PWGridOK"));
                             },
                             std::nullopt});
        EXPECT_EQ(CBScopeGridSize(gwtest::Get("PlotTool/PWGrid"), nullptr, GwUD()), 0);
    }
};

TEST_F(GridTest, TypedDivisionsReplaceAndEmptyKeeps) {
    OpenScratchWindow();
    struct Case {
        const char* x;
        const char* y;
        int xDivisions, yDivisions;
    };
    const std::vector<Case> cases = {{"5", "", 5, 10}, {"0", "3", 1, 3}, {"", "", 1, 3}};
    for (const Case& c : cases) {
        AcceptGrid(c.x, c.y);
        EXPECT_EQ(GetPlotView()->XDivisions, c.xDivisions) << c.x;
        EXPECT_EQ(GetPlotView()->YDivisions, c.yDivisions) << c.y;
    }
}

TEST_F(GridTest, PlotWindowIsDisabledWhileTheDialogRuns) {
    OpenScratchWindow();
    bool enabledDuring = true;
    std::string shownX, shownY;
    gwtest::ScriptModal({"PWGridSize",
                         [&](GwCore* w) {
                             enabledDuring = gwtest::IsEnabled(PlotWindow());
                             shownX = w->child("PWGridSizeX")->text();
                             shownY = w->child("PWGridSizeY")->text();
                             gwtest::Click(w->child("PWGridEsc"));
                         },
                         std::nullopt});
    EXPECT_EQ(CBScopeGridSize(gwtest::Get("PlotTool/PWGrid"), nullptr, GwUD()), 0);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(gwtest::IsEnabled(PlotWindow()));
    EXPECT_EQ(shownX, "10");
    EXPECT_EQ(shownY, "10");
}

TEST_F(GridTest, DefaultGridStepsTheAxisModeAndFixedRangesGetSixDecimals) {
    OpenScratchWindow();
    struct Case {
        AxisMode from;
        AxisMode to;
    };
    for (const Case& c : {Case{3, 2}, Case{2, 1}}) {
        GetPlotData()->Mode = c.from;
        AcceptGrid("10", "10");
        EXPECT_EQ(GetPlotData()->Mode, c.to) << c.from;
    }
    // Fixed ranges: the labels keep the decimals of "%.6f" that they need.
    GetPlotData()->ViewLeft = {0.1234567, 0.9};
    Drawing()->invalidate();
    bool sixDecimals = false;
    for (const std::string& op : DrawingOps()) sixDecimals |= op.find("\"0.123457\"") != std::string::npos;
    EXPECT_TRUE(sixDecimals);

    gwtest::ScriptModal({"PWGridSize",
                         [](GwCore* w) {
                             gwtest::Click(w->child("PWGridDefault"));
                             EXPECT_EQ(w->child("PWGridSizeX")->text(), "10");
                             gwtest::Click(w->child("PWGridEsc"));
                         },
                         std::nullopt});
    GetPlotView()->XDivisions = 4;
    GetPlotData()->Mode = 3;
    CBScopeGridSize(gwtest::Get("PlotTool/PWGrid"), nullptr, GwUD());
    EXPECT_EQ(GetPlotData()->Mode, 2);
}

}  // namespace
}  // namespace plottest
