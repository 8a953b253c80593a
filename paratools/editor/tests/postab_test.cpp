#include <gtest/gtest.h>

#include <filesystem>

#include "app/services/program_flags.h"
#include "parameters/parabase/para_base.h"
#include "paratools/editor/postab_editor.h"
#include "paratools/editor/tests/editor_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace editortest {
namespace {

class PosTabTest : public EditorTest {
protected:
    void TearDown() override {
        for (const std::string& path : files_) std::filesystem::remove(path);
        EditorTest::TearDown();
    }
    GwCore* Open(const std::string& path = "") {
        window_ = GwRcMgr::load(mainWindow_, "PosTabEditor", 1);
        EXPECT_NE(window_, nullptr);
        if (!path.empty()) window_->set_user_data(GwUD(path.c_str()));
        window_->show();
        return window_;
    }
    // A file set of the active device's base with parameter 91 := code.
    std::string WriteFileSet(const std::string& name, uint16_t code) {
        ParaBase base(*main_->ActiveParaBase());
        EXPECT_EQ(base.SetValueU16(91, code), 0);
        const std::string path = testsupport::RuntimePath("userdata/" + name + ".01D").string();
        base.InitFile(path.c_str());
        EXPECT_EQ(base.WriteFileBase(), 0);
        for (const char* ext : {"D", "X", "T"}) {
            files_.push_back(testsupport::RuntimePath("userdata/" + name + ".01" + ext).string());
        }
        return path;
    }
    GwSpreadSheet* Sheet(const char* name) {
        return dynamic_cast<GwSpreadSheet*>(gwtest::Get(std::string("PosTabEditor/") + name));
    }
    const sim::DriveParameter& Drive(int number) { return *drives_.at(maintest::kAddress)->Table().Find(number); }

    GwCore* window_ = nullptr;
    std::vector<std::string> files_;
};

TEST_F(PosTabTest, SheetsShowTitlesDescriptionsAndValues) {
    Open();
    GwSpreadSheet* variables = Sheet("Variablen");
    ASSERT_EQ(variables->row_count(), 5);
    EXPECT_EQ(variables->contents(0, 1), "Variables");
    EXPECT_EQ(variables->contents(0, 0), "");
    EXPECT_EQ(variables->contents(1, 0), "H00");
    EXPECT_EQ(variables->contents(4, 0), "H03");
    EXPECT_EQ(variables->contents(2, 1), "2");
    GwSpreadSheet* table = Sheet("Tabelle");
    EXPECT_EQ(table->contents(1, 0), "T00");
    EXPECT_EQ(table->contents(5, 0), "T04");
    EXPECT_EQ(Sheet("Merker")->contents(1, 0), "M00");
    EXPECT_EQ(Sheet("Zaehler")->contents(2, 0), "C01");
    EXPECT_EQ(variables->column_width(0), 30);
    EXPECT_EQ(variables->column_width(1), variables->width() - 48);
    EXPECT_EQ(gwtest::Text("PosTabEditor/StatOffline"), "Online: changes go to the device at once");
    EXPECT_EQ(gwtest::Text("PosTabEditor/StatCycle"), "Cyclic update");
}

TEST_F(PosTabTest, CellCheck) {
    struct Case {
        int number;
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {729, "12", true},
        {729, "12.5", false},
        {729, "-3", false},
        {728, "-3", true},
        {728, "-1001", false},
        {729, "", false},
        {729, "101", false},
        {729, "100", true},
        {729, "+", false},
        {728, "-", false},
        {728, "1-2", false},
        {729, "+7", true},
    };
    ParaBase* base = main_->ActiveParaBase();
    for (const Case& c : cases)
        EXPECT_EQ(IsValidPosTabCell(base, c.number, c.text), c.valid) << c.number << " " << c.text;
}

TEST_F(PosTabTest, DeviceModeWritesAConfirmedCell) {
    Open();
    ClearCaptures();
    ASSERT_TRUE(gwtest::EditCell("PosTabEditor/Merker", 2, 1, "55"));
    EXPECT_EQ(Drive(729).elements[1], 55u);
    EXPECT_EQ(gwtest::Text("PosTabEditor/StatChanged"), "Parameters changed");
    // A refused text keeps the editor open and writes nothing.
    ClearCaptures();
    EXPECT_FALSE(gwtest::EditCell("PosTabEditor/Merker", 3, 1, "1-2"));
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Drive(729).elements[2], 7u);
}

TEST_F(PosTabTest, FileOfAnotherDeviceClassIsRefused) {
    const std::string path = WriteFileSet("marlo", 3120);
    gwtest::AnswerBox(GwRESULT_OK);
    Open(path);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "This window works only with devices of class 4!");
    EXPECT_FALSE(window_->is_shown());
}

TEST_F(PosTabTest, DeviceModeWithoutActiveDeviceShowsInfo6) {
    main_->UncoupleAllDevices();
    gwtest::AnswerBox(GwRESULT_OK);
    Open();
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "info");
    EXPECT_FALSE(window_->is_shown());
}

