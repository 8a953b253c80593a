// The print wizard's pages, the print run to the printer and to files, and
// the preview, acted through the test driver on the shipped windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/user_level.h"
#include "parameters/parabase/para_types.h"
#include "paratools/print/print_wizard.h"
#include "paratools/print/tests/paratools_fixture.h"
#include "platform/files/registry_store.h"
#include "platform/system/clock.h"
#include "platform/system/program_start.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_toggle_list.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/draw/gw_printer.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace paratoolstest {
namespace {

constexpr char kSpreadsheetKey[] = "HKEY_CLASSES_ROOT\\Excel.CSV\\shell\\Open\\command";

class PrintWizardTest : public ParaToolsTest {
protected:
    void SetUp() override {
        ParaToolsTest::SetUp();
        static const GwFuncDesc kServices[] = {{"CB_Info_StartVideo", CB_Info_StartVideo}, {nullptr, nullptr}};
        ASSERT_NE(GwRcMgr::use_func_desc(kServices), 0);
        ASSERT_NE(GwRcMgr::use_func_desc(PrintWizardCallbacks()), 0);
        base.SetPath(kDFilePath, "..\\userdata\\set.00D");
        DefineIdentity(base);
        for (int n : {8, 11, 91, 92}) base.GetEntry(n)->transfer = 0;
        Define(base, {.number = 20, .name = "SPEED", .value = 1500, .kpGroup = 1, .unit = "rpm"});
        Define(base, {.number = 21, .name = "ACCEL", .value = 7, .kpGroup = 0});
    }
    GwCore* OpenPage0() {
        GwCore* page = GwRcMgr::load(mainWindow, "PrintPara0");
        EXPECT_NE(page, nullptr);
        page->set_user_data(GwUD(static_cast<void*>(&base)));
        page->show();
        return page;
    }
    static bool Checked(const std::string& path) {
        auto* t = dynamic_cast<GwToggle*>(gwtest::Get(path));
        return t != nullptr && t->is_checked();
    }
    static std::vector<std::string> Items(const std::string& path) {
        auto* list = dynamic_cast<GwCombo*>(gwtest::Get(path));
        std::vector<std::string> items;
        for (int i = 0; list != nullptr && i < list->count(); ++i) items.push_back(list->item_text(i));
        return items;
    }
    // Sets the print destination and columns directly, as the pages would.
    void ChooseColumns(std::initializer_list<int> columns) {
        ParaPrintSettings& s = *ThePrintWizard().settings;
        s.PProp = {};
        for (int c : columns) s.PProp[c] = 1;
    }

