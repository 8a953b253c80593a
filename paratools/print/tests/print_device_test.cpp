// The parameter print of a device online through the application object, on
// the virtual drive: the preview shows the values the drive holds at the
// time, and the printed PDF page holds every selected caption and every
// row's values in embedded fonts, with the logo in a place of its own and
// the table within the page's margins.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <sstream>

#include "app/main/tests/main_fixture.h"
#include "app/services/app_files.h"
#include "paratools/print/para_print_list.h"
#include "paratools/print/print_wizard.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_printer.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace {

constexpr int kUserSetting = 165;  // 77 in the drive's table

class DevicePrintTest : public maintest::MainTest {
protected:
    void SetUp() override {
        MainTest::SetUp();
        ASSERT_NE(GwRcMgr::use_func_desc(PrintWizardCallbacks()), 0);
        sim::DriveTable table = maintest::ActivationTable();
        table.PutFullRange(20, "SPEED", "INT32", 1500)->keypad_group = 1;
        table.PutFullRange(21, "ACCEL", "USIGN16", 250);
        table.PutFullRange(22, "RAMPUP", "USIGN32", 4000000)->keypad_group = 2;
        AddDrive(maintest::kAddress, table);
        Activate();
        page_ = GwRcMgr::load(mainWindow_, "PrintPara0");
        ASSERT_NE(page_, nullptr);
        page_->set_user_data(GwUD(static_cast<void*>(main_->ActiveParaBase())));
        page_->show();
        ASSERT_NE(ThePrintWizard().settings, nullptr);
        // Every parameter of the table, with every column.
        ThePrintWizard().settings->EditableOnly = 0;
    }

    GwCore* page_ = nullptr;
};

// The texts drawn with "\"" + text + "\"" in their line.
bool Drawn(const std::vector<std::string>& drawing, const std::string& text) {
    return std::any_of(drawing.begin(), drawing.end(), [&](const std::string& line) {
        return line.rfind("text ", 0) == 0 && line.find("\"" + text + "\"") != std::string::npos;
    });
}

TEST_F(DevicePrintTest, ThePreviewShowsTheValueTheDeviceHoldsNow) {
    ASSERT_EQ(std::string(main_->ActiveParaBase()->FormatStoredValue(kUserSetting, 0, false)), "77");
    drives_[maintest::kAddress]->Table().Find(kUserSetting)->value = 123;
    ThePrintWizard().settings->PProp = {};
    ThePrintWizard().settings->PProp[0] = ThePrintWizard().settings->PProp[5] = 1;
    std::vector<std::string> drawing;
    gwtest::ScriptModal("ShowParaPrint", [&](GwCore*) {
        drawing = gwtest::Drawing("ShowParaPrint/Page");
        gwtest::Click("ShowParaPrint/Close");
    });
    gwtest::Click("PrintPara0/Preview");
    EXPECT_TRUE(Drawn(drawing, "165"));
    EXPECT_TRUE(Drawn(drawing, "123")) << ::testing::PrintToString(drawing);
    EXPECT_FALSE(Drawn(drawing, "77"));
    EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
}

