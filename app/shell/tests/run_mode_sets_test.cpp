#include "app/shell/run_mode_sets.h"
#include "app/services/file_name_component.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/shell/tests/shell_fixture.h"
#include "platform/system/clock.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using shelltest::ShellTest;

size_t CountRequests(const std::vector<std::string>& requests, const std::string& start) {
    size_t n = 0;
    for (const std::string& r : requests) n += r.rfind(start, 0) == 0;
    return n;
}

class RunModeSetsTest : public ShellTest {
protected:
    // A drive in run mode 1 of `count`, named "Speed", "Torque", ...; 151
    // follows a write of 152 after `readsBefore` reads.
    void Start(int count, int readsBefore) {
        sim::DriveTable table = maintest::ActivationTable();
        table.Find(151)->value = 1;
        sim::DriveParameter* select = table.PutFullRange(152, "BASOL", "USIGN8", count > 0 ? 1 : 0);
        select->minimum = 0;
        select->maximum = static_cast<uint32_t>(count);
        select->flags |= sim::kFlagValueTexts;
        const char* names[] = {"", "Speed", "Torque", "Position"};
        for (int i = 0; i <= count && i < 4; ++i) select->value_texts[i] = names[i];
        table.run_mode = {.enabled = true, .reads_before = readsBefore};
        AddDrive(maintest::kAddress, table);
        Activate();
        label_ = RunModeFileComponent(main_->GetActiveDeviceLabel());
    }

    std::string SetFile(const std::string& mode) { return "userdata/" + label_ + "_" + mode + ".00D"; }
    bool SetExists(const std::string& mode) { return std::filesystem::exists(testsupport::RuntimePath(SetFile(mode))); }
    void RemoveSets() {
        for (const char* mode : {"Speed", "Torque", "Position"}) {
            for (const char* letter : {"D", "T", "X"}) {
                std::string path = SetFile(mode);
                path.back() = *letter;
                std::filesystem::remove(testsupport::RuntimePath(path));
            }
        }
    }
    void TearDown() override {
        RemoveSets();
        ShellTest::TearDown();
    }
    static std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const GwEffect& e : gwtest::Effects("text")) texts.push_back(e.value);
        return texts;
    }
    static bool Shown(const std::string& text) {
        for (const std::string& t : Texts()) {
            if (t == text) return true;
        }
        return false;
    }

    std::string label_;
};

TEST_F(RunModeSetsTest, AsksInGermanAndInstallsAndSavesEveryRunMode) {
    Start(2, 0);
    gwtest::AnswerBox(GwRESULT_NO);
    EXPECT_EQ(CB_GenerateRunModeParaSets(nullptr, nullptr, GwUD()), 1);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "question");
    EXPECT_EQ(gwtest::Boxes()[0].text,
              "Nacheinander werden alle verfügbaren Betriebsarten des Gerätes installiert und in \"UserData\" "
              "gespeichert.\nDie Verarbeitung kann nicht unterbrochen werden.\n\nMöchten Sie fortfahren?");
    EXPECT_TRUE(Requests().empty());

    gwtest::AnswerBox(GwRESULT_YES);
    const uint32_t before = platform::GetTickCount();
    EXPECT_EQ(CB_GenerateRunModeParaSets(nullptr, nullptr, GwUD()), 1);
    const uint32_t elapsed = platform::GetTickCount() - before;
    EXPECT_EQ(gwtest::Boxes().size(), 2u);
    // Mode 1 was confirmed at the first read, mode 2 after one selection;
    // each data-set read reads 151 once more.
    const std::vector<std::string> requests = Requests();
    EXPECT_EQ(CountRequests(requests, "R20151"), 3u + 2u);
    EXPECT_EQ(CountRequests(requests, "W20152"), 1u);
    EXPECT_EQ(drives_.at(maintest::kAddress)->Table().Find(152)->value, 2u);
    EXPECT_GE(elapsed, 3000u);
    EXPECT_TRUE(SetExists("Speed"));
    EXPECT_TRUE(SetExists("Torque"));
    EXPECT_EQ(main_->GetStoredRunMode(), 2);
    EXPECT_TRUE(Shown("Installiere Betriebsart \"Speed\""));
    EXPECT_TRUE(Shown("Installiere Betriebsart \"Torque\""));
    EXPECT_TRUE(Shown("Schreibe Betriebsartdaten in Datei \"..\\userdata\\" + label_ + "_Torque.00D\""));
}

