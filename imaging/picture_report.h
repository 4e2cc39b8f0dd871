// Tells the user which picture cannot be used and why, on the platform's
// message channel ("Error" box, or stderr without a window).
//
// Each unusable picture is named once, not once per attempt: the program
// asks for its default pictures again and again (set-up, the first frame,
// text styles, New), and one missing file should be one message. A picture
// that loads clears its file's record, so a file that breaks again is
// reported again; a file the user has just chosen is always answered.
#pragma once

#include <string>

namespace quorbel {

// Shows `message` unless the same `reason` was already shown for the file
// at `path` (files are told apart after resolving the path, as they are
// opened, so "Gfx\lines.bmp" and "gfx/lines.bmp" are one file).
void ReportUnusablePicture(const std::string& path, const std::string& reason, const std::string& message);
// `path` gave a picture: a later failure of it is news again.
void NotePictureUsable(const std::string& path);
// The next failure of `path` is shown whatever was shown before.
void ForgetPictureReport(const std::string& path);

}  // namespace quorbel
