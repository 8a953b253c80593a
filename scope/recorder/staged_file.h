// A file written under a temporary name beside its target and put in place
// only when it is complete, so no reader ever finds it half written. An
// uncommitted file is closed and removed when the object ends.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Creates the temporary file for `path` (the program's path form); false
    // when it cannot be created.
    bool Open(std::string_view path);
    // False once a write has failed.
    bool Write(std::string_view bytes);
    // Closes the file and moves it over the target; false when the data could
    // not be written completely or the move failed (the target is then
    // unchanged).
    bool Commit();
    // Closes and removes the temporary file.
    void Discard();

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::string target_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};
