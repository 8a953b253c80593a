// The option sets of every device class and start, against golden option
// files.
#include "service/download/loader_option_sets.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/files/text_file.h"

namespace {

std::string Golden(const std::string& name) {
    return platform::ReadBinaryFile(std::string(DOWNLOAD_GOLDEN_DIR) + "/" + name + ".inv").value_or("(missing)");
}

struct OptionCase {
    const char* golden;
    int deviceClass;
    bool warm;
    int variant;
    float version;
    uint32_t loaderRate;
};

TEST(LoaderOptionSets, EveryClassAndStartWritesItsGoldenFile) {
    const OptionCase cases[] = {
        {"oskel_cold", kClassOskel, false, 0, 0.0f, kDefaultLoaderRate},
        {"oskel_warm", kClassOskel, true, 0, 0.0f, kDefaultLoaderRate},
        {"marlo_cold", kClassMarlo, false, 0, 0.0f, kDefaultLoaderRate},
        {"marlo_cold_115200", kClassMarlo, false, 0, 0.0f, 115200},
        {"marlo_warm_216", kClassMarlo, true, 0, 2.16f, kDefaultLoaderRate},
        {"marlo_warm_215", kClassMarlo, true, 0, 2.15f, kDefaultLoaderRate},
        {"marlo_warm_215", kClassMarlo, true, 0, 1.0f, kDefaultLoaderRate},
        {"ruvex_cold_1", kClassRuvex, false, 1, 0.0f, kDefaultLoaderRate},
        {"ruvex_cold_2", kClassRuvex, false, 2, 0.0f, kDefaultLoaderRate},
        {"ruvex_cold_other", kClassRuvex, false, 0, 0.0f, kDefaultLoaderRate},
        {"ruvex_cold_other", kClassRuvex, false, -1, 0.0f, kDefaultLoaderRate},
        // A running Ruvex always loads the ST10 loader, whatever variant.
        {"ruvex_warm", kClassRuvex, true, 1, 0.0f, kDefaultLoaderRate},
        {"pesco_cold_0", kClassPesco, false, kPescoVariant32F, 0.0f, kDefaultLoaderRate},
        {"pesco_cold_1", kClassPesco, false, kPescoVariant16F, 0.0f, kDefaultLoaderRate},
        {"pesco_warm_hwid1", kClassPesco, true, kPescoVariant32F, 0.0f, kDefaultLoaderRate},
        {"pesco_warm_other", kClassPesco, true, kPescoVariant16F, 0.0f, kDefaultLoaderRate},
        {"talin_cold", kClassTalin, false, 0, 0.0f, kDefaultLoaderRate},
        {"talin_warm", kClassTalin, true, 0, 0.0f, kDefaultLoaderRate},
        {"wenzo_cold", kClassWenzo, false, 0, 0.0f, kDefaultLoaderRate},
        {"wenzo_warm", kClassWenzo, true, 0, 0.0f, kDefaultLoaderRate},
    };
    for (const OptionCase& c : cases) {
        LoaderOptionRequest request;
        request.deviceClass = c.deviceClass;
        request.warm = c.warm;
        request.variant = c.variant;
        request.firmwareVersion = c.version;
        request.loaderRate = c.loaderRate;
        request.port = 1;
        request.firmwareFile = "fw.hex";
        const auto lines = LoaderOptionSet(request);
        ASSERT_TRUE(lines) << c.golden;
        ASSERT_TRUE(WriteLoaderOptionFile(kOptionFileName, *lines)) << c.golden;
        EXPECT_EQ(platform::ReadBinaryFile(kOptionFileName).value_or(""), Golden(c.golden)) << c.golden;
    }
}

TEST(LoaderOptionSets, NoSetForUnknownClassesAndPescoVariants) {
    const struct {
        int deviceClass;
        bool warm;
        int variant;
    } cases[] = {
        {0, false, 0},
        {1, true, 0},
        {8, true, 0},
        {kClassPesco, false, 2},
        {kClassPesco, true, -1},
    };
    for (const auto& c : cases) {
        LoaderOptionRequest request;
        request.deviceClass = c.deviceClass;
        request.warm = c.warm;
        request.variant = c.variant;
        EXPECT_FALSE(LoaderOptionSet(request)) << c.deviceClass << " " << c.variant;
    }
}

TEST(LoaderOptionSets, AFileWithBlanksInItsPathStaysOneLine) {
    LoaderOptionRequest request;
    request.deviceClass = kClassTalin;
    request.port = 3;
    request.firmwareFile = "..\\FIRMDATA\\new firmware.hex";
    const auto lines = LoaderOptionSet(request);
    ASSERT_TRUE(lines);
    EXPECT_EQ((*lines)[6], "-p3");
    EXPECT_EQ((*lines)[7], "-f..\\FIRMDATA\\new firmware.hex");
}

}  // namespace
