#include "plceditor/control/tests/editor_fixture.h"
#include "toolkit/core/gw_recorder.h"

namespace sindel {
namespace {

using namespace platform;

TEST_F(EditorTest, TitleFollowsFileAndChangesOnTheTimer) {
    testsupport::WriteFile(testsupport::RuntimePath("bin/x.plc"), "A\r\n");
    Open();
    EXPECT_EQ(host_->Call(kPlcFileOpen, {VariantFromString("x.plc")}), "TRUE");
    gwtest::Advance(250);
    EXPECT_EQ(Title(), "PlcEdit [x.plc]");
    Edit().SetSel(1, 1);
    gwtest::Type(&Edit(), "B");
    EXPECT_EQ(Title(), "PlcEdit [x.plc]");  // not before the next tick
    gwtest::Advance(250);
    EXPECT_EQ(Title(), "PlcEdit [x.plc*]");
    const size_t titles = gwtest::Effects("title").size();
    gwtest::Advance(1000);
    EXPECT_EQ(gwtest::Effects("title").size(), titles);  // set only when it changes

    Command(ids::kCmdSave);
    gwtest::Advance(250);
    EXPECT_EQ(Title(), "PlcEdit [x.plc]");
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("bin/x.plc")), "AB\r\n");
}

TEST_F(EditorTest, StatusBarShowsGeneratorAndCaretLine) {
    WriteProfile("[CodeGenerator]\r\nVersion=7\r\n");
    Open();
    EXPECT_EQ(editor_->Generator(), kGeneratorV110);
    Edit().set_text("A\r\nB\r\nC");
    Edit().SetSel(6, 6);
    gwtest::Advance(250);
    StatusBar& status = *editor_->Status();
    EXPECT_EQ(status.Text(3), " PLC V1.xx");
    EXPECT_EQ(status.Text(4), "   3");
    EXPECT_TRUE(status.IsBorderless(1));
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Menu32780"));
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Tool32780"));

    editor_->SetGenerator(kGeneratorV310);
    EXPECT_TRUE(gwtest::IsEnabled("PlcEditorDialog/Tool32780"));
    Edit().hide();
    gwtest::Advance(250);
    EXPECT_EQ(status.Text(4), "");
    EXPECT_EQ(status.Text(3), " PLC V1.xx");
}

TEST_F(EditorTest, StartUpReadsTheProfile) {
    WriteProfile(
        "[CodeGenerator]\r\nVersion=2\r\nMemorySize=1000\r\n[Menu]\r\nLastPath=..\\userdata\\last.plc\r\n"
        "[Font]\r\nFaceName=Courier New\r\nSize=100\r\nWeight=700\r\nIsItalic=1\r\n");
    Open();
    EXPECT_EQ(editor_->Generator(), kGeneratorV310);
    EXPECT_EQ(editor_->Generators().v210.memorySize(), 1000);
    EXPECT_EQ(editor_->Generators().v310.memorySize(), 1000);
    EXPECT_TRUE(gwtest::IsEnabled("PlcEditorDialog/Menu32780"));
    EXPECT_EQ(gwtest::Text("PlcEditorDialog/Menu32791"), "..\\userdata\\last.plc");
    EXPECT_TRUE(gwtest::IsEnabled("PlcEditorDialog/Menu32791"));
    EXPECT_EQ(Edit().font(), "Courier New,-13,700,1,0,0");
    EXPECT_EQ(Edit().Buffer().Limit(), 0x80000);
}

TEST_F(EditorTest, StartUpDefaults) {
    Open();
    EXPECT_EQ(editor_->Generator(), kGeneratorV110);
    EXPECT_EQ(editor_->MemorySize(), 747);
    EXPECT_EQ(editor_->CurrentPath(), "PlcPrg");
    EXPECT_EQ(gwtest::Text("PlcEditorDialog/Menu32791"), "?");
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Menu32791"));
    EXPECT_EQ(Edit().font(), "MS Sans Serif,-11,400,0,0,0");
    EXPECT_EQ(EditorWindow()->icon(), "201");
    // Tooltips are the commands' texts, in the toolbar's order.
    GwCore* toolbar = gwtest::Get("PlcEditorDialog/ToolBar");
    std::vector<std::string> tips;
    for (GwCore* tool : toolbar->children()) tips.push_back(tool->name().empty() ? "|" : tool->tip_text());
    EXPECT_EQ(tips,
              (std::vector<std::string>{"New",
                                        "Open",
                                        "Save",
                                        "|",
                                        "Cut",
                                        "Copy",
                                        "Paste",
                                        "|",
                                        "Comment out marked lines",
                                        "Comment in marked lines",
                                        "|",
                                        "Undo",
                                        "Search/Replace",
                                        "|",
                                        "Print",
                                        "|",
                                        "Help",
                                        "|",
                                        "Check syntax",
                                        "Renum",
                                        "Insert Program",
                                        "|",
                                        "Read PLC program from file (device setting)",
                                        "Save PLC program into file (device setting)",
                                        "|",
                                        "Read PLC program from device",
                                        "Save PLC program into device"}));
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Tool32783"));
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Tool32784"));
}

