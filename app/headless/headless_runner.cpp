#include "app/headless/headless_runner.h"

#include <unistd.h>

#include <cstdio>

#include "app/headless/headless_engine.h"
#include "app/headless/open_settings_option.h"
#include "app/headless/settings_options.h"
#include "commands/panel_wiring.h"
#include "effects/glyph_fields.h"
#include "imaging/png_writer.h"
#include "scene/gl_setup.h"
#include "scene/render_path.h"
#include "scene/scene_state.h"

namespace quorbel {

namespace {

std::optional<std::string> CheckWritable(const std::string& path) {
    auto slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    if (access(folder.c_str(), W_OK) != 0) return "cannot write " + path + ": folder '" + folder + "' is not writable";
    return std::nullopt;
}

}  // namespace

int RunHeadless(const HeadlessOptions& given) {
    HeadlessOptions options = given;
    if (options.record.active()) {
        if (auto error = PrepareRecording(options)) {
            std::fprintf(stderr, "quorbel: %s\n", error->c_str());
            return 2;
        }
        if (options.record.listCodecs()) return ListCodecs(options);
    }
    const std::string titleOutput = options.saveSettingsPath.empty() ? "" : "Text.TXT";
    for (const std::string& output : {options.snapshotPath, options.saveSettingsPath, titleOutput}) {
        if (output.empty()) continue;
        if (auto error = CheckWritable(output)) {
            std::fprintf(stderr, "quorbel: %s\n", error->c_str());
            return 2;
        }
    }
    std::string error;
    auto engine = HeadlessEngine::Create(options.width, options.height, error);
    if (!engine) {
        std::fprintf(stderr, "quorbel: no usable OpenGL: %s\n", error.c_str());
        return 3;
    }
    if (options.seed) SetFixedRandomSeed(*options.seed);
    RequestRenderPath(options.classicPath ? RenderPath::Classic : RenderPath::Fast);
    InstallControlPanels();
    if (!engine->InitialiseScene())  // the picture at fault was named as it failed
        std::fprintf(stderr, "quorbel: warning: a start-up picture in Data/ or gfx/ could not be used; "
                             "the scene is only partly set up\n");
    SetFieldsRebuildingGlyphs(options.sets);
    if (options.title) scene.titleText.Assign(*options.title);
    InstallHeadlessStartup(options);
    int status = OpenSettingsAfterFirstFrame(*engine, options);
    if (status) return status;
    if (options.record.active()) status = RecordHeadless(*engine, options);
    else engine->RenderFrames(options.frames);
    for (const std::string& name : options.gets)
        std::printf("%s=%s\n", name.c_str(), GetSceneField(scene, name)->c_str());
    if (!options.saveSettingsPath.empty()) {
        if (int saved = SaveSettingsAfterRun(options.saveSettingsPath)) return saved;
    }
    if (options.snapshotPath.empty()) return status;
    if (auto failure = WritePngBottomUp(options.snapshotPath, engine->width(), engine->height(), engine->ReadPixels())) {
        std::fprintf(stderr, "quorbel: %s\n", failure->c_str());
        return 2;
    }
    std::fprintf(stderr, "quorbel: wrote %s (%dx%d, frame %d)\n", options.snapshotPath.c_str(), engine->width(),
                 engine->height(), options.frames);
    return 0;
}

}  // namespace quorbel
