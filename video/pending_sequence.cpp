#include "video/pending_sequence.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/write_target.h"
#include "video/container.h"

namespace quorbel {

namespace {

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// True when `name` is `stem`_NUMBER`extension`, as SequenceFrameName makes.
bool IsFrameName(const std::string& name, const std::string& stem, const std::string& extension) {
    if (name.size() < stem.size() + 1 + 5 + extension.size() || !name.starts_with(stem + "_") ||
        !name.ends_with(extension))
        return false;
    const std::size_t digitsEnd = name.size() - extension.size();
    for (std::size_t i = stem.size() + 1; i < digitsEnd; ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

}  // namespace

std::optional<std::string> PendingSequence::TargetRefusal(const std::string& finalPath) {
    namespace fs = std::filesystem;
    const fs::path path(finalPath);
    const std::string first = SequenceFrameName(path.filename().string(), 1);
    const std::string stem = first.substr(0, first.rfind("_00001"));
    const std::string extension = first.substr(stem.size() + 6);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (!IsFrameName(entry.path().filename().string(), stem, extension)) continue;
        if (auto refusal = WriteTargetRefusal(entry.path().string())) return refusal;
    }
    return std::nullopt;
}

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
    for (;; ++number) {
        const std::string stale = SequenceFrameName(finalPath_, number);
        if (!Exists(stale) || WriteTargetRefusal(stale) || unlink(stale.c_str()) != 0) break;
    }
    return 0;
}

}  // namespace quorbel
