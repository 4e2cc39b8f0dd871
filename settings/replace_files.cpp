#include "settings/replace_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/write_target.h"

namespace quorbel {

namespace {

struct PendingFile {
    std::string target;     // where the content goes (links resolved)
    std::string temporary;  // written and flushed, waiting for the rename
};

std::string Failure(const std::string& path, int error) {
    return "cannot write " + path + ": " + std::strerror(error);
}

// The file a write to `path` really changes: a link is followed, so saving
// over a linked settings file updates the file it points to.
std::string ResolvedTarget(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    const auto resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path : resolved.string();
}

// An existing target must be a file we may write: replacing a read-only
// file would overrule the protection the user gave it.
std::optional<int> TargetRefusal(const std::string& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) != 0) return errno == ENOENT ? std::nullopt : std::optional<int>(errno);
    if (access(target.c_str(), W_OK) != 0) return errno;
    return std::nullopt;
}

std::string TemporaryNameFor(const std::string& target, int attempt) {
    const std::filesystem::path path(target);
    std::string name(1, '.');
    name.append(path.filename().string()).append(".saving-");
    name.append(std::to_string(getpid())).append("-").append(std::to_string(attempt));
    return (path.parent_path() / name).string();
}

// Opens a fresh temporary beside `target`; the mode follows the umask, as a
// newly created file would.
int CreateTemporary(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryNameFor(target, attempt);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes one temporary in full; a full disk shows at the write, the flush or
// the close, and all three are checked.
std::optional<std::string> WriteTemporary(const FileContent& file, PendingFile& pending) {
    // Checked for every file before any rename, so that a refused one (a
    // folder, a pipe, a device) leaves all the others as they were too.
    if (auto refusal = WriteTargetRefusal(file.path)) return refusal;
    pending.target = ResolvedTarget(file.path);
    if (auto refusal = TargetRefusal(pending.target)) return Failure(file.path, *refusal);
    const int fd = CreateTemporary(pending.target, pending.temporary);
    if (fd < 0) {
        const int error = errno;
        pending.temporary.clear();
        return Failure(file.path, error);
    }
    bool written = WriteAll(fd, file.bytes) && fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) return Failure(file.path, error ? error : EIO);
    return std::nullopt;
}

void RemoveTemporaries(const std::vector<PendingFile>& pending) {
    for (const PendingFile& file : pending)
        if (!file.temporary.empty()) unlink(file.temporary.c_str());
}

}  // namespace

std::optional<std::string> ReplaceFiles(std::span<const FileContent> files) {
    std::vector<PendingFile> pending(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (auto failure = WriteTemporary(files[i], pending[i])) {
            RemoveTemporaries(pending);
            return failure;
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (rename(pending[i].temporary.c_str(), pending[i].target.c_str()) != 0) {
            const int error = errno;
            const auto notRenamed = pending.begin() + static_cast<std::ptrdiff_t>(i);
            RemoveTemporaries(std::vector<PendingFile>(notRenamed, pending.end()));
            return Failure(files[i].path, error);
        }
    }
    return std::nullopt;
}

}  // namespace quorbel
