// The platform layer on Qt: real message boxes and choosers owned by the
// main window, QSettings for per-user values, the desktop's browser, and the
// window's check marks, status pane and GL context.
#pragma once

#include <QColor>

#include "app/panels/panel_host.h"
#include "platform/headless_platform.h"

namespace quorbel::gui {

class CMainFrame;

class QtPlatform : public HeadlessPlatform {
public:
    explicit QtPlatform(CMainFrame& frame);

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons,
                              MessageIcon icon) override;
    std::optional<std::string> ChooseOpenFile(const FileRequest& request) override;
    std::optional<std::string> ChooseSaveFile(const FileRequest& request) override;
    std::optional<std::uint32_t> ChooseColour(std::uint32_t initial) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;
    std::optional<std::size_t> ChooseCompressor(const std::vector<CompressorInfo>& offered) override;
    std::optional<CompressorChoice> ChooseCompression(const std::vector<CompressorInfo>& offered) override;
    std::string ReadProfileString(const std::string& section, const std::string& key,
                                  const std::string& fallback) override;
    void WriteProfileString(const std::string& section, const std::string& key, const std::string& value) override;
    bool OpenWebPage(const std::string& url) override;
    void SetMenuCheck(int commandId, bool checked) override;
    void SetStatusText(const std::string& text) override;
    bool MakeViewContextCurrent() override;
    // The control panels' windows, owned by the main window.
    void PanelCreated(const PanelHandle& panel) override { panels_.Created(panel); }
    void PanelShown(const PanelHandle& panel, bool visible) override { panels_.Shown(panel, visible); }
    void PanelChanged(const PanelHandle& panel) override { panels_.Changed(panel); }

private:
    CMainFrame& frame_;
    PanelHost panels_;
};

// 0x00BBGGRR colour references to and from Qt colours.
std::uint32_t ToColourReference(const QColor& colour);
QColor FromColourReference(std::uint32_t reference);

}  // namespace quorbel::gui
