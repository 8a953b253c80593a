#include "testsupport/runtime_tree.h"

namespace testsupport {

namespace {

// The tree laid out by ui/layout_runtime_tree.cmake in the build directory.
#ifdef TORVAN_RUNTIME_TEMPLATE
constexpr const char* kTemplate = TORVAN_RUNTIME_TEMPLATE;
#else
constexpr const char* kTemplate = "";
#endif

}  // namespace

void MakeRuntimeTree(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    if (*kTemplate != '\0' && fs::is_directory(kTemplate)) {
        fs::create_directories(root);
        fs::copy(kTemplate, root, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    for (const char* dir : {"bin", "TMP", "FIRMDATA", "DRIVEDAT", "LANGUAGE", "userdata"}) {
        fs::create_directories(root / dir);
    }
}

}  // namespace testsupport
