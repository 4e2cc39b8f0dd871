#include "support/bmp_oracle.h"

#include "support/process.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quorbel::testing {

namespace fs = std::filesystem;

std::string PythonWithPillow() {
    // The interpreter first on the path may be a private one without PIL.
    for (std::string candidate : {"python3", "/usr/bin/python3"})
        if (RunAndCapture(candidate + " -c 'import PIL' 2>/dev/null")) return candidate;
    return {};
}

std::optional<Bytes> RunAndCapture(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    Bytes output;
    for (int c; (c = std::fgetc(pipe)) != EOF;) output.push_back(std::uint8_t(c));
    const int status = ::pclose(pipe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;  // also -1
    return output;
}

std::optional<Bytes> DecodeWithImageMagick(const fs::path& file) {
    return RunAndCapture("convert " + Quoted(file.string()) +
                         " -flip -depth 8 rgb:- 2>/dev/null");
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

void WritePpm(const fs::path& file, int width, int height, const Bytes& bottomFirstRgb) {
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    const auto stride = static_cast<std::size_t>(width) * 3;
    for (int row = height - 1; row >= 0; --row) {
        out.write(reinterpret_cast<const char*>(&bottomFirstRgb[row * stride]), stride);
    }
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
