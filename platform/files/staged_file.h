// A file written under a temporary name beside its target and put in place
// only when it is complete: the one way the program replaces files. The new
// bytes reach the disk before the rename, a replaced file keeps its
// permissions, and an uncommitted file is removed when the object ends, so a
// failed write never destroys or half-writes the old file. Several staged
// files can be committed together, so a set of files changes all at once.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Creates the temporary file for `path` (the program's path form); false,
    // with the system's reason in `error` when given, if it cannot be made.
    bool Open(std::string_view path, std::string* error = nullptr);
    // Appends bytes; false once a write has failed.
    bool Write(std::string_view bytes, std::string* error = nullptr);
    // Puts the file in place; false when the data could not be written
    // completely or the rename failed (the target is then unchanged).
    bool Commit(std::string* error = nullptr);
    // Removes the temporary file without touching the target.
    void Discard();

    // The path as given to Open.
    const std::string& Path() const { return path_; }

private:
    bool Fail(int error_number, std::string* error);

    std::string path_;
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    int failed_errno_ = 0;
};

}  // namespace platform
