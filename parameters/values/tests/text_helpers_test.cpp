#include "parameters/values/text_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/test_env.h"

namespace {

// The text after an in-place edit.
template <typename Edit>
std::string Edited(Edit edit, const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    edit(buffer.data());
    return buffer.data();
}

std::string Result(int value) { return std::to_string(value); }

// Sign of a comparison as "-1", "0" or "1".
std::string Order(int value) { return Result(value < 0 ? -1 : (value > 0 ? 1 : 0)); }

// ReadTextFile's result and what it left in a text that held "kept".
std::string ReadInto(const char* path) {
    GwString out("kept");
    const bool ok = ReadTextFile(out, path);
    return (ok ? "true|" : "false|") + out.str();
}

TEST(TextHelpers, EditsTestsAndComparisons) {
    const std::string longNumber(129, '1');
    struct Case {
        const char* what;
        std::string actual;
        std::string want;
    } cases[] = {
        {"cut extension", Edited(CutFileExtension, "C:\\dir\\file.txt"), "C:\\dir\\file"},
        {"dot in a directory", Edited(CutFileExtension, "C:\\dir.x\\file"), "C:\\dir.x\\file"},
        {"dot in a POSIX directory", Edited(CutFileExtension, "/a/dir.x/file"), "/a/dir.x/file"},
        {"last dot only", Edited(CutFileExtension, "a.b.c"), "a.b"},
        {"dot as first character", Edited(CutFileExtension, ".ini"), ".ini"},
        {"without extension", WithoutFileExtension("C:\\dir.x\\axis.00D"), "C:\\dir.x\\axis"},
        {"without extension, none", WithoutFileExtension("C:\\dir.x\\axis"), "C:\\dir.x\\axis"},
        {"directory with drive", DirectoryOfPath("C:\\progs\\a.prg"), "C:\\progs\\"},
        {"POSIX directory", DirectoryOfPath("/a/b.00d"), "/a/"},
        {"no directory", DirectoryOfPath("a.prg"), ""},
        {"comment", Edited(CutComment, "Key=1 ; note"), "Key=1 "},
        {"no comment", Edited(CutComment, "Key=1"), "Key=1"},
        {"empty line", Edited(CutComment, ""), ""},
        {"tabs", Edited(TabsToBlanks, "a\tb\t"), "a b "},
        {"blanks and tabs", Edited(RemoveBlanks, " a\t b "), "ab"},
        {"to upper", Edited(ToUpperInPlace, "abc1\xE4z"), "ABC1\xE4Z"},
        {"upper case", Edited(UpperCase, "Mixed.Ext"), "MIXED.EXT"},

        {"number with exponent", Result(IsNotNumberText("-1.5E3")), "0"},
        {"decimal comma", Result(IsNotNumberText("1,5")), "0"},
        {"hexadecimal", Result(IsNotNumberText("0x10")), "1"},
        {"blank in number", Result(IsNotNumberText("1 5")), "1"},
        {"128 digits", Result(IsNotNumberText(longNumber.substr(1).c_str())), "0"},
        {"129 digits", Result(IsNotNumberText(longNumber.c_str())), "1"},
        {"tab", Result(HasControlChars("a\tb")), "1"},
        {"byte E4", Result(HasControlChars("M\xE4rz")), "1"},
        {"DEL", Result(HasControlChars("\x7F")), "0"},
        {"printable", Result(HasControlChars("Key = 1 ~")), "0"},
        {"empty text", Result(HasControlChars("")), "0"},

        {"no case", Order(CompareNoCase("ScopeVar", "SCOPEVAR")), "0"},
        {"no case differ", Result(CompareNoCase("abc", "ABD")), Result('c' - 'd')},
        {"no case prefix", Order(CompareNoCase("ab", "abc")), "-1"},
        {"path no case", Order(ComparePathNoCase("..\\tmp\\Scope.dat", "..\\TMP\\scope.DAT")), "0"},
        {"path separators", Order(ComparePathNoCase("..\\TMP\\a", "../TMP/a")), "0"},
        {"path order", Order(ComparePathNoCase("a\\b", "a\\c")), "-1"},
        {"path beyond 255",
         Order(ComparePathNoCase((std::string(255, 'a') + "x").c_str(), (std::string(255, 'A') + "y").c_str())),
         "0"},

        {"read missing file", ReadInto("..\\TMP\\missing.txt"), "false|kept"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.actual, c.want) << c.what;
    }
}

TEST(TextHelpers, ReadTextFileAppendsWithLineEndsAsLf) {
    const std::string longLine(5000, 'x');
    testsupport::WriteFile(testsupport::RuntimePath("TMP/Notes.txt"), "one\r\ntwo\n" + longLine + "\r\nlast");
    GwString text("head\n");
    ASSERT_TRUE(ReadTextFile(text, "..\\tmp\\NOTES.TXT"));
    EXPECT_EQ(text.str(), "head\none\ntwo\n" + longLine + "\nlast");
}

TEST(TextHelpers, WriteTextFileWritesTheTextAsTheWholeFile) {
    const auto path = testsupport::RuntimePath("TMP/out.txt");
    testsupport::WriteFile(path, "old contents that are longer");
    ASSERT_TRUE(WriteTextFile(GwString("a\nb\n"), "..\\TMP\\out.txt"));
    EXPECT_EQ(testsupport::ReadFile(path), "a\nb\n");

    ASSERT_TRUE(WriteTextFileByName(GwString(""), GwString("..\\TMP\\out.txt")));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(testsupport::ReadFile(path), "");

    EXPECT_FALSE(WriteTextFile(GwString("x"), "..\\TMP\\no such dir\\out.txt"));
}

TEST(TextHelpers, CopyTextFileKeepsTheBytes) {
    const std::string contents = "1.0\t2.5\r\n3.0\t4.5\r\n";
    testsupport::WriteFile(testsupport::RuntimePath("TMP/Scope.dat"), contents);
    EXPECT_EQ(CopyTextFile("..\\TMP\\scope.dat", "..\\userdata\\copy.dat"), 1);
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("userdata/copy.dat")), contents);

    EXPECT_EQ(CopyTextFile("..\\TMP\\missing.dat", "..\\userdata\\other.dat"), 0);
    EXPECT_FALSE(std::filesystem::exists(testsupport::RuntimePath("userdata/other.dat")));
    EXPECT_EQ(CopyTextFile("..\\TMP\\scope.dat", "..\\TMP\\no such dir\\copy.dat"), 0);
}

}  // namespace
