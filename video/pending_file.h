// A file written under a temporary name beside the one the user chose, and
// renamed into place only when it is complete, so that a failed or cancelled
// write never leaves a broken file (or destroys an older one) at that name.
#pragma once

#include <memory>
#include <string>

namespace quorbel {

class PendingFile {
public:
    // Creates an empty, uniquely named "<finalPath>.XXXXXX.part" in the
    // same folder. Null with `error` set to the errno value when it cannot.
    static std::unique_ptr<PendingFile> Create(const std::string& finalPath, int& error);
    // Removes the temporary file unless it was committed.
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    const std::string& temporaryPath() const { return temporaryPath_; }
    // Renames the temporary file to the final name, replacing what was
    // there. Returns 0 or the errno value; on failure the temporary file is
    // removed.
    int Commit();

private:
    PendingFile(std::string finalPath, std::string temporaryPath)
        : finalPath_(std::move(finalPath)), temporaryPath_(std::move(temporaryPath)) {}
    std::string finalPath_;
    std::string temporaryPath_;
    bool committed_ = false;
};

}  // namespace quorbel
