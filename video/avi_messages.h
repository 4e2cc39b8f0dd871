// What the user is told when a recording cannot be written. The first
// sentence of each is the one the program has always shown; where the
// system or FFmpeg gave a reason, it follows in brackets.
#pragma once

#include <string>

namespace quorbel {

// The output file could not be created. `error` is an AVERROR code (a
// negated errno value for the system's errors).
std::string OpenFailedMessage(const std::string& fileName, int error);
// The encoder or the stream could not be set up for this frame format.
std::string StreamCreationFailedMessage(const std::string& reason);
// The file header (the stream's format) could not be written.
std::string FormatSettingFailedMessage(int error);
// A frame could not be encoded or written.
extern const char* const kWriteFailedMessage;
// The finished file could not be completed or put in place.
std::string FinishFailedMessage(const std::string& fileName, int error);

// FFmpeg's or the system's text for an AVERROR code.
std::string ErrorText(int error);

}  // namespace quorbel
