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

// A Python interpreter that can import PIL, or empty when there is none.
std::string PythonWithPillow();

// Runs a shell command and returns its standard output; nothing when it
// exits with a failure status (so "command -v x" tells whether x exists).
std::optional<Bytes> RunAndCapture(const std::string& command);

// Decodes a picture with ImageMagick, bottom row first like the loader;
// nothing when ImageMagick cannot read it.
std::optional<Bytes> DecodeWithImageMagick(const std::filesystem::path& file);

// Largest difference of any one channel; 256 (more than any channel can
// differ) when the sizes differ.
int MaxChannelDifference(const Bytes& a, const Bytes& b);

Bytes ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const Bytes& bytes);
// Writes a binary PPM (top row first) of a picture held bottom row first.
void WritePpm(const std::filesystem::path& file, int width, int height,
              const Bytes& bottomFirstRgb);

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
