// The parameter base file set: names, the D file's bytes, the X and T files,
// round trips of every type, refused files, the description file chosen by
// the firmware, copies of a base and writes that fail.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "parameters/parabase/entry_record.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/tests/file_set_fixture.h"
#include "parameters/parabase/value_text_table.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "testsupport/test_env.h"

namespace {

using parabasetest::Define;
using parabasetest::Elements;
using parabasetest::FileSetTest;
using parabasetest::FillEveryType;
using parabasetest::SetElements;

constexpr char kSetPath[] = "..\\userdata\\set.00D";
const std::string kSet = kSetPath;

std::string Text(const ParaBase& base, int number) {
    const dstring* text = const_cast<ParaBase&>(base).GetTextObject(number);
    return text != nullptr ? text->Text() : "(none)";
}

// A base loaded from the file set of `path`.
std::unique_ptr<ParaBase> Load(const std::string& path) { return std::make_unique<ParaBase>(dstring(path.c_str())); }

// Writes `base` as the set of `path`.
void Save(ParaBase& base, const std::string& path) {
    base.InitFile(path.c_str());
    ASSERT_EQ(base.WriteFileBase(), 0) << base.MessageBuffer;
}

TEST_F(FileSetTest, InitFileNamesTheSetByTheThirdExtensionCharacter) {
    struct Case {
        const char* path;
        const char* d;
        const char* t;
        const char* x;
    };
    const Case cases[] = {
        {"C:\\bases\\servo.01D", "C:\\bases\\servo.01D", "C:\\bases\\servo.01T", "C:\\bases\\servo.01X"},
        {"servo", "servo.00D", "servo.00T", "servo.00X"},
        {"servo. 1D", "servo.00D", "servo.00T", "servo.00X"},
        {"servo.1", "servo.00D", "servo.00T", "servo.00X"},
        {"..\\userdata\\Set.ab", "..\\userdata\\Set.abD", "..\\userdata\\Set.abT", "..\\userdata\\Set.abX"},
        {"dir/set.12t", "dir/set.12D", "dir/set.12T", "dir/set.12X"},
    };
    for (const Case& c : cases) {
        ParaBase base;
        base.InitFile(c.path);
        EXPECT_STREQ(base.GetPath(kDFilePath), c.d) << c.path;
        EXPECT_STREQ(base.GetPath(kTFilePath), c.t) << c.path;
        EXPECT_STREQ(base.GetPath(kXFilePath), c.x) << c.path;
    }
}

TEST_F(FileSetTest, FileBaseExistsWhenAnyFileOfTheSetOpens) {
    ParaBase base;
    base.InitFile(kSet.c_str());
    EXPECT_FALSE(base.FileBaseExists());
    for (const char* name : {"SET.00T", "set.00X", "set.00D"}) {
        WriteUserFile(name, "x");
        EXPECT_TRUE(base.FileBaseExists()) << name;
        std::filesystem::remove(testsupport::RuntimePath(std::string("userdata/") + name));
    }
    std::filesystem::create_directory(testsupport::RuntimePath("userdata/set.00D"));
    EXPECT_FALSE(base.FileBaseExists());
}

// Record bytes laid out by hand: 64 bytes, little-endian, value-object bytes
// 56..59 zero.
std::string Record(std::initializer_list<std::pair<int, std::string>> fields) {
    std::string record(kEntryRecordSize, '\0');
    for (const auto& [offset, bytes] : fields) record.replace(offset, bytes.size(), bytes);
    return record;
}

TEST_F(FileSetTest, WrittenFilesHoldTheTableRecordsStringsArraysAndTexts) {
    ParaBase base;
    ParameterEntry& mode = Define(base,
                                  {.number = 1,
                                   .name = "MODE",
                                   .type = kTypeUsign8,
                                   .maximum = 2,
                                   .value = 1,
                                   .flags = kFlagValueTexts,
                                   .unit = "rpm",
                                   .access = 0x21,
                                   .defaultValue = 2});
    mode.kind = '1';
    mode.extraWords[0] = 0x1234;
    mode.KPGroup = 3;
    mode.SCGroup = 4;
    mode.markA = 1;
    mode.markB = 1;
    Define(base, {.number = 500, .name = "AXNAM", .type = kTypeString});
    base.SetTextObject(500, std::make_unique<dstring>("Axis one"));
    Define(base, {.number = 999, .name = "LIST", .type = kTypeUsign32, .maximum = -1, .flags = kFlagArray}, 2);
    SetElements(base, 999, {-1, 5});
    base.GetValueTextTable().AddFirstText(1, "Off");
    base.GetValueTextTable().AddNextText(1, "");
    base.GetValueTextTable().AddNextText(1, "Speed control");
    base.TableLoaded = 1;
    Save(base, kSet);

    std::string table(64000, '\0');
    table.replace(1 * 64,
                  64,
                  Record({{0, std::string("\x01\x00", 2)},
                          {2, std::string("MODE \0", 6)},
                          {8, "rpm"},
                          {24, "1"},
                          {25, "2"},
                          {32, std::string("\x02\x00\x00\x00", 4)},
                          {36, std::string("\x02\x00\x00\x00", 4)},
                          {40, std::string("\x01\x00\x00\x00", 4)},
                          {44, "\x21"},
                          {46, std::string("\x20\x00", 2)},
                          {48, "\x34\x12"},
                          {52, "\x03\x04\x01\x01"},
                          {60, "\x01\x01"}}));
    table.replace(500 * 64, 64, Record({{0, "\xF4\x01"}, {2, "AXNAM"}, {25, ";"}, {54, "\x01"}, {60, "\x01"}}));
    table.replace(999 * 64,
                  64,
                  Record({{0, "\xE7\x03"},
                          {2, "LIST "},
                          {25, ">"},
                          {32, "\xFF\xFF\xFF\xFF"},
                          {46, std::string("\x00\x04", 2)},
                          {54, "\x01"},
                          {60, "\x01"}}));
    const std::string d = ReadUserFile("set.00D");
    ASSERT_EQ(d.size(), 64000u);
    for (int record = 0; record < kParameterCount; ++record)
        EXPECT_EQ(d.substr(record * 64, 64), table.substr(record * 64, 64)) << "record " << record;

    EXPECT_EQ(ReadUserFile("set.00X"), "[ParaStrings]\r\n500=Axis one\r\n\r\n[Field999]\r\nSize=2\r\n0=-1\r\n1=5\r\n");
    // A parameter with an empty text or a text of several words has its
    // texts in quotes.
    EXPECT_EQ(ReadUserFile("set.00T"), "   1=\"Off\" \"\" \"Speed control\" \r\n");
}

// Whether two entries agree in every byte of their records but marks A and
// the value-object bytes (55..59).
void ExpectSameRecord(const ParameterEntry& a, const ParameterEntry& b, int number) {
    uint8_t ra[kEntryRecordSize], rb[kEntryRecordSize];
    WriteEntryRecord(a, ra);
    WriteEntryRecord(b, rb);
    for (int i = 0; i < kEntryRecordSize; ++i) {
        if (i >= entry_record::kMarkA && i < entry_record::kTransfer) continue;
        EXPECT_EQ(ra[i], rb[i]) << "parameter " << number << " byte " << i;
    }
}

TEST_F(FileSetTest, RoundTripOfEveryTypeReproducesRecordsAndValues) {
    ParaBase written;
    FillEveryType(written);
    Save(written, kSet);

    BusTransferFlag = false;
    auto read = Load(kSet);
    ASSERT_EQ(read->TableLoaded, 1) << read->MessageBuffer;
    EXPECT_EQ(read->EntryCount, kParameterCount);
    for (int i = 0; i < kParameterCount; ++i) {
        ExpectSameRecord(*written.GetEntry(i), *read->GetEntry(i), i);
        EXPECT_EQ(read->GetEntry(i)->markA, written.IsPresent(i) ? 1 : 0) << i;
        EXPECT_EQ(Elements(*read, i), Elements(written, i)) << i;
        if (written.IsPresent(i) && written.GetEntry(i)->type == kTypeString) {
            EXPECT_EQ(Text(*read, i), Text(written, i) == "(none)" ? "" : Text(written, i)) << i;
        }
    }
    EXPECT_EQ(Elements(*read, 209), (std::vector<int32_t>{-1, 0}));
    EXPECT_EQ(Text(*read, 16), " two  words ");
    EXPECT_STREQ(read->GetValueTextTable().GetValueText(3, 0), "Off");
    EXPECT_STREQ(read->GetValueTextTable().GetValueText(3, 1), "");
    EXPECT_STREQ(read->GetValueTextTable().GetValueText(3, 2), "Speed control");
    EXPECT_STREQ(read->GetPath(kDescriptionFilePath), "..\\LANGUAGE\\044\\tarn_std.PIT");
    EXPECT_STREQ(read->GetParameterDescription(1), "from tarn_std");
    EXPECT_NE(ProgramLog().find("ParaBase->ReadFileBase: ..\\userdata\\set.00D\n"), std::string::npos);
    EXPECT_NE(ProgramLog().find("ParaBase->WriteFileBase: ..\\userdata\\set.00D\n"), std::string::npos);
    EXPECT_FALSE(BusTransferFlag);
}

// The texts of `number` as the table gives them, value by value.
std::vector<std::string> ValueTexts(const ParaBase& base, int number) {
    std::vector<std::string> texts;
    for (int value = 0; value < 256; ++value) {
        const char* text = const_cast<ParaBase&>(base).GetValueTextTable().GetValueText(number, value);
        if (text == nullptr) break;
        texts.emplace_back(text);
    }
    return texts;
}

TEST_F(FileSetTest, ValueTextsOfAnyLengthAndWithBlanksSurviveTheSet) {
    struct Case {
        const char* what;
        std::vector<std::string> texts;
    };
    std::vector<std::string> full;
    for (int i = 0; i < 256; ++i) full.push_back(std::string(29, 'A' + i % 26) + platform::Format("%03d", i));
    std::vector<std::string> twelve;
    for (int i = 0; i < 256; ++i) twelve.push_back(platform::Format("TEXT%08d", i));
    const Case cases[] = {
        {"256 texts of 32 characters", full},
        {"256 texts of 12 characters", twelve},
        {"texts with blanks", {"Speed control", " ON  (speed)", "", "-----", "say \"yes\"", "\"", "trail "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParaBase written;
        FillEveryType(written);
        ValueTextTable& texts = written.GetValueTextTable();
        texts.AddFirstText(4, c.texts[0].c_str());
        for (size_t i = 1; i < c.texts.size(); ++i) texts.AddNextText(4, c.texts[i].c_str());
        Save(written, kSet);
        auto read = Load(kSet);
        ASSERT_EQ(read->TableLoaded, 1) << read->MessageBuffer;
        EXPECT_EQ(ValueTexts(*read, 4), ValueTexts(written, 4));
        EXPECT_EQ(ValueTexts(*read, 3), ValueTexts(written, 3));
    }
}

TEST_F(FileSetTest, TextFileOfEarlierWritesReadsAsBefore) {
    ParaBase base;
    FillEveryType(base);
    Save(base, kSet);
    // Lines of plain tokens as they were written before texts were quoted;
    // the second is longer than a line used to be read.
    std::string longLine = "  12 ";
    for (int i = 0; i < 256; ++i) longLine += platform::Format("TEXT%08d ", i);
    WriteUserFile("set.00T", "   3 Off ----- Speed \r\n" + longLine + "\r\n 403 E_NONE \r\n");
    auto read = Load(kSet);
    ASSERT_EQ(read->TableLoaded, 1) << read->MessageBuffer;
    EXPECT_EQ(ValueTexts(*read, 3), (std::vector<std::string>{"Off", " ", "Speed"}));
    const std::vector<std::string> twelve = ValueTexts(*read, 12);
    ASSERT_EQ(twelve.size(), 256u);
    EXPECT_EQ(twelve[255], "TEXT00000255");
    EXPECT_EQ(ValueTexts(*read, 403), (std::vector<std::string>{"E_NONE"}));

    // Written again, such a set keeps its bytes.
    read->InitFile(kSet.c_str());
    ASSERT_EQ(read->WriteFileBase(), 0) << read->MessageBuffer;
    EXPECT_EQ(ReadUserFile("set.00T"), "   3 Off ----- Speed \r\n" + longLine + "\r\n 403 E_NONE \r\n");
}

TEST_F(FileSetTest, DamagedOrMissingFilesAreRefused) {
    auto replaceInX = [](const std::string& from, const std::string& to) {
        std::string x = ReadUserFile("set.00X");
        const size_t at = x.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        WriteUserFile("set.00X", x.replace(at, from.size(), to));
    };
    const std::string d = "Cannot open file \"..\\userdata\\set.00D\"";
    const std::string x = "Strings file \"..\\userdata\\set.00X\" is invalid or unreadable";
    struct Case {
        const char* what;
        std::function<void()> damage;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {"D one byte short", [] { WriteUserFile("set.00D", ReadUserFile("set.00D").substr(0, 63999)); }, 1, d},
        {"D one byte long", [] { WriteUserFile("set.00D", ReadUserFile("set.00D") + "x"); }, 1, d},
        {"D missing", [] { std::filesystem::remove(testsupport::RuntimePath("userdata/set.00D")); }, 1, d},
        {"array without its section", [&] { replaceInX("[Field205]", "[Other205]"); }, 21, x},
        // 16384 INT32 elements are 65536 bytes, one more than an array holds.
        {"size beyond an array", [&] { replaceInX("[Field208]\r\nSize=3", "[Field208]\r\nSize=16384"); }, 21, x},
        // 70000 would be 4464 when cut to 16 bits.
        {"size beyond 16 bits", [&] { replaceInX("[Field200]\r\nSize=3", "[Field200]\r\nSize=70000"); }, 21, x},
        {"negative size", [&] { replaceInX("[Field201]\r\nSize=2", "[Field201]\r\nSize=-1"); }, 21, x},
        {"X is a directory",
         [] {
             std::filesystem::remove(testsupport::RuntimePath("userdata/set.00X"));
             std::filesystem::create_directory(testsupport::RuntimePath("userdata/set.00X"));
         },
         21,
         x},
        {"T missing",
         [] { std::filesystem::remove(testsupport::RuntimePath("userdata/set.00T")); },
         2,
         "Cannot read file \"..\\userdata\\set.00T\""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(testsupport::RuntimePath("userdata/set.00X"));
        ParaBase written;
        FillEveryType(written);
        Save(written, kSet);
        c.damage();
        ParaBase read;
        read.InitFile(kSet.c_str());
        EXPECT_EQ(read.ReadFileBase(), c.code) << c.what;
        EXPECT_EQ(read.MessageBuffer, c.message) << c.what;
        EXPECT_EQ(read.TableLoaded, 0) << c.what;
    }
}

TEST_F(FileSetTest, EmptyBaseIsNotWritten) {
    ParaBase base;
    Define(base, {.number = 5, .name = "X"});
    base.InitFile(kSet.c_str());
    EXPECT_EQ(base.WriteFileBase(), kParaNoValidBase);
    EXPECT_STREQ(base.MessageBuffer, "No valid parameterbase available for this operation");
    EXPECT_TRUE(std::filesystem::is_empty(testsupport::RuntimePath("userdata")));
}

TEST_F(FileSetTest, ReadingAgainReplacesTheValuesAndAFailureUnloads) {
    ParaBase first;
    FillEveryType(first);
    Save(first, kSet);
    ParaBase second;
    FillEveryType(second);
    *second.GetEntry(200) = ParameterEntry{};  // no array 200 in the second set
    Define(second, {.number = 201, .name = "ARR", .type = kTypeUsign16, .flags = kFlagArray}, 4);
    SetElements(second, 201, {9, 8, 7, 6});
    Save(second, UserPath("other.00D"));

    auto base = Load(kSet);
    ASSERT_EQ(base->TableLoaded, 1);
    base->InitFile(UserPath("other.00D").c_str());
    ASSERT_EQ(base->ReadFileBase(), 0) << base->MessageBuffer;
    EXPECT_EQ(base->GetArrayObject(200), nullptr);
    EXPECT_EQ(Elements(*base, 201), (std::vector<int32_t>{9, 8, 7, 6}));
    EXPECT_STREQ(base->GetValueTextTable().GetValueText(3, 0), "Off");

    std::filesystem::remove(testsupport::RuntimePath("userdata/other.00T"));
    EXPECT_EQ(base->ReadFileBase(), kParaCannotReadFile);
    EXPECT_EQ(base->TableLoaded, 0);
}

TEST_F(FileSetTest, DescriptionFileFollowsTheFirmware) {
    struct Case {
        uint16_t code;
        float version;
        float alternate;
        std::vector<std::string> files;  // besides tarn_std
        bool standard;                   // tarn_std is there
        int result;
        const char* path3;
    };
    const Case cases[] = {
        {5123, 3.6f, 0.0f, {"5_003_60", "5_003_55"}, true, 0, "5_003_60"},
        {5123, 3.6f, 0.0f, {"5_003_55"}, true, 0, "5_003_55"},
        {5123, 3.6f, 0.0f, {"5_004_00"}, true, 0, "5_004_00"},
        {5123, 3.6f, 0.0f, {"6_003_60"}, true, 0, "tarn_std"},
        {1234, 120.5f, 0.0f, {"1_120_50", "1_000_00"}, true, 0, "1_120_50"},
        // The nearest of the same main version still counts as found.
        {1234, 120.5f, 0.0f, {"1_000_00", "1_120_40"}, true, 0, "1_120_40"},
        {1234, 120.5f, 0.0f, {"1_000_00", "1_121_50"}, true, 0, "1_000_00"},
        // Class 1 from version 100 on takes "1_000_00" even when it is missing.
        {1234, 120.5f, 0.0f, {"1_003_55"}, true, 0, "tarn_std"},
        {5123, 120.5f, 3.55f, {"5_003_55", "5_121_50"}, true, 0, "5_003_55"},
        {5123, 3.6f, 0.0f, {}, false, kParaNoDescriptionFile, "tarn_std"},
    };
    for (const Case& c : cases) {
        for (const std::string& name : c.files) WriteDescriptionFile(name);
        if (!c.standard) RemoveDescriptionFile("tarn_std");
        ParaBase written;
        FillEveryType(written);
        written.GetEntry(91)->value = c.code;
        float versions[] = {c.version, c.alternate};
        std::memcpy(&written.GetEntry(92)->value, &versions[0], 4);
        std::memcpy(&written.GetEntry(90)->value, &versions[1], 4);
        Save(written, kSet);

        ParaBase read;
        read.InitFile(kSet.c_str());
        const std::string label = std::to_string(c.code) + " " + std::to_string(c.version) + " " + c.path3;
        EXPECT_EQ(read.ReadFileBase(), c.result) << label;
        const std::string path3 = std::string("..\\LANGUAGE\\044\\") + c.path3 + ".PIT";
        EXPECT_EQ(read.GetPath(kDescriptionFilePath), path3) << label;
        if (c.result == 0) {
            EXPECT_EQ(read.GetParameterDescription(1), "from " + std::string(c.path3)) << label;
        } else {
            EXPECT_EQ(read.MessageBuffer, "Parameter description file \"" + path3 + "\" not found");
            EXPECT_EQ(read.TableLoaded, 0);
        }
        for (const std::string& name : c.files) RemoveDescriptionFile(name);
        WriteDescriptionFile("tarn_std");
    }
}

TEST_F(FileSetTest, CopiesOwnTheirValueObjects) {
    ParaBase written;
    FillEveryType(written);
    Save(written, kSet);
    auto source = Load(kSet);
    ASSERT_EQ(source->TableLoaded, 1);

    ParaBase copy(*source);
    EXPECT_EQ(copy.TableLoaded, 1);
    EXPECT_STREQ(copy.GetPath(kDFilePath), kSet.c_str());
    EXPECT_STREQ(copy.GetPath(kDescriptionFilePath), "..\\LANGUAGE\\044\\tarn_std.PIT");
    SetElements(copy, 203, {7, 7, 7});
    copy.GetTextObject(12)->AssignText("changed");
    EXPECT_EQ(Elements(*source, 203), (std::vector<int32_t>{-1, -32768, 32767}));
    EXPECT_EQ(Text(*source, 12), "Axis one");

    // A loaded base that becomes a copy drops its own objects; the copy's
    // texts go to its own T file.
    ParaBase target;
    FillEveryType(target);
    target.InitFile(UserPath("target.00D").c_str());
    ASSERT_EQ(target.CopyBase(*source), 0) << target.MessageBuffer;
    source.reset();
    EXPECT_EQ(Elements(target, 203), (std::vector<int32_t>{-1, -32768, 32767}));
    EXPECT_EQ(Elements(copy, 203), (std::vector<int32_t>{7, 7, 7}));
    EXPECT_EQ(Text(target, 12), "Axis one");
    EXPECT_EQ(ReadUserFile("target.00T"), "   3=\"Off\" \"\" \"Speed control\" \r\n");
    EXPECT_STREQ(target.GetPath(kDFilePath), UserPath("target.00D").c_str());
    EXPECT_NE(ProgramLog().find("ParaBase->CopyBase: \n"), std::string::npos);
}

TEST_F(FileSetTest, CopyOfABaseWithoutFilesIsNotLoaded) {
    ParaBase source;
    FillEveryType(source);
    ParaBase copy(source);
    EXPECT_EQ(copy.TableLoaded, 0);
    EXPECT_STREQ(copy.MessageBuffer, "Cannot read file \"\"");
}

TEST_F(FileSetTest, FailedWriteLeavesTheOldSet) {
    ParaBase base;
    FillEveryType(base);
    Save(base, kSet);
    const std::string oldD = ReadUserFile("set.00D");
    const std::string oldT = ReadUserFile("set.00T");
    std::filesystem::remove(testsupport::RuntimePath("userdata/set.00X"));
    std::filesystem::create_directory(testsupport::RuntimePath("userdata/set.00X"));

    base.GetEntry(8)->value = 99;
    base.GetValueTextTable().AddFirstText(8, "changed");
    EXPECT_EQ(base.WriteFileBase(), kParaStringsFileInvalid);
    EXPECT_EQ(ReadUserFile("set.00D"), oldD);
    EXPECT_EQ(ReadUserFile("set.00T"), oldT);
}

TEST_F(FileSetTest, ListedParametersAreTheOnlyOnesMarkedInTheFile) {
    for (uint16_t code : {4001, 5123}) {
        ParaBase base;
        FillEveryType(base);
        base.GetEntry(91)->value = code;
        for (int number : {727, 728, 729, 730}) Define(base, {.number = number, .name = "L"});
        base.InitFile(kSet.c_str());
        ASSERT_EQ(base.MarkListedUsedInFile(), 0) << base.MessageBuffer;
        const std::string d = ReadUserFile("set.00D");
        for (int number : {5, 91, 726, 727, 728, 729, 730, 731}) {
            const bool listed = code == 4001 && number >= 727 && number <= 730;
            EXPECT_EQ(d[number * 64 + 60], listed ? 1 : 0) << code << " " << number;
        }
        EXPECT_EQ(base.GetEntry(5)->transfer, 1);
    }
}

}  // namespace
