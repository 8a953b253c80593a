#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/services/app_files.h"
#include "scope/plot/plot_state.h"
#include "scope/plot/plot_view.h"
#include "scope/plot/plot_window.h"
#include "scope/plot/tests/plot_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/draw/gw_printer.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace plottest {
namespace {

class PlotPrintTest : public PlotTest {
protected:
    static std::string Profile() { return testsupport::ReadFile(testsupport::RuntimePath("bin/Torvan.ini")); }
    // Takes the orientation dialog's choice, both toggles flipped first when
    // asked.
    static void ScriptOrientation(bool flip = false) {
        gwtest::ScriptModal({"Print",
                             [flip](GwCore* w) {
                                 if (flip) {
                                     gwtest::Toggle(w->child("PDPortraitToggle"));
                                     gwtest::Toggle(w->child("PDLandscapeToggle"));
                                 }
                                 gwtest::Click(w->child("PDTake"));
                             },
                             std::nullopt});
    }
};

TEST_F(PlotPrintTest, MissingPrinterSectionIsWrittenWithDefaults) {
    PlotView view;
    const std::string profile = Profile();
    for (const char* line : {"Measure=10",
                             "PLeftSpace=2",
                             "PRightSpace=2",
                             "PTopSpace=2",
                             "PButtomSpace=17",
                             "LLeftSpace=2",
                             "LRightSpace=2",
                             "LTopSpace=2",
                             "LButtomSpace=2"}) {
        EXPECT_NE(profile.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(view.PortraitMm, (PrintMargins{20, 20, 20, 170}));
    EXPECT_EQ(view.LandscapeMm, (PrintMargins{20, 20, 20, 20}));
    EXPECT_EQ(view.Portrait, 1);
    EXPECT_EQ(view.Landscape, 0);
}

TEST_F(PlotPrintTest, MarginsInMillimetresOrCentimetresAndMissingKeysAsZero) {
    struct Case {
        const char* section;
        PrintMargins portrait;
    };
    const std::vector<Case> cases = {
        {"[Printer]\nMeasure=1\nPLeftSpace=5\nPRightSpace=6\nPTopSpace=7\nPButtomSpace=8\n", {5, 6, 7, 8}},
        {"[Printer]\nMeasure=0\nPLeftSpace=1.5\nPRightSpace=2\nPTopSpace=2\nPButtomSpace=3\n", {15, 20, 20, 30}},
        {"[Printer]\nMeasure=10\nPLeftSpace=1\n", {10, 0, 0, 0}},
    };
    const std::string shipped = Profile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        CloseApplicationFiles();
        testsupport::WriteFile(testsupport::RuntimePath("bin/Torvan.ini"), shipped + c.section);
        OpenApplicationFiles();
        PlotView view;
        EXPECT_EQ(view.PortraitMm, c.portrait);
        EXPECT_EQ(Profile().find("LLeftSpace"), std::string::npos) << "an existing section is not filled in";
    }
}

TEST_F(PlotPrintTest, OrientationDialogCarriesTheCaptionsAndTheChosenToggle) {
    OpenScratchWindow();
    std::vector<std::string> captions;
    bool portraitOn = false, landscapeOn = true;
    gwtest::ScriptModal(
        {"Print",
         [&](GwCore* w) {
             for (const char* name :
                  {"PDTake", "PDCancel", "PDFormat", "PDPortraitToggle", "PDLandscapeToggle", "PDLabel"}) {
                 captions.push_back(w->child(name)->text());
             }
             portraitOn = w->child<GwToggle>("PDPortraitToggle")->value() == 1;
             landscapeOn = w->child<GwToggle>("PDLandscapeToggle")->value() == 1;
             gwtest::Click(w->child("PDCancel"));
         },
         std::nullopt});
    gwtest::AnswerPrintDialog(false);
    EXPECT_EQ(CBPlotPrint(gwtest::Get("PlotTool/PWPrint"), nullptr, GwUD()), 0);
    EXPECT_EQ(captions,
              (std::vector<std::string>{
                  "Print", "Cancel", "Paper format", "Portrait", "Landscape", "Choose the orientation of the page"}));
    EXPECT_TRUE(portraitOn);
    EXPECT_FALSE(landscapeOn);
    EXPECT_TRUE(gwtest::PrintedDocuments().empty()) << "a cancelled print dialog prints nothing";
}

TEST_F(PlotPrintTest, OnePagePrintedWithGreyPensOfThePrintWidth) {
    WriteScratch(Dat(3, {1, 2, 3, 4}), Sdc("0 a [u]\n0 b [u]\n0 c [u]\n0 d [u]\n"));
    ASSERT_EQ(ShowInternalPlot(nullptr, nullptr, GwUD()), 1);
    const std::string outDir = testsupport::RuntimePath("userdata").string();
    GwSetPrintOutputDirectory(outDir);
    ScriptOrientation();
    gwtest::AnswerPrintDialog(true);
    EXPECT_EQ(CBPlotPrint(gwtest::Get("PlotTool/PWPrint"), nullptr, GwUD()), 0);
    const std::vector<GwPrintDocument>& docs = gwtest::PrintedDocuments();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs[0].name, "Torvan");
    ASSERT_EQ(docs[0].pages.size(), 1u);
    const int penWidth = static_cast<int>(600 * 0.375 / 25.4);
    std::vector<std::string> curvePens, legendPens;
    for (const GwDrawOp& op : docs[0].pages[0].operations) {
        if (op.kind == GwDrawKind::kPolyline) {
            curvePens.push_back(op.pen.colour);
            EXPECT_EQ(op.pen.width, penWidth);
        }
        if (op.kind == GwDrawKind::kLine && op.points[1].x - op.points[0].x == 100) {
            legendPens.push_back(op.pen.colour);
            EXPECT_EQ(op.pen.width, penWidth);
        }
    }
    const std::vector<std::string> greys = {"#000000", "#404040", "#808080", "#c0c0c0"};
    EXPECT_EQ(curvePens, greys);
    EXPECT_EQ(legendPens, greys);
    // Portrait: 20 mm at the left, 170 mm and a text line at the bottom.
    const double unitsPerMm = 600 / 25.4;
    for (const GwDrawOp& op : docs[0].pages[0].operations) {
        if (op.kind != GwDrawKind::kFrame) continue;
        EXPECT_EQ(op.rect.x, static_cast<int>(20 * unitsPerMm) + GetPlotView()->Paper.LabelWidth);
        const double bottom =
            docs[0].paper.height_mm * unitsPerMm - static_cast<int>(170 * unitsPerMm) - GetPlotView()->Paper.LineHeight;
        EXPECT_NEAR(op.rect.y + op.rect.height, bottom, 1.0);
    }
    int pdfs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(outDir)) {
        if (entry.path().extension() != ".pdf") continue;
        ++pdfs;
        const std::string pdf = testsupport::ReadFile(entry.path());
        size_t pages = 0;
        for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1)) {
            if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
        }
        EXPECT_EQ(pages, 1u);
    }
    EXPECT_EQ(pdfs, 1);
    GwSetPrintOutputDirectory("");
}

