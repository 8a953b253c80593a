#include <limits>
#include <sstream>

#include "plceditor/control/editor_settings.h"
#include "plceditor/control/sindel_ctrl.h"
#include "plceditor/control/source_printer.h"
#include "plceditor/control/tests/editor_fixture.h"
#include "toolkit/draw/gw_device_context.h"

namespace sindel {
namespace {

// A4 at 600 dpi as the printer context reports it.
constexpr PrinterMeasures kA4{210, 297, 4960, 7015, 600};

TEST(PrintLayout, PagesFromPrinterMeasuresFontAndMargins) {
    EXPECT_EQ(FontHeightFromSize(80), -11);
    EXPECT_EQ(FontHeightFromSize(100), -13);
    EXPECT_EQ(FontHeightFromSize(-80), 11);

    PageGeometry page;
    ASSERT_EQ(LayoutPage(kA4, -11, 10, 10, &page), PrintFailure::kNone);
    EXPECT_EQ(page.font_height, 91);
    EXPECT_EQ(page.text_area, (GwRect{236, 236, 4724, 6779}));
    EXPECT_EQ(page.lines_per_page, 71);
    EXPECT_EQ(PageCount(150, 71), 3);
    EXPECT_EQ(PageCount(142, 71), 2);
    EXPECT_EQ(PageCount(1, 71), 1);

    // Room for fewer than four lines still prints one line per page.
    ASSERT_EQ(LayoutPage({210, 297, 4960, 300, 600}, -11, 0, 0, &page), PrintFailure::kNone);
    EXPECT_EQ(page.lines_per_page, 1);
    // Without millimetre sizes the margins are 0.
    ASSERT_EQ(LayoutPage({0, 297, 4960, 7015, 600}, -11, 10, 10, &page), PrintFailure::kNone);
    EXPECT_EQ(page.text_area, (GwRect{0, 0, 4960, 7015}));

    // Margins from a hand-edited profile: held to the page, never wrapped.
    ASSERT_EQ(LayoutPage(kA4, -11, std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), &page),
              PrintFailure::kNone);
    EXPECT_EQ(page.text_area, (GwRect{0, 7015, 4960, 0}));
    EXPECT_EQ(page.lines_per_page, 1);
    ASSERT_EQ(LayoutPage(kA4, -11, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), &page),
              PrintFailure::kNone);
    EXPECT_EQ(page.text_area, (GwRect{4960, 0, 0, 7015}));

    EXPECT_EQ(LayoutPage({210, 297, 0, 7015, 600}, -11, 10, 10, &page), PrintFailure::kPaperSize);
    EXPECT_EQ(LayoutPage(kA4, 11, 10, 10, &page), PrintFailure::kFontSize);
    EXPECT_EQ(LayoutPage(kA4, 0, 10, 10, &page), PrintFailure::kFontSize);
    EXPECT_STREQ(PrintFailureText(PrintFailure::kFontSize), "Error Printing Font-Size");
}

TEST(PrintLayout, OrderOfPagesWithCopies) {
    EXPECT_EQ(PrintOrder(3, 2, false), (std::vector<std::vector<int>>{{1, 1, 2, 2, 3, 3}}));
    EXPECT_EQ(PrintOrder(3, 2, true), (std::vector<std::vector<int>>{{1, 2, 3}, {1, 2, 3}}));
    EXPECT_EQ(PrintOrder(2, 0, false), (std::vector<std::vector<int>>{{1, 2}}));
    EXPECT_EQ(PageText(2, 2, "a.plc", {"A", "B\tC", "D"}, 2), "2/2\ta.plc\n\nD\n");
}

std::string Lines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += (i > 1 ? "\r\n" : "") + std::string("L") + std::to_string(i);
    return text;
}

