#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/services/plot_tool_setting.h"
#include "app/services/window_handler.h"
#include "platform/system/program_start.h"
#include "scope/plot/plot_state.h"
#include "scope/plot/plot_window.h"
#include "scope/plot/tests/plot_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace plottest {
namespace {

class HandOverTest : public PlotTest {
protected:
    void SetUp() override {
        PlotTest::SetUp();
        WriteScratch(Dat(3, {1.0}), Sdc("0 Speed [1/min]\n"));
        caller_ = gwtest::Get("MainWindow");
    }
    static std::string DefaultPath() { return std::filesystem::current_path().string() + "\\..\\TMP\\Scope.dat"; }
    GwCore* caller_ = nullptr;
};

TEST_F(HandOverTest, ToolByTheOptionKeys) {
    struct Case {
        const char* plotTool;
        const char* externalTool;
        const char* startedTool;  // null: the built-in window
    };
    const std::vector<Case> cases = {
        {"intern", "", nullptr},
        {"Intern", "", "Intern"},
        {"extern", "/opt/plot tool/plot", "/opt/plot tool/plot"},
        {"/usr/bin/plotter", "", "/usr/bin/plotter"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plotTool);
        SetPlotTool(c.plotTool);
        SetExternalPlotTool(c.externalTool);
        PlotState().UserFile = true;
        const size_t starts = platform::RecordedProgramStarts().size();
        EXPECT_EQ(OpenPlotFirst(caller_, nullptr, GwUD("x.dat")), 1);
        const std::vector<platform::ProgramStart> recorded = platform::RecordedProgramStarts();
        if (c.startedTool == nullptr) {
            EXPECT_EQ(recorded.size(), starts);
            ASSERT_NE(PlotWindow(), nullptr);
            EXPECT_EQ(GetPlotData()->Path, "..\\TMP\\scope") << "the caller's file is ignored";
            EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(PlotWindow()));
            EXPECT_GE(TheWindowHandler().IndexOf(PlotWindow()), 0);
            EXPECT_FALSE(PlotState().UserFile);
            CBScopeHide(nullptr, nullptr, GwUD());
        } else {
            ASSERT_EQ(recorded.size(), starts + 1);
            EXPECT_EQ(recorded.back(), (platform::ProgramStart{c.startedTool, {c.startedTool, "\"x.dat\""}, false}));
            EXPECT_EQ(PlotWindow(), nullptr);
        }
    }
}

TEST_F(HandOverTest, RunningToolGetsOneExecutePerCallAndNoStart) {
    SetPlotTool("/opt/my plot/plot");
    gwtest::FakeDdeServer& server = gwtest::StartDdeServer("/opt/my plot/plot");
    EXPECT_EQ(OpenPlotFirst(caller_, nullptr, GwUD("/data/run 1.dat")), 1);
    EXPECT_EQ(OpenPlotNext(caller_, nullptr, GwUD("/data/run 2.dat")), 1);
    EXPECT_EQ(OpenPlotNext(caller_, nullptr, GwUD("")), 1);
    EXPECT_EQ(server.commands,
              (std::vector<std::string>{
                  "OpenFirst /data/run 1.dat", "OpenNext /data/run 2.dat", "OpenNext " + DefaultPath()}));
    EXPECT_EQ(server.connects.front(), "/opt/my plot/plot|System");
    EXPECT_EQ(server.disconnects, 3);
    EXPECT_TRUE(platform::RecordedProgramStarts().empty());

    server.execute_result = false;
    EXPECT_EQ(OpenPlotFirst(caller_, nullptr, GwUD("a.dat")), 0);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(HandOverTest, StartWithoutDdeQuotesTheDefaultPath) {
    SetPlotTool("plotter");
    EXPECT_EQ(OpenPlotNext(caller_, nullptr, GwUD()), 1);
    EXPECT_EQ(OpenPlotNext(caller_, nullptr, GwUD("")), 1);
    const std::vector<platform::ProgramStart> starts = platform::RecordedProgramStarts();
    ASSERT_EQ(starts.size(), 2u);
    for (const platform::ProgramStart& start : starts) {
        EXPECT_EQ(start, (platform::ProgramStart{"plotter", {"plotter", "\"" + DefaultPath() + "\""}, false}));
    }
    // The process itself gets the path without the quotes.
    const std::vector<std::string> command = platform::NativeCommand(starts[0]);
    ASSERT_EQ(command.size(), 2u);
    EXPECT_EQ(command[1].find('"'), std::string::npos) << command[1];
}

TEST_F(HandOverTest, FailedStartShowsTheToolAndFallsBackToTheBuiltInWindow) {
    SetPlotTool("plotter");
    platform::SetProgramStartHandler([](const platform::ProgramStart&) { return -1; });
    gwtest::SetDefaultBoxAnswer(8);
    EXPECT_EQ(OpenPlotFirst(caller_, nullptr, GwUD("x.dat")), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"error: Cannot start \"plotter\"!"}));
    EXPECT_EQ(gwtest::Boxes()[0].parent, caller_->identifier());
    EXPECT_NE(PlotWindow(), nullptr);
}

