// The variable list of the drive's firmware: which file is taken for a
// device class and version, the list built from the drive's catalogue when
// there is none, and the drive's norm table as the list's factors.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "parameters/parabase/para_base.h"
#include "parameters/values/darray.h"
#include "scope/recorder/tests/recorder_fixture.h"
#include "scope/varlist/scope_variable_list.h"
#include "sim/drive_recorder.h"
#include "testsupport/test_env.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using scopetest::RecorderTest;

std::filesystem::path Firmdata(const std::string& name) {
    return testsupport::RuntimePath("FIRMDATA/" + name + ".MCW");
}

std::vector<std::string> FirmdataEntries() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(testsupport::RuntimePath("FIRMDATA")))
        names.push_back(entry.path().filename().string());
    return names;
}

class VariableListTest : public RecorderTest {
protected:
    // A parameter of the drive, described to the base as well.
    void Add(sim::DriveParameter p) {
        const int number = p.number;
        drive_->Table().Put(std::move(p));
        ASSERT_EQ(base_->ReadBusDescription(number), 0) << base_->MessageBuffer;
        base_->GetEntry(number)->valid = 1;
    }
    static sim::DriveParameter Param(int number, const char* name, const char* type, uint32_t maximum = 0xFF) {
        sim::DriveParameter p;
        p.number = number;
        p.name = name;
        p.type = sim::FindDriveType(type);
        p.maximum = maximum;
        return p;
    }
    // The drive's catalogue through 121 and 112 .. 119.
    void AddCatalogue(std::vector<sim::RecorderVariable> variables) {
        Add(Param(121, "DSLIX", "USIGN16", static_cast<uint32_t>(variables.size() - 1)));
        Add(Param(112, "VNAME", "STRING"));
        Add(Param(113, "VUNIT", "STRING"));
        Add(Param(114, "VFRAC", "USIGN8"));
        sim::DriveParameter factor = Param(117, "VFACT", "FLOAT32", 0x7F7FFFFF);
        factor.minimum = 0xFF7FFFFF;
        Add(factor);
        Add(Param(118, "VKIND", "USIGN8"));
        Add(Param(119, "VLEVL", "USIGN8"));
        drive_->AddRecorder().SetCatalogue(std::move(variables));
    }
};

TEST_F(VariableListTest, FileNameFollowsDeviceClassAndVersion) {
    struct Case {
        double code, version, alternative;
        const char* present;  // a list file that exists, or ""
        const char* path;
    };
    const Case cases[] = {
        {5000, 3.10, 0, "5_003_10", "..\\FIRMDATA\\5_003_10.MCW"},
        {5000, 3.05, 0, "", "..\\FIRMDATA\\5_003_05.MCW"},
        {5000, 120.0, 3.10, "", "..\\FIRMDATA\\5_120_00.MCW"},
        {7000, 3.10, 0, "", "..\\FIRMDATA\\7_003_00.MCW"},
        {7000, 4.25, 0, "", "..\\FIRMDATA\\7_004_00.MCW"},
        {7000, 2.00, 0, "", "..\\FIRMDATA\\7_002_00.MCW"},
        {7000, 120.0, 3.05, "", "..\\FIRMDATA\\7_003_00.MCW"},
        {7000, 120.0, 3.05, "7_003_05", "..\\FIRMDATA\\7_003_05.MCW"},
        {3000, 2.50, 0, "", "..\\FIRMDATA\\3_002_50.MCW"},
        {3000, 5.00, 0, "", "..\\FIRMDATA\\3_003_00.MCW"},
        {3000, 150.0, 4.20, "3_004_20", "..\\FIRMDATA\\3_004_20.MCW"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_EQ(base_->SetValueDouble(91, c.code), 0) << base_->MessageBuffer;
        ASSERT_EQ(base_->SetValueDouble(92, c.version), 0) << base_->MessageBuffer;
        ASSERT_EQ(base_->SetValueDouble(90, c.alternative), 0) << base_->MessageBuffer;
        if (c.present[0] != '\0') testsupport::WriteFile(Firmdata(c.present), scopetest::kListText);
        const int result = base_->LoadScopeVariableList();
        ASSERT_NE(base_->GetScopeVariables(), nullptr);
        EXPECT_EQ(base_->GetScopeVariables()->Path(), c.path);
        if (c.present[0] != '\0') {
            EXPECT_EQ(result, 0) << base_->MessageBuffer;
            EXPECT_EQ(base_->GetScopeVariables()->Entries().size(), 4u);
            std::filesystem::remove(Firmdata(c.present));
        } else {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(base_->MessageBuffer, "Cannot open file \"" + std::string(c.path) + "\"");
        }
    }
}

TEST_F(VariableListTest, ListIsBuiltFromTheDriveWhenThereIsNone) {
    AddCatalogue(
        {{"Speed", "1/min", 8, 2.0f, 1, 1}, {"Current", "A", 8, 0.5f, 1, 2}, {"Position", "Incr", 16, 0.0f, 2, 1}});
    ASSERT_EQ(base_->LoadScopeVariableList(), 0) << base_->MessageBuffer;
    EXPECT_EQ(Runtime(scopetest::kListFile),
              "Speed, 1/min, 8, 2.000000, 1, 1\n"
              "Current, A, 8, 0.500000, 1, 2\n"
              "Position, Incr, 16, 0.000000, 2, 1\n");
    const ScopeVariableList& list = *base_->GetScopeVariables();
    ASSERT_EQ(list.Entries().size(), 3u);
    EXPECT_EQ(list.Entries()[2].name, "Position");
    EXPECT_EQ(list.Entries()[2].index_within_kind, 0);
    EXPECT_EQ(DriveValue(121), 2u);

    // Once there, the file is taken as it is.
    drive_->ClearCapture();
    ASSERT_EQ(base_->LoadScopeVariableList(), 0) << base_->MessageBuffer;
    for (const std::string& telegram : Telegrams()) EXPECT_NE(telegram.substr(0, 5), "20121") << telegram;
}

TEST_F(VariableListTest, NamesAndUnitsThatHoldSeparatorsReadBackUnchanged) {
    AddCatalogue({{"", "A", 8, 2.0f, 1, 1},
                  {"Speed, filtered", "", 8, 0.5f, 1, 2},
                  {"\"Pos\" act", "1/min, mech", 16, 0.0f, 2, 1},
                  {"Plain", "Incr", 16, 1.0f, 2, 1}});
    ASSERT_EQ(base_->LoadScopeVariableList(), 0) << base_->MessageBuffer;
    EXPECT_EQ(Runtime(scopetest::kListFile),
              "\"\", A, 8, 2.000000, 1, 1\n"
              "\"Speed, filtered\", \"\", 8, 0.500000, 1, 2\n"
              "\"\"\"Pos\"\" act\", \"1/min, mech\", 16, 0.000000, 2, 1\n"
              "Plain, Incr, 16, 1.000000, 2, 1\n");
    const ScopeVariableList& list = *base_->GetScopeVariables();
    ASSERT_TRUE(list.IsValid());
    std::vector<std::string> names, units;
    for (const ScopeVariable& v : list.Entries()) {
        names.push_back(v.name);
        units.push_back(v.unit);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"", "Speed, filtered", "\"Pos\" act", "Plain"}));
    EXPECT_EQ(units, (std::vector<std::string>{"A", "", "1/min, mech", "Incr"}));
    EXPECT_EQ(list.Entries()[3].index_within_kind, 1);
}

