// Lays out the run-time tree that the program's relative paths assume:
// bin/ (the working directory) beside TMP/, FIRMDATA/, DRIVEDAT/, LANGUAGE/
// and the user-data folder, with the files the install step puts there.
#pragma once

#include <filesystem>

namespace testsupport {

// Copies the tree that the build laid out from ui/ (the same layout as the
// install step) to `root`, and makes sure the standard folders exist.
void MakeRuntimeTree(const std::filesystem::path& root);

}  // namespace testsupport
