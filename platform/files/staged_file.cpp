#include "platform/files/staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/files/paths.h"
#include "platform/files/text_file.h"

namespace platform {

namespace {

// Attempts to find a free temporary name beside the target before giving up.
constexpr int kTempNameAttempts = 100;
// Permissions of a new file before the umask, as fopen gives them.
constexpr mode_t kNewFileMode = 0666;

// Creates a new, exclusive temporary file beside `target`; -1 with errno set
// when none can be made.
int CreateTempBeside(const std::string& target, std::string* temp_path) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        *temp_path = target + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter.fetch_add(1));
        int fd = ::open(temp_path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

StagedFile::~StagedFile() { Discard(); }

bool StagedFile::Fail(int error_number, std::string* error) {
    if (error != nullptr) *error = SystemErrorText(error_number);
    return false;
}

bool StagedFile::Open(std::string_view path, std::string* error) {
    Discard();
    path_ = std::string(path);
    failed_errno_ = 0;
    target_ = ResolveForWrite(path);
    if (target_.empty()) return Fail(ENOENT, error);
    fd_ = CreateTempBeside(target_, &temp_);
    if (fd_ < 0) {
        temp_.clear();
        return Fail(errno, error);
    }
    // A replaced file keeps its permissions.
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0) ::fchmod(fd_, old.st_mode & 07777);
    return true;
}

bool StagedFile::Write(std::string_view bytes, std::string* error) {
    if (fd_ < 0) return Fail(failed_errno_ != 0 ? failed_errno_ : EBADF, error);
    if (failed_errno_ != 0) return Fail(failed_errno_, error);
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            failed_errno_ = errno;
            return Fail(failed_errno_, error);
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool StagedFile::Commit(std::string* error) {
    if (fd_ < 0) return Fail(EBADF, error);
    int saved = failed_errno_;
    // The bytes reach the disk before the name moves, so a crash or power
    // loss right after the rename leaves the new file or the old one, never
    // an empty one.
    if (saved == 0 && ::fdatasync(fd_) != 0) saved = errno;
    if (::close(fd_) != 0 && saved == 0) saved = errno;
    fd_ = -1;
    if (saved == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0) saved = errno;
    if (saved != 0) {
        ::unlink(temp_.c_str());
        temp_.clear();
        return Fail(saved, error);
    }
    temp_.clear();
    return true;
}

void StagedFile::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

}  // namespace platform
