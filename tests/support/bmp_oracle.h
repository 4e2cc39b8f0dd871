// Independent decoders and encoders for checking the BMP loader: ImageMagick,
// ffmpeg and Pillow run as separate processes, plus small file helpers.
// Every picture here is RGB, 3 bytes a pixel, rows packed tight.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorbel::testing {

using Bytes = std::vector<std::uint8_t>;

// The BMP Suite folder of the shared test data.
std::filesystem::path BmpSuiteDir();

// True when `program` is found on the search path.
bool HasProgram(const std::string& program);
// A Python interpreter that can import PIL, or empty when there is none.
std::string PythonWithPillow();

// Runs a shell command and returns its standard output; nothing when it
// exits with a failure status.
std::optional<Bytes> RunAndCapture(const std::string& command);
std::string ShellQuote(const std::string& text);

// Decodes a picture with ImageMagick. The result is bottom row first, like
// the loader's; nothing when it fails or the size is not width x height.
std::optional<Bytes> DecodeWithImageMagick(const std::filesystem::path& file, int width,
                                           int height);

// Reverses the row order of a picture.
Bytes FlipRows(const Bytes& rgb, int width, int height);
// Largest difference of any one channel; 256 (more than any channel can
// differ) when the sizes differ.
int MaxChannelDifference(const Bytes& a, const Bytes& b);

Bytes ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const Bytes& bytes);
// Writes a binary PPM from top-row-first RGB.
void WritePpm(const std::filesystem::path& file, int width, int height, const Bytes& topFirstRgb);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes. The current directory is not touched.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace quorbel::testing
