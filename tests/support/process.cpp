#include "support/process.h"

#include "support/gl_test_env.h"

#include <png.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace quorbel::testing {

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
    result.out = FileText(outPath);
    result.err = FileText(errPath);
    unlink(outPath);
    unlink(errPath);
    return result;
}

CommandResult RunQuorbel(const std::string& arguments) { return RunCommand(Quoted(QUORBEL_BINARY) + " " + arguments); }

std::string InUnprivilegedChild(const std::function<std::string()>& body) {
    int out[2];
    if (pipe(out) != 0) return "no pipe for the child";
    const pid_t child = fork();
    if (child == 0) {
        close(out[0]);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(1);
        const std::string said = body();
        _exit(write(out[1], said.data(), said.size()) == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    close(out[1]);
    std::string said;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) said.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? said : "the child could not run as nobody";
}

void WithFileSizeLimit(std::uint64_t bytes, const std::function<void()>& body) {
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &limited) != 0) ADD_FAILURE() << "cannot limit the file size";
    body();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
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