// The page's header and the first and last of its lines, from the text drawn.
std::string PageSummary(const GwPrintDocument& document, int page) {
    std::vector<std::string> drawing = gwtest::PageDrawing(document, page);
    if (drawing.size() != 1) return "ops: " + std::to_string(drawing.size());
    const GwDrawOp& op = document.pages[page].operations[0];
    std::vector<std::string> lines;
    std::istringstream in(op.text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines.front() + " " + lines[2] + ".." + lines.back() + " (" + std::to_string(lines.size() - 2) + ")";
}

TEST_F(EditorTest, PrintsTheSourceWithPageHeaders) {
    testsupport::WriteFile(testsupport::RuntimePath("userdata/p.plc"), Lines(150));
    Open();
    host_->Call(kPlcFileOpen, {platform::VariantFromString("..\\userdata\\p.plc")});
    gwtest::AnswerPrintDialog(true, 2, false);
    Command(ids::kCmdPrint);

    const std::vector<GwPrintDocument>& documents = gwtest::PrintedDocuments();
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].name, "Sindel");
    ASSERT_EQ(documents[0].pages.size(), 6u);
    const std::string expected[] = {
        "1/3\t..\\userdata\\p.plc L1..L71 (71)",
        "1/3\t..\\userdata\\p.plc L1..L71 (71)",
        "2/3\t..\\userdata\\p.plc L72..L142 (71)",
        "2/3\t..\\userdata\\p.plc L72..L142 (71)",
        "3/3\t..\\userdata\\p.plc L143..L150 (8)",
        "3/3\t..\\userdata\\p.plc L143..L150 (8)",
    };
    for (int page = 0; page < 6; ++page) EXPECT_EQ(PageSummary(documents[0], page), expected[page]) << page;
    const GwDrawOp& op = documents[0].pages[0].operations[0];
    EXPECT_EQ(op.kind, GwDrawKind::kTextBox);
    EXPECT_EQ(op.rect, (GwRect{236, 236, 4724, 6779}));
    EXPECT_EQ(op.font.face, "MS Sans Serif");
    EXPECT_EQ(op.font.height, 91);
}

TEST_F(EditorTest, CollatedCopiesAreWholeDocuments) {
    Open();
    Edit().set_text(Lines(3));
    gwtest::AnswerPrintDialog(true, 2, true);
    Command(ids::kCmdPrint);
    ASSERT_EQ(gwtest::PrintedDocuments().size(), 2u);
    for (const GwPrintDocument& document : gwtest::PrintedDocuments()) {
        ASSERT_EQ(document.pages.size(), 1u);
        EXPECT_EQ(PageSummary(document, 0), "1/1\tPlcPrg L1..L3 (3)");
    }
}

TEST_F(EditorTest, PrintStopsWhereThePrinterDoes) {
    Open();
    Edit().set_text(Lines(150));
    gwtest::AnswerPrintDialog(false);
    Command(ids::kCmdPrint);
    EXPECT_TRUE(gwtest::PrintedDocuments().empty());

    GwPrinterScript script;
    script.fail_start_page = 2;
    GwSetPrinterScript(script);
    gwtest::AnswerPrintDialog(true, 1, true);
    Command(ids::kCmdPrint);
    ASSERT_EQ(gwtest::PrintedDocuments().size(), 1u);
    EXPECT_EQ(gwtest::PrintedDocuments()[0].pages.size(), 1u);
}

TEST_F(EditorTest, AFontThatCannotBePrintedGivesItsMessage) {
    WriteProfile("[Font]\r\nSize=-80\r\n");
    Open();
    Edit().set_text("A");
    gwtest::AnswerPrintDialog(true);
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdPrint);
    EXPECT_TRUE(gwtest::PrintedDocuments().empty());
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "Error Printing Font-Size");
    EXPECT_EQ(gwtest::Boxes()[0].caption, "Error");
}

