#include "platform/files/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using platform::IniDocument;
using platform::LineEnd;

struct ReadCase {
    const char* what;
    std::string file;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsTheValueAsStored) {
    const ReadCase& c = GetParam();
    IniDocument doc = IniDocument::Parse(c.file);
    const std::string* value = doc.Get(c.section, c.key);
    if (!c.expected) {
        EXPECT_EQ(value, nullptr);
    } else {
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(*value, *c.expected);
    }
}

const std::string kLongValue(200000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase{"key before any section is in the head", "Top=1\n[A]\nk=2\n", "", "Top", "1"},
        ReadCase{"CR LF and blanks around names and '=' are trimmed",
                 "[Options]\r\n  Language  =  049 \r\n",
                 "options",
                 "LANGUAGE",
                 "049"},
        ReadCase{"quotes keep the blanks of a value", "[P]\nName=\"MODE \"\n", "P", "Name", "MODE "},
        ReadCase{"only one pair of quotes is removed", "[P]\nName=\"\"x\"\"\n", "P", "Name", "\"x\""},
        ReadCase{"a quote at one end only stays", "[P]\nName=\"x\n", "P", "Name", "\"x"},
        ReadCase{"values may hold '=' and ';'", "[E]\nCmd=a=b;c\n", "E", "Cmd", "a=b;c"},
        ReadCase{"an empty value", "[E]\nCmd=\n", "E", "Cmd", ""},
        ReadCase{"the first of duplicate keys wins", "[A]\nk=1\nK=2\n", "A", "k", "1"},
        ReadCase{"a repeated section continues the first", "[A]\nx=1\n[B]\n[a]\ny=2\n", "A", "y", "2"},
        ReadCase{"a last line without a line end counts", "[A]\nk=trunc", "A", "k", "trunc"},
        ReadCase{
            "a NUL byte stays in its value", std::string("[A]\nk=a\0b\nj=2\n", 15), "A", "k", std::string("a\0b", 3)},
        ReadCase{"a NUL byte loses no other key", std::string("[A]\nk=a\0b\nj=2\n", 15), "A", "j", "2"},
        ReadCase{"lines of any length", "[A]\nlong=" + kLongValue + "\nnext=1\n", "A", "long", kLongValue},
        ReadCase{"a line that is no key loses no other key", "[A]\nk=1\njunk\n=x\nj=2\n", "A", "j", "2"},
        ReadCase{"a comment is no key", "[A]\n;k=1\n", "A", "k", std::nullopt},
        ReadCase{"a byte order mark does not hide the first section", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "1"},
        ReadCase{"a truncated header is no section", "[A\nk=1\n", "A", "k", std::nullopt},
        ReadCase{"a key of another section is not found", "[A]\nk=1\n[B]\n", "B", "k", std::nullopt}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::to_string(info.index); });

TEST(IniDocument, RoundTripKeepsCommentsSpellingAndOrder) {
    const std::string file =
        "Head=1\r\n"
        "\r\n"
        "; serial settings\r\n"
        "[TarnBus]\r\n"
        "Baudrate=9600\r\n"
        "; the port\r\n"
        "COM-Port=1\r\n"
        "kept line without equals\r\n"
        "\r\n"
        "[Directories]\r\n"
        "UserdataDir=..\\userdata\r\n"
        "Blank=\" \"\r\n"
        "; trailing comment\r\n";
    EXPECT_EQ(IniDocument::Parse(file).Serialize(LineEnd::kCrLf), file);
}

TEST(IniDocument, SavesValuesThatNeedQuotesBetweenQuotes) {
    IniDocument doc;
    doc.SetValue("Param", "Lead", " MODE");
    doc.SetValue("Param", "Trail", "MODE ");
    doc.SetValue("Param", "Quote", "\"x\"");
    doc.SetValue("Param", "Plain", "a b");
    doc.SetValue("", "Top", "1");
    const std::string expected =
        "Top=1\r\n"
        "\r\n"
        "[Param]\r\n"
        "Lead=\" MODE\"\r\n"
        "Trail=\"MODE \"\r\n"
        "Quote=\"\"x\"\"\r\n"
        "Plain=a b\r\n";
    std::string saved = doc.Serialize(LineEnd::kCrLf);
    EXPECT_EQ(saved, expected);
    IniDocument again = IniDocument::Parse(saved);
    EXPECT_EQ(*again.Get("Param", "Lead"), " MODE");
    EXPECT_EQ(*again.Get("Param", "Trail"), "MODE ");
    EXPECT_EQ(*again.Get("Param", "Quote"), "\"x\"");
}

