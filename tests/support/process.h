// Runs the quorbel binary (or any command) and captures what it said.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorbel::testing {

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `command` through the shell in the current folder.
CommandResult RunCommand(const std::string& command);
// Runs the built quorbel with the given arguments (already shell-quoted).
CommandResult RunQuorbel(const std::string& arguments);
// Runs `body` in a child process, as the unprivileged user "nobody" when the
// tests run as root (root reads and writes regardless of permissions), and
// returns what `body` returned; a message when the child could not run it.
std::string InUnprivilegedChild(const std::function<std::string()>& body);

// Options that spin the title: every frame differs from the one before.
inline constexpr const char* kMovingScene = " --set textSpinY=2 --set textSpinSpeedY=20 --seed 1";

// Runs `body` with files limited to `bytes` (a full disk, for the writer) and
// SIGXFSZ ignored, so that writes past the limit fail instead of killing us.
void WithFileSizeLimit(std::uint64_t bytes, const std::function<void()>& body);

// Quotes a path (or any text) for the shell.
std::string Quoted(const std::string& text);

// Reads an 8-bit RGB PNG (top row first). False when it cannot.
bool ReadPng(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgb);

}  // namespace quorbel::testing