TEST_F(EditorTest, PageSetupRefusesMarginsOutOfRange) {
    Open();
    gwtest::ScriptModal({"PageSetupDialog",
                         [](GwCore* window) {
                             EXPECT_EQ(gwtest::Text(window->child("Top")), "10");
                             EXPECT_EQ(gwtest::Text(window->child("FaceName")), "MS Sans Serif");
                             EXPECT_EQ(gwtest::Text(window->child("FontSize")), "8");
                             gwtest::Replace(window->child("Top"), "101");
                             gwtest::AnswerBox(GwRESULT_OK);
                             gwtest::Click(window->child("OK"));
                             EXPECT_FALSE(window->modal_ended());
                         },
                         GwRESULT_CANCEL});
    Command(ids::kCmdPageSetup);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text,
              "Values of margins are out of the value range (0..100).\n Please correct setting.");
    EXPECT_FALSE(std::filesystem::exists(ProfilePath()));

    gwtest::ScriptModal({"PageSetupDialog",
                         [](GwCore* window) {
                             gwtest::Replace(window->child("Top"), "100");
                             gwtest::Replace(window->child("Left"), "0");
                             gwtest::Click(window->child("OK"));
                         },
                         std::nullopt});
    Command(ids::kCmdPageSetup);
    EXPECT_EQ(testsupport::ReadFile(ProfilePath()), "[Page]\r\nTop=100\r\nLeft=0\r\n");
}

TEST_F(EditorTest, PageSetupFontGoesToTheProfileAndTheEditor) {
    Open();
    gwtest::ScriptModal({"PageSetupDialog",
                         [](GwCore* window) {
                             gwtest::ScriptModal({"FontDialog",
                                                  [](GwCore* font) {
                                                      EXPECT_EQ(gwtest::Text(font->child("FaceName")), "MS Sans Serif");
                                                      gwtest::Replace(font->child("FaceName"), "Courier New");
                                                      gwtest::Replace(font->child("Size"), "10");
                                                      gwtest::Replace(font->child("Weight"), "700");
                                                      gwtest::Toggle(font->child("Underline"));
                                                  },
                                                  GwRESULT_OK});
                             gwtest::Click(window->child("Font"));
                             EXPECT_EQ(gwtest::Text(window->child("FaceName")), "Courier New");
                             EXPECT_EQ(gwtest::Text(window->child("FontSize")), "10");
                             gwtest::Click(window->child("OK"));
                         },
                         std::nullopt});
    Command(ids::kCmdPageSetup);
    EXPECT_EQ(testsupport::ReadFile(ProfilePath()),
              "[Page]\r\nTop=10\r\nLeft=10\r\n\r\n[Font]\r\nSize=100\r\nWeight=700\r\nIsItalic=0\r\n"
              "IsUnderline=1\r\nIsStrikeOut=0\r\nFaceName=Courier New\r\n");
    EXPECT_EQ(Edit().font(), "Courier New,-13,700,0,1,0");
}

TEST_F(EditorTest, HugeFontSizeInTheProfileSeedsTheFontDialog) {
    WriteProfile("[Font]\r\nSize=2147483647\r\n");
    Open();
    gwtest::ScriptModal({"PageSetupDialog",
                         [](GwCore* window) {
                             gwtest::ScriptModal(
                                 {"FontDialog",
                                  [](GwCore* font) { EXPECT_EQ(gwtest::Text(font->child("Size")), "223696212.8"); },
                                  GwRESULT_CANCEL});
                             gwtest::Click(window->child("Font"));
                         },
                         GwRESULT_CANCEL});
    Command(ids::kCmdPageSetup);
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);  // the font dialog did open
}

TEST(Drawing, WhiteWithTheNameCentredAtTheTop) {
    SindelHost host;
    GwDeviceContext dc(kGwScreenDpi, {200, 100});
    static_cast<CSindelCtrl*>(host.control())->OnDraw(dc, {10, 20, 100, 50});
    ASSERT_EQ(dc.operations().size(), 2u);
    EXPECT_EQ(dc.operations()[0].kind, GwDrawKind::kFill);
    EXPECT_EQ(dc.operations()[0].colour, "white");
    EXPECT_EQ(dc.operations()[0].rect, (GwRect{10, 20, 100, 50}));
    EXPECT_EQ(dc.operations()[1].text, "PlcEdit");
    EXPECT_EQ(dc.operations()[1].align, GwALIGN_CENTER);
    EXPECT_EQ(dc.operations()[1].points[0], (GwPosition{60, 20}));
}

}  // namespace
}  // namespace sindel
