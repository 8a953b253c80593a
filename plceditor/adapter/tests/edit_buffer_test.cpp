#include "plceditor/adapter/edit_buffer.h"

#include <gtest/gtest.h>

namespace sindel {
namespace {

TEST(EditBuffer, LineArithmeticOverCrLfLines) {
    EditBuffer buffer;
    buffer.SetText("A\r\n\r\nBC\r\n");
    EXPECT_EQ(buffer.LineCount(), 4);
    struct IndexCase {
        int line, index;
    } indexes[] = {{0, 0}, {1, 3}, {2, 5}, {3, 9}, {4, -1}, {-2, -1}};
    for (const auto& c : indexes) EXPECT_EQ(buffer.LineIndex(c.line), c.index) << c.line;
    struct CharCase {
        int pos, line;
    } chars[] = {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {5, 2}, {8, 2}, {9, 3}, {100, 3}};
    for (const auto& c : chars) EXPECT_EQ(buffer.LineFromChar(c.pos), c.line) << c.pos;
    EXPECT_EQ(buffer.LineLength(5), 2);
    EXPECT_EQ(buffer.LineLength(3), 0);

    std::string line = "stale";
    EXPECT_TRUE(buffer.GetLine(2, &line));
    EXPECT_EQ(line, "BC");
    EXPECT_TRUE(buffer.GetLine(3, &line));
    EXPECT_EQ(line, "");
    line = "stale";
    EXPECT_FALSE(buffer.GetLine(4, &line));
    EXPECT_EQ(line, "");
    EXPECT_FALSE(buffer.GetLine(-1, &line));

    // The caret's line through -1.
    buffer.SetSel(6, 7);
    EXPECT_EQ(buffer.LineFromChar(-1), 2);
    EXPECT_EQ(buffer.LineIndex(-1), 5);

    buffer.SetText("");
    EXPECT_EQ(buffer.LineCount(), 1);
    EXPECT_EQ(buffer.LineIndex(0), 0);
    EXPECT_EQ(buffer.LineIndex(1), -1);
    EXPECT_TRUE(buffer.GetLine(0, &line));

    buffer.SetText("no line end");
    EXPECT_EQ(buffer.LineCount(), 1);
    EXPECT_EQ(buffer.LineLength(4), 11);
}

TEST(EditBuffer, SelectionIsOrderedClampedAndMinusOneMeansEndOrNone) {
    EditBuffer buffer;
    buffer.SetText("0123456789");
    struct Case {
        int start, end, sel_start, sel_end;
    } cases[] = {{2, 5, 2, 5}, {5, 2, 2, 5}, {3, -1, 3, 10}, {0, -1, 0, 10}, {-5, 4, 0, 4}, {8, 40, 8, 10}};
    for (const auto& c : cases) {
        buffer.SetSel(c.start, c.end);
        EXPECT_EQ(buffer.SelStart(), c.sel_start) << c.start << "," << c.end;
        EXPECT_EQ(buffer.SelEnd(), c.sel_end) << c.start << "," << c.end;
    }
    buffer.SetSel(2, 6);
    EXPECT_EQ(buffer.SelectedText(), "2345");
    buffer.SetSel(-1, 0);  // deselects, the caret stays at the end of the selection
    EXPECT_EQ(buffer.SelStart(), 6);
    EXPECT_EQ(buffer.SelEnd(), 6);
}

TEST(EditBuffer, OneLevelOfUndoThatASecondUndoReverts) {
    EditBuffer buffer;
    buffer.SetText("x");
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.Undo().changed);

    buffer.SetSel(1, 1);
    buffer.TypeChar('a');
    buffer.TypeChar('b');
    buffer.TypeReturn();
    EXPECT_EQ(buffer.Text(), "xab\r\n");
    EXPECT_TRUE(buffer.CanUndo());
    EXPECT_TRUE(buffer.Undo().changed);  // the typed run is one step
    EXPECT_EQ(buffer.Text(), "x");
    EXPECT_EQ(buffer.SelStart(), 1);
    buffer.Undo();
    EXPECT_EQ(buffer.Text(), "xab\r\n");

    // Moving the caret ends the run: only the later character goes.
    buffer.SetSel(0, 0);
    buffer.TypeChar('>');
    buffer.Undo();
    EXPECT_EQ(buffer.Text(), "xab\r\n");

    buffer.SetSel(0, 1);
    EXPECT_TRUE(buffer.ReplaceSel(";", true).changed);
    EXPECT_EQ(buffer.Text(), ";ab\r\n");
    buffer.Undo();
    EXPECT_EQ(buffer.Text(), "xab\r\n");
    EXPECT_EQ(buffer.SelectedText(), "x");

    // A replacement that cannot be undone empties the buffer, as does a new text.
    buffer.ReplaceSel("y", false);
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_EQ(buffer.Text(), "yab\r\n");
    buffer.TypeChar('z');
    buffer.SetText("new");
    EXPECT_FALSE(buffer.CanUndo());
}

TEST(EditBuffer, LimitCutsInsertedTextAndRefusesTyping) {
    EditBuffer buffer;
    buffer.SetLimit(6);
    buffer.SetText("0123456789");  // the program's text is not limited
    EXPECT_EQ(buffer.Length(), 10);

    buffer.SetText("abcd");
    buffer.SetSel(4, 4);
    EditResult result = buffer.ReplaceSel("XYZ", true);
    EXPECT_TRUE(result.changed);
    EXPECT_TRUE(result.max_text);
    EXPECT_EQ(buffer.Text(), "abcdXY");

    result = buffer.TypeChar('!');
    EXPECT_FALSE(result.changed);
    EXPECT_TRUE(result.max_text);
    EXPECT_EQ(buffer.Text(), "abcdXY");

    // Replacing a selection counts the room it frees.
    buffer.SetSel(0, 2);
    result = buffer.ReplaceSel("12", true);
    EXPECT_FALSE(result.max_text);
    EXPECT_EQ(buffer.Text(), "12cdXY");
}

TEST(EditBuffer, BackspaceAndDeleteTakeALineEndAsOne) {
    EditBuffer buffer;
    buffer.SetText("A\r\nB");
    buffer.SetSel(3, 3);
    EXPECT_TRUE(buffer.Backspace().changed);
    EXPECT_EQ(buffer.Text(), "AB");
    buffer.SetText("A\r\nB");
    buffer.SetSel(1, 1);
    buffer.Delete();
    EXPECT_EQ(buffer.Text(), "AB");
    buffer.SetSel(0, 0);
    EXPECT_FALSE(buffer.Backspace().changed);
    buffer.SetSel(2, 2);
    EXPECT_FALSE(buffer.Delete().changed);
}

}  // namespace
}  // namespace sindel