TEST_F(PlotPrintTest, LandscapeChoiceUsesTheLandscapeMargins) {
    OpenScratchWindow();
    ScriptOrientation(true);
    gwtest::AnswerPrintDialog(true);
    CBPlotPrint(gwtest::Get("PlotTool/PWPrint"), nullptr, GwUD());
    EXPECT_EQ(GetPlotView()->Portrait, 0);
    EXPECT_EQ(GetPlotView()->Landscape, 1);
    EXPECT_EQ(GetPlotView()->ActiveMm, GetPlotView()->LandscapeMm);
}

TEST_F(PlotPrintTest, LostPrinterEndsNeitherPageNorDocumentAndTheScreenIsRedrawn) {
    OpenScratchWindow();
    GwPrinterScript script;
    script.lose_at_page = 1;
    GwSetPrinterScript(script);
    ScriptOrientation();
    gwtest::AnswerPrintDialog(true);
    const int exposes = Drawing()->expose_count();
    EXPECT_EQ(CBPlotPrint(gwtest::Get("PlotTool/PWPrint"), nullptr, GwUD()), 0);
    for (const GwPrintDocument& doc : gwtest::PrintedDocuments()) {
        EXPECT_TRUE(doc.pages.empty());
        EXPECT_TRUE(doc.aborted);
    }
    EXPECT_FALSE(GetPlotView()->Printing);
    EXPECT_GT(Drawing()->expose_count(), exposes);
    GwSetPrinterScript(GwPrinterScript{});
}

}  // namespace
}  // namespace plottest
