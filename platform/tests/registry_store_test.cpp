#include "platform/files/registry_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "platform/files/text_file.h"
#include "platform/tests/scoped_env.h"
#include "testsupport/test_env.h"

namespace {

using platform::RegistryStatus;
using platform::RegistryStore;
using platform_test::ScopedEnv;

constexpr size_t kPathBytes = 260;  // the buffers the program reads values into

class RegistryStoreTest : public ::testing::Test {
protected:
    std::filesystem::path file_ = testsupport::RuntimePath("TMP/store/registry.ini");
    RegistryStore store_{file_.string()};
};

TEST_F(RegistryStoreTest, WritesKeysAndValuesInStoredOrder) {
    ASSERT_EQ(store_.SetValue("HKCR\\Excel.CSV\\shell\\Open\\command", "", "\"calc\" \"%1\""), RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue("HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM", "/dev/ttyS0", "COM1"),
              RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue("hklm\\hardware\\devicemap\\serialcomm", "/dev/ttyUSB0", "COM3"), RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue("HKLM\\HARDWARE\\DEVICEMAP\\SERIALCOMM", "/DEV/TTYS0", "COM2"), RegistryStatus::kOk);
    ASSERT_EQ(store_.CreateKey("HKCR\\CLSID\\{X}\\Control"), RegistryStatus::kOk);
    EXPECT_EQ(testsupport::ReadFile(file_),
              "[HKEY_CLASSES_ROOT\\Excel.CSV\\shell\\Open\\command]\n"
              "@=\"\"calc\" \"%1\"\"\n"  // a value that begins with a quote is quoted
              "\n"
              "[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM]\n"
              "/dev/ttyS0=COM2\n"
              "/dev/ttyUSB0=COM3\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{X}\\Control]\n");
}

TEST_F(RegistryStoreTest, ReadsWithinByteLimits) {
    const std::string key = "HKCR\\.txt";
    ASSERT_EQ(store_.SetValue(key, "", "txtfile"), RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue(key, "Content Type", std::string(kPathBytes - 1, 'c')), RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue(key, "Long", std::string(kPathBytes, 'l')), RegistryStatus::kOk);

    struct Case {
        const char* name;
        size_t limit;
        RegistryStatus status;
        std::string data;
        size_t needed;
    } cases[] = {
        {"", kPathBytes, RegistryStatus::kOk, "txtfile", 8},
        {"@", kPathBytes, RegistryStatus::kOk, "txtfile", 8},
        {"", 8, RegistryStatus::kOk, "txtfile", 8},
        {"", 7, RegistryStatus::kMoreData, "", 8},
        {"content type", kPathBytes, RegistryStatus::kOk, std::string(kPathBytes - 1, 'c'), kPathBytes},
        {"Long", kPathBytes, RegistryStatus::kMoreData, "", kPathBytes + 1},
        {"Missing", kPathBytes, RegistryStatus::kNotFound, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " limit " + std::to_string(c.limit));
        std::string data;
        size_t needed = 0;
        EXPECT_EQ(store_.ReadValue(key, c.name, c.limit, &data, &needed), c.status);
        EXPECT_EQ(data, c.data);
        EXPECT_EQ(needed, c.needed);
    }
    std::string data;
    EXPECT_EQ(store_.ReadValue("HKCR\\.doc", "", kPathBytes, &data), RegistryStatus::kNotFound);
    EXPECT_EQ(store_.ReadValue("HKEY_NOWHERE\\.txt", "", kPathBytes, &data), RegistryStatus::kInvalid);
}

TEST_F(RegistryStoreTest, EnumeratesValuesByIndexInStoredOrder) {
    const std::string key = "HKCR\\Applications\\AcroRD32.exe\\shell\\Read\\command";
    ASSERT_EQ(store_.SetValue(key, "Zeta", "z"), RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue(key, "", "reader \"%1\""), RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue(key, "Alpha", "a"), RegistryStatus::kOk);
    std::vector<std::pair<std::string, std::string>> seen;
    for (size_t i = 0;; ++i) {
        std::string name, data;
        RegistryStatus status = store_.EnumValue(key, i, kPathBytes, kPathBytes, &name, &data);
        if (status == RegistryStatus::kNoMoreItems) break;
        ASSERT_EQ(status, RegistryStatus::kOk);
        seen.emplace_back(name, data);
    }
    EXPECT_EQ(seen,
              (std::vector<std::pair<std::string, std::string>>{{"Zeta", "z"}, {"", "reader \"%1\""}, {"Alpha", "a"}}));
    std::string name, data;
    EXPECT_EQ(store_.EnumValue(key, 1, kPathBytes, 11, &name, &data), RegistryStatus::kMoreData);
    EXPECT_EQ(store_.EnumValue(key, 1, kPathBytes, 12, &name, &data), RegistryStatus::kOk);
    EXPECT_EQ(store_.EnumValue(key, 0, 4, kPathBytes, &name, &data), RegistryStatus::kMoreData);
    EXPECT_EQ(store_.EnumValue("HKCR\\Missing", 0, kPathBytes, kPathBytes, &name, &data), RegistryStatus::kNotFound);
}

TEST_F(RegistryStoreTest, DeletesAKeyTreeAndNothingBesideIt) {
    ASSERT_EQ(store_.SetValue("HKCR\\CLSID\\{A}", "", "A"), RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue("HKCR\\CLSID\\{A}\\InprocServer32", "", "/lib/a.so"), RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue("HKCR\\CLSID\\{A}\\MiscStatus\\1", "", "132241"), RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue("HKCR\\CLSID\\{A}x", "", "neighbour"), RegistryStatus::kOk);
    ASSERT_EQ(store_.SetValue("HKCR\\CLSID\\{B}", "", "B"), RegistryStatus::kOk);
    EXPECT_EQ(store_.KeyExists("HKCR\\CLSID"), RegistryStatus::kOk);  // a parent exists by its children
    EXPECT_EQ(store_.KeyExists("hkcr\\clsid\\{a}\\miscstatus"), RegistryStatus::kOk);

    EXPECT_EQ(store_.DeleteKeyTree("HKEY_CLASSES_ROOT\\clsid\\{a}"), RegistryStatus::kOk);
    EXPECT_EQ(store_.KeyExists("HKCR\\CLSID\\{A}"), RegistryStatus::kNotFound);
    EXPECT_EQ(store_.KeyExists("HKCR\\CLSID\\{A}\\MiscStatus"), RegistryStatus::kNotFound);
    EXPECT_EQ(store_.DeleteKeyTree("HKCR\\CLSID\\{A}"), RegistryStatus::kNotFound);
    EXPECT_EQ(testsupport::ReadFile(file_),
              "[HKEY_CLASSES_ROOT\\CLSID\\{A}x]\n@=neighbour\n\n[HKEY_CLASSES_ROOT\\CLSID\\{B}]\n@=B\n");
}

TEST_F(RegistryStoreTest, RefusesTextsTheFileCannotHoldAndWritesNothing) {
    EXPECT_EQ(store_.SetValue("SOFTWARE\\NoHive", "", "x"), RegistryStatus::kInvalid);
    EXPECT_EQ(store_.SetValue("HKCR\\a]b", "", "x"), RegistryStatus::kInvalid);
    EXPECT_EQ(store_.SetValue("HKCR\\Key", "a=b", "x"), RegistryStatus::kInvalid);
    EXPECT_EQ(store_.SetValue("HKCR\\Key", "", "two\nlines"), RegistryStatus::kInvalid);
    using namespace std::string_view_literals;
    EXPECT_EQ(store_.SetValue("HKCR\\Key", "", "nul\0byte"sv), RegistryStatus::kInvalid);
    EXPECT_EQ(store_.SetValue("HKCR\\Key", "nul\0name"sv, "x"), RegistryStatus::kInvalid);
    EXPECT_EQ(store_.SetValue("HKCR\\nul\0key"sv, "", "x"), RegistryStatus::kInvalid);
    EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(RegistryStoreTest, MissingOrEmptyStoreIsEmpty) {
    std::string data;
    EXPECT_EQ(store_.KeyExists("HKLM\\HARDWARE\\DEVICEMAP\\SERIALCOMM"), RegistryStatus::kNotFound);
    EXPECT_EQ(store_.ReadValue("HKCR\\.txt", "", kPathBytes, &data), RegistryStatus::kNotFound);
    EXPECT_FALSE(std::filesystem::exists(file_));  // reading creates nothing

    testsupport::WriteFile(file_, "");
    EXPECT_EQ(store_.KeyExists("HKCR\\.txt"), RegistryStatus::kNotFound);
    ASSERT_EQ(store_.SetValue("HKCR\\.txt", "", "txtfile"), RegistryStatus::kOk);
    EXPECT_EQ(testsupport::ReadFile(file_), "[HKEY_CLASSES_ROOT\\.txt]\n@=txtfile\n");
    EXPECT_EQ(store_.LastError(), "");
}

TEST_F(RegistryStoreTest, DamagedStoreGivesAClearErrorAndIsNeverOverwritten) {
    struct Case {
        std::string content;
        std::string error_after_path;
    } cases[] = {
        {std::string("[HKEY_CLASSES_ROOT\\.txt]\n@=txt") + '\0' + "file\n",
         " is damaged: it holds a NUL byte. It is left unchanged."},
        {"[HKEY_CLASSES_ROOT\\.txt]\n@=txtfile\n[HKEY_CLASSES_ROOT\\CLS",
         " is damaged at line 3: it is no key, value or comment. It is left unchanged."},
        {"@=orphan\n[HKEY_CLASSES_ROOT\\.txt]\n",
         " is damaged: the value \"@\" stands before any key. It is left unchanged."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error_after_path);
        testsupport::WriteFile(file_, c.content);
        std::string data;
        EXPECT_EQ(store_.ReadValue("HKCR\\.txt", "", kPathBytes, &data), RegistryStatus::kDamaged);
        EXPECT_EQ(store_.SetValue("HKCR\\.txt", "", "new"), RegistryStatus::kDamaged);
        EXPECT_EQ(store_.DeleteKeyTree("HKCR\\.txt"), RegistryStatus::kDamaged);
        EXPECT_EQ(store_.LastError(), "The registry store \"" + file_.string() + "\"" + c.error_after_path);
        EXPECT_EQ(testsupport::ReadFile(file_), c.content);
    }
    ASSERT_FALSE(testsupport::LoggedLines().empty());  // the user finds the reason in the log
}

TEST_F(RegistryStoreTest, StoreThatIsADirectoryCannotBeRead) {
    std::filesystem::create_directories(file_);
    EXPECT_EQ(store_.SetValue("HKCR\\.txt", "", "new"), RegistryStatus::kDamaged);
    EXPECT_EQ(store_.LastError(),
              "The registry store \"" + file_.string() + "\" cannot be read: " + platform::SystemErrorText(EISDIR));
    EXPECT_TRUE(std::filesystem::is_directory(file_));
}

TEST_F(RegistryStoreTest, FailedWriteLeavesTheOldFileIntact) {
    ASSERT_EQ(store_.SetValue("HKCR\\.txt", "", "txtfile"), RegistryStatus::kOk);
    const std::string before = testsupport::ReadFile(file_);

    // A file size limit below the new content makes the write fail even for
    // root, who may write anywhere.
    rlimit old_limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    rlimit small = old_limit;
    small.rlim_cur = before.size() + 8;
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    RegistryStatus status = store_.SetValue("HKCR\\.txt", "Content Type", std::string(200, 'x'));
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_EQ(status, RegistryStatus::kWriteFailed);
    EXPECT_EQ(store_.LastError(),
              "The registry store \"" + file_.string() +
                  "\" could not be written: " + platform::SystemErrorText(EFBIG) + ". The old file is unchanged.");
    EXPECT_EQ(testsupport::ReadFile(file_), before);
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(file_.parent_path()), std::filesystem::directory_iterator()),
        1);  // no temporary file left behind
}

