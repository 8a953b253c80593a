#include "toolkit/base/gw_path.h"

#include <gtest/gtest.h>

namespace {

TEST(GwMakepath, JoinsPartsInWindowsForm) {
    struct Case {
        const char* drive;
        const char* dir;
        const char* name;
        const char* ext;
        const char* path;
    };
    const Case cases[] = {
        {"C:", "\\bases\\", "servo", "01D", "C:\\bases\\servo.01D"},
        {"", "..\\TMP", "Scope", "SDC", "..\\TMP\\Scope.SDC"},
        {"", "..\\TMP/", "Scope", ".dat", "..\\TMP/Scope.dat"},
        {"", "..\\FIRMDATA", "", "", "..\\FIRMDATA\\"},
        {"", "", "servo", "", "servo"},
        {"", "", "", "", ""},
        {nullptr, nullptr, "n", nullptr, "n"},
        {"D:", "", "f", "x", "D:f.x"},
    };
    for (const Case& c : cases) EXPECT_STREQ(GwMakepath(c.drive, c.dir, c.name, c.ext).c_str(), c.path) << c.path;
}

TEST(GwSplitpath, SplitsAtEitherSeparatorWithExtensionWithoutDot) {
    struct Case {
        const char* path;
        const char* drive;
        const char* dir;
        const char* name;
        const char* ext;
    };
    const Case cases[] = {
        {"C:\\bases\\servo.01D", "C:", "\\bases\\", "servo", "01D"},
        {"servo", "", "", "servo", ""},
        {"..\\TMP\\Scope.dat", "", "..\\TMP\\", "Scope", "dat"},
        {"/a/dir.x/file", "", "/a/dir.x/", "file", ""},
        {"/a/dir.x\\f.tar.gz", "", "/a/dir.x\\", "f.tar", "gz"},
        {"d:name.prg", "d:", "", "name", "prg"},
        {"C:\\dir\\", "C:", "\\dir\\", "", ""},
        {".hidden", "", "", "", "hidden"},
        {"file.", "", "", "file", ""},
        {"1:x", "", "", "1:x", ""},
        {"", "", "", "", ""},
        {nullptr, "", "", "", ""},
    };
    for (const Case& c : cases) {
        GwString drive("?"), dir("?"), name("?"), ext("?");
        GwSplitpath(c.path, &drive, &dir, &name, &ext);
        const char* label = c.path != nullptr ? c.path : "(null)";
        EXPECT_STREQ(drive.c_str(), c.drive) << label;
        EXPECT_STREQ(dir.c_str(), c.dir) << label;
        EXPECT_STREQ(name.c_str(), c.name) << label;
        EXPECT_STREQ(ext.c_str(), c.ext) << label;
    }
}

TEST(GwSplitpath, PartsNotWantedMayBeNullAndMakepathRebuildsThePath) {
    GwString ext;
    GwSplitpath("C:\\bases\\servo.01D", nullptr, nullptr, nullptr, &ext);
    EXPECT_STREQ(ext.c_str(), "01D");

    for (const char* path : {"C:\\bases\\servo.01D", "..\\TMP\\Scope.dat", "/a/dir.x/file", "name"}) {
        GwString drive, dir, name;
        GwSplitpath(path, &drive, &dir, &name, &ext);
        EXPECT_STREQ(GwMakepath(drive.c_str(), dir.c_str(), name.c_str(), ext.c_str()).c_str(), path);
    }
}

}  // namespace