TEST(IniDocument, DuplicateKeysSurviveASaveAndStillLose) {
    IniDocument doc = IniDocument::Parse("[A]\nk=1\nk=2\n");
    ASSERT_EQ(doc.FindSection("A")->KeyCount(), 1u);
    doc.SetValue("A", "K", "3");
    EXPECT_EQ(doc.Serialize(LineEnd::kLf), "[A]\nk=3\nk=2\n");
}

TEST(IniDocument, SetReplacesInPlaceKeepingTheFirstSpelling) {
    IniDocument doc = IniDocument::Parse("[Options]\nLanguage=049\nAnimation=yes\n");
    ASSERT_TRUE(doc.SetValue("OPTIONS", "language", "001"));
    ASSERT_TRUE(doc.SetValue("options", "New", "x"));
    const platform::IniSection& options = *doc.FindSection("Options");
    ASSERT_EQ(options.KeyCount(), 3u);
    EXPECT_EQ(options.EntryAt(0)->key, "Language");
    EXPECT_EQ(options.EntryAt(0)->value, "001");
    EXPECT_EQ(options.EntryAt(1)->key, "Animation");
    EXPECT_EQ(options.EntryAt(2)->key, "New");
    EXPECT_EQ(options.EntryAt(3), nullptr);
    EXPECT_EQ(doc.SectionAt(1).name(), "Options");
}

TEST(IniDocument, RefusesWhatTheFileCannotHold) {
    IniDocument doc = IniDocument::Parse("[A]\nk=1\n");
    const std::string before = doc.Serialize(LineEnd::kLf);
    for (const char* key : {"", "  ", "a=b", "a\nb", ";c", "[x"}) {
        EXPECT_FALSE(doc.SetValue("A", key, "v")) << key;
    }
    EXPECT_FALSE(doc.SetValue("A", "k", "two\nlines"));
    EXPECT_FALSE(doc.SetValue("A]", "k", "v"));
    EXPECT_EQ(doc.AddSection("bad]name"), nullptr);
    EXPECT_EQ(doc.Serialize(LineEnd::kLf), before);
}

TEST(IniDocument, MergeReplacesKeyByKeyAndAppendsNewOnes) {
    IniDocument base = IniDocument::Parse("[A]\nx=1\ny=2\n[B]\nz=3\n");
    base.Merge(IniDocument::Parse("[a]\nY=20\nw=4\n[C]\nv=5\n"));
    EXPECT_EQ(base.Serialize(LineEnd::kLf), "[A]\nx=1\ny=20\nw=4\n\n[B]\nz=3\n\n[C]\nv=5\n");
}

TEST(IniDocument, SectionsByIndexRemovalAndClear) {
    IniDocument doc = IniDocument::Parse("h=0\n[Pos_Main]\nx=1\n[Other]\n[Pos_Scope]\ny=2\n");
    ASSERT_EQ(doc.SectionCount(), 4u);
    EXPECT_EQ(doc.SectionAt(0).name(), "");
    EXPECT_EQ(doc.SectionAt(0).EntryAt(0)->key, "h");
    EXPECT_EQ(doc.SectionAt(3).name(), "Pos_Scope");
    EXPECT_TRUE(doc.RemoveSection("OTHER"));
    EXPECT_FALSE(doc.RemoveSection("Other"));
    EXPECT_FALSE(doc.RemoveSection(""));  // the head stays
    EXPECT_EQ(*doc.Get("pos_scope", "y"), "2");
    doc.FindSection("Pos_Main")->Clear();
    EXPECT_EQ(doc.Serialize(LineEnd::kLf), "h=0\n\n[Pos_Main]\n\n[Pos_Scope]\ny=2\n");
    doc.Clear();
    EXPECT_EQ(doc.SectionCount(), 1u);
    EXPECT_EQ(doc.Serialize(LineEnd::kLf), "");
}

TEST(IniDocument, ReportsLinesItCouldNotRead) {
    IniDocument doc = IniDocument::Parse("[A]\nk=1\njunk\n[]\n; fine\n=v\n[B\n");
    EXPECT_EQ(doc.UnrecognisedLines(), (std::vector<size_t>{3, 4, 6, 7}));
    EXPECT_TRUE(IniDocument::Parse("[A]\r\nk=1\r\n;c\r\n\r\n").UnrecognisedLines().empty());
}

TEST(IniDocument, RemovedKeyTakesItsCommentAlong) {
    IniDocument doc = IniDocument::Parse("[A]\n; about k\nk=1\nj=2\n");
    EXPECT_TRUE(doc.FindSection("A")->Remove("K"));
    EXPECT_FALSE(doc.FindSection("A")->Remove("k"));
    EXPECT_EQ(doc.Serialize(LineEnd::kLf), "[A]\nj=2\n");
    EXPECT_EQ(*doc.Get("A", "j"), "2");
}

}  // namespace
