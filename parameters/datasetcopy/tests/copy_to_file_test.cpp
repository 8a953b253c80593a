// The copy of the device's data set into a file set: the question before an
// existing set is replaced, the script and group filter in the written set,
// and the retries of a failed read.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "parameters/datasetcopy/dataset_copy.h"
#include "parameters/datasetcopy/tests/copy_fixture.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "sim/drive_faults.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

class CopyToFileTest : public copytest::CopyTest {
protected:
    void OpenScriptWindow(const std::string& path) {
        gwtest::AnswerFile(path);
        EXPECT_EQ(RunCopyDevice2File(Caller(), nullptr, GwUD()), 1);
    }
    static std::string Child(const char* name) { return std::string(kCopyDeviceToFileWindow) + "/" + name; }
    static std::string Script(ParaBase& base) {
        dstring text;
        EXPECT_EQ(base.GetValueString(kScriptParameter, text), 0) << base.MessageBuffer;
        return text.Text();
    }
    static bool InTree(const std::string& relative) {
        return std::filesystem::exists(testsupport::RuntimePath(relative));
    }
};

TEST_F(CopyToFileTest, ExistingFileSetIsReplacedOnlyAfterYes) {
    ActivateDrive();
    WriteTreeFile("userdata/Pump.00d", "old");
    OpenScriptWindow("..\\userdata\\PUMP.00D");
    EXPECT_EQ(gwtest::Text(Child("Script")), "Pump A");
    ClearCaptures();
    gwtest::AnswerBox(GwRESULT_NO);
    gwtest::Click(Child("Copy"));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"question: The file set already exists. Overwrite it?"});
    EXPECT_EQ(gwtest::Find(kCopyDeviceToFileWindow), nullptr);
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("userdata/Pump.00d")), "old");

    OpenScriptWindow("..\\userdata\\PUMP.00D");
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::Click(Child("Copy"));
    EXPECT_EQ(BoxTexts().size(), 2u) << ::testing::PrintToString(BoxTexts());
    ParaBase file(dstring("..\\userdata\\Pump.00D"));
    ASSERT_EQ(file.TableLoaded, 1) << file.MessageBuffer;
    EXPECT_EQ(Script(file), "Pump A");
}

TEST_F(CopyToFileTest, WritesTheDevicesValuesWithTheScriptAndTheChosenGroup) {
    ActivateDrive();
    OpenScriptWindow("..\\userdata\\Pump.txt");  // the set is "Pump.00D" whatever was chosen
    gwtest::Select(Child("Group"), 0);           // "Alle" off
    gwtest::Select(Child("Group"), 2);           // group 3
    gwtest::Replace(Child("Script"), "Line 9");
    Drive().Table().Find(123)->value = 2000;
    ClearCaptures();
    gwtest::Click(Child("Copy"));
    EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
    ASSERT_FALSE(ActivityTexts().empty());
    EXPECT_EQ(ActivityTexts().back(), "Writing the data set to the file ...");
    const std::vector<std::string> heard = Heard();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "R 20123"), 1);
    EXPECT_EQ(std::count_if(heard.begin(), heard.end(), [](const std::string& t) { return t[0] == 'W'; }), 0);

    for (const char* ext : {"D", "X", "T"}) EXPECT_TRUE(InTree(std::string("userdata/Pump.00") + ext)) << ext;
    EXPECT_FALSE(InTree("userdata/Pump.txt"));
    ParaBase file(dstring("..\\userdata\\Pump.00D"));
    ASSERT_EQ(file.TableLoaded, 1) << file.MessageBuffer;
    EXPECT_EQ(Script(file), "Line 9");
    EXPECT_EQ(file.GetEntry(123)->value, 2000);
    std::vector<int> flags;
    for (int number : {120, 121, 123}) flags.push_back(file.GetEntry(number)->transfer);
    EXPECT_EQ(flags, (std::vector<int>{0, 0, 1}));
}

TEST_F(CopyToFileTest, FailedReadIsRetriedWhileTheUserSaysYes) {
    struct Case {
        int answer;
        bool written;
    };
    for (const Case& c : {Case{GwRESULT_YES, true}, Case{GwRESULT_NO, false}}) {
        SCOPED_TRACE(c.answer);
        if (drives_.empty()) ActivateDrive();
        std::filesystem::remove(testsupport::RuntimePath("userdata/Pump.00D"));
        OpenScriptWindow("..\\userdata\\Pump.00D");
        Drive().AddFault(sim::DriveFault::Silence().For("20123").Times(3));
        gwtest::AnswerBox(c.answer);
        const size_t boxesBefore = BoxTexts().size();
        gwtest::Click(Child("Copy"));
        ASSERT_EQ(BoxTexts().size(), boxesBefore + 1);
        EXPECT_EQ(BoxTexts().back(),
                  "error: RS232 transmission error in parameter 123-SPEED: \nNo acknowlege of device!");
        EXPECT_EQ(InTree("userdata/Pump.00D"), c.written);
    }
}

TEST_F(CopyToFileTest, UnreadableScriptEndsTheFirstStepAndClosesTheCallingWindow) {
    ActivateDrive();
    GwCore* caller = Caller();
    Drive().AddFault(sim::DriveFault::Silence().For("20089").Times(sim::kForever));
    OpenScriptWindow("..\\userdata\\Pump.00D");
    EXPECT_EQ(
        BoxTexts(),
        std::vector<std::string>{"error: RS232 transmission error in parameter 89-SCRPT: \nNo acknowlege of device!"});
    EXPECT_EQ(gwtest::Find(kCopyDeviceToFileWindow), nullptr);
    EXPECT_FALSE(GwRcMgr::is_valid_child(caller));
}

}  // namespace
