// Output written somewhere temporary and put in place only when complete:
// one file (PendingFile) or a numbered picture per frame (PendingSequence).
#pragma once

#include <string>

namespace quorbel {

class PendingOutput {
public:
    virtual ~PendingOutput() = default;
    // Where the writer writes: a file, or the pattern of the pictures' names.
    virtual const std::string& temporaryPath() const = 0;
    // Puts the output in place under its final name. Returns 0 or the errno
    // value; on failure nothing temporary is left behind.
    virtual int Commit() = 0;
};

}  // namespace quorbel
