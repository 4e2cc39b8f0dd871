#include "imaging/paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace quorbel {

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

// The entry of `directory` whose name equals `name` but for case. When
// several do (possible here, never on Windows), the first in byte order
// wins, so the choice does not depend on the order the directory lists.
std::optional<std::string> FindIgnoringCase(const std::string& directory, std::string_view name) {
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view candidate(entry->d_name);
        if (EqualIgnoringCase(candidate, name) && (!best || candidate < *best)) {
            best = std::string(candidate);
        }
    }
    ::closedir(dir);
    return best;
}

std::vector<std::string_view> SplitComponents(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Join(const std::string& directory, std::string_view name) {
    if (directory.empty()) return std::string(name);
    if (directory.back() == '/') return directory + std::string(name);
    return directory + '/' + std::string(name);
}

}  // namespace

std::string ResolvePath(std::string_view path) {
    std::string unixPath(path);
    std::replace(unixPath.begin(), unixPath.end(), '\\', '/');
    if (unixPath.empty() || Exists(unixPath)) return unixPath;

    std::string resolved = unixPath.front() == '/' ? "/" : "";
    bool stillMatching = true;  // once a component is missing, nothing below it can exist
    for (std::string_view part : SplitComponents(unixPath)) {
        std::string next = Join(resolved, part);
        if (stillMatching && !Exists(next)) {
            if (std::optional<std::string> match = FindIgnoringCase(resolved, part)) {
                next = Join(resolved, *match);
            } else {
                stillMatching = false;
            }
        }
        resolved = std::move(next);
    }
    if (unixPath.back() == '/' && resolved.back() != '/') resolved += '/';
    return resolved;
}

}  // namespace quorbel
