// Platform for tests (and the long run): records every message and answers
// choosers from queues the test fills beforehand. An empty queue answers
// "cancel". The clock only moves when the test moves it. Profile values are
// kept in the headless platform's store, which `profile` shows.
#pragma once

#include "platform/headless_platform.h"

#include <deque>
#include <map>

namespace quorbel {

struct RecordedMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons;
    MessageIcon icon;
};

enum class PanelEventKind { Created, Shown, Hidden, Changed };
struct PanelEvent {
    PanelEventKind kind;
    PanelHandle panel;
};

class ScriptedPlatform : public HeadlessPlatform {
public:
    ScriptedPlatform() = default;
    ScriptedPlatform(const ScriptedPlatform&) = delete;
    ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

    std::vector<RecordedMessage> messages;
    std::vector<FileRequest> fileRequests;
    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::uint32_t>> colourAnswers;
    std::deque<std::optional<FontChoice>> fontAnswers;
    std::deque<std::optional<std::size_t>> compressorAnswers;
    std::vector<std::string> openedPages;
    bool pagesOpen = true;  // whether the desktop manages to show a page
    std::map<std::string, std::string>& profile = ProfileValues();  // "section/key" -> value
    std::uint64_t nowMs = 0;
    std::map<int, bool> menuChecks;  // command id -> last check mark set
    std::vector<std::string> statusTexts;
    bool viewContextAvailable = true;
    int viewContextRequests = 0;
    std::vector<PanelEvent> panelEvents;

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons,
                              MessageIcon icon) override;
    std::optional<std::string> ChooseOpenFile(const FileRequest& request) override;
    std::optional<std::string> ChooseSaveFile(const FileRequest& request) override;
    std::optional<std::uint32_t> ChooseColour(std::uint32_t initial) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;
    std::optional<std::size_t> ChooseCompressor(const std::vector<CompressorInfo>& offered) override;
    std::uint64_t TickCountMs() override { return nowMs; }
    bool OpenWebPage(const std::string& url) override;
    void SetMenuCheck(int commandId, bool checked) override { menuChecks[commandId] = checked; }
    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    bool MakeViewContextCurrent() override {
        ++viewContextRequests;
        return viewContextAvailable;
    }
    void PanelCreated(const PanelHandle& panel) override;
    void PanelShown(const PanelHandle& panel, bool visible) override;
    void PanelChanged(const PanelHandle& panel) override;
};

// Installs a ScriptedPlatform for the lifetime of the guard.
class ScopedScriptedPlatform {
public:
    ScopedScriptedPlatform() { SetPlatform(&platform); }
    ~ScopedScriptedPlatform() { SetPlatform(nullptr); }
    ScopedScriptedPlatform(const ScopedScriptedPlatform&) = delete;
    ScopedScriptedPlatform& operator=(const ScopedScriptedPlatform&) = delete;
    ScriptedPlatform* operator->() { return &platform; }
    ScriptedPlatform platform;
};

}  // namespace quorbel
