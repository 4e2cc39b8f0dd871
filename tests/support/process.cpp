#include "support/process.h"

#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quorbel::testing {

namespace {
std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}
}  // namespace

CommandResult RunCommand(const std::string& command) {
    char outPath[] = "/tmp/quorbel-out-XXXXXX";
    char errPath[] = "/tmp/quorbel-err-XXXXXX";
    int outFd = mkstemp(outPath), errFd = mkstemp(errPath);
    close(outFd);
    close(errFd);
    std::string full = command + " >" + outPath + " 2>" + errPath + " </dev/null";
    int status = std::system(full.c_str());
    CommandResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    unlink(outPath);
    unlink(errPath);
    return result;
}

CommandResult RunQuorbel(const std::string& arguments) {
    return RunCommand(std::string("'") + QUORBEL_BINARY + "' " + arguments);
}

bool ReadPng(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return true;
}

}  // namespace quorbel::testing