    ParaBase base;
};

TEST_F(PrintWizardTest, Page0ListsFormatsAndEnablesItsChoices) {
    WriteTreeFile("bin/PPrn_4.ini", "[UserDefined]\r\n049=Eigenes\r\nUserLevel=4\r\n[Short]\r\n049=Kurz\r\n");
    WriteTreeFile("bin/Torvan.ini",
                  "[Options]\r\nLanguage=49\r\n[Directories]\r\nUserdataDir=..\\userdata\r\n"
                  "[user_print_defines]\r\nParaPrintFormat=1\r\nParaPrintComment=1\r\nDestination=1\r\n");
    OpenApplicationFiles();
    OpenPage0();
    EXPECT_EQ(Items("PrintPara0/Format"), (std::vector<std::string>{"Eigenes", "Kurz"}));
    EXPECT_EQ(ThePrintWizard().settings->SectionName, "Short");
    EXPECT_TRUE(Checked("PrintPara0/Comment"));
    // No spreadsheet program: the stored spreadsheet destination shows as text file.
    EXPECT_FALSE(gwtest::IsEnabled("PrintPara0/Excel"));
    EXPECT_TRUE(Checked("PrintPara0/Ascii"));
    EXPECT_FALSE(gwtest::IsEnabled("PrintPara0/Assi"));
    gwtest::Select("PrintPara0/Format", 0);
    EXPECT_TRUE(gwtest::IsEnabled("PrintPara0/Assi"));
    EXPECT_EQ(ThePrintWizard().formatIndex, 0);

    // Above level 5 the assistant is open on showing, but a new choice of
    // another format closes it.
    gwtest::Get("PrintPara0")->destroy();
    SetUserLevel(6);
    platform::TheRegistry().SetValue(kSpreadsheetKey, "", "calc.exe \"%1\"");
    OpenPage0();
    EXPECT_TRUE(gwtest::IsEnabled("PrintPara0/Excel"));
    EXPECT_TRUE(Checked("PrintPara0/Excel"));
    EXPECT_TRUE(gwtest::IsEnabled("PrintPara0/Assi"));
    gwtest::Select("PrintPara0/Format", 1);
    EXPECT_FALSE(gwtest::IsEnabled("PrintPara0/Assi"));
}

TEST_F(PrintWizardTest, Page0WithTheShippedEnglishTextsSelectsTheUserDefinedFormat) {
    UseLanguage(44);
    WriteTreeFile("bin/PPrn_4.ini", "; print formats\r\n");
    OpenPage0();
    EXPECT_EQ(ThePrintWizard().settings->SectionName, "UserDefined");
    EXPECT_EQ(ThePrintWizard().settings->PProp[0], 1);
    EXPECT_TRUE(gwtest::IsEnabled("PrintPara0/Assi"));
}

TEST_F(PrintWizardTest, Page0RefusesBasesWithoutDataAndUnreadableFormatFiles) {
    gwtest::SetDefaultBoxAnswer(8);
    ParaBase empty;
    GwCore* page = GwRcMgr::load(mainWindow, "PrintPara0");
    page->set_user_data(GwUD(static_cast<void*>(&empty)));
    page->show();
    std::filesystem::create_directories(TreePath("bin/PPrn_4.ini"));
    OpenPage0();
    ASSERT_EQ(gwtest::Boxes().size(), 2u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "No device is online!");
    EXPECT_EQ(gwtest::Boxes()[1].text, "The print settings file cannot be opened!");
    EXPECT_EQ(gwtest::Find("PrintPara0"), nullptr);
}

TEST_F(PrintWizardTest, Page1HasOneRowPerColumnAndNeedsAll21) {
    OpenPage0();
    gwtest::Click("PrintPara0/Assi");
    EXPECT_EQ(gwtest::Find("PrintPara0"), nullptr);
    auto* list = dynamic_cast<GwToggleList*>(gwtest::Get("PrintPara1/PropList"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->row_count(), 21);
    EXPECT_EQ(list->item_text(5), "Value");
    EXPECT_TRUE(list->item_on(5));
    gwtest::Click("PrintPara1/None");
    EXPECT_FALSE(list->item_on(5));
    EXPECT_EQ(ThePrintWizard().settings->PProp[20], 0);
    gwtest::Toggle(list->row(2));
    EXPECT_EQ(ThePrintWizard().settings->PProp[2], 1);
    gwtest::Select("PrintPara1/Font", 2);
    gwtest::Click("PrintPara1/Next");
    EXPECT_EQ(ThePrintWizard().settings->FontSize, 2);
    EXPECT_TRUE(gwtest::IsVisible("PrintPara2"));

    ThePrintWizard().properties.pop_back();
    gwtest::AnswerBox(8);
    GwCore* page1 = GwRcMgr::load(mainWindow, "PrintPara1");
    page1->show();
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "A window or one of its elements could not be loaded!");
    EXPECT_TRUE(page1->is_visible());
}

TEST_F(PrintWizardTest, Page2OffersLevelsBelowTheCurrentOneAndGroupsUpTo127) {
    SetUserLevel(4);
    OpenPage0();
    gwtest::Click("PrintPara0/Assi");
    gwtest::Click("PrintPara1/Next");
    auto* levels = dynamic_cast<GwToggleList*>(gwtest::Get("PrintPara2/Levels"));
    ASSERT_NE(levels, nullptr);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(levels->item_enabled(i), i < 4) << i;
    EXPECT_TRUE(levels->item_on(3));
    auto* groups = dynamic_cast<GwToggleList*>(gwtest::Get("PrintPara2/Groups"));
    ASSERT_EQ(groups->row_count(), 6);  // three named groups and three of the base's own
    EXPECT_EQ(groups->item_text(1), "Motor");
    gwtest::Toggle(groups->row(1));
    EXPECT_EQ(ThePrintWizard().settings->Group[1], 0);
    levels->set_item_on(1, true);
    gwtest::Click("PrintPara2/Next");
    EXPECT_EQ(ThePrintWizard().settings->UserLevel, 2);

    // A base with 259 keypad groups still shows only the 128 a format keeps.
    base.GetEntry(8)->maximum = 255;
    gwtest::Click("PrintPara3/Back");
    EXPECT_EQ(dynamic_cast<GwToggleList*>(gwtest::Get("PrintPara2/Groups"))->row_count(), 128);
}

// Records the activity window's text whenever its timer fires.
class ActivitySpy {
public:
    explicit ActivitySpy(GwCore* main) {
        GwRcMgr::use_text("dialogframe Spy { visible = no }\n", "spy.cgw");
        spy_ = GwRcMgr::load(main, "Spy");
        spy_->set_callback(GwCB_TIMER, &Tick);
        spy_->show();
        spy_->start_timer(50);
        Texts().clear();
    }
    static std::vector<std::string>& Texts() {
        static std::vector<std::string> texts;
        return texts;
    }

private:
    static int Tick(GwCore*, GwEvent*, GwUD) {
        for (const char* path : {"AnimatedStateMessage/Message", "NonAnimatedStateMessage/Message"})
            if (GwCore* label = gwtest::Find(path)) {
                if (Texts().empty() || Texts().back() != label->text()) Texts().push_back(label->text());
            }
        return 1;
    }
    GwCore* spy_;
};

std::optional<std::string> RunCommand(const std::string& command) {
    const std::string out = testsupport::RuntimePath("TMP/command.out").string();
    if (std::system((command + " > " + out + " 2>&1").c_str()) != 0) return std::nullopt;
    return testsupport::ReadFile(out);
}

TEST_F(PrintWizardTest, PrintRunToThePrinterWritesAPdfIntoTheUserDataFolder) {
    for (int n = 100; n < 200; ++n) Define(base, {.number = n, .name = "P", .value = n});
    OpenPage0();
    ChooseColumns({0, 2, 5});
    ActivitySpy spy(mainWindow);
    gwtest::AnswerPrintDialog(true);
    const uint32_t start = platform::GetTickCount();
    gwtest::Click("PrintPara0/Print");
    const uint32_t elapsed = platform::GetTickCount() - start;

    ASSERT_EQ(gwtest::PrintedDocuments().size(), 1u);
    const GwPrintDocument& doc = gwtest::PrintedDocuments()[0];
    EXPECT_EQ(doc.name, "Torvane parameter data");
    ASSERT_EQ(doc.pages.size(), 2u);
    // One wait before page 2, and the activity window's wait as it closes.
    EXPECT_EQ(elapsed, 100u + kActivityCloseWaitMs);
    EXPECT_EQ(ActivitySpy::Texts(), (std::vector<std::string>{"Printing page 2"}));
    EXPECT_EQ(gwtest::Effects("print dialog").back().value, "ok; folder \"..\\userdata\"; file \"print_1.pdf\"");
    EXPECT_EQ(gwtest::Find("PrintPara0"), nullptr);

    GwProfile* profile = MainProfile();
    ASSERT_TRUE(profile->select_section("user_print_defines"));
    EXPECT_EQ(profile->read_int("ParaPrintFormat", -1), 0);
    EXPECT_EQ(profile->read_int("ParaPrintComment", -1), 0);
    EXPECT_EQ(profile->read_int("Destination", -1), 0);

    const std::string pdf = TreePath("userdata/print_1.pdf");
    ASSERT_TRUE(std::filesystem::exists(pdf));
    if (std::system("command -v pdfinfo > /dev/null 2>&1") != 0) GTEST_SKIP() << "poppler-utils are not installed";
    const auto info = RunCommand("pdfinfo " + pdf);
    ASSERT_TRUE(info);
    EXPECT_NE(info->find("Pages:           2\n"), std::string::npos) << *info;
    const auto text = RunCommand("pdftotext -layout " + pdf + " -");
    ASSERT_TRUE(text);
    size_t at = 0;
    for (std::string expected : {"Parameter print of 01.01 2026 15:43",
                                 "File:",
                                 "..\\userdata\\set.00D",
                                 "Device type:",
                                 "4120",
                                 "Firmware:",
                                 "3.6",
                                 "No.",
                                 "Name",
                                 "Value",
                                 "(Drive) Drive",
                                 "21",
                                 "ACCEL",
                                 "7",
                                 "100",
                                 "P",
                                 "100",
                                 "101",
                                 "P",
                                 "101",
                                 "(Motor) Motor",
                                 "20",
                                 "SPEED",
                                 "1500",
                                 "Page 2"}) {
        const size_t found = text->find(expected, at);
        ASSERT_NE(found, std::string::npos) << expected << "\n" << *text;
        at = found + expected.size();
    }
}

TEST_F(PrintWizardTest, CancelledDialogsAndFailingPagesPrintNothingMore) {
    OpenPage0();
    gwtest::AnswerPrintDialog(false);
    gwtest::Click("PrintPara0/Print");
    EXPECT_TRUE(gwtest::PrintedDocuments().empty());
    EXPECT_FALSE(std::filesystem::exists(TreePath("userdata/print_1.pdf")));

    for (int n = 100; n < 200; ++n) Define(base, {.number = n, .name = "P"});
    GwPrinterScript script;
    script.fail_start_page = 2;
    GwSetPrinterScript(script);
    OpenPage0();
    gwtest::AnswerPrintDialog(true);
    gwtest::Click("PrintPara0/Print");
    ASSERT_EQ(gwtest::PrintedDocuments().size(), 1u);
    EXPECT_EQ(gwtest::PrintedDocuments()[0].pages.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(TreePath("userdata/print_1.pdf")));
}

TEST_F(PrintWizardTest, AFontSizeWithoutItsFontPrintsNothing) {
    OpenPage0();
    ThePrintWizard().settings->FontSize = 7;
    gwtest::AnswerBox(8);
    gwtest::Click("PrintPara0/Print");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "A window or one of its elements could not be loaded!");
    EXPECT_TRUE(gwtest::Effects("print dialog").empty());
    gwtest::AnswerBox(8);
    gwtest::Click("PrintPara0/Preview");
    EXPECT_EQ(gwtest::Find("ShowParaPrint"), nullptr);
}

