// Message texts by key and by number.
#include <cstring>
#include <string>

#include "app/services/app_files.h"
#include "app/services/message_text.h"
#include "app/services/tests/services_fixture.h"

namespace {

class MessageTextTest : public ServicesTest {};

constexpr const char* kMessages =
    "[Main-Messages]\n"
    "MN_00042=A\\nB\n"
    "MN_00043=0123456789\n"
    "[Activ-Messages]\n"
    "AM_00042=working\n"
    "[RS232-Messages]\n"
    "00012=twelve\n"
    "RS232_M05=No acknowlege of device\n";

TEST_F(MessageTextTest, LineBreakBecomesBlankAndLineFeedOfTheSameLength) {
    OpenFiles(kMessages);
    char buffer[kMessageTextSize];
    EXPECT_STREQ(GetMessageText(buffer, "Main-Messages", "MN_00042", kMessageTextSize), "A \nB");
    EXPECT_EQ(GetMessageString(42, "Main-Messages"), dstring("A\nB"));
}

TEST_F(MessageTextTest, MissingTextsYieldTheKey) {
    OpenFiles(kMessages);
    char buffer[kMessageTextSize];
    EXPECT_STREQ(GetMessageText(buffer, "Main-Messages", "MN_00099", kMessageTextSize), "MN_00099");
    EXPECT_STREQ(GetMessageText(buffer, "No-Such-Section", "MN_00042", kMessageTextSize), "MN_00042");
    EXPECT_STREQ(GetMessageTextFrom(buffer, "RS232-Messages", "RS232_M05", kMessageTextSize),
                 "No acknowlege of device");
    CloseApplicationFiles();
    EXPECT_STREQ(GetMessageText(buffer, "Main-Messages", "MN_00042", kMessageTextSize), "MN_00042");
    EXPECT_EQ(GetMessageString(42, "Main-Messages"), dstring("MN_00042"));
}

TEST_F(MessageTextTest, TextIsCutToTheBuffer) {
    OpenFiles(kMessages);
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_STREQ(GetMessageText(buffer, "Main-Messages", "MN_00043", sizeof buffer), "0123456");
    EXPECT_STREQ(GetMessageText(buffer, "Main-Messages", "MN_00099", 4), "MN_");
}

TEST_F(MessageTextTest, MessageStringBuildsTheKeyFromTheNumberAndSection) {
    OpenFiles(kMessages);
    struct Case {
        unsigned number;
        const char* section;
        const char* text;
    };
    const Case cases[] = {
        {42, "Main-Messages", "A\nB"},
        {42, "Activ-Messages", "working"},
        {12, "RS232-Messages", "twelve"},
        {13, "RS232-Messages", "00013"},
        {7, "Main-Messages", "MN_00007"},
        {99999, "Activ-Messages", "AM_99999"},
        {100000, "Main-Messages", "Invalid message ID"},
        {0xFFFFFFFFu, "Activ-Messages", "Invalid message ID"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(GetMessageString(c.number, c.section).Text()), c.text) << c.number << " " << c.section;
    }
}

}  // namespace
