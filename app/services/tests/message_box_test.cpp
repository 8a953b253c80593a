// Message boxes: texts, captions, answers, log lines, re-entrance.
#include "app/services/message_box.h"

#include <functional>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "app/services/tests/services_fixture.h"
#include "platform/system/clock.h"
#include "platform/system/event_pump.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

constexpr const char* kMessages =
    "[Main-Messages]\n"
    "MN_00001=Bus error\n"
    "MN_00002=No bus\n"
    "MN_00005=Device error\n"
    "MN_00006=No device\n"
    "MN_00010=File error\n"
    "MN_00020=Go on\n"
    "MN_00021=Two\\nlines\n"
    "[Titles]\n"
    "ErrorBanner=Error\n"
    "WarningBanner=Warning\n"
    "InfoBanner=Information\n"
    "QuestionBanner=Question\n"
    "QuitText=Quit\n";

class MessageBoxTest : public ServicesTest {
protected:
    void SetUp() override {
        ServicesTest::SetUp();
        OpenFiles(kMessages);
        UseShippedDefinitions();
        main = MakeMainWindow();
    }
    GwCore* main = nullptr;
};

// Answers every box by running the test's action first, as a timer callback
// would during a real box.
class ActingUser : public GwInteraction {
public:
    int AnswerBox(const GwBoxRecord& box) override {
        seen.push_back(box);
        const int result = answer;
        if (action) {
            auto run = std::move(action);
            run();
        }
        return result;
    }
    void RunModal(GwCore* window) override { window->end_modal(GwRESULT_CANCEL); }
    bool ChooseFile(const GwFileRequest&, std::string*) override { return false; }

    std::function<void()> action;
    int answer = GwRESULT_OK;
    std::vector<GwBoxRecord> seen;
};

TEST_F(MessageBoxTest, QuestionAnswersFollowTheResultCodes) {
    const std::pair<int, bool> cases[] = {{7, false}, {2, false}, {6, true}, {8, true}, {9, true}, {10, true}};
    for (auto [code, answer] : cases) {
        gwtest::AnswerBox(code);
        EXPECT_EQ(ShowQuestionMessage(20), answer) << code;
    }
    ASSERT_EQ(gwtest::Boxes().size(), 6u);
    const GwBoxRecord& box = gwtest::Boxes().front();
    EXPECT_EQ(box.kind, "question");
    EXPECT_EQ(box.window, "x_QuestionBox");
    EXPECT_EQ(box.caption, "Question");
    EXPECT_EQ(box.text, "Go on?");
    EXPECT_EQ(box.parent, main->identifier());
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("\tMainWindow-> Question -> Go on?\n"), std::string::npos);
    EXPECT_NE(log.find("ShowQuestionMessage answer = 0\n"), std::string::npos);
    EXPECT_NE(log.find("ShowQuestionMessage answer = 1\n"), std::string::npos);
}

TEST_F(MessageBoxTest, EndingsAndCaptionsByKind) {
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    ShowErrorMessage(21);
    ShowWarningMessage(99);
    ShowInfoMessage(20);
    ShowErrorText("ready text");
    ShowQuestionText("asked");
    const std::vector<GwBoxRecord>& boxes = gwtest::Boxes();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].kind + "|" + boxes[0].caption + "|" + boxes[0].text, "error|Error|Two \nlines!");
    EXPECT_EQ(boxes[1].kind + "|" + boxes[1].caption + "|" + boxes[1].text, "warning|Warning|MN_00099!");
    EXPECT_EQ(boxes[2].kind + "|" + boxes[2].caption + "|" + boxes[2].text, "info|Information|Go on!");
    EXPECT_EQ(boxes[3].text, "ready text");
    EXPECT_EQ(boxes[4].text, "asked");
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("ShowErrorMessage answer = 1\n"), std::string::npos);
    EXPECT_NE(log.find("ShowWarningMessage answer = 1\n"), std::string::npos);
    EXPECT_EQ(log.find("ShowInfoMessage"), std::string::npos);
}

