#include "video/pending_sequence.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "video/container.h"

namespace quorbel {

namespace {

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

}  // namespace

std::unique_ptr<PendingSequence> PendingSequence::Create(const std::string& finalPath, int& error) {
    const std::string pattern = finalPath + ".part-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) {
        error = errno;
        return nullptr;
    }
    return std::unique_ptr<PendingSequence>(new PendingSequence(finalPath, name.data()));
}

PendingSequence::PendingSequence(std::string finalPath, std::string folder)
    : finalPath_(std::move(finalPath)), folder_(std::move(folder)), baseName_(BaseName(finalPath_)) {
    pattern_ = SequencePattern(folder_ + "/" + baseName_);
}

PendingSequence::~PendingSequence() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

int PendingSequence::Commit() {
    int number = 1;
    for (;; ++number) {
        const std::string from = folder_ + "/" + SequenceFrameName(baseName_, number);
        if (!Exists(from)) break;
        if (std::rename(from.c_str(), SequenceFrameName(finalPath_, number).c_str()) != 0) return errno;
    }
    // Only plain files go, and only the unbroken run right after ours.
    for (;; ++number)
        if (unlink(SequenceFrameName(finalPath_, number).c_str()) != 0) break;
    return 0;
}

}  // namespace quorbel
