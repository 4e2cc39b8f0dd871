#include "imaging/picture_report.h"

#include <filesystem>
#include <map>
#include <system_error>

#include "imaging/paths.h"
#include "platform/platform.h"

namespace quorbel {

namespace {

// Reason last shown for each file, by absolute resolved path.
std::map<std::string, std::string>& Reported() {
    static std::map<std::string, std::string> reported;
    return reported;
}

std::string FileKey(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(ResolvePath(path), error);
    return error ? ResolvePath(path) : absolute.lexically_normal().string();
}

}  // namespace

void ReportUnusablePicture(const std::string& path, const std::string& reason, const std::string& message) {
    auto [entry, added] = Reported().try_emplace(FileKey(path), reason);
    if (!added && entry->second == reason) return;
    entry->second = reason;
    ShowError(message);
}

void NotePictureUsable(const std::string& path) { ForgetPictureReport(path); }

void ForgetPictureReport(const std::string& path) {
    auto& reported = Reported();
    if (!reported.empty()) reported.erase(FileKey(path));
}

}  // namespace quorbel
