// Printed pages laid out on the fixed text metrics of a scripted printer: the
// first page's header, footer and table, later pages, wrapped cells, group
// headings, marked values and page breaks.
#include <gtest/gtest.h>

#include <algorithm>

#include "parameters/parabase/para_types.h"
#include "paratools/print/para_print_settings.h"
#include "paratools/print/tests/paratools_fixture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_printer.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace paratoolstest {
namespace {

// A page of 80 x 30 characters: font "Grid,10" at 72 dpi is 10 units high and
// 5 wide, on paper of 400 x 300 units.
constexpr GwPaper kSmallPaper{141.12, 105.84, 72};

class PrintPagesTest : public ParaToolsTest {
protected:
    void SetUp() override {
        ParaToolsTest::SetUp();
        ASSERT_TRUE(
            GwRcMgr::use_text("database {\n PrintFont9 = \"Grid,10\"\n TitleFont9 = \"Bold,10\"\n}\n", "fonts.cgw"));
        GwPrinterScript script;
        script.paper = kSmallPaper;
        script.real_fonts = false;
        GwSetPrinterScript(script);
        base.SetPath(kDFilePath, "..\\userdata\\set.00D");
        DefineIdentity(base);
        for (int n : {8, 11, 91, 92}) base.GetEntry(n)->transfer = 0;
        settings.PProp = {};
        settings.PProp[0] = settings.PProp[2] = 1;
        settings.Group.fill(1);
        settings.UserLevel = 4;
        settings.FontSize = 9;
    }
    // Prints every page of the job; the pages' drawings.
    std::vector<std::vector<std::string>> Print(int widthOfColumns = 8) {
        ParaPrintJob job(&settings, &base, Properties(widthOfColumns), Frame());
        GwPrinterContext dc;
        EXPECT_TRUE(dc.use_default_printer());
        job.SetupPrintDevice(dc);
        EXPECT_TRUE(dc.start_document("test"));
        EXPECT_TRUE(dc.start_page());
        bool more = job.DrawFirstPage(dc, nullptr);
        dc.end_page();
        for (int guard = 0; more && guard < 100; ++guard) {
            EXPECT_TRUE(dc.start_page());
            more = job.DrawNextPage(dc);
            dc.end_page();
        }
        dc.end_document();
        std::vector<std::vector<std::string>> pages;
        const GwPrintDocument& doc = gwtest::PrintedDocuments().back();
        for (size_t p = 0; p < doc.pages.size(); ++p) pages.push_back(gwtest::PageDrawing(doc, static_cast<int>(p)));
        return pages;
    }

    ParaBase base;
    ParaPrintSettings settings{"PPrn_4.ini"};
};

// The lines of a page that draw texts, without font and colour.
std::vector<std::string> Texts(const std::vector<std::string>& page) {
    std::vector<std::string> out;
    for (const std::string& line : page) {
        if (line.rfind("text ", 0) != 0) continue;
        out.push_back(line.substr(0, line.find(" font=")));
    }
    return out;
}

bool Has(const std::vector<std::string>& page, const std::string& line) {
    return std::find(page.begin(), page.end(), line) != page.end();
}

TEST_F(PrintPagesTest, FirstPageHasHeaderTableAndPageNumberWithoutTitle) {
    DefineHeaderParameters(base);
    for (int n : {106, 115, 116, 127}) base.GetEntry(n)->transfer = 0;
    Define(base, {.number = 20, .name = "SPEED", .value = 1500});
    settings.IncludeComment = 1;
    settings.Comment = "first\nsecond";
    const auto pages = Print();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0],
              (std::vector<std::string>{
                  "text 40,20 left \"F0 01.01 2026 15:43\" font=Grid/10 colour=black",
                  "text 40,30 left \"F1   ..\\\\userdata\\\\set.00D\" font=Grid/10 colour=black",
                  "text 40,40 left \"F3   4120      F4   123456      F9   3.6-2\" font=Grid/10 colour=black",
                  "text 40,50 left \"F10   CSADD=4660   CSXOR=85\" font=Grid/10 colour=black",
                  "text 40,70 left \"F6\" font=Grid/10 colour=black",
                  "text 70,70 left \"first\" font=Grid/10 colour=black",
                  "text 70,80 left \"second\" font=Grid/10 colour=black",
                  "text 390,290 right \"F8 1\" font=Grid/10 colour=black",
                  "text 40,110 left \"C0\" font=Bold/10 colour=black",
                  "text 100,110 left \"C2\" font=Bold/10 colour=black",
                  "line 40,110 160,110 pen=black/1/0",
                  "line 40,120 160,120 pen=black/1/0",
                  "text 40,130 left \"20\" font=Grid/10 colour=black background=white",
                  "text 100,130 left \"SPEED\" font=Grid/10 colour=black background=white",
              }));
}

TEST_F(PrintPagesTest, LaterPagesHaveTitleCaptionsOnLineTwoAndRowsFromLineFour) {
    // Page 1 has rows on lines 9 to 27, later pages on lines 4 to 27.
    for (int n = 100; n < 130; ++n) Define(base, {.number = n, .name = "P"});
    const auto pages = Print();
    ASSERT_EQ(pages.size(), 2u);
    const auto first = Texts(pages[0]);
    EXPECT_EQ(first.back(), "text 100,270 left \"P    \"");
    EXPECT_TRUE(Has(first, "text 40,270 left \"118\""));
    EXPECT_FALSE(Has(first, "text 40,280 left \"119\""));
    const auto second = Texts(pages[1]);
    ASSERT_GE(second.size(), 6u);
    EXPECT_EQ(second[0], "text 50,290 left \"01.01 2026 15:43   ..\\\\userdata\\\\set.00D V3.6\"");
    EXPECT_EQ(second[1], "text 390,290 right \"F8 2\"");
    EXPECT_EQ(second[2], "text 40,20 left \"C0\"");
    EXPECT_EQ(second[4], "text 40,40 left \"119\"");
    EXPECT_EQ(second.back(), "text 100,140 left \"P    \"");
}

