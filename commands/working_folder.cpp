#include "commands/working_folder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace quorbel {

namespace fs = std::filesystem;

std::string ExecutableDir() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.parent_path().string();
}

bool HoldsProgramData(const std::string& folder) {
    std::error_code error;
    return fs::is_directory(fs::path(folder) / "Data", error);
}

std::optional<std::string> InstalledDataDir(const std::string& executableDir) {
    if (executableDir.empty()) return std::nullopt;
    const fs::path base = executableDir;
    for (const fs::path& candidate : {base / ".." / "share" / "quorbel", base / ".."}) {
        std::error_code error;
        fs::path resolved = fs::weakly_canonical(candidate, error);
        if (!error && HoldsProgramData(resolved.string())) return resolved.string();
    }
    return std::nullopt;
}

std::optional<std::string> UserDataFolder(const char* xdgDataHome, const char* home) {
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (xdgDataHome && xdgDataHome[0] == '/') return (fs::path(xdgDataHome) / "quorbel").string();
    if (home && home[0] == '/') return (fs::path(home) / ".local" / "share" / "quorbel").string();
    return std::nullopt;
}

namespace {

std::string Describe(const std::string& what, const fs::path& path, const std::error_code& error) {
    return "cannot " + what + " " + path.string() + ": " + error.message();
}

}  // namespace

namespace {

// What the program reads and writes in its working folder; nothing else of
// the installed folder (or of a checkout) is copied.
constexpr const char* kProgramData[] = {"Data", "gfx", "tips.txt", "settings.qrl", "Text.TXT"};

// Copies one file unless the user has it already.
bool CopyIfMissing(const fs::path& source, const fs::path& target, const fs::path& relative, FillResult& result) {
    std::error_code error;
    if (fs::exists(target, error)) return true;
    fs::copy_file(source, target, error);
    if (error) {
        result.error = Describe("copy to", target, error);
        return false;
    }
    result.copied.push_back(relative.string());
    return true;
}

bool CopyFolder(const fs::path& source, const fs::path& target, const fs::path& relative, FillResult& result) {
    std::error_code error;
    fs::create_directories(target, error);
    if (error) {
        result.error = Describe("make the folder", target, error);
        return false;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(source, error)) {
        const fs::path name = entry.path().filename();
        bool ok = entry.is_directory(error) ? CopyFolder(entry.path(), target / name, relative / name, result)
                  : entry.is_regular_file(error) ? CopyIfMissing(entry.path(), target / name, relative / name, result)
                                                 : true;
        if (!ok) return false;
    }
    if (error) result.error = Describe("read", source, error);
    return !error;
}

}  // namespace

FillResult FillMissingFiles(const std::string& from, const std::string& to) {
    FillResult result;
    std::error_code error;
    fs::create_directories(to, error);
    if (error) {
        result.error = Describe("make the folder", to, error);
        return result;
    }
    for (const char* name : kProgramData) {
        const fs::path source = fs::path(from) / name;
        const fs::path target = fs::path(to) / name;
        bool ok = fs::is_directory(source, error)      ? CopyFolder(source, target, name, result)
                  : fs::is_regular_file(source, error) ? CopyIfMissing(source, target, name, result)
                                                       : true;
        if (!ok) break;
    }
    return result;
}

WorkingFolder ChooseWorkingFolder(const std::string& current, const std::optional<std::string>& installedData,
                                  const std::optional<std::string>& userFolder) {
    WorkingFolder chosen;
    chosen.path = current;
    if (HoldsProgramData(current) || !installedData) return chosen;
    if (userFolder) {
        FillResult fill = FillMissingFiles(*installedData, *userFolder);
        chosen.copied = std::move(fill.copied);
        chosen.error = fill.error;
    } else {
        chosen.error = "no per-user folder: neither XDG_DATA_HOME nor HOME is set";
    }
    if (!chosen.error) {
        chosen.path = *userFolder;
        chosen.perUser = true;
    } else {
        // The pictures can still be read where they were installed; only
        // what is saved without a folder of its own (Text.TXT) fails there.
        chosen.path = *installedData;
    }
    return chosen;
}

WorkingFolder EnterWorkingFolder() {
    std::error_code error;
    const std::string current = fs::current_path(error).string();
    WorkingFolder folder = ChooseWorkingFolder(current, InstalledDataDir(ExecutableDir()),
                                               UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    if (folder.path != current) fs::current_path(folder.path, error);
    if (error) {
        folder.error = "cannot enter " + folder.path + ": " + error.message();
        folder.path = current;
        folder.perUser = false;
    }
    std::fprintf(stderr, "quorbel: working in %s%s\n", folder.path.c_str(),
                 folder.copied.empty() ? "" : " (its pictures, tips and start-up settings were copied there)");
    if (folder.error) std::fprintf(stderr, "quorbel: %s\n", folder.error->c_str());
    return folder;
}

}  // namespace quorbel
