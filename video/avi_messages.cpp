#include "video/avi_messages.h"

#include <cerrno>

extern "C" {
#include <libavutil/error.h>
}

namespace quorbel {

namespace {

// The reasons the open message names, by the kind of failure. A missing
// folder, a folder the user may not write and a full disk are all failures
// to open the file on disk.
const char* OpenReason(int error) {
    if (error == AVERROR(ENOMEM)) return "The file could not be opened because of insufficient memory.";
    if (error == AVERROR_MUXER_NOT_FOUND)
        return "The file couldn't be read, indicating a corrupt file or an unrecognized format.";
    return "A disk error occurred while opening the file.";
}

std::string InBrackets(const std::string& reason) { return reason.empty() ? "" : " (" + reason + ")"; }

}  // namespace

const char* const kWriteFailedMessage = "Unable to write data to stream.";

std::string ErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

std::string OpenFailedMessage(const std::string& fileName, int error) {
    // The reason follows the file name's full stop directly, as it always has.
    return "AVI Engine failed to initialize. Check filename " + fileName + "." + OpenReason(error) +
           InBrackets(ErrorText(error));
}

std::string StreamCreationFailedMessage(const std::string& reason) {
    return "AVI Stream creation failed. Check Bitmap info." + InBrackets(reason);
}

std::string FormatSettingFailedMessage(int error) {
    return "AVI Compressed Stream format setting failed." + InBrackets(ErrorText(error));
}

std::string FinishFailedMessage(const std::string& fileName, int error) {
    return "The AVI file " + fileName + " could not be completed" + InBrackets(ErrorText(error)) +
           ". Nothing was saved under that name.";
}

}  // namespace quorbel
