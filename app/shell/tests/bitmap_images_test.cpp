// Every bitmap that a definition file of the program names has its image
// file, a PNG of the declared pixel size, for the screen to show.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "toolkit/core/gw_rcmgr.h"

namespace {

// Width and height from a PNG's header chunk; false when it is no PNG.
bool PngSize(const std::string& path, uint32_t* width, uint32_t* height) {
    std::ifstream in(path, std::ios::binary);
    unsigned char head[24] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return false;
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!std::equal(kSignature, kSignature + 8, head) || std::string(head + 12, head + 16) != "IHDR") return false;
    auto big = [&](int at) {
        return uint32_t{head[at]} << 24 | uint32_t{head[at + 1]} << 16 | uint32_t{head[at + 2]} << 8 | head[at + 3];
    };
    *width = big(16);
    *height = big(20);
    return true;
}

TEST(BitmapImages, EveryNamedBitmapHasAPngOfItsDeclaredSize) {
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TORVAN_UI_DIR)) {
        if (entry.path().extension() != ".cgw") continue;
        ASSERT_TRUE(GwRcMgr::use(entry.path().c_str())) << entry.path();
        ++files;
    }
    ASSERT_GT(files, 0);
    const std::vector<std::string> names = GwRcMgr::bitmap_names();
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        GwBitmapSize size;
        ASSERT_TRUE(GwRcMgr::bitmap_size(name, &size));
        SCOPED_TRACE(name);
        ASSERT_FALSE(size.image.empty()) << "no image file named for the bitmap";
        uint32_t width = 0, height = 0;
        ASSERT_TRUE(PngSize(size.image, &width, &height)) << size.image << " is missing or not a PNG";
        EXPECT_EQ(width, static_cast<uint32_t>(size.width));
        EXPECT_EQ(height, static_cast<uint32_t>(size.height));
    }
}

TEST(BitmapImages, TheListOfNamesFollowsTheDefinitions) {
    ASSERT_TRUE(GwRcMgr::use_text("bitmaps {\n  b_two = 2, 2\n  A_one = 1, 1, \"a.png\"\n}\n", "pictures.cgw"));
    GwRcMgr::add_bitmap("c_code", 3, 3);
    EXPECT_EQ(GwRcMgr::bitmap_names(), (std::vector<std::string>{"A_one", "b_two", "c_code"}));
    GwRcMgr::reset();
    EXPECT_TRUE(GwRcMgr::bitmap_names().empty());
}

}  // namespace
