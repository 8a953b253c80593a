// Drives libPelorus.so the way another program does: loaded by file name,
// functions found by their export names.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>
#include <link.h>

#include <filesystem>
#include <string>
#include <vector>

#include "profilelib/pelorus.h"
#include "testsupport/test_env.h"

namespace {

using testsupport::ReadFile;
using testsupport::RuntimePath;
using testsupport::WriteFile;

std::filesystem::path LibraryPath() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libPelorus.so";
}

// The library, loaded once per process, with its seven functions.
struct Pelorus {
    void* handle = nullptr;
    decltype(&PL_Open) Open = nullptr;
    decltype(&PL_IsValid) IsValid = nullptr;
    decltype(&PL_Save) Save = nullptr;
    decltype(&PL_SetSection) SetSection = nullptr;
    decltype(&PL_SetValue) SetValue = nullptr;
    decltype(&PL_Value) Value = nullptr;
    decltype(&PL_Close) Close = nullptr;

    static Pelorus& Get() {
        static Pelorus library = Load();
        return library;
    }

private:
    template <typename Fn>
    static void Find(void* handle, const char* name, Fn& fn) {
        fn = reinterpret_cast<Fn>(::dlsym(handle, name));
    }
    static Pelorus Load() {
        Pelorus p;
        p.handle = ::dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
        if (p.handle == nullptr) return p;
        Find(p.handle, "PL_Open", p.Open);
        Find(p.handle, "PL_IsValid", p.IsValid);
        Find(p.handle, "PL_Save", p.Save);
        Find(p.handle, "PL_SetSection", p.SetSection);
        Find(p.handle, "PL_SetValue", p.SetValue);
        Find(p.handle, "PL_Value", p.Value);
        Find(p.handle, "PL_Close", p.Close);
        return p;
    }
};

class PelorusTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(pl.handle, nullptr) << ::dlerror();
        ASSERT_TRUE(pl.Open && pl.IsValid && pl.Save && pl.SetSection && pl.SetValue && pl.Value && pl.Close);
        pl.Close();  // the library's one profile must not leak from test to test
    }
    void TearDown() override {
        if (pl.Close) pl.Close();
    }
    Pelorus& pl = Pelorus::Get();
};

