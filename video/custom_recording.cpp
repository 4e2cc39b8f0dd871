#include "video/custom_recording.h"

#include "video/container.h"

namespace quorbel {

std::optional<std::string> CheckRecordingSize(int width, int height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width < kShortestRecordedSide || height < kShortestRecordedSide)
        return "A " + size + " recording cannot be made: each side must be at least 4 pixels.";
    if (width > kLongestRecordedSide || height > kLongestRecordedSide ||
        static_cast<long>(width) * height > kMostRecordedPixels)
        return "A " + size + " recording cannot be made: recordings go up to 3840 x 2160 (or 2160 x 3840).";
    return std::nullopt;
}

FileRequest CustomRecordingFileRequest(bool alpha) {
    FileRequest request;
    request.title = "Find a data file";
    const FileFilter avi{"Avi File (*.avi)", "*.avi"};
    const FileFilter movie{"QuickTime Movie (*.mov)", "*.mov"};
    request.filters = {movie, {"WebM Video (*.webm)", "*.webm"}, {"PNG Pictures, one a frame (*.png)", "*.png"}};
    if (!alpha) {
        request.filters.insert(request.filters.begin(), avi);
        request.filters.insert(request.filters.begin() + 2, {"MPEG-4 Movie (*.mp4)", "*.mp4"});
    }
    request.filters.push_back({"All Files", "*.*"});
    request.defaultExtension = alpha ? "mov" : "";
    return request;
}

std::string NameForTransparentRecording(const std::string& fileName) {
    if (HasOtherContainerExtension(fileName)) return fileName;
    const std::size_t slash = fileName.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // A name the AVI rule keeps ("clip.avi", "myavi") stays: the writer then
    // says plainly that an AVI file cannot keep transparency.
    if (fileName.find("avi", nameStart) != std::string::npos) return fileName;
    return fileName + ".mov";
}

}  // namespace quorbel
