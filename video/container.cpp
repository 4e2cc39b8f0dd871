#include "video/container.h"

#include <cctype>
#include <cstdio>

namespace quorbel {

namespace {

// An MPEG-4 file is for sharing: its index goes to the front so that it can
// play while it downloads.
const std::vector<ContainerSpec> kContainers = {
    {ContainerKind::Avi, ".avi", "avi", "AVI", false, ""},
    {ContainerKind::QuickTime, ".mov", "mov", "QuickTime movie", false, ""},
    {ContainerKind::Mp4, ".mp4", "mp4", "MPEG-4 movie", false, "movflags=+faststart"},
    {ContainerKind::WebM, ".webm", "webm", "WebM video", false, ""},
    {ContainerKind::PngSequence, ".png", "image2", "numbered PNG pictures, one per frame", true, ""},
};

bool EndsWithNoCase(const std::string& text, std::string_view ending) {
    if (text.size() < ending.size()) return false;
    const std::size_t start = text.size() - ending.size();
    for (std::size_t i = 0; i < ending.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[start + i])) != ending[i]) return false;
    return true;
}

// Where the file's own extension starts; the end of the name when it has none.
std::size_t ExtensionStart(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return fileName.size();
    return dot;
}

std::string EscapePercent(const std::string& text) {
    std::string escaped;
    for (char c : text) escaped += c == '%' ? std::string("%%") : std::string(1, c);
    return escaped;
}

}  // namespace

const std::vector<ContainerSpec>& ContainerCatalog() { return kContainers; }
const ContainerSpec& AviContainer() { return kContainers.front(); }

const ContainerSpec& ContainerForName(const std::string& fileName) {
    for (const ContainerSpec& container : kContainers)
        if (EndsWithNoCase(fileName, container.extension)) return container;
    return AviContainer();
}

bool HasOtherContainerExtension(const std::string& fileName) {
    return ContainerForName(fileName).kind != ContainerKind::Avi;
}

std::string SequencePattern(const std::string& fileName) {
    const std::size_t dot = ExtensionStart(fileName);
    return EscapePercent(fileName.substr(0, dot)) + "_%05d" + EscapePercent(fileName.substr(dot));
}

std::string SequenceFrameName(const std::string& fileName, int number) {
    const std::size_t dot = ExtensionStart(fileName);
    char digits[16];
    std::snprintf(digits, sizeof digits, "_%05d", number);
    return fileName.substr(0, dot) + digits + fileName.substr(dot);
}

std::string ExtensionList(const std::vector<const ContainerSpec*>& containers) {
    std::string list;
    for (const ContainerSpec* container : containers)
        list += (list.empty() ? "" : ", ") + std::string(container->extension);
    return list;
}

}  // namespace quorbel