TEST_F(MessageBoxTest, SpecialNumbersTakeTheirTextsFromBusAndBases) {
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    hooks.baseErrors[FakeBase(1)] = "Data of parameter 5-SBAUD is invalid";
    hooks.baseErrors[FakeBase(2)] = "Cannot read file \"x.00D\"";
    hooks.workingBase = FakeBase(2);

    ShowErrorMessage(1);  // no bus
    hooks.busName = "RS232";
    hooks.busError = "No acknowlege of device";
    ShowErrorMessage(1);
    ShowErrorMessageFor(5, FakeBase(1));
    ShowErrorMessageFor(5, nullptr);
    ShowWarningMessage(10);

    std::vector<std::string> seen;
    for (const GwBoxRecord& box : gwtest::Boxes()) seen.push_back(box.caption + "|" + box.text);
    const std::vector<std::string> expected = {
        "Error|No bus!",
        "Bus error RS232|No acknowlege of device!",
        "Device error|Data of parameter 5-SBAUD is invalid!",
        "Device error|No device!",
        "File error|Cannot read file \"x.00D\"!",
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(MessageBoxTest, NumberedBoxWithoutBaseUsesTheActiveDevicesBase) {
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    hooks.activeBase = FakeBase(3);
    hooks.baseErrors[FakeBase(3)] = "active base text";
    ShowQuestionMessage(5);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "active base text?");
}

TEST_F(MessageBoxTest, LongTextIsCutSoTheEndingStillFits) {
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    hooks.baseErrors[FakeBase(1)] = std::string(600, 'x');
    ShowErrorMessageFor(5, FakeBase(1));
    ShowErrorText(std::string(600, 'y').c_str());
    ASSERT_EQ(gwtest::Boxes().size(), 2u);
    EXPECT_EQ(gwtest::Boxes()[0].text, std::string(510, 'x') + "!");
    EXPECT_EQ(gwtest::Boxes()[1].text, std::string(511, 'y'));
}

TEST_F(MessageBoxTest, BeforeTheMainWindowEveryRequestIsTrueWithoutABox) {
    MessageBoxesEnabled = false;
    EXPECT_TRUE(ShowErrorMessageFor(20, nullptr));
    EXPECT_TRUE(ShowWarningMessage(20));
    EXPECT_TRUE(ShowQuestionMessage(20));
    EXPECT_TRUE(ShowInfoMessage(20));
    EXPECT_TRUE(ShowErrorText("x"));
    EXPECT_TRUE(gwtest::Boxes().empty());
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("ShowErrorMessage answer = 1\n"), std::string::npos);
    EXPECT_NE(log.find("ShowWarningMessage answer = 1\n"), std::string::npos);
    EXPECT_NE(log.find("ShowQuestionMessage answer = 1\n"), std::string::npos);
    EXPECT_EQ(log.find("-> "), std::string::npos);  // no box entry
}

TEST_F(MessageBoxTest, NestedErrorRequestsReturnAtOnceWhileOtherKindsNest) {
    ActingUser user;
    GwSetInteraction(&user);
    bool forAnswer = true, plainAnswer = false, textAnswer = false, warningAnswer = false;
    bool openDuringBox = false, busyDuringBox = false;
    user.action = [&] {
        openDuringBox = IsMessageBoxOpen() && MessageBoxOpenFlag && ErrorBoxFlag;
        busyDuringBox = BusTransferFlag;
        forAnswer = ShowErrorMessageFor(20, nullptr);
        plainAnswer = ShowErrorMessage(20);
        textAnswer = ShowErrorText("second");
        user.answer = GwRESULT_NO;
        warningAnswer = ShowWarningMessage(20);
    };
    BusTransferFlag = false;
    EXPECT_TRUE(ShowErrorMessage(21));
    GwSetInteraction(nullptr);

    EXPECT_FALSE(forAnswer);
    EXPECT_TRUE(plainAnswer);
    EXPECT_TRUE(textAnswer);
    EXPECT_FALSE(warningAnswer);
    EXPECT_TRUE(openDuringBox);
    EXPECT_TRUE(busyDuringBox);
    ASSERT_EQ(user.seen.size(), 2u);  // the error box and the nested warning
    EXPECT_EQ(user.seen[0].kind, "error");
    EXPECT_EQ(user.seen[1].kind, "warning");
    EXPECT_FALSE(IsMessageBoxOpen());
    EXPECT_FALSE(MessageBoxOpenFlag);
    EXPECT_FALSE(BusTransferFlag);  // lowered by the box that raised it
}

