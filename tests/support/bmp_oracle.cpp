#include "support/bmp_oracle.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quorbel::testing {

namespace fs = std::filesystem;

fs::path BmpSuiteDir() { return fs::path(QUORBEL_TESTDATA_DIR) / "bmpsuite"; }

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

bool HasProgram(const std::string& program) {
    std::string command = "command -v " + ShellQuote(program) + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::string PythonWithPillow() {
    // The interpreter first on the path may be a private one without PIL.
    for (const char* candidate : {"python3", "/usr/bin/python3"}) {
        std::string command = std::string(candidate) + " -c 'import PIL' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) return candidate;
    }
    return {};
}

std::optional<Bytes> RunAndCapture(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    Bytes output;
    std::uint8_t buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.insert(output.end(), buffer, buffer + got);
    }
    int status = ::pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return output;
}

namespace {

std::optional<Bytes> CheckedBottomFirst(std::optional<Bytes> topFirst, int width, int height) {
    if (!topFirst || topFirst->size() != static_cast<std::size_t>(width) * height * 3) {
        return std::nullopt;
    }
    return FlipRows(*topFirst, width, height);
}

}  // namespace

std::optional<Bytes> DecodeWithImageMagick(const fs::path& file, int width, int height) {
    std::string command = "convert " + ShellQuote(file.string()) + " -depth 8 rgb:- 2>/dev/null";
    return CheckedBottomFirst(RunAndCapture(command), width, height);
}

std::optional<Bytes> DecodeWithFfmpeg(const fs::path& file, int width, int height) {
    std::string command = "ffmpeg -v error -f bmp_pipe -i " + ShellQuote(file.string()) +
                          " -f rawvideo -pix_fmt rgb24 - 2>/dev/null";
    return CheckedBottomFirst(RunAndCapture(command), width, height);
}

Bytes FlipRows(const Bytes& rgb, int width, int height) {
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    Bytes flipped(rgb.size());
    for (int row = 0; row < height; ++row) {
        auto from = rgb.begin() + static_cast<std::ptrdiff_t>(stride * row);
        std::copy(from, from + static_cast<std::ptrdiff_t>(stride),
                  flipped.begin() + static_cast<std::ptrdiff_t>(stride * (height - 1 - row)));
    }
    return flipped;
}

int MaxChannelDifference(const Bytes& a, const Bytes& b) {
    if (a.size() != b.size()) return -1;
    int worst = 0;
    for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

Bytes ReadFileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const fs::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WritePpm(const fs::path& file, int width, int height, const Bytes& topFirstRgb) {
    std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    Bytes bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), topFirstRgb.begin(), topFirstRgb.end());
    WriteFileBytes(file, bytes);
}

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "quorbel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

}  // namespace quorbel::testing
