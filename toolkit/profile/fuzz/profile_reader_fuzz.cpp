// Fuzz target of the profile reader: any bytes open as a profile without a
// crash, every text read is a C string, and what was read survives a save and
// a second read unchanged.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "toolkit/profile/gw_profile.h"

namespace {

// Where the input and its saved copy are written: one directory per process,
// removed when the process ends.
class WorkDirectory {
public:
    WorkDirectory()
        : path_(std::filesystem::temp_directory_path() / ("torvan_profile_fuzz_" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~WorkDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Every section with its keys and values, in order. Without NUL bytes in the
// file, every key read by its name gives the value found by index.
std::vector<std::string> Contents(GwProfile& profile, bool check_names) {
    std::vector<std::string> out;
    for (int s = 0; s < profile.section_count(); ++s) {
        if (!profile.select_section(s)) std::abort();
        out.push_back(std::string("[") + profile.current_section() + "]");
        for (int k = 0; k < profile.key_count(); ++k) {
            std::string key = profile.key(k);
            std::string value = profile.value(k);
            if (check_names && value != profile.read(key.c_str())) std::abort();
            out.push_back(key + "=" + value);
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const WorkDirectory work;
    const std::string input = work.File("input.ini");
    const std::string saved = work.File("saved.ini");
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    GwProfile profile(input);
    if (!profile.is_valid()) std::abort();
    const bool check_names = std::memchr(data, 0, size) == nullptr;
    const std::vector<std::string> first = Contents(profile, check_names);
    int x = 0, y = 0, w = 0, h = 0;
    profile.select_section(0);
    for (int k = 0; k < profile.key_count(); ++k) {
        profile.read_int(profile.key(k));
        profile.read_double(profile.key(k));
        profile.read_rectangle(profile.key(k), x, y, w, h);
    }
    if (!profile.save(saved.c_str())) std::abort();

    GwProfile again(saved);
    if (Contents(again, check_names) != first) std::abort();
    return 0;
}
