// Reads Windows bitmap (BMP/DIB) files into plain 24-bit RGB pictures.
// Pictures are untrusted input: every offset, size and count is checked
// against the data before use, and a bad file is refused with a message.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quorbel {

// A loaded picture: `width` x `height` pixels, red-green-blue bytes, rows
// packed tight (3 x width bytes), bottom row first as OpenGL expects.
struct ImageRecord {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

// The four failures a user can see, in the words shown to them.
enum class DibError { None, OpenFailed, OutOfMemory, UnknownFormat, ConversionError };

// Decodes a BMP held in memory (with or without the "BM" file header).
// On failure returns null and sets `error`.
std::unique_ptr<ImageRecord> DecodeDib(std::span<const std::uint8_t> bytes, DibError& error);

// The message for a failure; `path` fills the open failure's %s.
std::string DibErrorMessage(DibError error, const std::string& path);

// Resolves the path (backslashes, case), maps the file read-only and decodes
// it. A failure gives null and is reported through the platform's message
// channel with the caption "Error": the loader's message and beside it the
// file and the reason (missing, permission denied, a folder, empty, or the
// file the decoder refused), once per file (see picture_report.h).
std::unique_ptr<ImageRecord> LoadDibImage(const std::string& path);

// The entry every texture loader uses: LoadDibImage, and null for a null
// path. A picture that cannot be opened is reported like any other failure,
// so that a user can tell which file to fix.
std::unique_ptr<ImageRecord> LoadImageFile(const char* path);

}  // namespace quorbel
