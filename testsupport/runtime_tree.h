// Lays out the run-time tree that the program's relative paths assume:
// bin/ (the working directory) beside TMP/, FIRMDATA/, DRIVEDAT/, LANGUAGE/
// and the user-data folder.
#pragma once

#include <filesystem>

namespace testsupport {

void MakeRuntimeTree(const std::filesystem::path& root);

}  // namespace testsupport
