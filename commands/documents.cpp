#include "commands/documents.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "imaging/textures.h"
#include "platform/platform.h"
#include "scene/frame_driver.h"
#include "scene/scene_state.h"
#include "settings/open_for_reading.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "settings/title_file.h"

namespace quorbel {

namespace {

const char* const kChooserTitle = "Find a data file";
const char* const kDefaultExtension = "qrl";

struct SwitchValue {
    std::int32_t SceneState::*field;
    std::int32_t value;
};

// What Open does for one panel kind whose used mark the record set.
struct PanelReopening {
    UsedPanel panel;
    std::int32_t SceneState::*usedMark;
    std::int32_t SceneState::*openMark;
    bool onlyWhileClosed;  // skipped while the kind's open mark is on
    bool visible;
    std::array<SwitchValue, 4> afterwards;  // unused entries have no field
};

const PanelReopening kReopenings[] = {
    {UsedPanel::Particles, &SceneState::particlesUsed, &SceneState::particlePanelOpen, false, false,
     {{{&SceneState::particlesShown, 2}}}},
    {UsedPanel::Text, &SceneState::textUsed, &SceneState::textPanelOpen, false, false,
     {{{&SceneState::textPanelOpen, 0}}}},
    {UsedPanel::Stars, &SceneState::starsUsed, &SceneState::starPanelOpen, false, false,
     {{{&SceneState::keyTarget, 4}, {&SceneState::starsHidden, 0}}}},
    {UsedPanel::Tunnel, &SceneState::tunnelUsed, &SceneState::tunnelPanelOpen, true, false,
     {{{&SceneState::tunnelPanelPresses, 0},
       {&SceneState::tunnelShown, 2},
       {&SceneState::tunnelRebuildPending, 2},
       {&SceneState::tunnelPanelOpen, 2}}}},
    {UsedPanel::Tiles, &SceneState::tilesUsed, &SceneState::tilePanelOpen, true, false,
     {{{&SceneState::tilePanelOpen, 2}, {&SceneState::tilesShown, 2}}}},
    {UsedPanel::Fire, &SceneState::fireUsed, &SceneState::firePanelOpen, true, true,
     {{{&SceneState::fireShown, 2}, {&SceneState::fireToggleCount, 1}, {&SceneState::firePanelOpen, 0}}}},
    {UsedPanel::Blur, &SceneState::blurUsed, &SceneState::blurPanelOpen, true, true,
     {{{&SceneState::blurPanelOpen, 0}}}},
};

constexpr std::int32_t SceneState::*kOpenMarks[] = {
    &SceneState::textPanelOpen,   &SceneState::particlePanelOpen, &SceneState::starPanelOpen,
    &SceneState::tunnelPanelOpen, &SceneState::tilePanelOpen,     &SceneState::firePanelOpen,
    &SceneState::blurPanelOpen,
};

// A failed Open or Save goes to standard error in the form the start-up read
// uses, and, because a window shows nothing of that, to a message too.
void ReportFailure(const std::string& reason, const std::string& message) {
    std::fprintf(stderr, "\nOpen failed! : %s\n", reason.c_str());
    ShowError(message);
}

// Panels opened later must show the loaded values, not the ones they had.
void PrepareOpenMarks() {
    for (auto mark : kOpenMarks) scene.*mark = 0;
    scene.particleZoomRestore = 2;
    scene.starPanelRestore = 2;
    scene.tunnelPanelRestore = 2;
}

void ReopenUsedPanels() {
    for (const PanelReopening& reopening : kReopenings) {
        if (!On(scene.*reopening.usedMark)) continue;
        if (reopening.onlyWhileClosed && On(scene.*reopening.openMark)) continue;
        if (RecreatePanelAfterOpen()) RecreatePanelAfterOpen()(reopening.panel, reopening.visible);
        for (const SwitchValue& change : reopening.afterwards)
            if (change.field) scene.*change.field = change.value;
    }
}

FileRequest SettingsFileRequest(const char* firstFilter) {
    FileRequest request;
    request.title = kChooserTitle;
    request.filters = {{firstFilter, "*.*"}, {"All Files", "*.*"}};
    return request;
}

// A cancelled chooser, or one that gives back no name, means "do nothing".
std::optional<std::string> ChosenName(std::optional<std::string> answer) {
    if (!answer || answer->empty()) return std::nullopt;
    return answer;
}

std::string WithDefaultExtension(const std::string& path) {
    if (std::filesystem::path(path).has_extension()) return path;
    return path + "." + kDefaultExtension;
}

}  // namespace

PanelRecreation& RecreatePanelAfterOpen() {
    static PanelRecreation hook;
    return hook;
}

void OpenSettings() {
    auto path = ChosenName(CurrentPlatform().ChooseOpenFile(SettingsFileRequest("Graphics Data Files (*.*)")));
    if (path) OpenSettingsFile(*path);
}

bool OpenSettingsFile(const std::string& path, const std::optional<std::string>& givenTitle) {
    std::string openError;
    FileHandle file = OpenForReading(path, openError);
    if (!file) {
        ReportFailure(openError, "Could not open the settings file \"" + path + "\": " + openError + ".");
        return false;
    }
    // The title is read first and taken only with the record, so that a
    // failure of either leaves the scene as it was.
    TextField title;
    if (givenTitle) title.Assign(*givenTitle);
    else if (auto reason = ReadTitleFile(kTitleFileName, title)) {
        ReportFailure(*reason, std::string("Could not read the title file \"") + kTitleFileName +
                                   "\" in the current folder: " + *reason + ". The settings were not opened.");
        return false;
    }
    if (auto reason = ReadSettings(file.get(), scene)) {
        ReportFailure(*reason, "Could not read the settings file \"" + path + "\": " + *reason + ".");
        return false;
    }
    scene.titleText = title;
    PrepareOpenMarks();
    ReopenUsedPanels();
    return true;
}

void SaveSettings() {
    FileRequest request = SettingsFileRequest("Graphics Data Files (*.qrl)");
    request.defaultExtension = kDefaultExtension;
    auto path = ChosenName(CurrentPlatform().ChooseSaveFile(request));
    if (path) SaveSettingsFile(WithDefaultExtension(*path));
}

bool SaveSettingsFile(const std::string& path) {
    auto failure = WriteSettings(path, scene);
    if (!failure) return true;
    ReportFailure(*failure, "The settings were not saved: " + *failure + ". The previous files are unchanged.");
    return false;
}

void ReadStartupSettings(std::FILE* file) {
    if (auto reason = ReadSettings(file, scene))
        std::fprintf(stderr, "\nCannot read \"settings.qrl\": %s\n", reason->c_str());
}

void InstallStartupSettingsSteps() {
    StartupSteps& steps = FrameDriverStartupSteps();
    steps.readSettings = ReadStartupSettings;
    steps.loadParticleTexture = [] { LoadParticleTexture("Data/bubble.bmp"); };
}

}  // namespace quorbel