TEST_F(EditorTest, LayoutFollowsTheWindowSize) {
    Open();
    EditorWindow()->set_rect({0, 0, 600, 400});
    // Template: status bar 20, gap 4, toolbar band 22 + 2 x 4.
    EXPECT_EQ(Edit().rect(), (GwRect{0, 30, 600, 242}));
    EXPECT_EQ(editor_->Messages()->rect(), (GwRect{0, 276, 600, 108}));
    EXPECT_EQ(editor_->Status()->PartEdges(), (std::vector<int>{0, 460, 490, 550, 600}));
    EXPECT_EQ(editor_->Status()->rect(), (GwRect{0, 380, 600, 20}));
}

TEST_F(EditorTest, CommentOutAndIn) {
    Open();
    Edit().set_text("A\r\nB");
    Edit().SetSel(0, 4);
    Command(ids::kCmdCommentOut);
    EXPECT_EQ(Text(), ";A\r\n;B\r\n");
    EXPECT_TRUE(editor_->IsModified());

    // A selection that ends at the start of a line takes that line too.
    Edit().set_text("  ;X\r\n;Y\r\nZ\r\n");
    Edit().SetSel(2, 6);
    Command(ids::kCmdCommentIn);
    EXPECT_EQ(Text(), "  ;X\r\nY\r\nZ\r\n");
    Command(ids::kCmdUndo);
    EXPECT_EQ(Text(), "  ;X\r\n;Y\r\nZ\r\n");
}

TEST_F(EditorTest, UndoWithNothingToUndoBeeps) {
    Open();
    Command(ids::kCmdUndo);
    std::vector<GwEffect> beeps = gwtest::Effects("beep");
    ASSERT_EQ(beeps.size(), 1u);
    EXPECT_EQ(beeps[0].value, "asterisk");
}

TEST_F(EditorTest, ReplacedLinesKeepTheirTwoTabsButTheLast) {
    Open();
    // Every replaced line but the last keeps the two tabs, comment or not;
    // the last has them only with a comment.
    Edit().set_text("LD M1\r\nST M2 ;out\r\nEND ;done");
    EXPECT_TRUE(editor_->ReplaceLine(0, "LD  M001"));
    EXPECT_TRUE(editor_->ReplaceLine(1, "ST  M002"));
    EXPECT_EQ(Text(), "LD  M001\t\t\r\nST  M002\t\t;out\r\nEND ;done");
    EXPECT_TRUE(editor_->ReplaceLine(2, "END"));
    EXPECT_EQ(Text(), "LD  M001\t\t\r\nST  M002\t\t;out\r\nEND\t\t;done\r\n");
    Edit().set_text("LD M1\r\nEND");
    EXPECT_TRUE(editor_->ReplaceLine(1, "END"));
    EXPECT_EQ(Text(), "LD M1\r\nEND\r\n");
}

