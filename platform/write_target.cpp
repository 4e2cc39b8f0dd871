#include "platform/write_target.h"

#include <sys/stat.h>

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
    // A missing target (or a link to nothing) is simply created; one that
    // cannot be looked at (a folder on the way is a file, or is closed) is
    // left to the write itself, which fails with the system's own reason.
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    if (S_ISREG(info.st_mode)) return std::nullopt;
    return "cannot write " + path + ": it is " + KindOf(info.st_mode) + ", not a regular file; it was left as it is";
}

}  // namespace quorbel
