// The base object itself: construction, progress slots, error messages from
// the message file (and from hostile or missing texts), and the write lock.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_write_lock.h"
#include "parameters/parabase/tests/parabase_fixture.h"

namespace {

using parabasetest::Define;
using parabasetest::ParaBaseTest;

class BaseObjectTest : public ParaBaseTest {};

// A base whose message templates are given by the test.
class TemplateBase : public ParaBase {
public:
    using ParaBase::SetMessage;
    const char* GetErrorText(int) override { return tmpl.c_str(); }
    std::string tmpl;
};

TEST_F(BaseObjectTest, EmptyBaseHasNoBusNoFilesAndItsScratchPaths) {
    DevicesUncoupled = true;
    ParaBase base;
    EXPECT_FALSE(DevicesUncoupled);
    EXPECT_EQ(base.GetBus(), nullptr);
    EXPECT_EQ(base.TableLoaded, 0);
    EXPECT_EQ(base.CurrentParameter, 0);
    for (int i = 0; i < kFilePathCount; ++i) EXPECT_STREQ(base.GetPath(i), "");
    EXPECT_STREQ(base.GetScratchPath(0), "..\\TMP\\Scope.HEX");
    EXPECT_STREQ(base.GetScratchPath(1), "..\\TMP\\Scope.DAT");
    EXPECT_STREQ(base.GetScratchPath(2), "..\\TMP\\Scope.SDC");
    EXPECT_FALSE(base.IsPresent(0));

    base.SetPath(kDFilePath, std::string(400, 'p').c_str());
    EXPECT_EQ(std::strlen(base.GetPath(kDFilePath)), size_t{kParaPathSize - 1});
}

TEST_F(BaseObjectTest, CancelRequestStopsTheNextProgressStepOnce) {
    ParaBase base;
    EXPECT_TRUE(base.ContinueProgress(10.0f));
    base.CancelRequested = 1;
    EXPECT_FALSE(base.ContinueProgress(20.0f));
    EXPECT_EQ(base.CancelRequested, 0);
    EXPECT_TRUE(base.ContinueProgress(30.0f));
}

TEST_F(BaseObjectTest, MessageTemplatesComeFromTheMessageFile) {
    ParaBase base;
    EXPECT_STREQ(base.GetErrorText(6), "There's no valid parameter on number %d");
    EXPECT_STREQ(base.GetErrorText(0x10019), "No bus attached to this parameterbase");
    Define(base, {.number = 17, .name = "MODE", .type = kTypeUsign8, .maximum = 3});
    EXPECT_EQ(base.SetValueU32(17, 4), kParaOutOfRange);
    EXPECT_STREQ(base.MessageBuffer, "New Value for parameter 17-MODE  (4 ) is out of valid range");
}

TEST_F(BaseObjectTest, WithoutMessageFileTheProgramsOwnTextsAreUsed) {
    CloseApplicationFiles();
    ParaBase base;
    uint32_t v = 0;
    EXPECT_EQ(base.GetValueU32(7, &v), kParaNoParameter);
    EXPECT_STREQ(base.MessageBuffer, "There's no valid parameter on number 7");
    Define(base, {.number = 7, .name = "SPEED", .type = kTypeInt16});
    EXPECT_EQ(base.GetValueU32(7, &v), kParaTypeMismatch);
    EXPECT_STREQ(base.MessageBuffer,
                 "Mismatch by type (INT16) of parameter 7-SPEED and type of delivered variable "
                 "((usign32)) of actual function");
}

TEST_F(BaseObjectTest, HostileTemplatesNeverReachTheFormatterUnchecked) {
    struct Case {
        const char* tmpl;
        const char* message;  // of GetValueU32 on an absent parameter 9
    };
    const Case cases[] = {
        {"%s%s%s%s%n", "There's no valid parameter on number 9"},  // falls back to the own text
        {"No. %d", "No. 9"},
        {"%d %d", "There's no valid parameter on number 9"},
        {"%p", "There's no valid parameter on number 9"},
        {"Number %u!", "Number 9!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tmpl);
        TemplateBase base;
        base.tmpl = c.tmpl;
        uint32_t v = 0;
        EXPECT_EQ(base.GetValueU32(9, &v), kParaNoParameter);
        EXPECT_STREQ(base.MessageBuffer, c.message);
    }
    // A code without own text keeps the checked text; a huge field stays in
    // the buffer.
    TemplateBase base;
    base.tmpl = "%4000s|%s";
    EXPECT_EQ(base.WriteBusParameter(1, 0, 1), kParaNoBus);
    EXPECT_EQ(std::string(base.MessageBuffer), "%4000s|%s");
    Define(base, {.number = 1, .name = "A", .type = kTypeUsign8});
    base.tmpl = "%4000s";
    base.SetMessage(kParaEmptyGroup, {"x"});
    EXPECT_EQ(std::strlen(base.MessageBuffer), size_t{kMessageBufferSize - 1});
}

TEST(ParaWriteLock, OnlyTheHolderChangesTheLock) {
    ParaWriteLock lock;
    EXPECT_FALSE(lock.IsHeld());
    EXPECT_FALSE(lock.Protect(5, 10));
    EXPECT_FALSE(lock.AllowNextWrite(5));
    ASSERT_TRUE(lock.Acquire(5));
    EXPECT_FALSE(lock.Acquire(6));
    EXPECT_FALSE(lock.Protect(6, 10));
    EXPECT_FALSE(lock.Release(6));
    EXPECT_TRUE(lock.Protect(5, 10));
    EXPECT_FALSE(lock.Protect(5, 1000));
    EXPECT_TRUE(lock.IsProtected(10));
    EXPECT_FALSE(lock.IsProtected(11));
    EXPECT_FALSE(lock.IsProtected(-1));
    EXPECT_FALSE(lock.TakeWritePermission());
    EXPECT_TRUE(lock.AllowNextWrite(5));
    EXPECT_TRUE(lock.TakeWritePermission());
    EXPECT_FALSE(lock.TakeWritePermission());
    EXPECT_TRUE(lock.Release(5));
    EXPECT_FALSE(lock.IsHeld());
    EXPECT_FALSE(lock.IsProtected(10));
    EXPECT_TRUE(lock.Acquire(6));
}

}  // namespace