TEST_F(PrintWizardTest, AnUnwritablePrintFolderIsReported) {
    WriteTreeFile("bin/Torvan.ini", "[Options]\r\nLanguage=49\r\n[Directories]\r\nUserdataDir=..\\gone\r\n");
    OpenApplicationFiles();
    SetUserDataDirFromProfile();
    OpenPage0();
    gwtest::AnswerPrintDialog(true);
    gwtest::AnswerBox(8);
    gwtest::Click("PrintPara0/Print");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text.rfind("cannot write \"..\\gone/print_1.pdf\": ", 0), 0u)
        << gwtest::Boxes()[0].text;
}

TEST_F(PrintWizardTest, SpreadsheetDestinationWritesATxtFileAndStartsTheProgram) {
    platform::TheRegistry().SetValue(kSpreadsheetKey, "", "\"C:\\Office\\EXCEL.EXE\" /e \"%1\"");
    OpenPage0();
    gwtest::Click("PrintPara0/Excel");
    EXPECT_EQ(ThePrintWizard().destination, 1);
    gwtest::AnswerFile("..\\userdata\\out.csv");
    gwtest::Click("PrintPara0/Print");
    EXPECT_TRUE(std::filesystem::exists(TreePath("userdata/out.txt")));
    EXPECT_FALSE(std::filesystem::exists(TreePath("userdata/out.csv")));
    const auto starts = platform::RecordedProgramStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].args[1], "\"..\\userdata\\out.txt\"");

    platform::SetProgramStartHandler([](const platform::ProgramStart&) {
        errno = ENOENT;
        return -1;
    });
    OpenPage0();
    gwtest::AnswerFile("..\\userdata\\again.txt");
    gwtest::SetDefaultBoxAnswer(8);
    gwtest::Click("PrintPara0/Print");
    ASSERT_EQ(gwtest::Boxes().size(), 2u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "No such file or directory");
    EXPECT_EQ(gwtest::Boxes()[1].text, "Sorry, cannot start Microsoft Excel!");
}

