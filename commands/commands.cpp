#include "commands/commands.h"

#include "commands/command_ids.h"
#include "commands/command_table.h"
#include "commands/edit_commands.h"
#include "commands/show_hide.h"
#include "commands/web_pages.h"
#include "platform/platform.h"
#include "scene/scene_state.h"
#include "scene/view_init.h"

namespace quorbel {

namespace {

std::string documentName;

struct CommandContext {
    bool glCurrent;
};

using Handler = void (*)(const CommandContext&);

template <std::function<void()> CommandHooks::*hook>
void CallHook(const CommandContext&) {
    if (auto& run = ShellCommandHooks().*hook) run();
}

template <Effect effect>
void Toggle(const CommandContext&) {
    ToggleEffect(effect);
}

template <ControlPanel kind>
void Edit(const CommandContext& context) {
    RunEditCommand(kind, context.glCurrent);
}

template <WebPage page>
void Open(const CommandContext&) {
    OpenOwnPage(page);
}

void Play(const CommandContext&) { scene.paused = 0; }
void Pause(const CommandContext&) { scene.paused = 2; }
void Background(const CommandContext&) { ChangeBackgroundColour(); }
void Nothing(const CommandContext&) {}

void ReinitialiseView(const CommandContext& context) {
    if (context.glCurrent) ReinitialiseScene();
}

// Ctrl+N renews the document, which has no content: all that shows is the
// view's first-update initialisation running again.
void RenewDocument(const CommandContext& context) {
    documentName.clear();
    ReinitialiseView(context);
}

// Ctrl+O names the document after a chosen file without reading it (the
// scene's own settings are opened from the toolbar), then renews the view.
void OpenDocumentFile(const CommandContext& context) {
    FileRequest request;
    request.title = "Open";
    request.filters = {{"All Files (*.*)", "*"}};
    auto chosen = CurrentPlatform().ChooseOpenFile(request);
    if (!chosen) return;
    documentName = *chosen;
    ReinitialiseView(context);
}

struct CommandRow {
    int command;
    Handler run;
};

using namespace command;

constexpr CommandRow kCommands[] = {
    {kExit, CallHook<&CommandHooks::exitApplication>},
    {kToggleToolbar, CallHook<&CommandHooks::toggleToolbar>},
    {kToggleStatusBar, CallHook<&CommandHooks::toggleStatusBar>},
    {kGenerateAvi, CallHook<&CommandHooks::generateAvi>},
    {kShowHideTunnel, Toggle<Effect::Tunnel>},
    {kShowHideStars, Toggle<Effect::Stars>},
    {kShowHideParticles, Toggle<Effect::Particles>},
    {kShowHideText, Toggle<Effect::Text>},
    {kShowHideTiles, Toggle<Effect::Tiles>},
    {kShowHideFire, Toggle<Effect::Fire>},
    {kAbout, CallHook<&CommandHooks::showAbout>},
    {kOnlineHelp, Open<WebPage::Help>},
    {kOnlineFaq, Open<WebPage::Faq>},
    {kTipOfTheDay, CallHook<&CommandHooks::showTipOfTheDay>},
    {kNewSettings, CallHook<&CommandHooks::newSettings>},
    {kOpenSettings, CallHook<&CommandHooks::openSettings>},
    {kSaveSettings, CallHook<&CommandHooks::saveSettings>},
    {kPlay, Play},
    {kPause, Pause},
    {kBackgroundColour, Background},
    {kEditText, Edit<ControlPanel::Text>},
    {kEditParticles, Edit<ControlPanel::Particles>},
    {kEditStars, Edit<ControlPanel::Stars>},
    {kEditTunnel, Edit<ControlPanel::Tunnel>},
    {kEditTiles, Edit<ControlPanel::Tiles>},
    {kEditFire, Edit<ControlPanel::Fire>},
    {kEditBlur, Edit<ControlPanel::Blur>},
    {kInert, Nothing},
    {kFileNew, RenewDocument},
    {kFileOpen, OpenDocumentFile},
    // Ctrl+S saves the scene's settings, as the toolbar's Save does: a save
    // of the content-less document could only write an empty file.
    {kFileSave, CallHook<&CommandHooks::saveSettings>},
};

const CommandRow* Find(int command) {
    for (const CommandRow& row : kCommands)
        if (row.command == command) return &row;
    return nullptr;
}

}  // namespace

CommandHooks& ShellCommandHooks() {
    static CommandHooks hooks;
    return hooks;
}

const std::string& DocumentName() { return documentName; }

bool IsKnownCommand(int command) { return Find(command) != nullptr; }

bool ExecuteCommand(int command) {
    const CommandRow* row = Find(command);
    if (!row) return false;
    // The one place a command makes the view's context current: any of them
    // may reach GL (textures, glyphs, panels that rebuild either).
    CommandContext context{CurrentPlatform().MakeViewContextCurrent()};
    row->run(context);
    return true;
}

void ApplyBackgroundColour(std::uint32_t colour) {
    scene.clearRed = scene.savedRed = RedOf(colour);
    scene.clearGreen = scene.savedGreen = GreenOf(colour);
    scene.clearBlue = scene.savedBlue = BlueOf(colour);
}

void ChangeBackgroundColour() {
    if (On(scene.blurActive)) {
        CurrentPlatform().ShowMessage(kBlurBlocksBackgroundMessage, kApplicationName, MessageButtons::Ok,
                                      MessageIcon::Warning);
        return;
    }
    // A cancelled chooser leaves the scene as it is, so a background loaded
    // from a settings file survives a look at the chooser.
    auto chosen = CurrentPlatform().ChooseColour(scene.backgroundColour);
    if (!chosen) return;
    scene.backgroundColour = *chosen & 0x00FFFFFFu;
    ApplyBackgroundColour(scene.backgroundColour);
}

void ReinitialiseScene() { InitialiseView(scene.viewWidth, scene.viewHeight); }

}  // namespace quorbel
