#include "testsupport/runtime_tree.h"

namespace testsupport {

void MakeRuntimeTree(const std::filesystem::path& root) {
    for (const char* dir : {"bin", "TMP", "FIRMDATA", "DRIVEDAT", "LANGUAGE", "userdata"}) {
        std::filesystem::create_directories(root / dir);
    }
}

}  // namespace testsupport