TEST_F(RegistryStoreTest, ChangeWritesAllOrNothing) {
    ASSERT_EQ(store_.SetValue("HKCR\\.txt", "", "txtfile"), RegistryStatus::kOk);
    const std::string before = testsupport::ReadFile(file_);
    EXPECT_EQ(store_.Change([](platform::RegistryTree& tree) {
        tree.SetValue("HKCR\\.txt", "", "changed");
        return tree.SetValue("HKCR\\bad]", "", "x");
    }),
              RegistryStatus::kInvalid);
    EXPECT_EQ(testsupport::ReadFile(file_), before);
}

TEST(ProcessRegistry, TestsUseAFreshStoreInTheirRunTimeTree) {
    std::filesystem::path path = platform::TheRegistry().path();
    EXPECT_EQ(path.lexically_normal().parent_path().parent_path(), testsupport::RuntimeRoot().lexically_normal());
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(platform::TheRegistry().SetValue("HKCU\\Software\\Torvan", "Left", "by a test"), RegistryStatus::kOk);
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(ProcessRegistry, TheNextTestStartsEmptyAgain) {
    EXPECT_FALSE(std::filesystem::exists(platform::TheRegistry().path()));
    EXPECT_EQ(platform::TheRegistry().KeyExists("HKCU\\Software\\Torvan"), RegistryStatus::kNotFound);
}

TEST(ProcessRegistry, DefaultPathFollowsTheEnvironment) {
    ScopedEnv home("HOME", "/home/engineer");
    {
        ScopedEnv explicit_path("TORVAN_REGISTRY", "/etc/torvan/store.ini");
        ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(platform::DefaultRegistryPath(), "/etc/torvan/store.ini");
    }
    {
        ScopedEnv explicit_path("TORVAN_REGISTRY", nullptr);
        ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(platform::DefaultRegistryPath(), "/cfg/torvan/registry.ini");
    }
    {
        ScopedEnv explicit_path("TORVAN_REGISTRY", "");
        ScopedEnv config("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(platform::DefaultRegistryPath(), "/home/engineer/.config/torvan/registry.ini");
    }
}

}  // namespace
