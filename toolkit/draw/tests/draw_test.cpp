// Drawing and printing: the recorded primitives with their pens and fonts,
// mapping, fixed text metrics, printer documents and pages with the print
// dialog, scripted printer failures, the printer's real font metrics, and the
// PDF file of a printed document (texts, embedded fonts, pictures).
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_colour.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/draw/gw_pdf_writer.h"
#include "toolkit/draw/gw_printer.h"
#include "toolkit/draw/gw_text_layout.h"
#include "toolkit/kindstest/kinds_fixture.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace kinds_test {
namespace {

class Drawing : public KindsTest {};

// The four primitives of the plot page, in device units.
void DrawSample(GwDeviceContext& dc) {
    dc.set_pen("red", GwLINE_SOLID, 3);
    dc.draw_line(100, 200, 900, 200);
    dc.set_foreground("black");
    dc.draw_frame(100, 300, 900, 700);
    dc.set_pen("#404040", GwLINE_BROKEN, 2);
    dc.draw_polyline({{100, 800}, {200, 900}, {300, 850}});
    dc.set_font("PrintFont10");
    dc.draw_text(900, 1000, "1.25", GwALIGN_RIGHT);
}

const std::vector<std::string> kSample = {
    "line 100,200 900,200 pen=red/3/0",
    "frame 100,300 800x400 pen=black/3/0",
    "polyline 100,800 200,900 300,850 pen=#404040/2/2",
    "text 900,1000 right \"1.25\" font=Arial/83 colour=black",
};

// Prints `pages` pages of the sample through the print dialog.
const GwPrintDocument& PrintSample(int pages) {
    gwtest::AnswerPrintDialog(true);
    GwPrinterContext printer;
    EXPECT_TRUE(printer.print_dialog());
    EXPECT_TRUE(printer.start_document("Torvan"));
    for (int i = 0; i < pages; ++i) {
        EXPECT_TRUE(printer.start_page());
        DrawSample(printer);
        printer.draw_text(0, 7000, "Page " + std::to_string(i + 1));
        EXPECT_TRUE(printer.end_page());
    }
    EXPECT_TRUE(printer.end_document());
    return gwtest::PrintedDocuments().back();
}

TEST_F(Drawing, RecordedPrimitivesReproduceExactly) {
    const GwPrintDocument& document = PrintSample(2);
    EXPECT_EQ(document.name, "Torvan");
    ASSERT_EQ(document.pages.size(), 2u);
    std::vector<std::string> page1 = gwtest::PageDrawing(document, 1);
    ASSERT_EQ(page1.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(page1.begin(), page1.begin() + 4), kSample);
    EXPECT_EQ(page1[4], "text 0,7000 left \"Page 2\" font=Arial/83 colour=black");
    EXPECT_EQ(gwtest::Effects("print dialog").size(), 1u);
    EXPECT_EQ(gwtest::UnusedPrintAnswers(), 0);
}

TEST_F(Drawing, ContextMappingAndCallerMappingGiveTheSameLog) {
    auto* plot = dynamic_cast<GwDrawing*>(main_->child("Plot"));
    ASSERT_NE(plot, nullptr);
    GwDeviceContext* dc = plot->device_context();
    EXPECT_EQ(dc->size(), (GwDimension{640, 480}));
    const GwRect area{40, 20, 560, 400};
    // Data 0..10 s across, -1..1 up.
    ASSERT_TRUE(dc->set_mapping(0, 10, -1, 1, area));
    dc->draw_polyline({{0, -1}, {2.5, 0.5}, {10, 1}});
    dc->draw_line(0, 0, 10, 0);
    EXPECT_DOUBLE_EQ(dc->device_to_x(56), 1.0);
    EXPECT_DOUBLE_EQ(dc->device_to_y(40), 0.2);
    std::vector<std::string> mapped = gwtest::Drawing(plot);

    dc->clear();
    dc->reset_mapping();
    auto x = [&](double v) { return area.x + v * area.width / 10; };
    auto y = [&](double v) { return area.y + area.height - (v + 1) * area.height / 2; };
    dc->draw_polyline({{x(0), y(-1)}, {x(2.5), y(0.5)}, {x(10), y(1)}});
    dc->draw_line(x(0), y(0), x(10), y(0));
    EXPECT_EQ(gwtest::Drawing(*dc), mapped);
    EXPECT_EQ(mapped,
              (std::vector<std::string>{"polyline 40,420 180,120 600,20 pen=black/1/0",
                                        "line 40,220 600,220 pen=black/1/0"}));

    // A character grid, and the preview's moved origin on top of it.
    dc->clear();
    ASSERT_TRUE(dc->set_char_grid(80, 24));
    dc->move_origin(10, 10);
    dc->draw_text(8, 2, "Header");
    EXPECT_EQ(gwtest::Drawing(*dc),
              (std::vector<std::string>{"text 74,50 left \"Header\" font=Arial/13 colour=black"}));
    EXPECT_FALSE(dc->set_mapping(1, 1, 0, 1, area)) << "an empty range keeps the mapping";
    EXPECT_FALSE(dc->set_char_grid(0, 24));
}

TEST_F(Drawing, APictureLargerThanTheWidgetScrolls) {
    auto* plot = dynamic_cast<GwDrawing*>(main_->child("Plot"));
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->picture_size(), (GwDimension{640, 480})) << "the widget's size by default";
    EXPECT_EQ(plot->scroll_range(), (GwDimension{0, 0}));
    plot->set_picture_size({1000, 400});
    EXPECT_EQ(plot->device_context()->size(), (GwDimension{1000, 400})) << "the expose draws the whole picture";
    EXPECT_EQ(plot->scroll_range(), (GwDimension{360, 0}));
    struct Case {
        GwPosition to, at;
    } cases[] = {{{100, 30}, {100, 0}}, {{5000, 0}, {360, 0}}, {{-7, -7}, {0, 0}}};
    for (const auto& c : cases) {
        EXPECT_TRUE(plot->user_scroll(c.to));
        EXPECT_EQ(plot->scroll_position(), c.at) << c.to.x;
    }
    EXPECT_TRUE(plot->user_scroll({300, 0}));
    plot->set_dimension({900, 480});
    EXPECT_EQ(plot->scroll_position(), (GwPosition{100, 0})) << "a larger widget scrolls less far";
    plot->set_picture_size({0, 0});
    EXPECT_EQ(plot->picture_size(), (GwDimension{900, 480}));
    EXPECT_EQ(plot->scroll_position(), (GwPosition{0, 0}));
    plot->hide();
    EXPECT_FALSE(plot->user_scroll({1, 1})) << "a hidden drawing cannot be scrolled";
}

