#include "platform/headless_platform.h"

#include <chrono>
#include <cstdio>

namespace quorbel {

MessageAnswer HeadlessPlatform::ShowMessage(const std::string& text, const std::string& caption,
                                            MessageButtons buttons, MessageIcon) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    // With nobody to ask, take the cautious answer.
    switch (buttons) {
        case MessageButtons::Ok: return MessageAnswer::Ok;
        case MessageButtons::OkCancel: return MessageAnswer::Cancel;
        case MessageButtons::YesNo: return MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

std::optional<std::string> HeadlessPlatform::ChooseOpenFile(const FileRequest&) { return std::nullopt; }
std::optional<std::string> HeadlessPlatform::ChooseSaveFile(const FileRequest&) { return std::nullopt; }
std::optional<std::uint32_t> HeadlessPlatform::ChooseColour(std::uint32_t) { return std::nullopt; }
std::optional<FontChoice> HeadlessPlatform::ChooseFont(const FontChoice&) { return std::nullopt; }
std::optional<std::size_t> HeadlessPlatform::ChooseCompressor(const std::vector<CompressorInfo>&) {
    return std::nullopt;
}

// Counted from start-up rather than from boot, so that the scene's float
// seconds stay precise to the millisecond however long the machine has been
// up; it starts at one second, as a clock that has run a while, so the first
// timed capture is never held back.
std::uint64_t HeadlessPlatform::TickCountMs() {
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return 1000u + static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

std::string HeadlessPlatform::ReadProfileString(const std::string& section, const std::string& key,
                                                const std::string& fallback) {
    auto it = profile_.find(section + '/' + key);
    return it == profile_.end() ? fallback : it->second;
}

void HeadlessPlatform::WriteProfileString(const std::string& section, const std::string& key,
                                          const std::string& value) {
    profile_[section + '/' + key] = value;
}

bool HeadlessPlatform::OpenWebPage(const std::string& url) {
    std::fprintf(stderr, "Web page: %s\n", url.c_str());
    return false;
}

std::optional<CompressorChoice> Platform::ChooseCompression(const std::vector<CompressorInfo>& offered) {
    auto index = ChooseCompressor(offered);
    if (!index || *index >= offered.size()) return std::nullopt;
    return CompressorChoice{*index, offered[*index].quality};
}

namespace {
HeadlessPlatform& DefaultPlatform() {
    static HeadlessPlatform instance;
    return instance;
}
Platform* installed = nullptr;
}  // namespace

Platform& CurrentPlatform() { return installed ? *installed : DefaultPlatform(); }
void SetPlatform(Platform* platform) { installed = platform; }
void ShowError(const std::string& text) {
    CurrentPlatform().ShowMessage(text, "Error", MessageButtons::Ok, MessageIcon::Error);
}

}  // namespace quorbel