TEST_F(VariableListTest, FailedBuildLeavesNoList) {
    // The second entry's name is longer than any telegram carries.
    AddCatalogue({{"Speed", "1/min", 8, 2.0f, 1, 1},
                  {std::string(140, 'X'), "A", 8, 0.5f, 1, 2},
                  {"Position", "Incr", 16, 0.0f, 2, 1}});
    EXPECT_NE(base_->LoadScopeVariableList(), 0);
    EXPECT_FALSE(RuntimeExists(scopetest::kListFile));
    EXPECT_TRUE(FirmdataEntries().empty());
    EXPECT_EQ(DriveValue(121), 1u);
}

TEST_F(VariableListTest, NormTableOfTheDriveGivesTheFactors) {
    sim::DriveParameter norms = Param(399, "NORMS", "FLOAT32", 0x7F7FFFFF);
    norms.flags = sim::kFlagArray;
    norms.elements = {0x40400000, 0x41200000};  // 3.0, 10.0
    Add(norms);
    base_->SetArrayObject(399, CreateArrayForType(base_->GetEntry(399)->type, 2));
    WriteList("Position, Incr, 16, -1, 2, 1\nSpeed, 1/min, 8, 0, 1, 1\n");
    ASSERT_EQ(base_->LoadScopeVariableList(), 0) << base_->MessageBuffer;
    ScopeVariableList& list = *base_->GetScopeVariables();
    ASSERT_TRUE(list.SelectByName("Position"));
    EXPECT_EQ(list.GetCurrentFactor(), 10.0);
    ASSERT_TRUE(list.SelectByName("Speed"));
    EXPECT_EQ(list.GetCurrentFactor(), 3.0);

    // The export reads the table again: channel 0 records "Position" with
    // the drive's new factor 4.
    drive_->Table().Find(399)->elements[1] = 0x40800000;
    drive_->AddRecorder();
    drive_->SetSamples({0x00, 0x01, 0x80, 0x00});  // 1.5
    for (const auto& s : std::vector<std::pair<int, uint32_t>>{{20, 0x60}, {21, 0}, {62, 4}})
        SetOnDrive(s.first, s.second);
    ASSERT_EQ(base_->ReadScopeBuffer(), 0) << base_->MessageBuffer;
    ASSERT_EQ(base_->ExportScopeData(), 0) << base_->MessageBuffer;
    EXPECT_EQ(Runtime("TMP/Scope.DAT"), "    0.0000000000000000\t      6.0000000000000000\t\t\t\r\n");
}

}  // namespace