TEST_F(PrintWizardTest, TextDestinationAsksForTheCommentAndSavesTheFormatOnPage3) {
    OpenPage0();
    gwtest::Click("PrintPara0/Ascii");
    gwtest::Click("PrintPara0/Comment");
    gwtest::Click("PrintPara0/Assi");
    gwtest::Click("PrintPara1/Next");
    gwtest::Click("PrintPara2/Next");
    dynamic_cast<GwToggleList*>(gwtest::Get("PrintPara3/Sort"))->set_item_on(1, true);
    gwtest::Toggle("PrintPara3/SaveFormat");
    gwtest::AnswerFile("..\\userdata\\list.txt");
    gwtest::ScriptModal({"ParaComment",
                         [](GwCore*) {
                             gwtest::Replace("ParaComment/Comment", "after service");
                             gwtest::Click("ParaComment/OK");
                         },
                         std::nullopt});
    gwtest::Click("PrintPara3/Print");
    const std::string text = ReadTreeFile("userdata/list.txt");
    EXPECT_NE(text.find("Comment:   after service\n"), std::string::npos) << text;
    EXPECT_LT(text.find("\n21\t"), text.find("\n20\t")) << text;  // sorted by name
    ParaPrintSettings saved("PPrn_4.ini");
    ASSERT_TRUE(saved.SelectFormat("Benutzerdefiniert"));
    EXPECT_EQ(saved.SortByName, 1);
}

