// A scratch directory of one fuzzing process for the files a reader takes,
// removed when the process ends.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace parabasefuzz {

class WorkDirectory {
public:
    explicit WorkDirectory(const char* stem)
        : path_(std::filesystem::temp_directory_path() / (std::string(stem) + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~WorkDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    // Writes the bytes as file `name` and returns its path.
    std::string Write(const char* name, const uint8_t* data, size_t size) const {
        const std::string path = (path_ / name).string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }
    std::string File(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace parabasefuzz
