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
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool HasProgram(const std::string& program) {
    return RunAndCapture("command -v " + ShellQuote(program)).has_value();
}

std::string PythonWithPillow() {
    // The interpreter first on the path may be a private one without PIL.
    for (std::string candidate : {"python3", "/usr/bin/python3"}) {
        if (RunAndCapture(candidate + " -c 'import PIL' 2>/dev/null")) return candidate;
    }
    return {};
}

std::optional<Bytes> RunAndCapture(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    Bytes output;
    std::uint8_t buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.insert(output.end(), buffer, buffer + got);
    }
    int status = ::pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return output;
}

std::optional<Bytes> DecodeWithImageMagick(const fs::path& file, int width, int height) {
    std::optional<Bytes> topFirst =
        RunAndCapture("convert " + ShellQuote(file.string()) + " -depth 8 rgb:- 2>/dev/null");
    if (!topFirst || topFirst->size() != static_cast<std::size_t>(width) * height * 3) {
        return std::nullopt;
    }
    return FlipRows(*topFirst, width, height);
}

Bytes FlipRows(const Bytes& rgb, int width, int height) {
    const auto stride = static_cast<std::ptrdiff_t>(width) * 3;
    Bytes flipped(rgb.size());
    for (int row = 0; row < height; ++row) {
        std::copy_n(rgb.begin() + stride * row, stride, flipped.end() - stride * (row + 1));
    }
    return flipped;
}

int MaxChannelDifference(const Bytes& a, const Bytes& b) {
    if (a.size() != b.size()) return 256;
    int worst = 0;
    for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

Bytes ReadFileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const fs::path& file, const Bytes& bytes) {
    std::ofstream(file, std::ios::binary) << std::string(bytes.begin(), bytes.end());
}

void WritePpm(const fs::path& file, int width, int height, const Bytes& topFirstRgb) {
    std::ofstream(file, std::ios::binary) << "P6\n" << width << ' ' << height << "\n255\n"
                                          << std::string(topFirstRgb.begin(), topFirstRgb.end());
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