// Runs a command; its standard output, or nullopt when it failed.
std::optional<std::string> RunCommand(const std::string& command) {
    const std::string out = testsupport::RuntimePath("TMP/command.out").string();
    if (std::system((command + " > " + out + " 2>&1").c_str()) != 0) return std::nullopt;
    return testsupport::ReadFile(out);
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

TEST_F(DevicePrintTest, ThePrintedPageHoldsEveryCaptionAndRowInEmbeddedFontsBesideTheLogo) {
    for (const char* tool : {"pdftotext", "pdffonts", "pdfimages"})
        if (std::system((std::string("command -v ") + tool + " > /dev/null 2>&1").c_str()) != 0)
            GTEST_SKIP() << "poppler-utils is not installed";
    gwtest::Click("PrintPara0/Printer");
    gwtest::AnswerPrintDialog(true);
    gwtest::Click("PrintPara0/Print");
    ASSERT_EQ(gwtest::PrintedDocuments().size(), 1u);
    const GwPrintDocument& document = gwtest::PrintedDocuments().back();
    ASSERT_EQ(document.pages.size(), 1u);
    const std::string pdf = testsupport::RuntimePath("userdata/print_1.pdf").string();
    std::optional<std::string> text = RunCommand("pdftotext -layout " + pdf + " -");
    ASSERT_TRUE(text) << "no readable PDF at " << pdf;

    // Every selected column's caption and every row's cells, as the table
    // lays them out (wrapped within the column's width).
    PrintWizardState& wizard = ThePrintWizard();
    ASSERT_NE(wizard.printJob, nullptr);
    ParaBase& base = *main_->ActiveParaBase();
    const auto& blocks = wizard.printJob->LastTableBlocks();
    EXPECT_GT(blocks.size(), 1u) << "21 columns do not fit one line of a portrait page";
    int columns = 0;
    auto expectShown = [&](const std::string& cell, int width, const std::string& what) {
        for (const std::string& piece : ParaPrintJob::WrapCell(cell, width)) {
            if (Trimmed(piece).empty()) continue;
            EXPECT_NE(text->find(Trimmed(piece)), std::string::npos) << what << ": \"" << piece << "\"";
        }
    };
    const PrintList list = BuildPrintList(base, *wizard.settings);
    int rows = 0;
    for (const auto& block : blocks) {
        for (const auto& column : block) {
            ++columns;
            expectShown(wizard.properties[column.column].caption, column.width, "caption");
            for (int i = 0; i < kPrintListSize && list[i] != 0; ++i, ++rows)
                expectShown(PrintCellText(base, column.column, list[i], 0),
                            column.width,
                            "parameter " + std::to_string(list[i]) + " column " + std::to_string(column.column));
        }
    }
    EXPECT_EQ(columns, 21) << "no column is left out";
    EXPECT_GT(rows, 21 * 10);

    // Every font is embedded (as a subset).
    std::optional<std::string> fonts = RunCommand("pdffonts " + pdf);
    ASSERT_TRUE(fonts);
    std::istringstream lines(*fonts);
    std::string line;
    int fontCount = 0;
    bool table = false;
    while (std::getline(lines, line)) {
        if (line.rfind("---", 0) == 0) {
            table = true;
            continue;
        }
        if (!table || line.empty()) continue;
        ++fontCount;
        std::istringstream fields(line);
        std::vector<std::string> words{std::istream_iterator<std::string>(fields), {}};
        ASSERT_GE(words.size(), 6u) << line;
        EXPECT_EQ(words[words.size() - 5], "yes") << "embedded: " << line;
    }
    EXPECT_EQ(fontCount, 2) << "the body and the caption font:\n" << *fonts;

    // The logo is the shipped picture, above the captions.
    std::optional<std::string> images = RunCommand("pdfimages -list " + pdf);
    ASSERT_TRUE(images);
    EXPECT_NE(images->find("image     240    80"), std::string::npos) << *images;
    const auto& ops = document.pages[0].operations;
    const auto logo =
        std::find_if(ops.begin(), ops.end(), [](const GwDrawOp& op) { return op.kind == GwDrawKind::kBitmap; });
    const auto caption = std::find_if(ops.begin(), ops.end(), [&](const GwDrawOp& op) {
        return op.kind == GwDrawKind::kText && op.text == wizard.properties[0].caption;
    });
    ASSERT_TRUE(logo != ops.end() && caption != ops.end());
    EXPECT_LE(logo->rect.y + logo->rect.height, caption->points[0].y) << "the logo stands above the captions";

    // Every left-aligned text ends within the right margin, measured in the
    // font it is printed in.
    const int pageColumns = wizard.printJob->ColumnsPerPage();
    const double columnWidth = 4960.0 / pageColumns;
    const double rightEdge = (pageColumns - 8) * columnWidth;
    GwPrinterContext measure;
    for (const GwDrawOp& op : ops) {
        if (op.kind != GwDrawKind::kText || op.align != GwALIGN_LEFT) continue;
        measure.set_font_face(op.font.face, op.font.height);
        GwDimension extent;
        ASSERT_TRUE(measure.text_extent(op.text, &extent));
        EXPECT_LE(op.points[0].x + extent.width, rightEdge + 1) << op.describe();
    }
}

// The header lines beside the logo end before it: a line too long for the
// room goes on in the next line, between its groups of fields, and nothing
// of it is lost under the picture.
TEST_F(DevicePrintTest, TheHeaderBesideTheLogoEndsBeforeIt) {
    constexpr char kLongSerial[] = "RX4120-000742-2026-11-LOT-0815";
    drives_[maintest::kAddress]->Table().Find(127)->text = kLongSerial;
    gwtest::Click("PrintPara0/Printer");
    gwtest::AnswerPrintDialog(true);
    gwtest::Click("PrintPara0/Print");
    ASSERT_EQ(gwtest::PrintedDocuments().size(), 1u);
    const auto& ops = gwtest::PrintedDocuments().back().pages.at(0).operations;
    const auto logo =
        std::find_if(ops.begin(), ops.end(), [](const GwDrawOp& op) { return op.kind == GwDrawKind::kBitmap; });
    ASSERT_TRUE(logo != ops.end());
    GwPrinterContext measure;
    std::vector<std::string> beside;
    std::string header;
    for (const GwDrawOp& op : ops) {
        if (op.kind != GwDrawKind::kText) continue;
        measure.set_font_face(op.font.face, op.font.height);
        GwDimension extent;
        ASSERT_TRUE(measure.text_extent(op.text, &extent));
        header += op.text + "\n";
        if (op.points[0].y + extent.height <= logo->rect.y || op.points[0].y >= logo->rect.y + logo->rect.height)
            continue;
        beside.push_back(op.text);
        EXPECT_LE(op.points[0].x + extent.width, logo->rect.x) << op.describe();
    }
    EXPECT_FALSE(beside.empty());
    // The serial number and the firmware version keep their labels.
    EXPECT_NE(header.find("Serial number:   " + std::string(kLongSerial)), std::string::npos) << header;
    EXPECT_NE(header.find("Firmware:   "), std::string::npos) << header;
}

}  // namespace
