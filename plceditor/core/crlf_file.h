// Writing the translator's output files: programme and text declaration files
// go to the drive family's other tools and therefore end their lines in CR LF.
#pragma once

#include <string>
#include <vector>

namespace plc {

// Replaces the file at `path` with the lines, each ended by CR LF. False when
// the path is empty or the file cannot be written (an old file stays as it
// was); otherwise `path` becomes the full path of the written file.
bool WriteCrLfFile(std::string& path, const std::vector<std::string>& lines);

}  // namespace plc