TEST_F(PrintPagesTest, CellsWrapAtBreakCharactersFromHalfTheWidth) {
    struct Case {
        std::string text;
        int width;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"ABCDEFGHIJKLMNOPQRSTUVWXY", 10, {"ABCDEFGHIJ", "KLMNOPQRST", "UVWXY"}},
        {"abcdefg hijklmnop", 10, {"abcdefg ", "hijklmnop"}},
        {"abcd.fghijklmnop", 10, {"abcd.fghij", "klmnop"}},
        {"abcde,ghijkl-nopqrstu", 10, {"abcde,", "ghijkl-", "nopqrstu"}},
        {"short", 10, {"short"}},
        {"abc", 0, {"a", "b", "c"}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParaPrintJob::WrapCell(c.text, c.width), c.pieces) << c.text;

    Define(base, {.number = 20, .name = "A", .unit = "ABCDEFGHIJKLMNO"});
    Define(base, {.number = 21, .name = "B", .unit = "x"});
    settings.PProp[3] = 1;
    const auto texts = Texts(Print(6).front());
    const std::vector<std::string> expected = {
        "text 40,90 left \"20\"",
        "text 90,90 left \"A    \"",
        "text 140,90 left \"ABCDEF\"",
        "text 140,100 left \"GHIJKL\"",
        "text 140,110 left \"MNO\"",
        "text 40,120 left \"21\"",
    };
    EXPECT_TRUE(std::search(texts.begin(), texts.end(), expected.begin(), expected.end()) != texts.end());
}

TEST_F(PrintPagesTest, GroupHeadingsAndChangedValues) {
    Define(base, {.number = 20, .name = "A", .value = 3, .defaultValue = 3, .kpGroup = 1});
    Define(base, {.number = 21, .name = "B", .value = 4, .defaultValue = 3, .kpGroup = 1});
    settings.ClusterByGroup = 1;
    settings.MarkChanged = 1;
    settings.PProp = {};
    settings.PProp[5] = 1;
    const auto page = Print().front();
    const std::vector<std::string> expected = {
        "text 40,100 left \"(Motor) Motor\" font=Grid/10 colour=black",
        "line 40,110 100,110 pen=black/1/0",
        "text 40,120 left \"3\" font=Grid/10 colour=black background=white",
        "text 40,130 left \"4\" font=Grid/10 colour=black background=grey",
    };
    EXPECT_TRUE(std::search(page.begin(), page.end(), expected.begin(), expected.end()) != page.end());
}

TEST_F(PrintPagesTest, AnArrayRunningOverThePageEndGoesOnWithItsNextElement) {
    for (int n = 100; n < 117; ++n) Define(base, {.number = n, .name = "P"});
    Define(base, {.number = 200, .name = "ARR", .type = kTypeUsign8, .maximum = 255, .flags = kFlagArray}, 5);
    settings.PProp[1] = 1;
    const auto pages = Print();
    ASSERT_EQ(pages.size(), 2u);
    // Rows 9..25 hold 100..116, 26 and 27 elements 0 and 1.
    const auto first = Texts(pages[0]);
    EXPECT_TRUE(Has(first, "text 100,270 left \"1\""));
    const auto second = Texts(pages[1]);
    EXPECT_EQ(second[5], "text 40,40 left \"200\"");
    EXPECT_EQ(second[6], "text 100,40 left \"2\"");
    EXPECT_EQ(second.back(), "text 160,60 left \"ARR  \"");
}

TEST_F(PrintPagesTest, APageWithoutRoomForARowPrintsOneRowPerPageAndEnds) {
    ASSERT_TRUE(
        GwRcMgr::use_text("database {\n PrintFont8 = \"Huge,100\"\n TitleFont8 = \"Huge,100\"\n}\n", "huge.cgw"));
    settings.FontSize = 8;
    for (int n = 20; n < 23; ++n) Define(base, {.number = n, .name = "P"});
    const auto pages = Print();
    ASSERT_EQ(pages.size(), 3u);
    for (int p = 0; p < 3; ++p) {
        // The grid is 8 columns of 50 units and 3 lines of 100.
        const std::string row =
            "text 400," + std::string(p == 0 ? "900" : "400") + " left \"" + std::to_string(20 + p) + "\"";
        EXPECT_TRUE(Has(Texts(pages[p]), row)) << p;
    }
}

TEST_F(PrintPagesTest, AFailedTextMeasureEndsThePageWithoutLayout) {
    Define(base, {.number = 20, .name = "A"});
    ParaPrintJob job(&settings, &base, Properties(), Frame());
    GwPrinterContext dc;
    dc.use_default_printer();
    dc.set_extent_failure(true);
    ASSERT_TRUE(dc.start_document("test"));
    ASSERT_TRUE(dc.start_page());
    EXPECT_FALSE(job.DrawFirstPage(dc, nullptr));
    EXPECT_TRUE(dc.operations().empty());
}

}  // namespace
}  // namespace paratoolstest