TEST_F(Drawing, MetricsFontsAndExtents) {
    GwPrinterContext printer;
    struct Cap {
        GwDeviceCap cap;
        int value;
    } caps[] = {{GwHORZSIZE, 210}, {GwVERTSIZE, 297}, {GwHORZRES, 4960}, {GwVERTRES, 7015}, {GwLOGPIXELSY, 600}};
    for (const auto& c : caps) EXPECT_EQ(printer.device_caps(c.cap), c.value) << c.cap;
    EXPECT_EQ(printer.resolution(), 600);

    // A screen context keeps the fixed metrics: a character is half as wide
    // as the font is high.
    GwDeviceContext screen(600, {4960, 7015});
    GwDimension extent;
    ASSERT_TRUE(screen.set_font("PrintFont10"));
    ASSERT_TRUE(screen.text_extent("fX", &extent));
    EXPECT_EQ(extent, (GwDimension{84, 83})) << "10 pt at 600 dpi";

    // A printer measures in the real font: a proportional face gives narrow
    // and wide letters their own widths, a monospaced one does not.
    auto width = [&](const std::string& text) {
        GwDimension e;
        EXPECT_TRUE(printer.text_extent(text, &e)) << text;
        return e.width;
    };
    ASSERT_TRUE(printer.set_font("PrintFont10"));
    EXPECT_LT(2 * width("iiii"), width("WWWW")) << "Arial";
    ASSERT_TRUE(printer.text_extent("fX", &extent));
    EXPECT_GT(extent.height, 83) << "a line holds the font's ascent and descent";
    EXPECT_LT(extent.height, 2 * 83);
    ASSERT_TRUE(printer.set_font("AxisFont")) << "a value without a size is 10 pt";
    EXPECT_EQ(printer.font().face, "Courier");
    EXPECT_EQ(width("iiii"), width("WWWW")) << "Courier";
    EXPECT_EQ(width("Ger\xC3\xA4te"), width("Gerate")) << "characters, not bytes";
    EXPECT_GT(width("Gerate"), 6 * 83 / 2) << "wider than the fixed metrics' half height";
    EXPECT_FALSE(printer.set_font("TitleFont10"));
    EXPECT_EQ(printer.font().face, "Courier") << "an unknown font leaves the font";
    printer.set_extent_failure(true);
    extent = {1, 2};
    EXPECT_FALSE(printer.text_extent("fX", &extent));
    EXPECT_EQ(extent, (GwDimension{1, 2})) << "a failed measure leaves the caller's values";

    // Scripted paper: letter at 300 dpi, no bitmaps.
    GwPrinterScript script;
    script.paper = {215.9, 279.4, 300};
    script.draws_bitmaps = false;
    GwSetPrinterScript(script);
    GwPrinterContext letter;
    EXPECT_EQ(letter.size(), (GwDimension{2550, 3300}));
    EXPECT_EQ(letter.device_caps(GwHORZSIZE), 216);
    EXPECT_FALSE(letter.can_draw_bitmaps());
    EXPECT_FALSE(letter.draw_bitmap("LOGO", 0, 0));
}