TEST_F(EditorTest, LineOperationsForTheTranslators) {
    Open();
    Edit().set_text("LD M1 ;in\r\nEND");
    std::string line;
    EXPECT_TRUE(editor_->GetLine(1, &line));
    EXPECT_EQ(line, "END");
    EXPECT_FALSE(editor_->GetLine(2, &line));
    EXPECT_EQ(line, "");

    EXPECT_TRUE(editor_->ReplaceLine(0, "LD  M001"));
    EXPECT_EQ(Text(), "LD  M001\t\t;in\r\nEND");
    EXPECT_TRUE(editor_->ReplaceLine(1, "END"));
    EXPECT_EQ(Text(), "LD  M001\t\t;in\r\nEND\r\n");
    EXPECT_FALSE(editor_->ReplaceLine(-1, "x"));
    EXPECT_FALSE(editor_->ReplaceLine(3, "x"));
    Command(ids::kCmdUndo);
    EXPECT_EQ(Text(), "LD  M001\t\t;in\r\nEND");

    Edit().SetSel(4, 8);
    EXPECT_EQ(editor_->SelectedText(), "M001");
    Edit().SetSel(4, 16);
    EXPECT_EQ(editor_->SelectedText(), "");

    editor_->AppendMessage("one");
    editor_->AppendMessage("two|three");
    EXPECT_EQ(editor_->Messages()->GetCount(), 2);
    EXPECT_EQ(editor_->Messages()->GetText(1), "two|three");
}

TEST_F(EditorTest, DoubleClickOnAMessageSelectsItsLine) {
    Open();
    Edit().set_text("A\r\nBB\r\nCCC");
    editor_->AppendMessage("  LINE(002): ERR(57688) - jump");
    editor_->AppendMessage("  LINE(003): ERR(57691) - end");
    editor_->AppendMessage("  LINE(004): ERR(57691) - beyond");
    editor_->AppendMessage("  LINE(000): ERR(57691) - none");
    editor_->AppendMessage("  LINE(003,001): CCC");
    editor_->AppendMessage("no line number");
    const struct { int row, start, end; } cases[] = {{0, 3, 6}, {1, 7, 10}, {4, 8, 8}};
    for (const auto& c : cases) {
        Edit().SetSel(0, 0);
        ASSERT_TRUE(gwtest::DoubleClick("PlcEditorDialog/MessageList", c.row));
        EXPECT_EQ(Edit().Buffer().SelStart(), c.start) << c.row;
        EXPECT_EQ(Edit().Buffer().SelEnd(), c.end) << c.row;
    }
    for (int row : {2, 3, 5}) {
        Edit().SetSel(1, 2);
        gwtest::DoubleClick("PlcEditorDialog/MessageList", row);
        EXPECT_EQ(Edit().Buffer().SelStart(), 1) << row;
        EXPECT_EQ(Edit().Buffer().SelEnd(), 2) << row;
    }
}

TEST_F(EditorTest, KeysTheEditControlPassesOn) {
    Open();
    Edit().set_text("abc");
    gwtest::PressKey(&Edit(), CtrlKey('A'));
    EXPECT_EQ(Edit().Buffer().SelectedText(), "abc");
    gwtest::Type(&Edit(), "x");
    gwtest::AnswerBox(GwRESULT_NO);  // the save prompt
    gwtest::PressKey(&Edit(), CtrlKey('N'));
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(gwtest::Boxes().back().text, "Do you like to save the changed process programme ?");

    gwtest::PressKey(&Edit(), GwKEY_ESCAPE);
    EXPECT_EQ(EditorWindow(), nullptr);
    EXPECT_EQ(host_->sink.events, (std::vector<ReceivedEvent>{{kPlcOnCancel, {}}}));
}

TEST_F(EditorTest, HelpAndExit) {
    Open();
    Command(ids::kCmdHelp);
    std::vector<GwEffect> help = gwtest::Effects("html help");
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].value, "Sindel.chm");
    Command(ids::kCmdExit);
    EXPECT_EQ(EditorWindow(), nullptr);
}

TEST(StringTable, OwnTextsTranslatorTextsAndPlaceholders) {
    EXPECT_EQ(LoadString(ids::kErrorAtOpening), "Error at opening of\n");
    EXPECT_EQ(LoadString(ids::kGeneratorNames + kGeneratorV310), "PLC V3.10");
    EXPECT_EQ(LoadString(57688), "%1 Faulty jump destination. Example: JMP (...) Nxxx; JMP (...) END.");
    EXPECT_EQ(LoadString(32790), "");
    // One pass: an argument holding a placeholder stays as it is.
    EXPECT_EQ(FormatString(ids::kReplaceWith, "%2", "x"), "Replace '%2' with 'x'.");
    EXPECT_EQ(FormatString(ids::kMaximumMemory, "4096"),
              "The maximum memory is 4096 of 32-Bit elements.\nPleace correct your settings!");
}

}  // namespace
}  // namespace sindel