TEST_F(PosTabTest, FileModeChangeMarksTheWindowAndClosingAsks) {
    Open(WriteFileSet("ruvex", 4120));
    EXPECT_EQ(gwtest::Text("PosTabEditor/StatOffline"), "Parameter file");
    ClearCaptures();
    ASSERT_TRUE(gwtest::EditCell("PosTabEditor/Variablen", 1, 1, "-7"));
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(gwtest::Text("PosTabEditor/StatChanged"), "Parameters changed");
    gwtest::AnswerBox(GwRESULT_NO);
    EXPECT_TRUE(gwtest::Close(window_));
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "The parameters were changed. Store the changes?");
    EXPECT_EQ(GetPosTabEditor(), nullptr);
}

TEST_F(PosTabTest, FileTablesGoToTheDriveThenAreMadeActive) {
    Open(WriteFileSet("ruvex", 4120));
    ASSERT_TRUE(gwtest::EditCell("PosTabEditor/Zaehler", 2, 1, "66"));
    ClearCaptures();
    gwtest::Fire("PosTabEditor/M_SaveDevice", "activate");
    EXPECT_EQ(Drive(730).elements[1], 66u);
    const std::vector<std::string> requests = Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back(), "W20150");
    EXPECT_EQ(Drive(150).value, 1u);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(PosTabTest, FileTablesNeedAnOnlineDevice) {
    Open(WriteFileSet("ruvex", 4120));
    main_->UncoupleAllDevices();
    ClearCaptures();
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::Fire("PosTabEditor/M_SaveDevice", "activate");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "warning");
    EXPECT_TRUE(Requests().empty());
}

TEST_F(PosTabTest, FailedStoreOnCloseKeepsTheWindowAndCancelledSaveCloses) {
    drives_.at(maintest::kAddress)->Table().Find(150)->read_only = true;
    Open();
    ASSERT_TRUE(gwtest::EditCell("PosTabEditor/Merker", 1, 1, "9"));
    gwtest::AnswerBox(GwRESULT_YES);  // store the changes
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK, "error");
    EXPECT_FALSE(gwtest::Close(window_));
    ASSERT_NE(GetPosTabEditor(), nullptr);
    EXPECT_TRUE(GetPosTabEditor()->Changed);
    EXPECT_TRUE(window_->is_shown());
}

TEST_F(PosTabTest, CancelledFileSelectorCountsAsSaved) {
    Open(WriteFileSet("ruvex", 4120));
    ASSERT_TRUE(gwtest::EditCell("PosTabEditor/Merker", 1, 1, "9"));
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::CancelFile();
    EXPECT_TRUE(gwtest::Close(window_));
    EXPECT_EQ(GetPosTabEditor(), nullptr);
}

TEST_F(PosTabTest, RefusedTableValueStopsTheStore) {
    drives_.at(maintest::kAddress)->Table().Find(729)->read_only = true;
    Open();
    ASSERT_TRUE(gwtest::ChooseMenuItem("PosTabEditor/M_OptCycle"));  // cyclic update off: the store takes all sheets
    ClearCaptures();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    gwtest::Fire("PosTabEditor/M_SaveDevice", "activate");
    for (const std::string& r : Requests()) EXPECT_NE(r, "W20150");
    EXPECT_EQ(Drive(150).value, 0u);
    EXPECT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_TRUE(GetPosTabEditor()->Changed);
}

TEST_F(PosTabTest, InvalidCellAtStoreNamesParameterAndRow) {
    Open(WriteFileSet("ruvex", 4120));
    Sheet("Merker")->set_contents(2, 1, "x");
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::Fire("PosTabEditor/M_SaveDevice", "activate");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "Invalid value for Markers in row 2");
    EXPECT_EQ(Drive(150).value, 0u);
}

TEST_F(PosTabTest, SavedFileHoldsOnlyTheTables) {
    Open();
    const std::string path = testsupport::RuntimePath("userdata/tables.01D").string();
    for (const char* ext : {"D", "X", "T"})
        files_.push_back(testsupport::RuntimePath(std::string("userdata/tables.01") + ext).string());
    gwtest::AnswerFile(path);
    gwtest::Fire("PosTabEditor/M_SaveFile", "activate");
    ASSERT_FALSE(GwRecorder::FileRequests().empty());
    EXPECT_EQ(GwRecorder::FileRequests()[0].filter, "Parameter files|*.01D|All files|*|");
    ParaBase saved{dstring(path.c_str())};
    ASSERT_EQ(saved.TableLoaded, 1);
    std::vector<int> used;
    for (int n = 0; n < 1000; ++n) {
        const ParameterEntry* e = saved.GetEntry(n);
        if (e != nullptr && e->transfer != 0) used.push_back(n);
    }
    EXPECT_EQ(used, (std::vector<int>{727, 728, 729, 730}));
}

TEST_F(PosTabTest, CyclicUpdateReadsOneSheetPerTickInTurn) {
    Open();
    ClearCaptures();
    GwCore* container = gwtest::Get("PosTabEditor/SheetCont");
    EXPECT_EQ(container->timer_interval(), 500u);
    // Each tick reads the visible elements of one sheet: 728, 729, 730, 727.
    const std::vector<std::string> reads = {
        "R707280000004", "R707290000003", "R707300000002", "R707270000005", "R707280000004"};
    gwtest::Advance(499);
    EXPECT_TRUE(Requests().empty());
    gwtest::Advance(1);
    EXPECT_EQ(container->timer_interval(), 1000u);
    for (size_t i = 1; i < reads.size(); ++i) gwtest::Advance(1000);
    EXPECT_EQ(Requests(), reads);
}

}  // namespace
}  // namespace editortest
