#include "app/headless/headless_folder.h"

#include <filesystem>

#include "commands/working_folder.h"

namespace quorbel {

void EnterHeadlessWorkingFolder(HeadlessOptions& options) {
    std::error_code error;
    const std::filesystem::path started = std::filesystem::current_path(error);
    const WorkingFolder folder = EnterWorkingFolder();
    if (error || folder.path == started.string()) return;
    for (std::string* named :
         {&options.snapshotPath, &options.saveSettingsPath, &options.openSettingsPath, &options.record.path})
        if (!named->empty()) *named = (started / *named).string();
}

}  // namespace quorbel
