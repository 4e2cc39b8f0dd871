#include "video/recording_standards.h"

#include <iterator>

namespace quorbel {

const RecordingStandard* FindRecordingStandard(std::string_view name) {
    for (const RecordingStandard& standard : kRecordingStandards)
        if (name == standard.name) return &standard;
    return nullptr;
}

const RecordingStandard* FindRecordingStandard(std::int32_t code) {
    for (const RecordingStandard& standard : kRecordingStandards)
        if (code == standard.code) return &standard;
    return nullptr;
}

std::string StandardSizeText(const RecordingStandard& standard) {
    return std::to_string(standard.width) + " x " + std::to_string(standard.height) + " @ " +
           FrameRateText(standard.rate) + " Fps";
}

std::string StandardNames() {
    constexpr std::size_t count = std::size(kRecordingStandards);
    std::string names;
    for (std::size_t i = 0; i < count; ++i)
        names.append(i == 0 ? "" : i + 1 == count ? " or " : ", ").append(kRecordingStandards[i].name);
    return names;
}

}  // namespace quorbel
