#include "support/scripted_platform.h"

namespace quorbel {

namespace {
template <typename T>
std::optional<T> Next(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    auto answer = queue.front();
    queue.pop_front();
    return answer;
}
}  // namespace

MessageAnswer ScriptedPlatform::ShowMessage(const std::string& text, const std::string& caption,
                                            MessageButtons buttons, MessageIcon icon) {
    messages.push_back({text, caption, buttons, icon});
    if (!messageAnswers.empty()) {
        auto answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::No
           : buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                  : MessageAnswer::Ok;
}

std::optional<std::string> ScriptedPlatform::ChooseOpenFile(const FileRequest& request) {
    fileRequests.push_back(request);
    return Next(openAnswers);
}

std::optional<std::string> ScriptedPlatform::ChooseSaveFile(const FileRequest& request) {
    fileRequests.push_back(request);
    return Next(saveAnswers);
}

std::optional<std::uint32_t> ScriptedPlatform::ChooseColour(std::uint32_t) { return Next(colourAnswers); }
std::optional<FontChoice> ScriptedPlatform::ChooseFont(const FontChoice&) { return Next(fontAnswers); }
std::optional<std::size_t> ScriptedPlatform::ChooseCompressor(const std::vector<CompressorInfo>&) {
    return Next(compressorAnswers);
}

bool ScriptedPlatform::OpenWebPage(const std::string& url) {
    openedPages.push_back(url);
    return pagesOpen;
}

void ScriptedPlatform::PanelCreated(const PanelHandle& panel) {
    panelEvents.push_back({PanelEventKind::Created, panel});
}
void ScriptedPlatform::PanelShown(const PanelHandle& panel, bool visible) {
    panelEvents.push_back({visible ? PanelEventKind::Shown : PanelEventKind::Hidden, panel});
}
void ScriptedPlatform::PanelChanged(const PanelHandle& panel) {
    panelEvents.push_back({PanelEventKind::Changed, panel});
}

}  // namespace quorbel
