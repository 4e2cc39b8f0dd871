// Platform without any window: messages go to stderr, every chooser answers
// "cancel", time comes from the steady clock, profile values live in memory.
#pragma once

#include "platform/platform.h"

#include <map>

namespace quorbel {

class HeadlessPlatform : public Platform {
public:
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons,
                              MessageIcon icon) override;
    std::optional<std::string> ChooseOpenFile(const FileRequest& request) override;
    std::optional<std::string> ChooseSaveFile(const FileRequest& request) override;
    std::optional<std::uint32_t> ChooseColour(std::uint32_t initial) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;
    std::optional<std::size_t> ChooseCompressor(const std::vector<CompressorInfo>& offered) override;
    std::uint64_t TickCountMs() override;
    std::string ReadProfileString(const std::string& section, const std::string& key,
                                  const std::string& fallback) override;
    void WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;
    bool OpenWebPage(const std::string& url) override;

protected:
    // The profile values, "section/key" -> value.
    std::map<std::string, std::string>& ProfileValues() { return profile_; }

private:
    std::map<std::string, std::string> profile_;
};

}  // namespace quorbel