TEST_F(RunModeSetsTest, TheFirstRunModeConfirmedAtOnceIsSavedAfterOneSecond) {
    Start(1, 0);
    gwtest::AnswerBox(GwRESULT_YES);
    // The data set is read right after the first wait of one second.
    const uint32_t before = platform::GetTickCount();
    CB_GenerateRunModeParaSets(nullptr, nullptr, GwUD());
    std::vector<std::string> requests = Requests();
    // Before the data set is read (88 is its first parameter): one read of
    // 151 after the status check, no selection.
    const auto dataSet = std::find(requests.begin(), requests.end(), "R20088");
    ASSERT_NE(dataSet, requests.end());
    EXPECT_EQ(std::vector<std::string>(requests.begin(), dataSet), (std::vector<std::string>{"R20403", "R20151"}));
    EXPECT_EQ(CountRequests(requests, "W20152"), 0u);
    EXPECT_GE(platform::GetTickCount() - before, 1000u);
    EXPECT_TRUE(SetExists("Speed"));
}

TEST_F(RunModeSetsTest, NothingHappensForNoRunModesOrABlockingStatusBit) {
    Start(0, 0);
    gwtest::AnswerBox(GwRESULT_YES);
    CB_GenerateRunModeParaSets(nullptr, nullptr, GwUD());
    EXPECT_EQ(CountRequests(Requests(), "R20151"), 0u);

    drives_.at(maintest::kAddress)->Table().Find(403)->value = 0x10;
    ClearCaptures();
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    CB_GenerateRunModeParaSets(nullptr, nullptr, GwUD());
    ASSERT_EQ(gwtest::Boxes().size(), 3u);
    EXPECT_EQ(gwtest::Boxes()[2].text, "The device is running. Stop it first!");
    EXPECT_EQ(CountRequests(Requests(), "W20152"), 0u);
    EXPECT_EQ(CountRequests(Requests(), "R20151"), 0u);
}

TEST_F(RunModeSetsTest, AModeNeverReachedAsksAndIsSavedWhenConfirmed) {
    Start(2, sim::kRunModeNeverFollows);
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::AnswerBox(GwRESULT_OK);
    CB_GenerateRunModeParaSets(nullptr, nullptr, GwUD());
    ASSERT_EQ(gwtest::Boxes().size(), 2u);
    EXPECT_EQ(gwtest::Boxes()[1].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[1].text, "Fehler bei beim Umschalten auf Betriebsart \"Torque\"");
    EXPECT_EQ(CountRequests(Requests(), "R20151"), 1u + 9u + 2u);
    EXPECT_TRUE(SetExists("Torque"));
    EXPECT_EQ(main_->GetStoredRunMode(), 1);
}

TEST_F(RunModeSetsTest, AFailedSelectionEndsTheRun) {
    Start(3, 0);
    drives_.at(maintest::kAddress)->Table().Find(152)->read_only = true;
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    CB_GenerateRunModeParaSets(nullptr, nullptr, GwUD());
    ASSERT_GE(gwtest::Boxes().size(), 2u);
    EXPECT_EQ(gwtest::Boxes()[1].kind, "error");
    EXPECT_TRUE(SetExists("Speed"));
    EXPECT_FALSE(SetExists("Torque"));
    EXPECT_FALSE(SetExists("Position"));
}

}  // namespace