TEST_F(PrintWizardTest, Page0OfTheEnglishProgramListsTheFormatNamedOnlyInGerman) {
    WriteTreeFile("bin/Torvan.ini", "[Options]\r\nLanguage=44\r\n[Directories]\r\nUserdataDir=..\\userdata\r\n");
    OpenApplicationFiles();
    OpenPage0();
    EXPECT_EQ(Items("PrintPara0/Format"), (std::vector<std::string>{"Benutzerdefiniert"}));
    EXPECT_EQ(ThePrintWizard().settings->SectionName, "UserDefined");
    EXPECT_TRUE(gwtest::IsEnabled("PrintPara0/Assi"));
}

TEST_F(PrintWizardTest, PreviewDrawsPageOneAtEveryExpose) {
    // A small page, which the preview's 96 dpi grid shows within its window.
    GwPrinterScript script;
    script.paper = GwPaper{141.12, 105.84, 72};
    GwSetPrinterScript(script);
    OpenPage0();
    std::vector<std::string> first, again;
    GwDimension picture;
    gwtest::ScriptModal({"ShowParaPrint",
                         [&](GwCore*) {
                             // Shown: the first expose has drawn the page.
                             first = gwtest::Drawing("ShowParaPrint/Page");
                             picture = dynamic_cast<GwDrawing*>(gwtest::Get("ShowParaPrint/Page"))->picture_size();
                             // A resize exposes it again.
                             gwtest::Get("ShowParaPrint/Page")->set_dimension({500, 400});
                             again = gwtest::Drawing("ShowParaPrint/Page");
                         },
                         2});
    gwtest::Click("PrintPara0/Preview");
    ASSERT_GE(first.size(), 8u);
    EXPECT_LT(picture.width, 700);
    EXPECT_LT(picture.height, 560);
    EXPECT_EQ(first[0], "fill 0,0 10x" + std::to_string(picture.height) + " colour=DarkSlateGrey");
    EXPECT_EQ(first[1], "fill 0,0 " + std::to_string(picture.width) + "x10 colour=DarkSlateGrey");
    EXPECT_EQ(first[2].rfind("bitmap PrintLogo ", 0), 0u) << first[2];
    EXPECT_EQ(first[3], "text 58,33 left \"Parameter print of 01.01 2026 15:43\" font=Courier New/11 colour=black");
    // The page's right and bottom edges stand inside the picture.
    const std::vector<std::string> edges(first.end() - 2, first.end());
    for (const std::string& edge : edges) EXPECT_EQ(edge.rfind("line ", 0), 0u) << edge;
    // The next expose draws the same page on a fresh picture of the same size.
    EXPECT_EQ(again[0], first[0]);
    EXPECT_EQ(again[3], first[3]);
    EXPECT_EQ(std::count_if(again.begin(),
                            again.end(),
                            [](const std::string& d) { return d.find("Parameter print of") != std::string::npos; }),
              1);
    EXPECT_EQ(again.back(), first.back());
}