// Names of the libraries that libPelorus.so itself needs (DT_NEEDED).
std::vector<std::string> NeededLibraries(void* handle) {
    std::vector<std::string> needed;
    link_map* map = nullptr;
    if (::dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return needed;
    const char* strings = nullptr;
    for (const ElfW(Dyn)* d = map->l_ld; d->d_tag != DT_NULL; ++d)
        if (d->d_tag == DT_STRTAB) strings = reinterpret_cast<const char*>(d->d_un.d_ptr);
    if (strings == nullptr) return needed;
    for (const ElfW(Dyn)* d = map->l_ld; d->d_tag != DT_NULL; ++d)
        if (d->d_tag == DT_NEEDED) needed.emplace_back(strings + d->d_un.d_val);
    return needed;
}

TEST_F(PelorusTest, StandsAloneAndExportsOnlyItsSevenFunctions) {
    const std::vector<std::string> needed = NeededLibraries(pl.handle);
    ASSERT_FALSE(needed.empty());  // the C++ runtime at least: the walk works
    for (const std::string& name : needed) EXPECT_EQ(name.find("torvan"), std::string::npos) << name;
    // The profile class and the platform helpers inside stay private.
    EXPECT_EQ(::dlsym(pl.handle, "_ZN9GwProfileC1EPKc"), nullptr);
    EXPECT_EQ(::dlsym(pl.handle, "_ZNK9GwProfile4readEPKc"), nullptr);
    EXPECT_EQ(::dlsym(pl.handle, "_ZN8platform12ToNativePathESt17basic_string_viewIcSt11char_traitsIcEE"), nullptr);
}

TEST_F(PelorusTest, WrittenValueReadsBackAfterSaveAndReopen) {
    ASSERT_EQ(pl.Open("..\\TMP\\Outside.ini"), 1);
    EXPECT_EQ(pl.IsValid(), 1);
    EXPECT_EQ(pl.SetSection("Options"), 1);
    EXPECT_EQ(pl.SetValue("Language", "49"), 1);
    EXPECT_EQ(pl.SetValue("Title", " Servo "), 1);
    EXPECT_STREQ(pl.Value("LANGUAGE"), "49");
    EXPECT_EQ(pl.Save(), 1);
    EXPECT_EQ(ReadFile(RuntimePath("TMP/Outside.ini")), "[Options]\r\nLanguage=49\r\nTitle=\" Servo \"\r\n");

    ASSERT_EQ(pl.Open("..\\tmp\\outside.ini"), 1);
    EXPECT_EQ(pl.IsValid(), 1);
    EXPECT_STREQ(pl.Value("Language"), "");  // the head is current after opening
    EXPECT_EQ(pl.SetSection("options"), 1);
    EXPECT_STREQ(pl.Value("Language"), "49");
    EXPECT_STREQ(pl.Value("Title"), " Servo ");
}

TEST_F(PelorusTest, OpenOfAMissingPathMakesAProfile) {
    EXPECT_EQ(pl.Open("..\\TMP\\none.ini"), 1);
    EXPECT_EQ(pl.IsValid(), 1);  // its directory exists: save creates it
    EXPECT_EQ(pl.Open("..\\TMP\\nodir\\none.ini"), 1);
    EXPECT_EQ(pl.IsValid(), 0);
    EXPECT_EQ(pl.SetSection("S"), 1);
    EXPECT_EQ(pl.SetValue("K", "v"), 1);
    EXPECT_EQ(pl.Save(), 0);
    EXPECT_FALSE(std::filesystem::exists(RuntimePath("TMP/nodir")));
    EXPECT_EQ(pl.Open(""), 1);
    EXPECT_EQ(pl.IsValid(), 0);
    EXPECT_EQ(pl.Open(nullptr), 1);
    EXPECT_EQ(pl.IsValid(), 0);
}

TEST_F(PelorusTest, MissingKeyIsAnEmptyTextNeverNull) {
    WriteFile(RuntimePath("TMP/p.ini"), "[S]\r\nK=v\r\n");
    ASSERT_EQ(pl.Open("..\\TMP\\p.ini"), 1);
    ASSERT_EQ(pl.SetSection("S"), 1);
    const char* missing = pl.Value("Missing");
    ASSERT_NE(missing, nullptr);
    EXPECT_STREQ(missing, "");
    ASSERT_NE(pl.Value(nullptr), nullptr);
    EXPECT_STREQ(pl.Value(nullptr), "");
    EXPECT_STREQ(pl.Value("k"), "v");
}

TEST_F(PelorusTest, ClosingDoesNotSaveAndTwiceIsHarmless) {
    const std::string original = "[S]\r\nK=old\r\n";
    WriteFile(RuntimePath("TMP/p.ini"), original);
    ASSERT_EQ(pl.Open("..\\TMP\\p.ini"), 1);
    ASSERT_EQ(pl.SetSection("S"), 1);
    ASSERT_EQ(pl.SetValue("K", "new"), 1);
    pl.Close();
    pl.Close();
    EXPECT_EQ(ReadFile(RuntimePath("TMP/p.ini")), original);

    // Opening another path closes the first profile without saving it.
    ASSERT_EQ(pl.Open("..\\TMP\\p.ini"), 1);
    ASSERT_EQ(pl.SetSection("S"), 1);
    ASSERT_EQ(pl.SetValue("K", "changed"), 1);
    ASSERT_EQ(pl.Open("..\\TMP\\other.ini"), 1);
    EXPECT_EQ(ReadFile(RuntimePath("TMP/p.ini")), original);
    EXPECT_FALSE(std::filesystem::exists(RuntimePath("TMP/other.ini")));
}

TEST_F(PelorusTest, EveryCallWithoutAnOpenProfileIsSafe) {
    EXPECT_EQ(pl.IsValid(), 0);
    EXPECT_EQ(pl.Save(), 0);
    EXPECT_EQ(pl.SetSection("S"), 0);
    EXPECT_EQ(pl.SetValue("K", "v"), 0);
    const char* value = pl.Value("K");
    ASSERT_NE(value, nullptr);
    EXPECT_STREQ(value, "");
    pl.Close();
}

TEST_F(PelorusTest, RefusedTextsReturnZero) {
    ASSERT_EQ(pl.Open("..\\TMP\\p.ini"), 1);
    EXPECT_EQ(pl.SetSection("bad]name"), 0);
    EXPECT_EQ(pl.SetValue("K", "v"), 0);  // the failed select left no section
    ASSERT_EQ(pl.SetSection("S"), 1);
    EXPECT_EQ(pl.SetValue(nullptr, "v"), 0);
    EXPECT_EQ(pl.SetValue("a=b", "v"), 0);
    EXPECT_EQ(pl.SetValue("K", "two\nlines"), 0);
    EXPECT_EQ(pl.SetValue("K", nullptr), 1);
    EXPECT_STREQ(pl.Value("K"), "");
}

}  // namespace