TEST(Colours, ByNameOrHexadecimal) {
    struct Case {
        const char* colour;
        std::optional<GwRgb> rgb;
    } cases[] = {
        {"DarkSlateGrey", GwRgb{47, 79, 79}},
        {"darkslategrey", GwRgb{47, 79, 79}},
        {"default", GwRgb{0, 0, 0}},
        {"grey", GwRgb{128, 128, 128}},
        {"#c0C0c0", GwRgb{192, 192, 192}},
        {"#404040", GwRgb{64, 64, 64}},
        {"#12345", std::nullopt},
        {"#GG0000", std::nullopt},
        {"chartreuse", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(GwColourToRgb(c.colour), c.rgb) << c.colour;
}

TEST_F(Drawing, Bitmaps) {
    GwDeviceContext dc(kGwScreenDpi, {640, 480});
    GwDimension size;
    ASSERT_TRUE(dc.bitmap_size("logo", &size)) << "names without regard to case";
    EXPECT_EQ(size, (GwDimension{120, 80}));
    EXPECT_TRUE(dc.draw_bitmap("LOGO", 500, 10, 0.5));
    EXPECT_FALSE(dc.draw_bitmap("NIX.PCX", 0, 0));
    EXPECT_FALSE(dc.bitmap_size("NIX.PCX", &size));
    EXPECT_EQ(gwtest::Drawing(dc), (std::vector<std::string>{"bitmap LOGO 500,10 60x40"}));
}

TEST_F(Drawing, PrintDialogAnswersAndPrinterFailures) {
    // Cancel, and copies with collation.
    gwtest::AnswerPrintDialog(false);
    gwtest::AnswerPrintDialog(true, 2, true);
    GwPrinterContext cancelled(main_);
    EXPECT_FALSE(cancelled.print_dialog());
    EXPECT_FALSE(cancelled.start_document("Sindel")) << "no printer chosen";
    GwPrinterContext chosen;
    ASSERT_TRUE(chosen.print_dialog());
    EXPECT_EQ(chosen.copies(), 2);
    EXPECT_TRUE(chosen.collate());
    EXPECT_EQ(gwtest::Effects("print dialog").front().widget, "MainWindow");
    EXPECT_EQ(gwtest::Effects("print dialog").front().value, "cancel");
    EXPECT_NONFATAL_FAILURE(GwPrinterContext().print_dialog(), "unscripted print dialog");

    struct Case {
        const char* what;
        GwPrinterScript script;
        int pages_made;     // pages started and ended before the run stops
        bool ended;         // end_document succeeded
        size_t kept_pages;  // pages of the kept document; -1 none kept
        bool kept;
    };
    GwPrinterScript no_document;
    no_document.fail_start_document = true;
    GwPrinterScript page2_fails;
    page2_fails.fail_start_page = 2;
    GwPrinterScript lost_at_2;
    lost_at_2.lose_at_page = 2;
    const Case cases[] = {
        {"document refused", no_document, 0, false, 0, false},
        {"page 2 refused", page2_fails, 1, true, 1, true},
        {"printer lost at page 2", lost_at_2, 1, false, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GwSetPrinterScript(c.script);
        size_t documents_before = gwtest::PrintedDocuments().size();
        GwPrinterContext printer;
        printer.use_default_printer();
        int made = 0;
        if (printer.start_document("Torvane parameter data")) {
            for (int page = 1; page <= 3 && printer.start_page(); ++page) {
                printer.draw_line(0, 0, 1, 1);
                if (printer.end_page()) ++made;
            }
        }
        EXPECT_EQ(made, c.pages_made);
        EXPECT_EQ(printer.end_document(), c.ended);
        ASSERT_EQ(gwtest::PrintedDocuments().size(), documents_before + (c.kept ? 1 : 0));
        if (c.kept) {
            EXPECT_EQ(gwtest::PrintedDocuments().back().pages.size(), c.kept_pages);
        }
    }
    GwSetPrinterScript(GwPrinterScript{});
    EXPECT_TRUE(GwPrinterContext().is_lost() == false);
}

TEST_F(Drawing, AbortProcedureRunsAtEveryPage) {
    GwPrinterContext printer;
    printer.use_default_printer();
    int calls = 0;
    printer.set_abort_procedure([&] { return ++calls < 3; });
    ASSERT_TRUE(printer.start_document("Sindel"));
    EXPECT_TRUE(printer.start_page());   // 1
    EXPECT_TRUE(printer.end_page());     // 2
    EXPECT_FALSE(printer.start_page());  // 3: aborted
    EXPECT_FALSE(printer.in_document());
    EXPECT_FALSE(printer.end_document());
    ASSERT_EQ(gwtest::PrintedDocuments().size(), 1u);
    EXPECT_TRUE(gwtest::PrintedDocuments()[0].aborted);
    EXPECT_EQ(gwtest::PrintedDocuments()[0].pages.size(), 1u);
}

TEST_F(Drawing, TextInARectangle) {
    const GwFontSpec font{"Arial", 10};  // characters 5 units wide
    struct Case {
        const char* text;
        GwRect rect;
        std::vector<std::string> lines;
    } cases[] = {
        {"1/2\tC:\\a.plc\n\nEND", {0, 0, 100, 100}, {"1/2     C:\\a.plc", "", "END"}},
        {"LD I0.1 AND M1.2 OUT Q0.0", {0, 0, 100, 100}, {"LD I0.1 AND M1.2..."}},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", {0, 0, 50, 100}, {"ABCDEFG..."}},
        {"a\nb\nc\nd", {0, 0, 50, 35}, {"a", "b", "c"}},
        {"Geräteeinstellung", {0, 0, 50, 10}, {"Gerätee..."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<GwTextLine> laid = GwLayoutTextBox(c.rect, c.text, font);
        std::vector<std::string> texts;
        for (size_t i = 0; i < laid.size(); ++i) {
            texts.push_back(laid[i].text);
            EXPECT_EQ(laid[i].at, (GwPosition{c.rect.x, c.rect.y + static_cast<int>(i) * 10}));
        }
        EXPECT_EQ(texts, c.lines);
    }
}

// Runs a command and returns its standard output; nullopt when it failed.
std::optional<std::string> RunCommand(const std::string& command) {
    std::string out_path = testsupport::RuntimePath("TMP/command.out").string();
    if (std::system((command + " > " + out_path + " 2>&1").c_str()) != 0) return std::nullopt;
    return testsupport::ReadFile(out_path);
}

bool HasTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " > /dev/null 2>&1").c_str()) == 0;
}

// The fonts table of `pdffonts`: one line per font, its heading cut off.
std::vector<std::string> FontLines(const std::string& listing) {
    std::vector<std::string> lines;
    size_t at = listing.find("\n---");
    if (at == std::string::npos) return lines;
    at = listing.find('\n', at + 1);
    while (at != std::string::npos && at + 1 < listing.size()) {
        size_t end = listing.find('\n', at + 1);
        lines.push_back(listing.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1));
        at = end;
    }
    return lines;
}

TEST_F(Drawing, PdfOfAOnePageDocumentShowsItsTextsFontsAndPictures) {
    ASSERT_TRUE(GwRcMgr::use((std::string(TORVAN_DRAW_TEST_FIXTURES) + "/picture.cgw").c_str()));
    GwPrintDocument document;
    document.name = "Sindel";
    document.paper = {210, 297, 72};  // one device unit is one point
    GwDeviceContext dc(72, {595, 842});
    dc.set_font_face("Arial", 12);
    dc.fill_rect(10, 10, 110, 30, "DarkSlateGrey");
    dc.set_clip(0, 0, 300, 300);
    dc.draw_line(10, 40, 110, 40);
    dc.lift_clip();
    dc.draw_text(110, 50, "(1) Ger\xC3\xA4t\\", GwALIGN_RIGHT, "white");
    dc.set_font_face("Courier New", 10);
    dc.draw_text(10, 80, "Value 123");
    dc.draw_text(200, 80, "Latin-1 \xE4");  // not UTF-8: taken as Latin-1
    ASSERT_TRUE(dc.draw_bitmap("PICTURE", 300, 10, 2.0));
    document.pages.push_back({dc.operations()});

    const std::string bytes = GwPdfBytes(document);
    ASSERT_EQ(bytes.substr(0, 7), "%PDF-1.");
    EXPECT_EQ(GwPdfBytes(document), bytes) << "the same document gives the same bytes";
    EXPECT_EQ(bytes.find("/CreationDate"), std::string::npos);
    EXPECT_EQ(GwPdfBytes(GwPrintDocument{}), "") << "no page, no file";
    std::string error;
    EXPECT_FALSE(GwWritePdf(GwPrintDocument{}, "..\\TMP\\empty.pdf", &error));
    EXPECT_EQ(error, "the document has no page");

    if (!HasTool("pdftotext") || !HasTool("pdffonts") || !HasTool("pdfimages"))
        GTEST_SKIP() << "poppler-utils is not installed: the file was not opened by a reader";
    ASSERT_TRUE(GwWritePdf(document, "..\\TMP\\one.pdf", &error)) << error;
    const std::string pdf = testsupport::RuntimePath("TMP/one.pdf").string();
    std::optional<std::string> text = RunCommand("pdftotext -layout " + pdf + " -");
    ASSERT_TRUE(text);
    for (const char* shown : {"(1) Ger\xC3\xA4t\\", "Value 123", "Latin-1 \xC3\xA4"})
        EXPECT_NE(text->find(shown), std::string::npos) << shown << " in:\n" << *text;
    std::optional<std::string> fonts = RunCommand("pdffonts " + pdf);
    ASSERT_TRUE(fonts);
    std::vector<std::string> lines = FontLines(*fonts);
    EXPECT_EQ(lines.size(), 2u) << *fonts;
    for (const std::string& line : lines) {
        // Columns: name, type, encoding, emb, sub, uni, object, generation.
        std::istringstream fields(line);
        std::vector<std::string> words{std::istream_iterator<std::string>(fields), {}};
        ASSERT_GE(words.size(), 6u) << line;
        EXPECT_EQ(words[words.size() - 5], "yes") << "embedded: " << line;
        EXPECT_EQ(words[words.size() - 4], "yes") << "as a subset: " << line;
    }
    std::optional<std::string> images = RunCommand("pdfimages -list " + pdf);
    ASSERT_TRUE(images);
    EXPECT_NE(images->find("image      24    16"), std::string::npos) << "the picture itself:\n" << *images;
}

TEST_F(Drawing, PrintedDocumentIsAPdfWithOnePagePerPage) {
    GwSetPrintOutputDirectory("..\\TMP");
    PrintSample(3);
    std::filesystem::path pdf = testsupport::RuntimePath("TMP/print_1.pdf");
    std::string bytes = testsupport::ReadFile(pdf);
    ASSERT_EQ(bytes.substr(0, 7), "%PDF-1.");
    ASSERT_EQ(bytes.substr(bytes.size() - 6), "%%EOF\n");

    if (std::system("command -v pdfinfo > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed: the file was not opened by a reader";
    }
    std::optional<std::string> info = RunCommand("pdfinfo " + pdf.string());
    ASSERT_TRUE(info) << "pdfinfo refused the file";
    EXPECT_NE(info->find("Pages:           3\n"), std::string::npos) << *info;
    EXPECT_NE(info->find("x 841.89 pts (A4)"), std::string::npos) << *info;
    EXPECT_EQ(info->find("Syntax Error"), std::string::npos) << *info;
    if (std::system("command -v pdftoppm > /dev/null 2>&1") == 0) {
        std::string prefix = testsupport::RuntimePath("TMP/page").string();
        std::optional<std::string> render = RunCommand("pdftoppm -r 8 -png " + pdf.string() + " " + prefix);
        ASSERT_TRUE(render);
        EXPECT_EQ(render->find("Error"), std::string::npos) << *render;
        EXPECT_TRUE(std::filesystem::exists(prefix + "-3.png"));
    }
}

TEST_F(Drawing, PrintFilesFollowTheHighestNumberAndTheDialogNamesThem) {
    GwSetPrintOutputDirectory("..\\TMP");
    testsupport::WriteFile(testsupport::RuntimePath("TMP/print_7.pdf"), "old");
    testsupport::WriteFile(testsupport::RuntimePath("TMP/PRINT_3.PDF"), "old");
    testsupport::WriteFile(testsupport::RuntimePath("TMP/print_x.pdf"), "other");
    EXPECT_EQ(GwNextPrintFileName(), "print_8.pdf");
    GwPrintDialogRequest seen;
    gwtest::SetPrintDialogScript([&](const GwPrintDialogRequest& request) {
        seen = request;
        return GwPrintDialogAnswer{true};
    });
    GwPrinterContext printer;
    ASSERT_TRUE(printer.print_dialog());
    EXPECT_EQ(seen.output_directory, "..\\TMP");
    EXPECT_EQ(seen.file_name, "print_8.pdf");
    EXPECT_EQ(gwtest::Effects("print dialog").back().value, "ok; folder \"..\\TMP\"; file \"print_8.pdf\"");
    ASSERT_TRUE(printer.start_document("doc"));
    ASSERT_TRUE(printer.start_page());
    ASSERT_TRUE(printer.end_document());
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/print_7.pdf")), "old");
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/print_8.pdf")).substr(0, 7), "%PDF-1.");
    EXPECT_EQ(GwNextPrintFileName(), "print_9.pdf");
}

TEST_F(Drawing, ADocumentThatCannotBeWrittenFailsItsEnd) {
    GwSetPrintOutputDirectory("..\\missing");
    gwtest::AnswerPrintDialog(true);
    GwPrinterContext printer;
    ASSERT_TRUE(printer.print_dialog());
    ASSERT_TRUE(printer.start_document("doc"));
    ASSERT_TRUE(printer.start_page());
    EXPECT_FALSE(printer.end_document());
    EXPECT_EQ(printer.last_error().rfind("cannot write \"..\\missing/print_1.pdf\": ", 0), 0u) << printer.last_error();
    EXPECT_EQ(gwtest::PrintedDocuments().size(), 1u);
}

}  // namespace
}  // namespace kinds_test
