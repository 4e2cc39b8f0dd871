// A numbered picture per frame, written into a temporary folder beside the
// name the user chose and moved into place only when the recording is
// complete: "title.png" becomes title_00001.png, title_00002.png, ... beside
// it. A failed or cancelled recording leaves no pictures behind.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "video/pending_output.h"

namespace quorbel {

class PendingSequence : public PendingOutput {
public:
    // Why the pictures of a recording named `finalPath` must not be put in
    // place: an existing picture of that name's numbered run that is not a
    // regular file (any number may be reached, so all are checked). Nothing
    // when there is none.
    static std::optional<std::string> TargetRefusal(const std::string& finalPath);
    // Creates the folder "<finalPath>.part-XXXXXX". Null with `error` set to
    // the errno value when it cannot.
    static std::unique_ptr<PendingSequence> Create(const std::string& finalPath, int& error);
    // Removes the folder and the pictures still in it.
    ~PendingSequence() override;
    PendingSequence(const PendingSequence&) = delete;
    PendingSequence& operator=(const PendingSequence&) = delete;

    // The pattern of the pictures' names in the temporary folder.
    const std::string& temporaryPath() const override { return pattern_; }
    // Moves the pictures beside `finalPath`, replacing pictures of the same
    // names, and removes those of an earlier, longer recording under the same
    // name that would otherwise follow on (an editor would take them as part
    // of this one). Returns 0 or the errno value of the first move that
    // failed.
    int Commit() override;

private:
    PendingSequence(std::string finalPath, std::string folder);
    std::string finalPath_;
    std::string folder_;
    std::string baseName_;  // the final name without its folders
    std::string pattern_;
};

}  // namespace quorbel
