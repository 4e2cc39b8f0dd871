// Where the program works. It reads its pictures from Data/ and
// gfx/ and reads and writes "settings.qrl", "Text.TXT", "tips.txt" and its
// recordings in the current folder. Started from a folder that holds those
// pictures (a checkout, a folder the user prepared) it stays there; started
// from elsewhere (the desktop menu starts it in the home folder, a user
// types it in any folder) it moves to a per-user folder under the XDG data
// home, filled once from the installed data, where all of those are found
// and can be written.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorbel {

// The folder of the running executable ("" when it cannot be found).
std::string ExecutableDir();

// The folder the program's data was installed to, looked up beside the
// executable (bin/../share/quorbel, or the checkout a build folder sits
// in); nothing when neither holds a Data folder.
std::optional<std::string> InstalledDataDir(const std::string& executableDir);

// $XDG_DATA_HOME/quorbel, or ~/.local/share/quorbel; nothing when neither
// variable is usable.
std::optional<std::string> UserDataFolder(const char* xdgDataHome, const char* home);

// True when `folder` holds the program's pictures (a Data folder).
bool HoldsProgramData(const std::string& folder);

// Copies the program's data (Data/, gfx/, "tips.txt", "settings.qrl",
// "Text.TXT") from `from` into `to` where `to` lacks it, keeping the folder
// layout; never replaces a file the user has. Returns the relative paths
// copied, or an error message naming what could not be made or copied.
struct FillResult {
    std::vector<std::string> copied;
    std::optional<std::string> error;
};
FillResult FillMissingFiles(const std::string& from, const std::string& to);

struct WorkingFolder {
    std::string path;              // where to work
    bool perUser = false;          // the per-user folder was chosen
    std::vector<std::string> copied;
    std::optional<std::string> error;  // set when the per-user folder could not be prepared
};

// Decides (and prepares) the working folder for a program started in
// `current`. When the per-user folder cannot be prepared, `error` says why
// and the installed data folder is used where it is.
WorkingFolder ChooseWorkingFolder(const std::string& current, const std::optional<std::string>& installedData,
                                  const std::optional<std::string>& userFolder);

// Chooses the working folder for a program started in the current folder
// (from the executable's place and the environment), moves into it, and
// says once on stderr where it works and what went wrong. When it cannot
// move, it stays and `path` is the current folder.
WorkingFolder EnterWorkingFolder();

}  // namespace quorbel
