#include "platform/write_target.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace quorbel {

namespace {

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "a special file";
}

}  // namespace

std::optional<std::string> WriteTargetRefusal(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        // A missing target (or a link to nothing) is simply created.
        if (errno == ENOENT) return std::nullopt;
        return "cannot write " + path + ": " + std::strerror(errno);
    }
    if (S_ISREG(info.st_mode)) return std::nullopt;
    return "cannot write " + path + ": it is " + KindOf(info.st_mode) + ", not a regular file; it was left as it is";
}

}  // namespace quorbel
