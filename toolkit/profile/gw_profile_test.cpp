#include "toolkit/profile/gw_profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "testsupport/test_env.h"

namespace {

using testsupport::ReadFile;
using testsupport::RuntimePath;
using testsupport::WriteFile;

// The profile path as the program writes it, and the file behind it.
constexpr const char* kPath = "..\\TMP\\test.ini";
const char* const kFile = "TMP/test.ini";

std::string Bytes(const char* text, size_t size) { return std::string(text, size); }

// Keys and values of the current section in file order.
std::vector<std::string> Entries(const GwProfile& profile) {
    std::vector<std::string> out;
    for (int i = 0; i < profile.key_count(); ++i) out.push_back(std::string(profile.key(i)) + "=" + profile.value(i));
    return out;
}

TEST(GwProfile, ReadsTheProfileFormat) {
    struct Case {
        const char* what;
        std::string file;
        const char* section;
        const char* key;
        const char* value;
    };
    // clang-format off
    const Case cases[] = {
        {"names without regard to case", "[Options]\r\nLanguage=49\r\n", "OPTIONS", "language", "49"},
        {"blanks around names and '=' trimmed", "[ Options ]\r\n \tLanguage \t=  49 \t\r\n",
         "Options", "Language", "49"},
        {"quoted value keeps its blanks", "[ParaStrings]\r\n17=\" MODE \"\r\n", "ParaStrings", "17",
         " MODE "},
        {"only one pair of quotes goes", "[S]\r\nK=\"\"x\"\"\r\n", "S", "K", "\"x\""},
        {"a lone quote is the value", "[S]\r\nK=\"\r\n", "S", "K", "\""},
        {"quote inside a value stays", "[S]\r\nK=a \"b\" c\r\n", "S", "K", "a \"b\" c"},
        {"first of duplicate keys wins", "[S]\r\nK=first\r\nk=second\r\n", "S", "K", "first"},
        {"LF only", "[S]\nA=1\nK=lf\n", "S", "K", "lf"},
        {"key before any section is in the head", "K=head\r\n[S]\r\nK=s\r\n", "", "K", "head"},
        {"'=' and ';' inside a value", "[S]\r\nK=a=b;c\r\n", "S", "K", "a=b;c"},
        {"empty value", "[S]\r\nK=\r\n", "S", "K", ""},
        {"a repeated section continues the first", "[S]\r\nA=1\r\n[T]\r\n[s]\r\nK=2\r\n", "S", "K",
         "2"},
        {"comment line is no key", "[S]\r\n;K=1\r\n", "S", "K", ""},
        {"missing key reads empty", "[S]\r\nA=1\r\n", "S", "K", ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(RuntimePath(kFile), c.file);
        GwProfile profile(kPath);
        ASSERT_TRUE(profile.is_valid());
        ASSERT_TRUE(profile.select_section(c.section));
        ASSERT_NE(profile.read(c.key), nullptr);
        EXPECT_STREQ(profile.read(c.key), c.value);
    }
}

TEST(GwProfile, KeyExistsTellsAnEmptyValueFromAMissingKey) {
    WriteFile(RuntimePath(kFile), "[S]\r\nEmpty=\r\n;Comment=1\r\n");
    GwProfile profile(kPath);
    ASSERT_TRUE(profile.select_section("s"));
    EXPECT_TRUE(profile.key_exists("EMPTY"));
    EXPECT_FALSE(profile.key_exists("Comment"));
    EXPECT_FALSE(profile.key_exists(";Comment"));
    EXPECT_EQ(profile.read_int("Empty", 7), 0);
    EXPECT_EQ(profile.read_int("Missing", 7), 7);
    EXPECT_EQ(Entries(profile), std::vector<std::string>{"Empty="});
}

TEST(GwProfile, NumbersReadLikeTheCLibraryWithDefaultForMissingKeys) {
    WriteFile(RuntimePath(kFile),
              "[N]\r\nplain=49\r\nneg= -5\r\ntail=12abc\r\ntext=abc\r\nempty=\r\n"
              "big=99999999999\r\nsmall=-99999999999\r\nreal=1.25\r\nexp=2e3\r\n");
    GwProfile profile(kPath);
    ASSERT_TRUE(profile.select_section("N"));
    struct Case {
        const char* key;
        int integer;
        double real;
    };
    const Case cases[] = {
        {"plain", 49, 49.0},
        {"neg", -5, -5.0},
        {"tail", 12, 12.0},
        {"text", 0, 0.0},
        {"empty", 0, 0.0},
        {"big", INT_MAX, 99999999999.0},
        {"small", INT_MIN, -99999999999.0},
        {"real", 1, 1.25},
        {"exp", 2, 2000.0},
        {"missing", -3, -3.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(profile.read_int(c.key, -3), c.integer);
        EXPECT_DOUBLE_EQ(profile.read_double(c.key, -3.5), c.real);
    }
}

TEST(GwProfile, ValidityFollowsTheFileAndItsDirectory) {
    WriteFile(RuntimePath("TMP/exists.ini"), "[S]\r\nK=1\r\n");
    std::filesystem::create_directories(RuntimePath("TMP/dir.ini"));
    WriteFile(RuntimePath("TMP/plain"), "x");
    struct Case {
        const char* path;
        bool valid;
    };
    const Case cases[] = {
        {"..\\TMP\\exists.ini", true},
        {"..\\tmp\\EXISTS.INI", true},  // found regardless of case
        {"..\\TMP\\new.ini", true},     // created on save
        {"", false},
        {"..\\TMP\\dir.ini", false},         // a directory
        {"..\\TMP\\nodir\\new.ini", false},  // a missing directory
        {"..\\TMP\\plain\\new.ini", false},  // a file where a directory belongs
        {"/proc/self/mem", false},           // opens but cannot be read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        GwProfile profile(c.path);
        EXPECT_EQ(profile.is_valid(), c.valid);
        EXPECT_STREQ(profile.path(), c.path);
    }
    EXPECT_FALSE(GwProfile(nullptr).is_valid());
    EXPECT_FALSE(GwProfile().is_valid());
}

TEST(GwProfile, MissingFileOpensEmptyAndAppearsOnSave) {
    GwProfile profile("..\\TMP\\New.ini");
    ASSERT_TRUE(profile.is_valid());
    EXPECT_EQ(profile.section_count(), 1);
    EXPECT_FALSE(std::filesystem::exists(RuntimePath("TMP/New.ini")));
    ASSERT_TRUE(profile.create_section("Options"));
    ASSERT_TRUE(profile.write("Language", "49"));
    ASSERT_TRUE(profile.save());
    EXPECT_EQ(ReadFile(RuntimePath("TMP/New.ini")), "[Options]\r\nLanguage=49\r\n");
}

// Byte-exact output: comments and the head are kept in place, one blank line
// parts the sections, names keep their first spelling, values are quoted
// exactly when they must be, every line ends in CR LF.
TEST(GwProfile, SaveWritesGoldenBytes) {
    WriteFile(RuntimePath(kFile),
              "; written by hand\n"
              "Version = 3\n"
              "\n"
              "[Options]\n"
              "; the language directory number\n"
              "Language = 49\n"
              "Animation=1\n"
              "\n"
              "\n"
              "[ParaStrings]\n"
              "17=plain\n");
    GwProfile profile(kPath);
    ASSERT_TRUE(profile.is_valid());
    ASSERT_TRUE(profile.select_section("OPTIONS"));
    ASSERT_TRUE(profile.write("language", "44"));
    ASSERT_TRUE(profile.write("UserState", "0"));
    ASSERT_TRUE(profile.select_section("paraStrings"));
    ASSERT_TRUE(profile.write("17", "MODE "));
    ASSERT_TRUE(profile.write("18", " lead"));
    ASSERT_TRUE(profile.write("19", "\"quoted\""));
    ASSERT_TRUE(profile.write("20", "in \"side\""));
    ASSERT_TRUE(profile.write("21", ""));
    ASSERT_TRUE(profile.create_section("Pos_Scope"));
    ASSERT_TRUE(profile.write_position("Pos", 10, -20));
    ASSERT_TRUE(profile.write_dimension("Dim", 300, 200));
    ASSERT_TRUE(profile.write_rectangle("attached_rect", 1, 2, 3, 4));
    ASSERT_TRUE(profile.write_int("autostart", 1));
    ASSERT_TRUE(profile.save());

    const std::string golden =
        "; written by hand\r\n"
        "Version=3\r\n"
        "\r\n"
        "[Options]\r\n"
        "; the language directory number\r\n"
        "Language=44\r\n"
        "Animation=1\r\n"
        "UserState=0\r\n"
        "\r\n"
        "[ParaStrings]\r\n"
        "17=\"MODE \"\r\n"
        "18=\" lead\"\r\n"
        "19=\"\"quoted\"\"\r\n"
        "20=in \"side\"\r\n"
        "21=\r\n"
        "\r\n"
        "[Pos_Scope]\r\n"
        "Pos=10,-20\r\n"
        "Dim=300,200\r\n"
        "attached_rect=1,2,3,4\r\n"
        "autostart=1\r\n";
    EXPECT_EQ(ReadFile(RuntimePath(kFile)), golden);

    // What was written reads back as it was given.
    GwProfile again(kPath);
    ASSERT_TRUE(again.select_section("ParaStrings"));
    EXPECT_EQ(Entries(again),
              (std::vector<std::string>{"17=MODE ", "18= lead", "19=\"quoted\"", "20=in \"side\"", "21="}));
}

TEST(GwProfile, OnlySaveReachesTheFile) {
    const std::string original = "[S]\r\nK=old\r\n";
    WriteFile(RuntimePath(kFile), original);
    {
        GwProfile profile(kPath);
        ASSERT_TRUE(profile.select_section("S"));
        ASSERT_TRUE(profile.write("K", "new"));
        profile.clear();
    }
    EXPECT_EQ(ReadFile(RuntimePath(kFile)), original);

    GwProfile profile(kPath);
    ASSERT_TRUE(profile.select_section("S"));
    ASSERT_TRUE(profile.write("K", "new"));
    ASSERT_TRUE(profile.save("..\\TMP\\copy.ini"));  // another target
    EXPECT_EQ(ReadFile(RuntimePath(kFile)), original);
    EXPECT_EQ(ReadFile(RuntimePath("TMP/copy.ini")), "[S]\r\nK=new\r\n");
    ASSERT_TRUE(profile.save(""));  // empty target: the opened path
    EXPECT_EQ(ReadFile(RuntimePath(kFile)), "[S]\r\nK=new\r\n");
}

TEST(GwProfile, SaveFailsWithoutAWritableTargetAndKeepsTheOldFile) {
    GwProfile no_path;
    ASSERT_TRUE(no_path.create_section("S"));
    ASSERT_TRUE(no_path.write("K", "1"));
    EXPECT_FALSE(no_path.save());

    GwProfile missing_dir("..\\TMP\\nodir\\x.ini");
    EXPECT_FALSE(missing_dir.save());
    EXPECT_FALSE(std::filesystem::exists(RuntimePath("TMP/nodir")));

    std::filesystem::create_directories(RuntimePath("TMP/dir.ini"));
    GwProfile directory("..\\TMP\\dir.ini");
    EXPECT_FALSE(directory.save());
    EXPECT_TRUE(std::filesystem::is_directory(RuntimePath("TMP/dir.ini")));
}

// The empty profile that stands in for a file that could not be read must
// never overwrite it.
TEST(GwProfile, UnreadableFileIsNotOverwritten) {
    WriteFile(RuntimePath(kFile), "[S]\r\nK=keep\r\n");
    ASSERT_EQ(::chmod(RuntimePath(kFile).c_str(), 0200), 0);
    if (::geteuid() == 0) GTEST_SKIP() << "root reads files without read permission";
    GwProfile profile(kPath);
    EXPECT_FALSE(profile.is_valid());
    ASSERT_TRUE(profile.create_section("S"));
    ASSERT_TRUE(profile.write("K", "lost"));
    EXPECT_FALSE(profile.save());
    ::chmod(RuntimePath(kFile).c_str(), 0600);
    EXPECT_EQ(ReadFile(RuntimePath(kFile)), "[S]\r\nK=keep\r\n");
}

TEST(GwProfile, SectionsByIndexWithTheHeadFirst) {
    WriteFile(RuntimePath(kFile), "H1=a\r\nH2=b\r\n[First]\r\nX=1\r\nY=2\r\n[Second]\r\n");
    GwProfile profile(kPath);
    ASSERT_EQ(profile.section_count(), 3);
    EXPECT_STREQ(profile.section_name(0), "");
    EXPECT_STREQ(profile.section_name(1), "First");
    EXPECT_STREQ(profile.section_name(2), "Second");
    EXPECT_STREQ(profile.section_name(3), "");
    EXPECT_STREQ(profile.section_name(-1), "");

    // A new profile starts in the head.
    EXPECT_STREQ(profile.current_section(), "");
    EXPECT_EQ(Entries(profile), (std::vector<std::string>{"H1=a", "H2=b"}));
    EXPECT_STREQ(profile.first_value(), "a");

    ASSERT_TRUE(profile.select_section(1));
    EXPECT_STREQ(profile.current_section(), "First");
    EXPECT_EQ(profile.key_count(), 2);
    EXPECT_STREQ(profile.key(1), "Y");
    EXPECT_STREQ(profile.value(1), "2");
    EXPECT_STREQ(profile.key(2), "");
    EXPECT_STREQ(profile.value(-1), "");
    EXPECT_STREQ(profile.first_value(), "1");

    ASSERT_TRUE(profile.select_section(2));
    EXPECT_EQ(profile.key_count(), 0);
    EXPECT_STREQ(profile.first_value(), "");
    EXPECT_FALSE(profile.select_section(3));
    EXPECT_TRUE(profile.select_section(""));
    EXPECT_STREQ(profile.read("H2"), "b");
}

TEST(GwProfile, MissingSectionIsNotSilentlyAnother) {
    WriteFile(RuntimePath(kFile), "K=head\r\n[S]\r\nK=s\r\n");
    GwProfile profile(kPath);
    ASSERT_TRUE(profile.select_section("S"));
    EXPECT_FALSE(profile.select_section("Missing"));
    EXPECT_FALSE(profile.section_exists("Missing"));
    EXPECT_STREQ(profile.read("K"), "");
    EXPECT_EQ(profile.read_int("K", 5), 5);
    EXPECT_EQ(profile.key_count(), 0);
    EXPECT_FALSE(profile.write("K", "x"));
    EXPECT_FALSE(profile.clear_section());

    EXPECT_TRUE(profile.select_section("missing", true));
    EXPECT_TRUE(profile.section_exists("MISSING"));
    EXPECT_STREQ(profile.current_section(), "missing");
    EXPECT_EQ(profile.section_count(), 3);
}

TEST(GwProfile, CreateClearAndWriteRefuseWhatALineCannotCarry) {
    GwProfile profile(kPath);
    ASSERT_TRUE(profile.create_section("Field17"));
    ASSERT_TRUE(profile.create_section("FIELD17"));  // the same section
    EXPECT_EQ(profile.section_count(), 2);
    EXPECT_STREQ(profile.current_section(), "Field17");

    EXPECT_FALSE(profile.create_section("a]b"));
    EXPECT_FALSE(profile.create_section("a\nb"));
    EXPECT_STREQ(profile.current_section(), "Field17");

    EXPECT_FALSE(profile.write("", "x"));
    EXPECT_FALSE(profile.write("a=b", "x"));
    EXPECT_FALSE(profile.write("a\nb", "x"));
    EXPECT_FALSE(profile.write(";k", "x"));
    EXPECT_FALSE(profile.write("[k", "x"));
    EXPECT_FALSE(profile.write("k", "line\r\nbreak"));
    EXPECT_EQ(profile.key_count(), 0);

    ASSERT_TRUE(profile.write("Size", "2"));
    ASSERT_TRUE(profile.write("0", "-1"));
    ASSERT_TRUE(profile.write(" size ", "3"));  // names are trimmed
    EXPECT_EQ(Entries(profile), (std::vector<std::string>{"Size=3", "0=-1"}));
    ASSERT_TRUE(profile.clear_section());
    EXPECT_EQ(profile.key_count(), 0);
    EXPECT_TRUE(profile.section_exists("Field17"));

    profile.clear();
    EXPECT_EQ(profile.section_count(), 1);
    EXPECT_STREQ(profile.current_section(), "");
    EXPECT_TRUE(profile.is_valid());
    ASSERT_TRUE(profile.save());
    EXPECT_EQ(ReadFile(RuntimePath(kFile)), "");
}

TEST(GwProfile, SecondFileReplacesValuesKeyByKey) {
    WriteFile(RuntimePath("TMP/base.ini"), "[Texts]\r\nA=base a\r\nB=base b\r\n[Only1]\r\nX=1\r\n");
    WriteFile(RuntimePath("TMP/top.ini"), "[texts]\r\nb=top b\r\nb=ignored\r\nC=top c\r\n[Only2]\r\nY=2\r\n");
    GwProfile profile("..\\TMP\\base.ini");
    ASSERT_TRUE(profile.load("..\\TMP\\top.ini"));
    ASSERT_EQ(profile.section_count(), 4);
    EXPECT_STREQ(profile.section_name(1), "Texts");
    EXPECT_STREQ(profile.section_name(2), "Only1");
    EXPECT_STREQ(profile.section_name(3), "Only2");
    ASSERT_TRUE(profile.select_section("Texts"));
    EXPECT_EQ(Entries(profile), (std::vector<std::string>{"A=base a", "B=top b", "C=top c"}));
    EXPECT_STREQ(profile.path(), "..\\TMP\\base.ini");

    // A file that cannot be read changes nothing.
    EXPECT_FALSE(profile.load("..\\TMP\\none.ini"));
    EXPECT_FALSE(profile.load(""));
    EXPECT_EQ(profile.section_count(), 4);

    // Cleared and loaded again: only the second file's content.
    profile.clear();
    ASSERT_TRUE(profile.load("..\\TMP\\top.ini"));
    ASSERT_TRUE(profile.select_section("TEXTS"));
    EXPECT_EQ(Entries(profile), (std::vector<std::string>{"b=top b", "C=top c"}));
}

TEST(GwProfile, EmptyProfileCanBeLoadedInto) {
    WriteFile(RuntimePath("TMP/texts.txt"), "[Msg]\nK=v\n");
    GwProfile profile;
    ASSERT_TRUE(profile.load("..\\TMP\\texts.txt"));
    ASSERT_TRUE(profile.select_section("Msg"));
    EXPECT_STREQ(profile.read("K"), "v");
}

TEST(GwProfile, GeometryValuesParseOrKeepTheDefault) {
    WriteFile(RuntimePath(kFile),
              "[G]\r\nplain=1,2,3,4\r\nblanks= 10 , -20 ,30, 40 \r\npair=5,6\r\nshort=1,2,3\r\n"
              "long=1,2,3,4,5\r\ntext=a,b\r\nempty=\r\nhalf=1,\r\ntail=1x,2\r\n"
              "huge=99999999999,1\r\n");
    GwProfile profile(kPath);
    ASSERT_TRUE(profile.select_section("G"));
    struct Case {
        const char* key;
        bool pair_ok;
        int a, b;
        bool rect_ok;
        int r[4];
    };
    const Case cases[] = {
        {"plain", false, 0, 10, true, {1, 2, 3, 4}},
        {"blanks", false, 0, 10, true, {10, -20, 30, 40}},
        {"pair", true, 5, 6, false, {0, 0, 10, 10}},
        {"short", false, 0, 10, false, {0, 0, 10, 10}},
        {"long", false, 0, 10, false, {0, 0, 10, 10}},
        {"text", false, 0, 10, false, {0, 0, 10, 10}},
        {"empty", false, 0, 10, false, {0, 0, 10, 10}},
        {"half", false, 0, 10, false, {0, 0, 10, 10}},
        {"tail", false, 0, 10, false, {0, 0, 10, 10}},
        {"huge", false, 0, 10, false, {0, 0, 10, 10}},
        {"missing", false, 0, 10, false, {0, 0, 10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        int x = 0, y = 10;
        EXPECT_EQ(profile.read_position(c.key, x, y), c.pair_ok);
        EXPECT_EQ(x, c.a);
        EXPECT_EQ(y, c.b);
        int w = 0, h = 10;
        EXPECT_EQ(profile.read_dimension(c.key, w, h), c.pair_ok);
        EXPECT_EQ(w, c.a);
        EXPECT_EQ(h, c.b);
        int r[4] = {0, 0, 10, 10};
        EXPECT_EQ(profile.read_rectangle(c.key, r[0], r[1], r[2], r[3]), c.rect_ok);
        EXPECT_EQ(std::vector<int>(r, r + 4), std::vector<int>(c.r, c.r + 4));
    }
}

TEST(GwProfile, TextStaysValidUntilTheProfileChanges) {
    WriteFile(RuntimePath(kFile), "[S]\r\nA=alpha\r\nB=beta\r\n");
    GwProfile profile(kPath);
    ASSERT_TRUE(profile.select_section("S"));
    const char* a = profile.read("A");
    const char* b = profile.read("B");
    EXPECT_STREQ(profile.read("missing"), "");
    EXPECT_STREQ(profile.key(0), "A");
    EXPECT_STREQ(a, "alpha");
    EXPECT_STREQ(b, "beta");
}

// Damaged files: nothing in them may crash the reader or cost the keys that
// are intact.
TEST(GwProfile, DamagedFilesKeepTheirIntactKeys) {
    const std::string long_value(200000, 'v');
    struct Case {
        const char* what;
        std::string file;
        const char* key;  // in section "S"
        std::string value;
    };
    const Case cases[] = {
        {"a line longer than any buffer", "[S]\r\nLong=" + long_value + "\r\nK=after\r\n", "Long", long_value},
        {"the key after a long line", "[S]\r\nLong=" + long_value + "\r\nK=after\r\n", "K", "after"},
        {"a long section name", "[" + std::string(100000, 's') + "]\r\nX=1\r\n[S]\r\nK=ok\r\n", "K", "ok"},
        {"a NUL byte in a value", Bytes("[S]\r\nN=a\0b\r\nK=after\r\n", 20), "K", "after"},
        {"a NUL byte in a key", Bytes("[S]\r\nN\0M=1\r\nK=after\r\n", 20), "K", "after"},
        {"a truncated last line", "[S]\r\nA=1\r\nK=tail", "K", "tail"},
        {"a truncated section line", "[S]\r\nK=kept\r\n[T", "K", "kept"},
        {"a CR LF cut after the CR", "[S]\r\nK=cr\r", "K", "cr"},
        {"a CR inside a value", "[S]\r\nK=a\rb\r\n", "K", "a\rb"},
        {"a line without '='", "[S]\r\ngarbage\r\nK=after\r\n", "K", "after"},
        {"a key of blanks", "[S]\r\n  =x\r\nK=after\r\n", "K", "after"},
        {"bytes above 127", "[S]\r\nK=\xe4\xf6\xfc\xff\r\n", "K", "\xe4\xf6\xfc\xff"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(RuntimePath(kFile), c.file);
        GwProfile profile(kPath);
        ASSERT_TRUE(profile.is_valid());
        ASSERT_TRUE(profile.select_section("S"));
        EXPECT_EQ(std::string(profile.read(c.key)), c.value);
    }
}

TEST(GwProfile, LongValuesSurviveASave) {
    const std::string long_value(100000, 'x');
    GwProfile profile(kPath);
    ASSERT_TRUE(profile.create_section("S"));
    ASSERT_TRUE(profile.write("Long", long_value.c_str()));
    ASSERT_TRUE(profile.save());
    GwProfile again(kPath);
    ASSERT_TRUE(again.select_section("S"));
    EXPECT_EQ(std::string(again.read("Long")), long_value);
}

TEST(GwProfile, NullTextsReadAsEmpty) {
    WriteFile(RuntimePath(kFile), "K=head\r\n");
    GwProfile profile(kPath);
    EXPECT_STREQ(profile.read(nullptr), "");
    EXPECT_FALSE(profile.key_exists(nullptr));
    EXPECT_FALSE(profile.write(nullptr, "x"));
    EXPECT_TRUE(profile.write("E", nullptr));
    EXPECT_TRUE(profile.key_exists("E"));
    EXPECT_STREQ(profile.read("E"), "");
    EXPECT_TRUE(profile.select_section(nullptr));  // the head
    EXPECT_STREQ(profile.read("K"), "head");
    EXPECT_FALSE(profile.load(nullptr));
}

}  // namespace
