// The one seam between the core and the desktop. The core asks for messages,
// file names, colours, fonts, compressors, time and per-user settings only
// through this interface; the Qt shell, the headless mode and the tests each
// supply an implementation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorbel {

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };
enum class MessageIcon { None, Information, Warning, Error };

// One "description (pattern)" entry of a file chooser's filter list.
struct FileFilter {
    std::string description;
    std::string pattern;
};

struct FileRequest {
    std::string title;
    std::vector<FileFilter> filters;
    std::string initialName;
    std::string defaultExtension;
};

struct FontChoice {
    std::string face;
    int weight = 400;
    bool italic = false;
};

// One control panel window: the template it is made from and its place among
// the panels made from that template (0 for the first). Panels are never
// destroyed, so a handle stays valid for the whole run.
struct PanelHandle {
    int templateId = 0;
    int instance = 0;
    bool operator==(const PanelHandle&) const = default;
};

struct CompressorInfo {
    std::string id;           // encoder name, e.g. "mpeg4"
    std::string description;  // what the user sees
    // The encoder's quality, 1 (smallest file) to 100 (best picture), as
    // offered; -1 where the encoder has no such setting (lossless, DV).
    int quality = -1;
};

// What the compressor chooser answered: an index into the offered list and,
// where that encoder has one, the quality the user set.
struct CompressorChoice {
    std::size_t index = 0;
    int quality = -1;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message; returns the button the user pressed.
    virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      MessageButtons buttons = MessageButtons::Ok,
                                      MessageIcon icon = MessageIcon::None) = 0;
    // File choosers: the chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseOpenFile(const FileRequest& request) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileRequest& request) = 0;
    // Colour as a 0x00BBGGRR reference, or nothing on cancel.
    virtual std::optional<std::uint32_t> ChooseColour(std::uint32_t initial) = 0;
    virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial) = 0;
    // Index into the offered list, or nothing on cancel. The first entry
    // offered is the suggested one.
    virtual std::optional<std::size_t> ChooseCompressor(const std::vector<CompressorInfo>& offered) = 0;
    // The chooser with its quality setting. By default it asks
    // ChooseCompressor and keeps the quality the chosen entry offered.
    virtual std::optional<CompressorChoice> ChooseCompression(const std::vector<CompressorInfo>& offered);
    // Monotonic milliseconds; only differences are meaningful.
    virtual std::uint64_t TickCountMs() = 0;
    // Per-user settings (recent files, tip of the day).
    virtual std::string ReadProfileString(const std::string& section, const std::string& key,
                                          const std::string& fallback) = 0;
    virtual void WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
    virtual bool OpenWebPage(const std::string& url) = 0;

    // The window's menu check mark of a command's item. Without a window
    // there is nothing to mark.
    virtual void SetMenuCheck(int /*commandId*/, bool /*checked*/) {}
    // Text of the status bar's message pane.
    virtual void SetStatusText(const std::string& /*text*/) {}
    // Makes the view's GL context current on this thread, so that a command
    // or panel handler may call GL. False when there is no context yet (the
    // caller then skips its GL work). The headless context is always current.
    virtual bool MakeViewContextCurrent() { return true; }

    // Control panels. The core owns every panel's state (panels/); the shell
    // only shows it. A new panel exists (find its model by the handle and make
    // its window, shown or hidden as the model says); a panel is to be shown
    // or hidden; a panel's controls changed and its window should show them
    // again. Without a window there is nothing to do, hence the empty defaults.
    virtual void PanelCreated(const PanelHandle& /*panel*/) {}
    virtual void PanelShown(const PanelHandle& /*panel*/, bool /*visible*/) {}
    virtual void PanelChanged(const PanelHandle& /*panel*/) {}
};

// The platform in use. Never null: until SetPlatform is called the headless
// implementation answers.
Platform& CurrentPlatform();
// Installs `platform` (not owned); nullptr goes back to the headless one.
void SetPlatform(Platform* platform);

// Shorthand for the common "Error" box with one OK button.
void ShowError(const std::string& text);

}  // namespace quorbel
