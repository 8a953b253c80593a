// Staged file writing: temporary file beside the target, rename on commit.
#include "scope/recorder/staged_file.h"

#include <unistd.h>

#include <cstdio>

#include "platform/paths.h"

namespace {

constexpr char kTempSuffix[] = ".part";

}  // namespace

StagedFile::~StagedFile() { Discard(); }

bool StagedFile::Open(std::string_view path) {
    Discard();
    path_ = std::string(path);
    target_ = platform::ResolveForWrite(path);
    if (target_.empty()) return false;
    temp_ = target_ + kTempSuffix + std::to_string(::getpid());
    file_ = std::fopen(temp_.c_str(), "wb");
    failed_ = false;
    return file_ != nullptr;
}

bool StagedFile::Write(std::string_view bytes) {
    if (file_ == nullptr || failed_) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
    return !failed_;
}

bool StagedFile::Commit() {
    if (file_ == nullptr) return false;
    const bool flushed = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed_ || !flushed || !closed || std::rename(temp_.c_str(), target_.c_str()) != 0) {
        std::remove(temp_.c_str());
        temp_.clear();
        return false;
    }
    temp_.clear();
    return true;
}

void StagedFile::Discard() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) std::remove(temp_.c_str());
    temp_.clear();
}