// A timer whose work is guarded by the modal flag, as the program's timer
// guard reads it.
int g_ticksDone = 0;
int g_ticksRefused = 0;
int GuardedTick(GwCore*, GwEvent*, GwUD) {
    if (ModalFlag) {
        ++g_ticksRefused;
    } else {
        ++g_ticksDone;
    }
    return 1;
}

TEST_F(MessageBoxTest, GuardedTimerTickIsRefusedThroughTheModalFlagWhileABoxIsOpen) {
    g_ticksDone = g_ticksRefused = 0;
    main->set_callback(GwCB_TIMER, GuardedTick);
    main->start_timer(100);
    ActingUser user;
    GwSetInteraction(&user);
    bool modalDuringBox = false;
    user.action = [&] {
        modalDuringBox = ModalFlag;
        platform::TheVirtualClock()->AdvanceMs(150);
        platform::PumpEvents();
    };
    ShowQuestionMessage(20);
    GwSetInteraction(nullptr);
    EXPECT_TRUE(modalDuringBox);
    EXPECT_EQ(g_ticksRefused, 1);
    EXPECT_EQ(g_ticksDone, 0);
    EXPECT_FALSE(ModalFlag);

    platform::TheVirtualClock()->AdvanceMs(100);
    platform::PumpEvents();
    EXPECT_EQ(g_ticksDone, 1);
    main->stop_timer();

    // A box opened while a bus is being opened leaves the flag to its owner.
    ModalFlag = true;
    gwtest::AnswerBox(GwRESULT_OK);
    ShowInfoMessage(20);
    EXPECT_TRUE(ModalFlag);
    ModalFlag = false;
}

TEST_F(MessageBoxTest, BusTransferFlagRaisedByOthersStaysSet) {
    gwtest::AnswerBox(GwRESULT_OK);
    BusTransferFlag = true;
    ShowInfoMessage(20);
    EXPECT_TRUE(BusTransferFlag);
}

TEST_F(MessageBoxTest, MissingDefinitionFallsBackToTheToolkitBox) {
    GwRcMgr::reset();
    gwtest::AnswerBox(GwRESULT_CANCEL);
    EXPECT_FALSE(ShowWarningMessage(20));
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    const GwBoxRecord& box = gwtest::Boxes()[0];
    EXPECT_EQ(box.kind, "message");
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.text, "Go on!");
}

TEST_F(MessageBoxTest, InvalidParentFallsBackToTheMainWindow) {
    gwtest::AnswerBox(GwRESULT_OK);
    GwCore* gone = GwRcMgr::load(main, "NonAnimatedStateMessage");
    ASSERT_NE(gone, nullptr);
    gone->destroy();
    ShowInfoText("x", gone);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].parent, main->identifier());
}

}  // namespace

TEST_F(MessageBoxTest, ErrorBoxQuitIsANegativeAnswerLabelledFromTheMessageFile) {
    const std::pair<int, bool> answers[] = {{GwRESULT_CANCEL, false}, {8, true}};
    for (auto [code, answer] : answers) {
        gwtest::AnswerBox(code);
        EXPECT_EQ(ShowErrorMessage(5), answer) << code;
    }
    // The message file's label, else the definition's own.
    const std::pair<const char*, const char*> labels[] = {{"[Titles]\nQuitText=Abort\n", "Abort"},
                                                          {"[Titles]\nErrorBanner=Error\n", "Quit"}};
    for (auto [messages, expected] : labels) {
        OpenFiles(messages);
        std::string label;
        gwtest::AnswerBox(GwRESULT_CANCEL, [&](const GwBoxRecord&) { label = gwtest::Text("x_ErrorBox/Quit"); });
        EXPECT_FALSE(ShowErrorMessage(5));
        EXPECT_EQ(label, expected);
    }
}