TEST_F(PrintWizardTest, PreviewScrollsOverTheWholePageAndClosesFromItsButton) {
    // An A4 page is larger than the preview window at the screen's grid.
    OpenPage0();
    std::vector<std::string> drawn;
    GwDimension picture, range;
    GwPosition scrolled;
    bool ended = false;
    gwtest::ScriptModal("ShowParaPrint", [&](GwCore* window) {
        auto* page = dynamic_cast<GwDrawing*>(gwtest::Get("ShowParaPrint/Page"));
        drawn = gwtest::Drawing("ShowParaPrint/Page");
        picture = page->picture_size();
        range = page->scroll_range();
        EXPECT_TRUE(page->user_scroll({100000, 50}));
        scrolled = page->scroll_position();
        gwtest::Click("ShowParaPrint/Close");
        ended = window->modal_ended();
    });
    gwtest::Click("PrintPara0/Preview");
    EXPECT_TRUE(ended) << "the close button ends the preview";
    EXPECT_EQ(gwtest::Find("ShowParaPrint"), nullptr);
    EXPECT_EQ(range, (GwDimension{picture.width - 700, picture.height - 560}));
    EXPECT_GT(range.width, 0);
    EXPECT_GT(range.height, 0);
    EXPECT_EQ(scrolled, (GwPosition{range.width, 50})) << "scrolling stops at the page's end";
    // The page's right edge is drawn, inside the picture.
    ASSERT_GE(drawn.size(), 2u);
    int x = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_EQ(std::sscanf(drawn[drawn.size() - 2].c_str(), "line %d,%d %d,%d", &x, &y1, &x2, &y2), 4);
    EXPECT_EQ(x, x2);
    EXPECT_GT(x, 700) << "the page is wider than the window";
    EXPECT_LT(x, picture.width);
}

TEST_F(PrintWizardTest, PaperFormatOneTradesWidthAndHeight) {
    OpenPage0();
    ParaPrintSettings& s = *ThePrintWizard().settings;
    ParaPrintJob job(&s, &base, Properties(), Frame());
    GwPrinterContext printer;
    printer.use_default_printer();
    const auto upright = job.MeasurePreviewPage(printer);
    s.PaperFormat = 1;
    const auto across = job.MeasurePreviewPage(printer);
    ASSERT_TRUE(upright && across);
    // A4 at 600 dpi in "Courier New,8", measured in the real font.
    GwDimension extent;
    ASSERT_TRUE(printer.set_font("PrintFont0"));
    ASSERT_TRUE(printer.text_extent("Xf", &extent));
    EXPECT_GT(extent.width, 67) << "wider than the fixed metrics' two half-height characters";
    EXPECT_EQ(upright->columns, static_cast<int>(4960 / (extent.width / 2.0)));
    EXPECT_EQ(upright->lines, 7015 / extent.height);
    EXPECT_EQ(across->columns, static_cast<int>(7015 / (extent.width / 2.0)));
    EXPECT_EQ(across->lines, 4960 / extent.height);
}

}  // namespace
}  // namespace paratoolstest
