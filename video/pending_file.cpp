#include "video/pending_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace quorbel {

namespace {

constexpr const char* kSuffix = ".part";

// mkstemps makes the file readable by its owner only; the finished video
// should get the permissions any new file of this user gets.
void GiveUsualPermissions(int descriptor) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

}  // namespace

std::unique_ptr<PendingFile> PendingFile::Create(const std::string& finalPath, int& error) {
    const std::string pattern = finalPath + ".XXXXXX" + kSuffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = mkstemps(name.data(), static_cast<int>(std::char_traits<char>::length(kSuffix)));
    if (descriptor < 0) {
        error = errno;
        return nullptr;
    }
    GiveUsualPermissions(descriptor);
    close(descriptor);
    return std::unique_ptr<PendingFile>(new PendingFile(finalPath, name.data()));
}

PendingFile::~PendingFile() {
    if (!committed_) std::remove(temporaryPath_.c_str());
}

int PendingFile::Commit() {
    if (std::rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) return errno;
    committed_ = true;
    return 0;
}

}  // namespace quorbel
