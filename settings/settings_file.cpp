#include "settings/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "settings/open_for_reading.h"
#include "settings/replace_files.h"
#include "settings/settings_record.h"
#include "settings/title_file.h"

namespace quorbel {

std::optional<std::string> ReadSettingsFile(const std::string& path, SceneState& state) {
    std::string error;
    FileHandle file = OpenForReading(path, error);
    if (!file) return error;
    return ReadSettings(file.get(), state);
}

namespace {

// Saving the record under the title's own name would leave one of the two
// in the file and lose the other.
bool IsTheTitleFile(const std::string& settingsPath) {
    std::error_code error;
    return std::filesystem::weakly_canonical(settingsPath, error) ==
           std::filesystem::weakly_canonical(kTitleFileName, error);
}

}  // namespace

std::optional<std::string> WriteSettings(const std::string& settingsPath, const SceneState& state) {
    if (IsTheTitleFile(settingsPath))
        return "cannot write " + settingsPath + ": that file holds the title; choose another name";
    const SettingsBytes record = StoreSettingsRecord(state);
    const std::string title = TitleFileBytes(state.titleText.view());
    const FileContent files[] = {
        {kTitleFileName, {reinterpret_cast<const std::uint8_t*>(title.data()), title.size()}},
        {settingsPath, record},
    };
    return ReplaceFiles(files);
}

}  // namespace quorbel
