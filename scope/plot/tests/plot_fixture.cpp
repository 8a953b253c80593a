#include "scope/plot/tests/plot_fixture.h"

#include <cstdio>

#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "scope/plot/plot_state.h"
#include "scope/plot/plot_window.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace plottest {

namespace {

const GwFuncDesc kMainWindowEntries[] = {
    {"CBPlotActivate", CBPlotActivate},
    {nullptr, nullptr},
};

}  // namespace

std::string Sdc(const std::string& channels) { return channels + kTriggerLines; }

std::string Dat(int rows, const std::vector<double>& values) {
    std::string text;
    for (int row = 0; row < rows; ++row) {
        text += std::to_string(row);
        for (double v : values) {
            char field[40];
            std::snprintf(field, sizeof field, "\t%.7f", v);
            text += field;
        }
        text += "\n";
    }
    return text;
}

void PlotTest::SetUp() {
    shippedProfile_ = testsupport::ReadFile(testsupport::RuntimePath("bin/Torvan.ini"));
    OpenApplicationFiles();
    SetUserDataDirFromProfile();
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/torvan.cgw").c_str()));
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/plot.cgw").c_str()));
    ASSERT_NE(GwRcMgr::use_func_desc(PlotWindowCallbacks()), 0);
    ASSERT_NE(GwRcMgr::use_func_desc(kMainWindowEntries), 0);
    main_ = new GwApplFrame("MainWindow");
    main_->show();
    SetMainWindow(main_);
    MessageBoxesEnabled = true;
}

void PlotTest::TearDown() {
    CloseApplicationFiles();
    testsupport::WriteFile(testsupport::RuntimePath("bin/Torvan.ini"), shippedProfile_);
}

void PlotTest::WritePair(const std::string& relative, const std::string& dat, const std::string& sdc) {
    testsupport::WriteFile(testsupport::RuntimePath(relative + ".dat"), dat);
    testsupport::WriteFile(testsupport::RuntimePath(relative + ".sdc"), sdc);
}

void PlotTest::WriteScratch(const std::string& dat, const std::string& sdc) { WritePair("TMP/Scope", dat, sdc); }

void PlotTest::UseProfileLines(const std::string& lines) {
    CloseApplicationFiles();
    testsupport::WriteFile(testsupport::RuntimePath("bin/Torvan.ini"),
                           testsupport::ReadFile(testsupport::RuntimePath("bin/Torvan.ini")) + lines);
    OpenApplicationFiles();
}

GwCore* PlotTest::OpenScratchWindow() {
    WriteScratch(Dat(3, {1.0}), Sdc("0 Speed [1/min]\n"));
    EXPECT_EQ(ShowInternalPlot(nullptr, nullptr, GwUD()), 1);
    return PlotWindow();
}

GwCore* PlotTest::PlotWindow() { return FindPlotWindow(); }
GwDrawing* PlotTest::Drawing() { return FindPlotDrawing(); }

std::vector<std::string> PlotTest::DrawingOps() {
    GwDrawing* drawing = Drawing();
    return drawing != nullptr ? drawing->device_context()->operation_texts() : std::vector<std::string>{};
}

std::vector<std::string> PlotTest::BoxTexts() {
    std::vector<std::string> texts;
    for (const GwBoxRecord& box : gwtest::Boxes()) texts.push_back(box.kind + ": " + box.text);
    return texts;
}

}  // namespace plottest
