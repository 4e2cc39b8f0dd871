#include "settings/open_for_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorbel {

FileHandle OpenForReading(const std::string& path, std::string& error) {
    FileHandle none(nullptr, std::fclose);
    // Non-blocking, so that opening a pipe cannot hang before it is refused.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return none;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file";
        close(fd);
        return none;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FileHandle file(fdopen(fd, "rb"), std::fclose);
    if (!file) {
        error = std::strerror(errno);
        close(fd);
    }
    return file;
}

}  // namespace quorbel