class InternalPlotTest : public PlotTest {};

TEST_F(InternalPlotTest, MissingScratchFilesAtTheFirstLoadShowTheText) {
    gwtest::SetDefaultBoxAnswer(8);
    EXPECT_EQ(ShowInternalPlot(nullptr, nullptr, GwUD()), 0);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{"info: Klasse Scope konnte nicht über \nScope.Dat initialisiert werden!"}));
    EXPECT_EQ(PlotWindow(), nullptr);
    EXPECT_EQ(GetPlotData(), nullptr);
}

TEST_F(InternalPlotTest, NewRecordingReplacesThePlotAndRedrawsAtOnce) {
    OpenScratchWindow();
    ASSERT_NE(Drawing(), nullptr);
    WriteScratch("0 7\n1 8\n", Sdc("0 Speed [1/min]\n"));
    const int exposes = Drawing()->expose_count();
    EXPECT_EQ(ShowInternalPlot(nullptr, nullptr, GwUD()), 1);
    EXPECT_GT(Drawing()->expose_count(), exposes);
    EXPECT_DOUBLE_EQ(GetPlotData()->Value(1, 1), 8);
    int polylines = 0;
    for (const std::string& op : DrawingOps()) polylines += op.rfind("polyline", 0) == 0 ? 1 : 0;
    EXPECT_EQ(polylines, 1);
    EXPECT_EQ(TheWindowHandler().Count(), 1) << "no second window";
}

TEST_F(InternalPlotTest, FailedReloadLeavesTheViewWithoutAPlotAndShowsNothing) {
    OpenScratchWindow();
    WriteScratch("0 x\n", Sdc("0 Speed [1/min]\n"));
    EXPECT_EQ(ShowInternalPlot(nullptr, nullptr, GwUD()), 1);
    EXPECT_EQ(GetPlotData(), nullptr);
    EXPECT_NE(GetPlotView(), nullptr);
    EXPECT_TRUE(gwtest::Boxes().empty());
    // The next recording comes into the same window.
    WriteScratch("0 1\n1 2\n", Sdc("0 Speed [1/min]\n"));
    EXPECT_EQ(ShowInternalPlot(nullptr, nullptr, GwUD()), 1);
    EXPECT_NE(GetPlotData(), nullptr);
    EXPECT_EQ(TheWindowHandler().Count(), 1);
}

TEST_F(InternalPlotTest, ScratchFileMissingForGoodShowsTheTextAfterOneWait) {
    gwtest::SetDefaultBoxAnswer(8);
    testsupport::WriteFile(testsupport::RuntimePath("TMP/Scope.sdc"), Sdc("0 a [u]\n"));
    EXPECT_EQ(ShowInternalPlot(nullptr, nullptr, GwUD()), 0);
    EXPECT_EQ(BoxTexts().size(), 1u);
}

}  // namespace
}  // namespace plottest
